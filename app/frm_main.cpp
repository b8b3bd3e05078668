#include "app/frm_main.h"

#include <string>

#include "app/names.h"

namespace qx {

void frmMain::Form_Load() { values_.CipherKey = kCipherKey; }

void frmMain::HeaderClick(Group group) {
  const GroupMembers members = MembersOf(group);
  if (members.count == 0) return;
  const int value = view_.Value(*members.begin()) == 0 ? 1 : 0;
  for (std::size_t index : members) view_.SetValue(index, value);
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
