#include "about/frm_about.h"

#include <exception>

#include "about/about_texts.h"
#include "about/key_value.h"

namespace qx {

void frmAbout::Form_Load() {
  view_.SetCaption(L"About " + rt_.app.Title);
  view_.SetVersionText(L"Version " + std::to_wstring(rt_.app.Major) + L"." +
                       std::to_wstring(rt_.app.Minor) + L"." + std::to_wstring(rt_.app.Revision));
  view_.SetTitleText(rt_.app.Title);
}

void frmAbout::StartSysInfo() {
  try {
    std::wstring tool_path;
    bool found = GetKeyValue(kHKeyLocalMachine, kSysInfoPathKey, kSysInfoPathValue, tool_path);
    if (!found &&
        GetKeyValue(kHKeyLocalMachine, kSysInfoFolderKey, kSysInfoFolderValue, tool_path)) {
      const std::wstring candidate = tool_path + L"\\" + kSysInfoFileName;
      if (rt_.files.Exists(candidate)) {
        tool_path = candidate;
        found = true;
      }
    }
    if (found) {
      // The path as read, started as one program: spaces in it cannot make the
      // system try a shorter path first.
      rt_.processes.StartExact(tool_path, vbNormalFocus);
      return;
    }
  } catch (const std::exception&) {
    // Every failure on the way ends in the one message below.
  }
  rt_.dialogs.MsgBox(kSysInfoUnavailable, vbOKOnly);
}

bool frmAbout::GetKeyValue(std::uint32_t KeyRoot, std::wstring_view KeyName,
                           std::wstring_view SubKeyRef, std::wstring& KeyVal) {
  const auto key = rt_.ansi.ToAnsi(KeyName);
  const auto name = rt_.ansi.ToAnsi(SubKeyRef);
  if (!key || !name) {
    KeyVal.clear();
    return false;
  }
  const RegistryValue value = rt_.registry.Read(KeyRoot, *key, *name, kKeyValueCapacity);
  if (value.status != 0 || value.data.size() > kKeyValueCapacity) {
    KeyVal.clear();
    return false;
  }
  DecodeKeyValue(value.type, value.data, rt_.ansi, KeyVal);
  return true;
}

}  // namespace qx
