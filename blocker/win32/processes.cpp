#include "blocker/win32/processes.h"

#include <winternl.h>

#include "common/failure.h"
#include "runtime/win32/last_error.h"

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
};

using QueryFn = LONG(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kSystemProcessInformation = 5;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

QueryFn Query() {
  static const auto fn = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  return fn;
}

}  // namespace

std::vector<ListedProcess> ListProcesses() {
  const QueryFn query = Query();
  if (!query) qx::win::ThrowLastError(L"Could not list the running programs.");
  // Grown and kept between calls: the list is taken several times a second.
  static std::vector<std::uint64_t> buffer(64 * 1024 / sizeof(std::uint64_t));
  ULONG needed = 0;
  LONG status;
  while ((status = query(kSystemProcessInformation, buffer.data(),
                         static_cast<ULONG>(buffer.size() * sizeof(std::uint64_t)), &needed)) ==
         kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2 + needed / sizeof(std::uint64_t));
  }
  if (status < 0) {
    wchar_t code[16];
    swprintf(code, std::size(code), L"0x%08lX", static_cast<unsigned long>(status));
    throw Failure(L"Could not list the running programs.",
                  std::wstring(L"The system answered with status ") + code + L".");
  }
  std::vector<ListedProcess> out;
  const auto* at = reinterpret_cast<const BYTE*>(buffer.data());
  for (;;) {
    const auto* e = reinterpret_cast<const ProcessEntry*>(at);
    out.push_back({static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(e->unique_process_id)),
                   static_cast<std::uint64_t>(e->create_time.QuadPart),
                   std::wstring(e->image_name.Buffer ? e->image_name.Buffer : L"",
                                e->image_name.Length / sizeof(wchar_t))});
    if (e->next_entry_offset == 0) break;
    at += e->next_entry_offset;
  }
  return out;
}

std::wstring ImagePath(HANDLE process) {
  wchar_t path[MAX_PATH * 4];
  DWORD size = static_cast<DWORD>(std::size(path));
  if (!QueryFullProcessImageNameW(process, 0, path, &size)) return {};
  return std::wstring(path, size);
}

std::wstring OriginalFilename(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<BYTE> block(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return {};
  struct Translation {
    WORD language;
    WORD code_page;
  };
  Translation* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translations), &length)) {
    return {};
  }
  for (UINT i = 0; i < length / sizeof(Translation); ++i) {
    wchar_t query[64];
    swprintf(query, std::size(query), L"\\StringFileInfo\\%04x%04x\\OriginalFilename",
             translations[i].language, translations[i].code_page);
    wchar_t* value = nullptr;
    UINT chars = 0;
    if (VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &chars) && chars) {
      std::wstring name(value, chars);
      while (!name.empty() && name.back() == L'\0') name.pop_back();
      return name;
    }
  }
  return {};
}

}  // namespace qx::blocker::win
