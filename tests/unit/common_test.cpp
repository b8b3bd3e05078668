// The helpers every layer shares: wide text as UTF-8, as the activity log
// writes it and a blocker's settings carry it, and the parts of a path.
#include <gtest/gtest.h>

#include "common/path_parts.h"
#include "common/utf8.h"

namespace qx {
namespace {

TEST(Utf8, EveryEncodingBoundaryAndASurrogatePairAsOneCodePoint) {
  std::string out = "<";
  AppendUtf8(out, std::wstring{L'a', 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0xD83D, 0xDE00,
                               0xDBFF, 0xDFFF, L'x'});
  EXPECT_EQ(out,
            "<a\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF0\x9F\x98\x80\xF4\x8F"
            "\xBF\xBFx");
  out.clear();
  // Halves alone, and the first and last of each half in pairs.
  AppendUtf8(out, std::wstring{0xD800, 0xDC00, 0xD83D, L'x', L'a', 0xDC00, 0xDC00, 0xD800, 0xDC00,
                               0xD83D, 0xE000, 0xD800, 0xDC00});  // pairs begin and end the text
  AppendUtf8(out, std::wstring_view(L"\xD83D\xDE00", 1));  // a half that ends the text is alone
  EXPECT_EQ(out,
            "\xF0\x90\x80\x80\xED\xA0\xBDxa\xED\xB0\x80\xED\xB0\x80\xF0\x90\x80\x80\xED\xA0\xBD\xEE"
            "\x80\x80"
            "\xF0\x90\x80\x80\xED\xA0\xBD");
}

TEST(Utf8, DecodesStrictlyWhatItEncodes) {
  const std::string text =
      "a\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
  std::string back;
  AppendUtf8(back, DecodeUtf8(text).value());
  EXPECT_EQ(back, text);
  EXPECT_EQ(DecodeUtf8("\xF4\x8F\xBF\xBF").value().size(), sizeof(wchar_t) == 2 ? 2u : 1u);
  // Cut short, a stray or wrong follower, overlong, a surrogate, past U+10FFFF.
  for (const char* bad : {"\xC3", "\xE2\x82", "\x80", "\xC3\x41", "\xC1\xBF", "\xE0\x9F\xBF",
                          "\xF0\x8F\xBF\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF8"}) {
    EXPECT_FALSE(DecodeUtf8(bad)) << testing::PrintToString(bad);
  }
}

TEST(PathParts, EitherSlashSeparatesTheFolderFromTheFilesName) {
  EXPECT_EQ(FolderOf(L"C:\\a b\\c/d.exe"), L"C:\\a b\\c");
  EXPECT_EQ(FileNameOf(L"C:\\a b\\c/d.exe"), L"d.exe");
  EXPECT_EQ(FolderOf(L"d.exe"), L"");
}

}  // namespace
}  // namespace qx
