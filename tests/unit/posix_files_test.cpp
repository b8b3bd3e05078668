// Composing a file on disk: all or nothing, with no temporary file left over.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "common/failure.h"
#include "runtime/posix/files.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

struct PosixFilesFixture : ::testing::Test {
  fs::path dir = fs::temp_directory_path() / ("qx-files-" + std::to_string(::getpid()));
  posix::PosixFiles files;

  PosixFilesFixture() {
    fs::remove_all(dir);
    fs::create_directories(dir / "busy");
    Put("tpl", "TEMPLATE");
    Put("out.exe", "older");
    Put("busy/inside", "");
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
  std::set<fs::path> Listing() {
    std::set<fs::path> out;
    for (const auto& e : fs::recursive_directory_iterator(dir)) out.insert(e.path());
    return out;
  }
};

TEST_F(PosixFilesFixture, WritesPrefixAndTailOverAnOlderFileBackslashNamingASubfolder) {
  files.ComposeFile(W("tpl"), W("out.exe"), [](std::uint64_t size) {
    return Composition{size - 1, "+tail"};
  });
  EXPECT_EQ(Get("out.exe"), "TEMPLAT+tail");
  files.ComposeFile(W("busy") + L"\\inside", W("busy") + L"\\b.exe", [](std::uint64_t size) {
    return Composition{size, "b"};
  });
  EXPECT_EQ(Get("busy/b.exe"), "b");
  EXPECT_TRUE(files.Exists(W("out.exe")));
  EXPECT_FALSE(files.Exists(W("busy")));
}

TEST_F(PosixFilesFixture, EveryFailureLeavesTheFolderAsItWas) {
  const auto plan = [](std::uint64_t size) { return Composition{size, "x"}; };
  const auto refuse = [](std::uint64_t) -> Composition { throw Failure(L"refused", L"because"); };
  const auto too_long = [](std::uint64_t size) { return Composition{size + 1, ""}; };
  // clang-format off
  const struct {
    const char* what;
    std::string source, target;
    std::function<Composition(std::uint64_t)> plan;
    const wchar_t* reason;
  } cases[] = {
      {"missing source", "nope", "out.exe", plan, L"No such file"},
      {"refusing plan", "tpl", "out.exe", refuse, L"because"},
      {"missing folder", "tpl", "sub/out.exe", plan, L"No such file"},
      {"prefix past the source", "tpl", "out.exe", too_long, L"too short"},
      // Fails only at the final move, after the temporary file was written.
      {"a folder in the way", "tpl", "busy", plan, L"Is a directory"},
  };
  // clang-format on
  const auto before = Listing();
  for (const auto& c : cases) {
    try {
      files.ComposeFile(W(c.source), W(c.target), c.plan);
      ADD_FAILURE() << c.what;
    } catch (const Failure& f) {
      EXPECT_NE(f.reason().find(c.reason), std::wstring::npos) << c.what;
    }
    EXPECT_EQ(Listing(), before) << c.what;
  }
  EXPECT_EQ(Get("out.exe"), "older");
}

TEST(NativePath, IsUtf8WithForwardSlashesAtEveryEncodingBoundary) {
  // clang-format off
  const std::pair<std::wstring, std::string> cases[] = {
      {L"a\\b", "a/b"},
      {L"\u007F\u0080", "\x7F\xC2\x80"},
      {L"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},
      {L"\uFFFF", "\xEF\xBF\xBF"},
      {std::wstring(1, static_cast<wchar_t>(0x10000)), "\xF0\x90\x80\x80"},
  };
  // clang-format on
  for (const auto& [wide, utf8] : cases) EXPECT_EQ(posix::NativePath(wide), utf8);
}

}  // namespace
}  // namespace qx
