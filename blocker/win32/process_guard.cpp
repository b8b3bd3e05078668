#include "blocker/win32/process_guard.h"

// clang-format off
#include <windows.h>
#include <aclapi.h>  // needs windows.h first
#include <sddl.h>
#include <tlhelp32.h>
// clang-format on

#include <optional>
#include <utility>

#include "common/failure.h"
#include "runtime/win32/last_error.h"

namespace qx::blocker::win {
namespace {

constexpr wchar_t kOperation[] = L"Could not protect the blocker from being ended.";

// Protected lists: nothing is inherited. OWNER RIGHTS takes away the owner's
// implicit right to change the list. 0x101000: SYNCHRONIZE and
// PROCESS_QUERY_LIMITED_INFORMATION; 0x100800: SYNCHRONIZE and
// THREAD_QUERY_LIMITED_INFORMATION.
constexpr wchar_t kProcessSddl[] = L"D:P(A;;0x101000;;;OW)(A;;0x101000;;;WD)";
constexpr wchar_t kThreadSddl[] = L"D:P(A;;0x100800;;;OW)(A;;0x100800;;;WD)";
// The token may be read, duplicated and impersonated (the system's own calls
// in this process need that), never adjusted or re-permissioned; the system
// keeps every right.
constexpr wchar_t kTokenSddl[] = L"D:P(A;;GA;;;SY)(A;;0x2000e;;;OW)(A;;0x2000e;;;WD)";
// What objects made later get, threads on Windows included: only waiting.
constexpr wchar_t kDefaultSddl[] = L"D:(A;;GA;;;SY)(A;;0x100000;;;OW)(A;;0x100000;;;WD)";

using Descriptor = std::unique_ptr<void, decltype(&::LocalFree)>;

Descriptor DescriptorOf(const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    qx::win::ThrowLastError(kOperation);
  }
  return Descriptor(descriptor, &::LocalFree);
}

PACL DaclOf(const Descriptor& descriptor) {
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted);
  return dacl;
}

void SetDacl(HANDLE object, const wchar_t* sddl) {
  const Descriptor descriptor = DescriptorOf(sddl);
  const DWORD status = SetSecurityInfo(
      object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
      nullptr, nullptr, DaclOf(descriptor), nullptr);
  if (status != ERROR_SUCCESS) qx::win::ThrowError(kOperation, status);
}

// Threads the system or a library made before this point.
void ProtectEveryThread() {
  const qx::win::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) qx::win::ThrowLastError(kOperation);
  const DWORD own = GetCurrentProcessId();
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot.get(), &entry); more;
       more = Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID != own) continue;
    const qx::win::ProcessHandle thread(OpenThread(WRITE_DAC, FALSE, entry.th32ThreadID));
    // A thread that ended since the snapshot cannot be opened, and needs nothing.
    if (thread) SetDacl(thread.get(), kThreadSddl);
  }
}

void ProtectToken() {
  qx::win::ProcessHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_DEFAULT | WRITE_DAC | READ_CONTROL,
                        token.put())) {
    qx::win::ThrowLastError(kOperation);
  }
  const Descriptor later = DescriptorOf(kDefaultSddl);
  TOKEN_DEFAULT_DACL dacl{DaclOf(later)};
  if (!SetTokenInformation(token.get(), TokenDefaultDacl, &dacl, sizeof dacl)) {
    qx::win::ThrowLastError(kOperation);
  }
  SetDacl(token.get(), kTokenSddl);
}

void DisableExtensionPoints() {
  // No other program loads its code into the blocker through the system's
  // extension points: a global window hook, AppInit DLLs, an IME.
  PROCESS_MITIGATION_EXTENSION_POINT_DISABLE_POLICY no_extensions{};
  no_extensions.DisableExtensionPoints = 1;
  if (!SetProcessMitigationPolicy(ProcessExtensionPointDisablePolicy, &no_extensions,
                                  sizeof no_extensions)) {
    qx::win::ThrowLastError(kOperation);
  }
}

DWORD WINAPI RunWork(void* work) {
  (*static_cast<std::function<void()>*>(work))();
  return 0;
}

DWORD WINAPI RunDetached(void* work) {
  const std::unique_ptr<std::function<void()>> owned(static_cast<std::function<void()>*>(work));
  (*owned)();
  return 0;
}

}  // namespace

ProtectiveAttributes::ProtectiveAttributes(For object)
    : descriptor_(DescriptorOf(object == For::kProcess ? kProcessSddl : kThreadSddl)) {
  attributes_.nLength = sizeof attributes_;
  attributes_.lpSecurityDescriptor = descriptor_.get();
  attributes_.bInheritHandle = FALSE;
}

void ProtectProcess() {
  // The token's default first: whatever is made from here on takes it.
  std::optional<Failure> first;
  for (void (*step)() : {&ProtectToken, +[] { SetDacl(GetCurrentProcess(), kProcessSddl); },
                         &ProtectEveryThread, &DisableExtensionPoints}) {
    try {
      step();
    } catch (const Failure& f) {
      if (!first) first = f;
    }
  }
  if (first) throw *first;
}

ProtectedThread::ProtectedThread(std::function<void()> work) : work_(std::move(work)) {
  ProtectiveAttributes attributes(ProtectiveAttributes::For::kThread);
  thread_.reset(CreateThread(attributes.get(), 0, RunWork, &work_, 0, nullptr));
  if (!thread_) qx::win::ThrowLastError(L"Could not start a part of the blocker.");
}

ProtectedThread::~ProtectedThread() { WaitForSingleObject(thread_.get(), INFINITE); }

bool StartDetachedThread(std::function<void()> work) {
  try {
    ProtectiveAttributes attributes(ProtectiveAttributes::For::kThread);
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    const qx::win::ProcessHandle thread(
        CreateThread(attributes.get(), 0, RunDetached, owned.get(), 0, nullptr));
    if (!thread) return false;
    owned.release();  // the thread's now
    return true;
  } catch (const Failure&) {
    return false;
  }
}

}  // namespace qx::blocker::win
