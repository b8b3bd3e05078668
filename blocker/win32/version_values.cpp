#include "blocker/win32/version_values.h"

#include <psapi.h>

#include <memory>

#include "blocker/version_resource.h"
#include "common/byte_source.h"
#include "runtime/win32/file_bytes.h"

namespace qx::blocker::win {
namespace {

// The main module of another process, read where the loader mapped it.
class ImageBytes : public ByteSource {
 public:
  ImageBytes(HANDLE process, const MODULEINFO& module)
      : process_(process),
        base_(static_cast<const char*>(module.lpBaseOfDll)),
        size_(module.SizeOfImage) {}
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::size_t length, char* out) const override {
    SIZE_T got = 0;
    return ReadProcessMemory(process_, base_ + offset, out, length, &got) && got == length;
  }

 private:
  HANDLE process_;
  const char* base_;
  std::uint64_t size_;
};

std::optional<std::wstring> StringIn(const std::optional<std::string>& block,
                                     std::wstring_view key) {
  if (!block) return std::nullopt;
  return VersionString(*block, key);
}

}  // namespace

std::optional<std::wstring> FileVersionString(const std::wstring& path, std::wstring_view key) {
  const std::unique_ptr<ByteSource> file = qx::win::OpenFileBytes(path);
  if (!file) return std::nullopt;
  return StringIn(VersionResource(*file), key);
}

std::optional<std::wstring> ImageVersionString(HANDLE process, std::wstring_view key) {
  HMODULE main_module = nullptr;  // the first module listed is the program's own
  DWORD needed = 0;
  MODULEINFO module{};
  if (!K32EnumProcessModules(process, &main_module, sizeof main_module, &needed) ||
      !K32GetModuleInformation(process, main_module, &module, sizeof module)) {
    return std::nullopt;
  }
  return StringIn(VersionResource(ImageBytes(process, module), ImageLayout::kLoaded), key);
}

}  // namespace qx::blocker::win
