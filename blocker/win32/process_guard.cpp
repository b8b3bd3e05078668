#include "blocker/win32/process_guard.h"

// clang-format off
#include <windows.h>
#include <aclapi.h>  // needs windows.h first
#include <sddl.h>
// clang-format on

#include "runtime/win32/last_error.h"

namespace qx::blocker::win {

void ProtectProcess() {
  constexpr wchar_t kOperation[] = L"Could not protect the blocker from being ended.";
  // Everyone, the owner included (OWNER RIGHTS takes away the owner's implicit
  // right to change the list), may only wait for it and ask its name.
  // Protected: nothing is inherited from the parent.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
          L"D:P(A;;0x101000;;;OW)(A;;0x101000;;;WD)", SDDL_REVISION_1, &descriptor, nullptr)) {
    qx::win::ThrowLastError(kOperation);
  }
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
  const DWORD status =
      SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT,
                      DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                      nullptr, dacl, nullptr);
  LocalFree(descriptor);
  if (status != ERROR_SUCCESS) qx::win::ThrowError(kOperation, status);
  // Nor can another program load its code into the blocker through the
  // system's extension points: a global window hook, AppInit DLLs, an IME.
  PROCESS_MITIGATION_EXTENSION_POINT_DISABLE_POLICY no_extensions{};
  no_extensions.DisableExtensionPoints = 1;
  if (!SetProcessMitigationPolicy(ProcessExtensionPointDisablePolicy, &no_extensions,
                                  sizeof no_extensions)) {
    qx::win::ThrowLastError(kOperation);
  }
}

}  // namespace qx::blocker::win
