#include "blocker/win32/say.h"

#include "blocker/win32/process_guard.h"

namespace qx::blocker::win {

int Ask(const std::wstring& text, const std::wstring& caption, UINT buttons, UINT icon) {
  return MessageBoxW(nullptr, text.c_str(), caption.c_str(), buttons | icon | MB_SETFOREGROUND);
}

int Say(const std::wstring& text, UINT icon, ExitCode code) {
  Ask(text, kCaption, MB_OK, icon);
  return AsInt(code);
}

void SayAside(const std::wstring& text, UINT icon) {
  if (!StartDetachedThread([text, icon] { Say(text, icon); })) Say(text, icon);
}

}  // namespace qx::blocker::win
