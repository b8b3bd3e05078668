#include "blocker/win32/startup_shortcut.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>  // needs windows.h first
// clang-format on

#include "blocker/logon_name.h"
#include "blocker/win32/file_hold.h"
#include "common/failure.h"
#include "common/path_parts.h"
#include "runtime/win32/file_bytes.h"
#include "runtime/win32/last_error.h"
#include "runtime/win32/replacing_file.h"

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

// Whether the shortcut at `link` is there and starts the file `self`.
ValueOwner OwnerOfShortcut(IShellLinkW& shortcut, IPersistFile& file, const std::wstring& link,
                           const FileId& self) {
  if (GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES) return ValueOwner::kNone;
  wchar_t target[MAX_PATH] = {};
  const bool read = SUCCEEDED(file.Load(link.c_str(), STGM_READ)) &&
                    SUCCEEDED(shortcut.GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH));
  return read && FileIdOf(target) == self ? ValueOwner::kOurs : ValueOwner::kOther;
}

}  // namespace

std::wstring StartupFolder() {
  wchar_t folder[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, 0, folder))) {
    return {};
  }
  return folder;
}

Shortcut AddStartupShortcut(const std::wstring& title, const std::wstring& target,
                            const FileId& self) {
  const std::wstring folder = StartupFolder();
  if (folder.empty()) throw Failure(kOperation, L"Windows did not tell where the folder is.");
  Check(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  struct Uninit {
    ~Uninit() { CoUninitialize(); }
  } uninit;
  Com<IShellLinkW> shortcut;
  Check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                         reinterpret_cast<void**>(&shortcut.p)));
  Com<IPersistFile> file;
  Check(shortcut.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p)));
  const auto path_of = [&](const std::wstring& name) { return folder + L"\\" + name + L".lnk"; };
  const std::optional<std::wstring> name = ChooseLogonName(title, [&](const std::wstring& n) {
    return OwnerOfShortcut(*shortcut.p, *file.p, path_of(n), self);
  });
  if (!name) {
    throw Failure(kOperation, L"Other programs' shortcuts there are named \"" + title +
                                  L"\" and the names beside it.");
  }
  Shortcut out{path_of(*name), {}};
  if (GetFileAttributesW(out.path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    Check(shortcut.p->SetPath(target.c_str()));
    Check(shortcut.p->SetArguments(kAtLogon));
    Check(file.p->Save(out.path.c_str(), TRUE));
  }
  std::optional<std::string> bytes = ReadWholeFile(out.path);
  if (!bytes) qx::win::ThrowLastError(kOperation);
  out.bytes = std::move(*bytes);
  return out;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  const std::unique_ptr<ByteSource> file = qx::win::OpenFileBytes(path);
  if (!file || file->Size() > (1u << 20)) return std::nullopt;  // no shortcut is that large
  std::string bytes(static_cast<std::size_t>(file->Size()), '\0');
  if (!file->Read(0, bytes.size(), bytes.data())) return std::nullopt;
  return bytes;
}

void RestoreShortcut(const Shortcut& shortcut) {
  constexpr wchar_t kRestore[] =
      L"Could not put the blocker's shortcut back in the Startup folder.";
  CreateDirectoryW(std::wstring(qx::FolderOf(shortcut.path)).c_str(), nullptr);
  qx::win::ReplacingFile file(shortcut.path, kRestore, &qx::win::LastErrorText);
  file.Write(shortcut.bytes);
  file.Replace(shortcut.bytes.size());
}

void RemoveShortcut(const Shortcut& shortcut) {
  constexpr wchar_t kRemove[] = L"Could not remove the blocker from the Startup folder.";
  const std::optional<std::string> now = ReadWholeFile(shortcut.path);
  // Held open by another program, it is still its own: said when it stays.
  const bool own = now ? *now == shortcut.bytes
                       : GetFileAttributesW(shortcut.path.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (own && !DeleteFileW(shortcut.path.c_str())) qx::win::ThrowLastError(kRemove);
  const LSTATUS status = RegDeleteKeyValueW(HKEY_CURRENT_USER, kStartupFolderSwitchKey,
                                            std::wstring(qx::FileNameOf(shortcut.path)).c_str());
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    qx::win::ThrowError(kRemove, static_cast<DWORD>(status));
  }
}

}  // namespace qx::blocker::win
