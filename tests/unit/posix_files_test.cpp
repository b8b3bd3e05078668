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

// Works inside a fresh folder, by relative names: a target without a folder
// part must get its temporary file in the current folder.
struct PosixFilesFixture : ::testing::Test {
  fs::path home = fs::current_path();
  fs::path dir = fs::temp_directory_path() / ("qx-files-" + std::to_string(::getpid()));
  posix::PosixFiles files;

  PosixFilesFixture() {
    fs::remove_all(dir);
    fs::create_directories(dir / "busy");
    fs::current_path(dir);
    for (const auto& [name, bytes] :
         {std::pair{"tpl", "TEMPLATE"}, {"out.exe", "older"}, {"busy/inside", "x"}}) {
      std::ofstream(name, std::ios::binary) << bytes;
    }
  }
  ~PosixFilesFixture() override {
    fs::current_path(home);
    fs::remove_all(dir);
  }
  std::string Get(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::set<fs::path> Listing() {
    return {fs::recursive_directory_iterator("."), fs::recursive_directory_iterator()};
  }
};

TEST_F(PosixFilesFixture, WritesPrefixAndTailOverAnOlderFileBackslashNamingASubfolder) {
  const auto all_but_one = [](std::uint64_t size) { return Composition{size - 1, "+tail"}; };
  files.ComposeFile(L"tpl", L"out.exe", all_but_one);
  EXPECT_EQ(Get("out.exe"), "TEMPLAT+tail");
  // An absolute path, with a backslash before the file name.
  files.ComposeFile(L"busy\\inside", (dir / "busy").wstring() + L"\\b.exe", all_but_one);
  EXPECT_EQ(Get("busy/b.exe"), "+tail");
  EXPECT_TRUE(files.Exists(L"out.exe"));
  EXPECT_FALSE(files.Exists(L"busy"));
}

TEST_F(PosixFilesFixture, EveryFailureLeavesTheFolderAsItWas) {
  const auto plan = [](std::uint64_t size) { return Composition{size, "x"}; };
  const auto refuse = [](std::uint64_t) -> Composition { throw Failure(L"refused", L"because"); };
  const auto too_long = [](std::uint64_t size) { return Composition{size + 1, ""}; };
  // clang-format off
  const struct { const char* what; std::wstring source, target; std::function<Composition(std::uint64_t)> plan; const wchar_t* reason; } cases[] = {
      {"missing source", L"nope", L"out.exe", plan, L"No such file"},
      {"refusing plan", L"tpl", L"out.exe", refuse, L"because"},
      {"missing folder", L"tpl", L"sub/out.exe", plan, L"No such file"},
      {"prefix past the source", L"tpl", L"out.exe", too_long, L"too short"},
      // Fails only at the final move, after the temporary file was written.
      {"a folder in the way", L"tpl", L"busy", plan, L"Is a directory"},
  };
  // clang-format on
  const auto before = Listing();
  for (const auto& c : cases) {
    try {
      files.ComposeFile(c.source, c.target, c.plan);
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
      {L"a\\b", "a/b"}, {L"\u007F\u0080", "\x7F\xC2\x80"}, {L"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},
      {L"\uFFFF", "\xEF\xBF\xBF"}, {std::wstring(1, static_cast<wchar_t>(0x10000)), "\xF0\x90\x80\x80"},
  };
  // clang-format on
  for (const auto& [wide, utf8] : cases) EXPECT_EQ(posix::NativePath(wide), utf8);
}

}  // namespace
}  // namespace qx
