#pragma once
// The About dialog's handlers, written against the runtime and an abstract view
// so that they run unchanged in the program and in unit tests.
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/runtime.h"

namespace qx {

// Where the system information tool is looked up (below HKEY_LOCAL_MACHINE):
// the tool's full path, else the folder that holds it.
inline constexpr wchar_t kSysInfoPathKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr wchar_t kSysInfoPathValue[] = L"PATH";
inline constexpr wchar_t kSysInfoFolderKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr wchar_t kSysInfoFolderValue[] = L"MSINFO";
inline constexpr wchar_t kSysInfoFileName[] = L"MSINFO32.EXE";

// What the handlers ask of the dialog window.
class AboutView {
 public:
  virtual ~AboutView() = default;
  virtual void SetCaption(std::wstring_view text) = 0;
  virtual void SetTitleText(std::wstring_view text) = 0;    // lblTitle
  virtual void SetVersionText(std::wstring_view text) = 0;  // lblVersion
  // Closes the dialog once the running handler has returned; the next About
  // loads it afresh.
  virtual void Unload() = 0;
};

class frmAbout {
 public:
  frmAbout(Runtime& rt, AboutView& view) : rt_(rt), view_(view) {}

  void Form_Load();
  void cmdOK_Click() { view_.Unload(); }
  void cmdSysInfo_Click() { StartSysInfo(); }

  // Finds the system information tool through the registry and starts it, or
  // tells the user it is unavailable. Never throws.
  void StartSysInfo();

  // Reads one registry value into `KeyVal` (see DecodeKeyValue). False, with
  // `KeyVal` emptied, when the key or value cannot be read. Throws Failure for
  // a value without data.
  bool GetKeyValue(std::uint32_t KeyRoot, std::wstring_view KeyName, std::wstring_view SubKeyRef,
                   std::wstring& KeyVal);

 private:
  Runtime& rt_;
  AboutView& view_;
};

}  // namespace qx
