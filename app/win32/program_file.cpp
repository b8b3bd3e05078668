#include "app/win32/program_file.h"

#include <windows.h>

#include <vector>

#include "common/path_parts.h"

namespace qx::win {
namespace {

// One string of the version resource, in its first language; empty when absent.
std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
  struct Language {
    WORD language, code_page;
  };
  Language* languages = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&languages), &size) ||
      size < sizeof(Language)) {
    return {};
  }
  wchar_t path[64];
  swprintf(path, std::size(path), L"\\StringFileInfo\\%04x%04x\\%ls", languages->language,
           languages->code_page, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &size) || !value) {
    return {};
  }
  return std::wstring(value, wcsnlen(value, size));
}

}  // namespace

ProgramFile ReadProgramFile(Runtime& rt, const std::wstring& path) {
  ProgramFile file;
  file.file_name = FileNameOf(path);
  file.is_program = IsWindowsProgram(*rt.files.OpenForReading(path));
  if (!file.is_program) return file;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  std::vector<BYTE> block(size);
  // No version resource: shown by its file name, matched by it alone.
  if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return file;
  file.description = VersionString(block, L"FileDescription");
  file.product = VersionString(block, L"ProductName");
  file.original = VersionString(block, L"OriginalFilename");
  return file;
}

}  // namespace qx::win
