#include "runtime/win32/last_error.h"

#include "common/failure.h"

namespace qx::win {

std::wstring LastErrorText(DWORD code) {
  wchar_t buffer[512] = {};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer,
                                static_cast<DWORD>(std::size(buffer)), nullptr);
  while (length > 0 && (buffer[length - 1] == L'\n' || buffer[length - 1] == L'\r' ||
                        buffer[length - 1] == L' ' || buffer[length - 1] == L'.')) {
    --length;
  }
  std::wstring text(buffer, length);
  if (text.empty()) text = L"Unknown error";
  return text + L". (error " + std::to_wstring(code) + L")";
}

void ThrowError(std::wstring_view operation, DWORD code) {
  throw Failure(std::wstring(operation), LastErrorText(code));
}

void ThrowLastError(std::wstring_view operation) { ThrowError(operation, GetLastError()); }

}  // namespace qx::win
