#include "app/frm_main.h"

#include <string>

#include "cipher/text_cipher.h"

namespace qx {

namespace {
// Beside the program.
constexpr wchar_t kHelpFileName[] = L"quellanix.chm";
// The folder is appended as it is, unquoted, as the file explorer takes it.
constexpr wchar_t kExplorerCommand[] = L"explorer.exe ";
}  // namespace

void frmMain::Form_Load() { values_.CipherKey.assign(kCipherKey.begin(), kCipherKey.end()); }

void frmMain::HeaderClick(Group group) {
  for (const GroupHeader& header : kGroupHeaders) {
    if (header.group != group) continue;
    const auto deciding = IndexOfKey(header.deciding_key);
    if (!deciding) return;
    const int value = view_.Value(*deciding) == 0 ? 1 : 0;
    for (std::size_t i = 0; i < kEntryCount; ++i) {
      if (kCatalogue[i].group == group) view_.SetValue(i, value);
    }
  }
}

void frmMain::DefineVariables() {
  for (std::size_t i = 0; i < kEntryCount; ++i) {
    values_.block[i] = view_.Value(i) != 0 ? vbTrue : vbFalse;
  }
}

void frmMain::mnuOpenApp_Click() {
  rt_.processes.Shell(std::wstring(kExplorerCommand) + rt_.app.Path, vbNormalFocus);
}

void frmMain::mnuIndex_Click() { rt_.processes.OpenDocument(rt_.app.Path + L"\\" + kHelpFileName); }

}  // namespace qx
