#include "blocker/win32/process_owner.h"

#include <windows.h>
// clang-format off
#include <aclapi.h>  // needs windows.h first
// clang-format on

#include <vector>

#include "runtime/win32/handles.h"

namespace qx::blocker::win {
namespace {

// A fact of this process's token, read once; empty when it cannot be read.
std::vector<BYTE> OfToken(TOKEN_INFORMATION_CLASS fact) {
  std::vector<BYTE> info;
  qx::win::FileHandle token;
  DWORD size = 0;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) {
    GetTokenInformation(token.get(), fact, nullptr, 0, &size);
    info.resize(size);
    if (!size || !GetTokenInformation(token.get(), fact, info.data(), size, &size)) info.clear();
  }
  return info;
}

// The user, and the owner the system gives what the user makes (the user
// again on Windows, a group of it under Wine): a program of this user is
// owned by one of them, an administrator's elevated one by neither.
bool IsThisUser(PSID owner) {
  static const std::vector<BYTE> user = OfToken(TokenUser), own = OfToken(TokenOwner);
  return (!user.empty() &&
          EqualSid(owner, reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid)) ||
         (!own.empty() && EqualSid(owner, reinterpret_cast<const TOKEN_OWNER*>(own.data())->Owner));
}

}  // namespace

Owner OwnerOfProcess(std::uint32_t pid) {
  // The owner is granted READ_CONTROL whatever the DACL says.
  const qx::win::ProcessHandle process(OpenProcess(READ_CONTROL, FALSE, pid));
  if (!process) {
    return GetLastError() == ERROR_INVALID_PARAMETER ? Owner::kGone : Owner::kUnknown;
  }
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(process.get(), SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr,
                      nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
    return Owner::kUnknown;
  }
  const bool mine = IsThisUser(owner);
  LocalFree(descriptor);
  return mine ? Owner::kThisUser : Owner::kOtherUser;
}

}  // namespace qx::blocker::win
