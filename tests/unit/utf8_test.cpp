// Wide text as UTF-8, as the activity log writes it.
#include "common/utf8.h"

#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(Utf8, EveryEncodingBoundaryAndASurrogatePairAsOneCodePoint) {
  // clang-format off
  const std::pair<std::wstring, std::string> cases[] = {
      {L"a\\b", "a\\b"}, {L"\u007F\u0080", "\x7F\xC2\x80"}, {L"\u07FF\u0800", "\xDF\xBF\xE0\xA0\x80"},
      {L"\uFFFF", "\xEF\xBF\xBF"}, {std::wstring(1, static_cast<wchar_t>(0x10000)), "\xF0\x90\x80\x80"},
      {{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00), L'x'}, "\xF0\x9F\x98\x80x"},
  };
  // clang-format on
  for (const auto& [wide, utf8] : cases) {
    std::string out = "<";
    AppendUtf8(out, wide);
    EXPECT_EQ(out, "<" + utf8);
  }
}

}  // namespace
}  // namespace qx
