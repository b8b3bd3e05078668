#!/usr/bin/env python3
"""Measures how many small faults the native unit tests catch.

A seeded sample of mutants over the native product code (the compile
database's files, less tests, benches and program mains, and the project
headers they include outside win32 folders): each mutant is applied alone to a
copy of the tree in build/mutate, rebuilt incrementally and run against the
unit tests. A mutant is killed when the tests fail or hang; one that does not
compile is replaced by the next in the sample. Two kinds: "operator" (an
operator swapped, a literal changed) and "statement" (a call or an assignment
removed, a condition forced true or false). Prints each survivor and the
score. Run through scripts/mutate.sh.
"""
import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
WORK = ROOT / "build" / "mutate"  # --work changes it
SRC = WORK / "src"
BUILD = WORK / "build"
TARGET = "unit_tests"

# (pattern on code with comments, strings and directives blanked, replacement).
# Binary operators are matched with a space on each side, which clang-format
# puts around operators and never inside template brackets.
OPERATORS = [
    (r" < ", " <= "), (r" <= ", " < "), (r" > ", " >= "), (r" >= ", " > "),
    (r" == ", " != "), (r" != ", " == "), (r" && ", " || "), (r" \|\| ", " && "),
    (r" \+ ", " - "), (r" - ", " + "),
    (r"!(?!=)", ""), (r"\btrue\b", "false"), (r"\bfalse\b", "true"),
    (r"\bbreak;", ";"), (r"\bcontinue;", ";"),
]
LITERAL = re.compile(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.'])")
# A statement on lines of its own that only calls or only assigns: a name (a
# member, a qualified or dereferenced one, an element) followed directly by
# its arguments or by an assignment. A declaration has a space between its
# type and its name, so it never matches.
STATEMENT = re.compile(
    r"(?m)^[ \t]*(?P<s>(?!(?:if|for|while|switch|return|sizeof|static_assert)\b)"
    r"[A-Za-z_*(+-][\w:.\->\[\]*+()-]*(?:\([^;{}]*\)|\s*(?:[-+*/|&^]|<<|>>)?=(?!=)[^;{}]+)\s*;)"
    r"[ \t]*$")
CONDITION = re.compile(r"\b(?:if|while)\s*\(")
KINDS = ("operator", "statement")


def blank_non_code(text):
    """The text with comments, string and character literals and preprocessor
    lines replaced by spaces, so that offsets stay the same."""
    out = list(text)
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == "#":
            j = text.find("\n", i)
            j = n if j < 0 else j
            while j < n and text[j - 1] == "\\":
                j = text.find("\n", j + 1)
                j = n if j < 0 else j
            for k in range(i, j):
                out[k] = " "
            i = j
            continue
        if c == "\n":
            line_start = True
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            j += 1
        else:
            i += 1
            continue
        for k in range(i, min(j, n)):
            if out[k] != "\n":
                out[k] = " "
        i = j
    return "".join(out)


def closing_paren(code, start):
    """The offset just past the parenthesis that closes the one at `start`."""
    depth = 0
    for i in range(start, len(code)):
        depth += {"(": 1, ")": -1}.get(code[i], 0)
        if depth == 0:
            return i + 1
    return None


def statement_sites(path, text, code):
    """Calls and assignments removed; if and while conditions forced."""
    found = []
    for m in STATEMENT.finditer(code):
        old = text[m.start("s"):m.end("s")]
        if old.count("(") == old.count(")"):
            found.append((path, m.start("s"), old, "{}"))
    for m in CONDITION.finditer(code):
        end = closing_paren(code, m.end() - 1)
        if end is None:
            continue
        old = text[m.end() - 1:end]
        for forced in ("(true)", "(false)"):
            if old != forced:
                found.append((path, m.end() - 1, old, forced))
    return found


def sites(path, text, lines=None, kind="operator"):
    """Every mutant of one kind in one file: (path, offset, old, new)."""
    code = blank_non_code(text)
    if kind == "statement":
        found = statement_sites(path, text, code)
        if lines is not None:
            found = [s for s in found if text.count("\n", 0, s[1]) + 1 in lines]
        return sorted(found, key=lambda s: (s[0], s[1], s[3]))
    found = []
    for pattern, new in OPERATORS:
        for m in re.finditer(pattern, code):
            found.append((path, m.start(), m.group(0), new))
    for m in LITERAL.finditer(code):
        digits = m.group(1)
        if digits.lower().startswith("0x"):
            digits = hex(int(digits, 16) + 1)
        elif digits.startswith("0") and len(digits) > 1:  # octal
            digits = "0" + format(int(digits, 8) + 1, "o")
        else:
            digits = str(int(digits) + 1)
        found.append((path, m.start(), m.group(0), digits + m.group(2)))
    if lines is not None:
        found = [s for s in found if text.count("\n", 0, s[1]) + 1 in lines]
    return sorted(found, key=lambda s: (s[0], s[1], s[3]))


def run(cmd, timeout=None, **kw):
    """Runs `cmd` in its own process group; None when it outlives `timeout`."""
    p = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                         start_new_session=True, **kw)
    try:
        out, _ = p.communicate(timeout=timeout)
        return p.returncode, out.decode(errors="replace")
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        p.communicate()
        return None, ""


