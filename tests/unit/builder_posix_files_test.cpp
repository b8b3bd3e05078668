// Composing a file on disk: all or nothing, with no temporary file left over.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/failure.h"
#include "runtime/posix/files.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

struct PosixFilesFixture : ::testing::Test {
  fs::path dir;
  posix::PosixFiles files;

  PosixFilesFixture() {
    dir = fs::temp_directory_path() / ("qx-files-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    Put("tpl", "TEMPLATE");
  }
  ~PosixFilesFixture() override { fs::remove_all(dir); }

  void Put(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) {
    std::ifstream in(dir / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::wstring W(const std::string& name) { return (dir / name).wstring(); }
  std::size_t Entries() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
  }
};

TEST_F(PosixFilesFixture, WritesPrefixAndTailAndReplacesAnOlderFile) {
  Put("out.exe", "older");
  std::uint64_t seen = 0;
  files.ComposeFile(W("tpl"), W("out.exe"), [&](std::uint64_t size) {
    seen = size;
    return Composition{size - 1, "+tail"};
  });
  EXPECT_EQ(seen, 8u);
  EXPECT_EQ(Get("out.exe"), "TEMPLAT+tail");
  EXPECT_EQ(Entries(), 2u);
  EXPECT_TRUE(files.Exists(W("out.exe")));
  EXPECT_FALSE(files.Exists(W("missing")));
}

TEST_F(PosixFilesFixture, FailuresLeaveTheOlderFileAndNoTemporary) {
  Put("out.exe", "older");
  const auto plan = [](std::uint64_t size) { return Composition{size, "x"}; };
  // Missing source, a refusing plan, a folder that does not exist.
  EXPECT_THROW(files.ComposeFile(W("nope"), W("out.exe"), plan), Failure);
  EXPECT_THROW(files.ComposeFile(
                   W("tpl"), W("out.exe"),
                   [](std::uint64_t) -> Composition { throw Failure(L"refused", L"because"); }),
               Failure);
  EXPECT_THROW(files.ComposeFile(W("tpl"), W("sub/out.exe"), plan), Failure);
  // A prefix longer than the source.
  EXPECT_THROW(files.ComposeFile(W("tpl"), W("out.exe"),
                                 [](std::uint64_t size) {
                                   return Composition{size + 1, ""};
                                 }),
               Failure);
  EXPECT_EQ(Get("out.exe"), "older");
  EXPECT_EQ(Entries(), 2u);
  try {
    files.ComposeFile(W("nope"), W("out.exe"), plan);
  } catch (const Failure& f) {
    EXPECT_NE(f.operation().find(L"nope"), std::wstring::npos);
    EXPECT_NE(f.reason().find(L"No such file"), std::wstring::npos);
  }
}

TEST_F(PosixFilesFixture, BackslashNamesASubfolder) {
  fs::create_directories(dir / "sub");
  files.ComposeFile(W("tpl"), W("sub") + L"\\b.exe", [](std::uint64_t size) {
    return Composition{size, ""};
  });
  EXPECT_EQ(Get("sub/b.exe"), "TEMPLATE");
}

}  // namespace
}  // namespace qx
