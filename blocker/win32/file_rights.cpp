#include "blocker/win32/file_rights.h"

#include <windows.h>

#include <vector>

#include "blocker/session.h"
#include "common/path_parts.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"

namespace qx::blocker::win {
namespace {

constexpr wchar_t kOperation[] = L"Could not check who may change the blocker's file.";

// The rights `token` (one to check with) holds on the file or folder at `path`.
DWORD Granted(HANDLE token, const std::wstring& path) {
  constexpr SECURITY_INFORMATION kParts =
      OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  DWORD size = 0;
  GetFileSecurityW(path.c_str(), kParts, nullptr, 0, &size);
  std::vector<unsigned char> descriptor(size);
  if (size == 0 || !GetFileSecurityW(path.c_str(), kParts, descriptor.data(), size, &size)) {
    qx::win::ThrowLastError(kOperation);
  }
  GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE,
                          FILE_ALL_ACCESS};
  PRIVILEGE_SET privileges{};
  DWORD privileges_size = sizeof privileges;
  DWORD granted = 0;
  BOOL allowed = FALSE;
  if (!AccessCheck(descriptor.data(), token, MAXIMUM_ALLOWED, &mapping, &privileges,
                   &privileges_size, &granted, &allowed)) {
    qx::win::ThrowLastError(kOperation);
  }
  return allowed ? granted : 0;
}

}  // namespace

bool AccountCanChangeFile(const std::wstring& path) {
  qx::win::ProcessHandle token, check;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, token.put()) ||
      !DuplicateToken(token.get(), SecurityIdentification, check.put())) {
    qx::win::ThrowLastError(kOperation);
  }
  std::wstring folder(qx::FolderOf(path));
  if (folder.ends_with(L':')) folder += L'\\';  // a drive's root, not its current folder
  return AccountCanChange(Granted(check.get(), path), Granted(check.get(), folder));
}

}  // namespace qx::blocker::win