def tracked_files():
    out = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], cwd=ROOT,
                         check=True, capture_output=True, text=True).stdout
    return [f for f in out.splitlines() if not f.startswith("build/") and (ROOT / f).is_file()]


def sync_copy():
    """Brings build/mutate/src level with the worktree. A changed file is
    written with a new time, so a mutant left by an interrupted run is rebuilt."""
    wanted = set(tracked_files())
    for f in wanted:
        src, dst = ROOT / f, SRC / f
        if dst.is_file() and dst.read_bytes() == src.read_bytes():
            continue
        dst.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(src, dst)
        os.chmod(dst, os.stat(src).st_mode)
    for dst in list(SRC.rglob("*")):
        if dst.is_file() and str(dst.relative_to(SRC)) not in wanted:
            dst.unlink()


def changed_lines(rev):
    """{file: set of line numbers} added or changed since `rev`, untracked files whole."""
    diff = subprocess.run(["git", "diff", "-U0", rev, "--"], cwd=ROOT, check=True,
                          capture_output=True, text=True).stdout
    result, current = {}, None
    for line in diff.splitlines():
        if line.startswith("+++ "):
            current = line[6:] if line.startswith("+++ b/") else None
        elif line.startswith("@@") and current:
            m = re.match(r"@@ -\S+ \+(\d+)(?:,(\d+))? @@", line)
            start, count = int(m.group(1)), int(m.group(2) or 1)
            result.setdefault(current, set()).update(range(start, start + count))
    untracked = subprocess.run(["git", "ls-files", "-o", "--exclude-standard"], cwd=ROOT,
                               check=True, capture_output=True, text=True).stdout
    for f in untracked.splitlines():
        result[f] = None
    return result


INCLUDE = re.compile(r'^#include "([^"]+)"', re.M)


