#include "blocker/win32/image_bytes.h"

#include <winternl.h>

#include <cstddef>
#include <cstdint>

namespace qx::blocker::win {
namespace {

using QueryFn = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
constexpr std::size_t kImageBaseInPeb = 2 * sizeof(void*);  // after four flag bytes and a mutant
constexpr std::size_t kHeaderOffsetAt = 0x3C, kSizeOfImageInPe = 24 + 56;

class Image : public ByteSource {
 public:
  Image(HANDLE process, std::uintptr_t base, std::uint32_t size)
      : process_(process), base_(base), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::size_t length, char* out) const override {
    SIZE_T read = 0;
    return ReadProcessMemory(process_, reinterpret_cast<LPCVOID>(base_ + offset), out, length,
                             &read) &&
           read == length;
  }

 private:
  HANDLE process_;
  std::uintptr_t base_;
  std::uint32_t size_;
};

template <typename T>
bool ReadAt(HANDLE process, std::uintptr_t at, T& value) {
  SIZE_T read = 0;
  return ReadProcessMemory(process, reinterpret_cast<LPCVOID>(at), &value, sizeof value, &read) &&
         read == sizeof value;
}

}  // namespace

std::unique_ptr<ByteSource> ImageBytes(HANDLE process) {
  static const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) < 0) {
    return nullptr;
  }
  std::uintptr_t base = 0;
  std::uint32_t header = 0, size = 0;
  const auto peb = reinterpret_cast<std::uintptr_t>(basic.PebBaseAddress);
  if (!peb || !ReadAt(process, peb + kImageBaseInPeb, base) ||
      !ReadAt(process, base + kHeaderOffsetAt, header) ||
      !ReadAt(process, base + header + kSizeOfImageInPe, size)) {
    return nullptr;
  }
  return std::make_unique<Image>(process, base, size);
}

}  // namespace qx::blocker::win
