#include "builder/title_rules.h"

#include <array>

#include "builder/prop_bag.h"
#include "common/text.h"

namespace qx {
namespace {

constexpr std::wstring_view kForbidden = L"<>:\"/|?*";

// Windows opens the device, not a file, for these names with or without an
// extension (and with spaces before the extension).
bool IsDeviceName(std::wstring_view segment) {
  std::wstring_view base = segment.substr(0, segment.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  static constexpr std::array<std::wstring_view, 6> kFixed{L"CON", L"PRN",    L"AUX",
                                                           L"NUL", L"CONIN$", L"CONOUT$"};
  for (auto name : kFixed) {
    if (EqualsIgnoringAsciiCase(base, name)) return true;
  }
  if (base.size() == 4) {
    const std::wstring_view stem = base.substr(0, 3);
    const wchar_t digit = base[3];
    const bool numbered = (digit >= L'1' && digit <= L'9') || digit == L'\u00B9' ||
                          digit == L'\u00B2' || digit == L'\u00B3';
    if (numbered &&
        (EqualsIgnoringAsciiCase(stem, L"COM") || EqualsIgnoringAsciiCase(stem, L"LPT")))
      return true;
  }
  return false;
}

}  // namespace

std::optional<std::wstring> TitleProblem(std::wstring_view folder, std::wstring_view title) {
  for (wchar_t c : title) {
    if (c < 32 || c == 127) {
      return L"The name holds a control character, which Windows does not allow in file names.";
    }
    if (kForbidden.find(c) != std::wstring_view::npos) {
      return L"The name holds the character " + Quoted(std::wstring(1, c)) +
             L", which Windows does not allow in file names (none of < > : \" / | ? * may be "
             L"used).";
    }
  }
  const std::wstring name = std::wstring(title) + kExeSuffix;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = name.find(L'\\', start);
    const std::wstring_view segment =
        std::wstring_view(name).substr(start, end == std::wstring::npos ? end : end - start);
    if (segment.empty()) {
      if (start == 0) {
        return std::wstring(
            L"The name may not begin with \"\\\": the blocker is written into the "
            L"application folder or one of its subfolders.");
      }
      return std::wstring(L"The name holds an empty folder name (\"\\\\\").");
    }
    if (segment == L"..") {
      return std::wstring(L"The name may not use \"..\" to leave the application folder.");
    }
    if (segment.back() == L'.' || segment.back() == L' ') {
      return L"The folder name " + Quoted(segment) +
             L" ends in a dot or a space, which Windows does not keep in file names.";
    }
    if (IsDeviceName(segment)) {
      return Quoted(segment) +
             L" is a name Windows reserves for a device (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 "
             L"to LPT9, CONIN$, CONOUT$).";
    }
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  const std::size_t length = folder.size() + 1 + name.size();
  if (length > kMaxBlockerPath) {
    return L"The full path of the blocker would be " + std::to_wstring(length) +
           L" characters long; Windows allows at most " + std::to_wstring(kMaxBlockerPath) + L".";
  }
  return std::nullopt;
}

}  // namespace qx
