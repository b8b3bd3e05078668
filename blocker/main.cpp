// The blocker template. Quellanix copies it under the program title and appends
// the settings bag and trailer; the copy finds its settings through the trailer.
// For now it only reads and checks them: blocking comes later.
#include <windows.h>

#include <string>

#include "format/settings_reader.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"

namespace {

constexpr wchar_t kCaption[] = L"Quellanix Blocker";

class HandleSource : public qx::ByteSource {
 public:
  HandleSource(HANDLE file, std::uint64_t size) : file_(file), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool Read(std::uint64_t offset, std::size_t length, char* out) const override {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file_, at, nullptr, FILE_BEGIN)) return false;
    while (length > 0) {
      DWORD got = 0;
      const DWORD want = length > 0x10000000 ? 0x10000000 : static_cast<DWORD>(length);
      if (!ReadFile(file_, out, want, &got, nullptr) || got == 0) return false;
      out += got;
      length -= got;
    }
    return true;
  }

 private:
  HANDLE file_;
  std::uint64_t size_;
};

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

// The reader's reasons are ASCII apart from property names taken from the file.
std::wstring Widen(const std::string& text) {
  std::wstring out;
  for (char c : text) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

int Fail(const std::wstring& text, UINT icon, int code) {
  MessageBoxW(nullptr, text.c_str(), kCaption, MB_OK | icon);
  return code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const std::wstring path = OwnPath();
  qx::win::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size)) {
    return Fail(L"Could not read this blocker's file \"" + path + L"\".\n\n" +
                    qx::win::LastErrorText(GetLastError()),
                MB_ICONERROR, 3);
  }
  const qx::SettingsResult r =
      qx::ReadSettings(HandleSource(file.get(), static_cast<std::uint64_t>(size.QuadPart)));
  if (r.no_settings()) {
    return Fail(L"This program holds no blocker settings (" + Widen(r.reason) +
                    L").\n\nIt is the blocker template that Quellanix copies when it compiles a "
                    L"blocker. Compile a blocker with Quellanix and run that instead.",
                MB_ICONINFORMATION, 1);
  }
  if (!r.ok()) {
    return Fail(L"The settings of this blocker are damaged, so it cannot run:\n\n" +
                    Widen(r.reason) + L".\n\nCompile the blocker again with Quellanix.",
                MB_ICONERROR, 2);
  }
  // Settings read: the 35 flags and the encrypted password are in r.settings.
  return 0;
}
