// Compile from a large template against `cp` of the same file, side by side.
//   compile_bench [megabytes] [folder]   (defaults: 256, a new folder under /tmp)
// The compile is the real blocker writer on the POSIX file operations, which also
// flush the file to disk before moving it into place; `cp` does not flush, so
// `cp` followed by `sync` of the copy is shown as well. Best of five rounds each.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "format/blocker_writer.h"
#include "runtime/posix/files.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

double Shell(const std::string& command) {
  const auto start = Clock::now();
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "failed: %s\n", command.c_str());
    std::exit(1);
  }
  return Seconds(start);
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

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::stoul(argv[1]) : 256;
  const fs::path dir = argc > 2
                           ? fs::path(argv[2])
                           : fs::temp_directory_path() / ("qx-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const fs::path tpl = dir / "quellanix.ext";
  MakeTemplate(tpl, megabytes);

  qx::posix::PosixFiles files;
  qx::BlockerSettings settings;
  settings.block.fill(true);
  settings.encrypted_password = "Kq;zAbTT";

  const std::string q = "'" + dir.string() + "/";
  double compile = 1e9, cp = 1e9, cp_sync = 1e9;
  for (int round = 0; round < 5; ++round) {
    fs::remove(dir / "Bench.exe");
    auto start = Clock::now();
    files.ComposeFile((dir / "quellanix.ext").wstring(), (dir / "Bench.exe").wstring(),
                      [&](std::uint64_t length) {
                        qx::BlockerTail tail = qx::PlanBlocker(length, settings);
                        return qx::Composition{tail.template_prefix, std::move(tail.bytes)};
                      });
    compile = std::min(compile, Seconds(start));

    fs::remove(dir / "copy.exe");
    cp = std::min(cp, Shell("cp " + q + "quellanix.ext' " + q + "copy.exe'"));
    fs::remove(dir / "copy.exe");
    cp_sync = std::min(
        cp_sync, Shell("cp " + q + "quellanix.ext' " + q + "copy.exe' && sync " + q + "copy.exe'"));
  }
  std::printf("template         %zu MB in %s\n", megabytes, dir.c_str());
  std::printf("compile          %.3f s  (copy, bag, trailer, flush, move into place)\n", compile);
  std::printf("cp               %.3f s\n", cp);
  std::printf("cp + sync        %.3f s\n", cp_sync);
  std::printf("ratio compile/cp          %.2fx  (target 1.10x)\n", compile / cp);
  std::printf("ratio compile/(cp + sync) %.2fx\n", compile / cp_sync);
  fs::remove_all(dir);
  return 0;
}