def product_sources():
    """The compile database's files, less tests, benches and program mains, and
    the project's headers that any compiled file includes (the tests too), less
    those of tests and of win32 folders."""
    entries = json.loads((BUILD / "compile_commands.json").read_text())
    files, compiled = set(), set()
    for e in entries:
        rel = os.path.relpath(os.path.join(e["directory"], e["file"]), SRC)
        if rel.startswith(".."):
            continue
        compiled.add(rel)
        if rel.startswith(("tests/", "bench/")) or os.path.basename(rel) == "main.cpp":
            continue
        files.add(rel)
    todo = list(compiled)
    while todo:
        for header in INCLUDE.findall((SRC / todo.pop()).read_text()):
            if header in compiled or not (SRC / header).is_file():
                continue
            compiled.add(header)
            todo.append(header)
            if not header.startswith(("tests/", "bench/")) and "/win32/" not in header:
                files.add(header)
    return sorted(files)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=60, help="mutants that compile (default 60)")
    ap.add_argument("--files", nargs="+", metavar="PATH", help="only these source files")
    ap.add_argument("--since", metavar="REV", help="only lines added or changed since REV")
    ap.add_argument("--fast", action="store_true", help="build without ASan/UBSan")
    ap.add_argument("--list", action="store_true", help="print the sample and stop")
    ap.add_argument("--kind", choices=KINDS, default="operator",
                    help="operator: operators and literals; statement: calls and assignments "
                         "removed, conditions forced (default operator)")
    ap.add_argument("--work", metavar="DIR", help="the copy and its build (default build/mutate), "
                    "so that two samples can run at once")
    args = ap.parse_args()
    started = time.monotonic()
    if args.work:
        global WORK, SRC, BUILD
        WORK = Path(args.work).resolve()
        SRC, BUILD = WORK / "src", WORK / "build"

    sync_copy()
    sanitize = "OFF" if args.fast else "ON"
    rc, out = run(["cmake", "-S", str(SRC), "-B", str(BUILD), "-G", "Ninja",
                   "-DCMAKE_BUILD_TYPE=", f"-DQX_SANITIZE={sanitize}"])
    if rc != 0:
        sys.exit("mutate: cmake failed\n" + out)

    files = product_sources()
    if args.files:
        wanted = {os.path.normpath(f) for f in args.files}
        files = [f for f in files if f in wanted]
    lines = {f: None for f in files}
    if args.since:
        changed = changed_lines(args.since)
        lines = {f: changed[f] for f in files if f in changed}
    if not lines:
        sys.exit("mutate: no product source to mutate")

    pool = []
    for f, only in lines.items():
        pool += sites(f, (SRC / f).read_text(), only, args.kind)
    random.Random(args.seed).shuffle(pool)
    if args.list:
        for path, at, old, new in pool[: args.count]:
            text = (SRC / path).read_text()
            print(f"{path}:{text.count(chr(10), 0, at) + 1}: {old.strip()!r} -> {new.strip()!r}")
        return

    build = ["cmake", "--build", str(BUILD), "--target", TARGET, "-j", str(os.cpu_count())]
    rc, out = run(build)
    if rc != 0:
        sys.exit("mutate: the unmutated tree does not build\n" + out)
    t0 = time.monotonic()
    rc, out = run([str(BUILD / "tests" / TARGET)], cwd=BUILD, timeout=300)
    if rc != 0:
        sys.exit("mutate: the unit tests fail before any mutant\n" + out)
    hang = max(10.0, 10 * (time.monotonic() - t0))
    print(f"mutate: {args.kind} mutants, seed {args.seed}, {len(pool)} mutants in {len(lines)} files, "
          f"{args.count} to run; a test run over {hang:.0f} s is a hang", flush=True)

    killed, survivors, broken = 0, [], 0
    for path, at, old, new in pool:
        if killed + len(survivors) == args.count:
            break
        target = SRC / path
        original = target.read_text()
        line_no = original.count("\n", 0, at) + 1
        try:
            target.write_text(original[:at] + new + original[at + len(old):])
            rc, _ = run(build, timeout=300)
            if rc != 0:
                broken += 1
                continue
            rc, _ = run([str(BUILD / "tests" / TARGET)], cwd=BUILD, timeout=hang)
        finally:
            target.write_text(original)
        line = original.splitlines()[line_no - 1].strip()
        change = f"{path}:{line_no}: {old.strip()!r} -> {new.strip()!r}   {line}"
        if rc == 0:
            survivors.append(change)
        else:
            killed += 1
        verdict = "survived" if rc == 0 else "hung" if rc is None else "killed"
        print(f"[{killed + len(survivors):3}] {verdict:8} {change}", flush=True)

    total = killed + len(survivors)
    if total == 0:
        sys.exit("mutate: no mutant compiled")
    print(f"\nSurvivors ({len(survivors)}):")
    for s in survivors:
        print("  " + s)
    print(f"\nScore: {killed}/{total} killed ({100 * killed / total:.0f} %), {args.kind} mutants, "
          f"seed {args.seed}; "
          f"{broken} did not compile and were replaced; {time.monotonic() - started:.0f} s")


if __name__ == "__main__":
    main()
