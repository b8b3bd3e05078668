// Compile from a large template against a plain copy of the same file, side by
// side, on the program's own Win32 file operations.
//   compile_bench [megabytes] [folder]   (defaults: 256, a new folder under %TEMP%)
// The compile also flushes the file to disk before moving it into place; a plain
// copy does not, so a copy followed by a flush of the copy is shown as well.
// Best of five rounds each.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "format/blocker_writer.h"
#include "runtime/win32/files.h"
#include "runtime/win32/handles.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

void MakeTemplate(const fs::path& path, std::size_t megabytes) {
  std::vector<char> block(1 << 20);
  std::uint32_t x = 2463534242u;
  std::ofstream out(path, std::ios::binary);
  for (std::size_t m = 0; m < megabytes; ++m) {
    for (char& c : block) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      c = static_cast<char>(x);
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
}

// CopyFile, and with `flush` the copy's buffers written to disk too.
double Copy(const fs::path& from, const fs::path& to, bool flush) {
  fs::remove(to);
  const auto start = Clock::now();
  bool ok = CopyFileW(from.c_str(), to.c_str(), FALSE) != 0;
  if (ok && flush) {
    qx::win::FileHandle copy(CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    ok = copy && FlushFileBuffers(copy.get());
  }
  if (!ok) {
    std::fprintf(stderr, "copy failed: error %lu\n", GetLastError());
    std::exit(1);
  }
  return Seconds(start);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 256;
  const fs::path dir =
      argc > 2 ? fs::path(argv[2])
               : fs::temp_directory_path() / ("qx-bench-" + std::to_string(GetCurrentProcessId()));
  fs::create_directories(dir);
  const fs::path tpl = dir / "quellanix.ext";
  MakeTemplate(tpl, megabytes);

  qx::win::WinFiles files;
  qx::BlockerSettings settings;
  settings.block.fill(true);
  settings.encrypted_password = "Kq;zAbTT";

  double compile = 1e9, copy = 1e9, copy_flush = 1e9;
  for (int round = 0; round < 5; ++round) {
    fs::remove(dir / "Bench.exe");
    const auto start = Clock::now();
    files.ComposeFile(tpl.wstring(), (dir / "Bench.exe").wstring(), [&](std::uint64_t length) {
      qx::BlockerTail tail = qx::PlanBlocker(length, settings);
      return qx::Composition{tail.template_prefix, std::move(tail.bytes)};
    });
    compile = std::min(compile, Seconds(start));
    copy = std::min(copy, Copy(tpl, dir / "copy.exe", false));
    copy_flush = std::min(copy_flush, Copy(tpl, dir / "copy.exe", true));
  }
  std::printf("template          %zu MB in %ls\n", megabytes, dir.c_str());
  std::printf("compile           %.3f s  (copy, bag, trailer, flush, move into place)\n", compile);
  std::printf("copy              %.3f s\n", copy);
  std::printf("copy + flush      %.3f s\n", copy_flush);
  std::printf("ratio compile/copy            %.2fx  (target 1.10x)\n", compile / copy);
  std::printf("ratio compile/(copy + flush)  %.2fx\n", compile / copy_flush);
  fs::remove_all(dir);
  return 0;
}
