#include "blocker/win32/startup_shortcut.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>  // needs windows.h first
// clang-format on

#include "common/failure.h"
#include "runtime/win32/last_error.h"

namespace qx::blocker::win {
namespace {

constexpr wchar_t kOperation[] = L"Could not add the blocker to the Startup folder.";

// Releases a COM interface when it goes.
template <typename T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
};

void Check(HRESULT result) {
  if (FAILED(result)) qx::win::ThrowError(kOperation, static_cast<DWORD>(result));
}

}  // namespace

std::wstring StartupShortcutPath(const std::wstring& title) {
  wchar_t folder[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, 0, folder))) {
    return {};
  }
  return std::wstring(folder) + L"\\" + title + L".lnk";
}

void WriteStartupShortcut(const std::wstring& link, const std::wstring& target) {
  const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Check(init);
  struct Uninit {
    ~Uninit() { CoUninitialize(); }
  } uninit;
  Com<IShellLinkW> shortcut;
  Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                         reinterpret_cast<void**>(&shortcut.p)));
  Check(shortcut.p->SetPath(target.c_str()));
  Check(shortcut.p->SetArguments(kAtLogon));
  Com<IPersistFile> file;
  Check(shortcut.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)));
  Check(file.p->Save(link.c_str(), TRUE));
}

}  // namespace qx::blocker::win
