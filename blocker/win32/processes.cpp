#include "blocker/win32/processes.h"

#include <winternl.h>

#include "blocker/win32/desktop_windows.h"
#include "blocker/win32/process_owner.h"
#include "blocker/win32/version_values.h"
#include "common/failure.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"
#include "runtime/win32/system_path.h"

namespace qx::blocker::win {
namespace {

// The fields of a SYSTEM_PROCESS_INFORMATION entry the list needs; the public
// header keeps the creation time among reserved bytes.
struct ProcessEntry {
  ULONG next_entry_offset;
  ULONG thread_count;
  BYTE reserved1[24];
  LARGE_INTEGER create_time;
  BYTE reserved2[16];
  UNICODE_STRING image_name;
  LONG base_priority;
  HANDLE unique_process_id;
  HANDLE parent_process_id;
  ULONG handle_count;
  ULONG session_id;
};

using QueryFn = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kSystemProcessInformation = 5;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

QueryFn Query() {
  static const auto fn = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  return fn;
}

class Process : public OpenedProcess {
 public:
  Process(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}
  std::uint64_t Created() const override {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process_.get(), &created, &exited, &kernel, &user)) return 0;
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  }
  std::optional<std::wstring> ImagePath() const override { return win::ImagePath(process_.get()); }
  std::optional<std::wstring> OriginalNameInMemory() const override {
    // Opened again for reading, and the same process only while it was created when this one was.
    const Process image(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid_),
                        pid_);
    if (!image.process_ || image.Created() != Created()) return std::nullopt;
    return ImageVersionString(image.process_.get(), L"OriginalFilename");
  }
  bool End() override { return TerminateProcess(process_.get(), 1) != 0; }

 private:
  qx::win::ProcessHandle process_;
  DWORD pid_;
};

}  // namespace

std::vector<ListedProcess> SystemProcesses::List() {
  const QueryFn query = Query();
  if (!query) qx::win::ThrowLastError(L"Could not list the running programs.");
  if (buffer_.empty()) buffer_.resize(64 * 1024 / sizeof(std::uint64_t));
  ULONG needed = 0;
  LONG status;
  while ((status = query(kSystemProcessInformation, buffer_.data(),
                         static_cast<ULONG>(buffer_.size() * sizeof(std::uint64_t)), &needed)) ==
         kInfoLengthMismatch) {
    buffer_.resize(buffer_.size() * 2 + needed / sizeof(std::uint64_t));
  }
  if (status < 0) {
    wchar_t code[16];
    swprintf(code, std::size(code), L"0x%08lX", static_cast<unsigned long>(status));
    throw Failure(L"Could not list the running programs.",
                  std::wstring(L"The system answered with status ") + code + L".");
  }
  std::vector<ListedProcess> out;
  const auto* at = reinterpret_cast<const BYTE*>(buffer_.data());
  for (;;) {
    const auto* e = reinterpret_cast<const ProcessEntry*>(at);
    out.push_back({static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(e->unique_process_id)),
                   static_cast<std::uint64_t>(e->create_time.QuadPart),
                   static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(e->parent_process_id)),
                   e->session_id,
                   std::wstring(e->image_name.Buffer ? e->image_name.Buffer : L"",
                                e->image_name.Length / sizeof(wchar_t))});
    if (e->next_entry_offset == 0) break;
    at += e->next_entry_offset;
  }
  return out;
}

std::unique_ptr<OpenedProcess> SystemProcesses::Open(std::uint32_t pid) {
  // One that may be read but not ended is judged all the same.
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
  if (!process) process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return nullptr;
  return std::make_unique<Process>(process, pid);
}

Owner SystemProcesses::OwnerOf(std::uint32_t pid) { return OwnerOfProcess(pid); }

int SystemProcesses::CloseWindows(std::span<const std::uint32_t> pids, bool insist) {
  return CloseWindowsOf(pids, insist);
}

std::optional<std::wstring> SystemProcesses::OriginalName(const std::wstring& path) {
  return FileVersionString(path, L"OriginalFilename");
}

std::optional<std::wstring> ImagePath(HANDLE process) {
  std::wstring path = qx::win::SystemPath([process](wchar_t* buffer, DWORD size) {
    DWORD length = size;
    if (QueryFullProcessImageNameW(process, 0, buffer, &length)) return length;
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? size : DWORD{0};
  });
  if (path.empty()) return std::nullopt;
  return path;
}

}  // namespace qx::blocker::win
