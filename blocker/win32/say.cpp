#include "blocker/win32/say.h"

namespace qx::blocker::win {

int Say(const std::wstring& text, UINT icon, ExitCode code) {
  MessageBoxW(nullptr, text.c_str(), L"Quellanix Blocker", MB_OK | icon | MB_SETFOREGROUND);
  return AsInt(code);
}

}  // namespace qx::blocker::win
