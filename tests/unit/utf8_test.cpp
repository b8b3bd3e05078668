// Wide text as UTF-8, as the activity log writes it.
#include "common/utf8.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(Utf8, EveryEncodingBoundaryAndASurrogatePairAsOneCodePoint) {
  std::string out = "<";
  AppendUtf8(out,
             std::wstring{L'a', 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0xD83D, 0xDE00, L'x'});
  EXPECT_EQ(out, "<a\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF0\x9F\x98\x80x");
  std::string back;
  AppendUtf8(back, DecodeUtf8(out).value());
  EXPECT_EQ(back, out);
  EXPECT_EQ(DecodeUtf8("\xF4\x8F\xBF\xBF").value().size(), sizeof(wchar_t) == 2 ? 2u : 1u);
  // Cut short, a stray or wrong follower, overlong, a surrogate, past U+10FFFF.
  for (const char* bad : {"\xC3", "\xE2\x82", "\x80",
                          "\xC3"
                          "A",
                          "\xC1\xBF", "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF", "\xED\xA0\x80",
                          "\xF4\x90\x80\x80", "\xF8"}) {
    EXPECT_FALSE(DecodeUtf8(bad)) << testing::PrintToString(bad);
  }
}

}  // namespace
}  // namespace qx
