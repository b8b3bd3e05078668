#include "app/frm_main.h"
#include "builder/prop_bag.h"

namespace qx {

void frmMain::picCompile_Click() {
  if (values_.PlainPassword.empty()) {
    if (rt_.dialogs.MsgBox(L"There is no Password set - Would you like to set one now?",
                           vbYesNo + vbCritical, L"Blank Password!") == vbYes) {
      SetPassword();
    }
  }
  const std::wstring title = rt_.dialogs.InputBox(
      L"Please enter a name for the application, this is the name that will appear in Task "
      L"Manager. If you enter nothing it will default to Brindlecor.",
      L"Program Title", kDefaultProgramTitle);
  // The prompt promises the default for an empty answer; Cancel answers empty too.
  values_.ProgramTitle = title.empty() ? std::wstring(kDefaultProgramTitle) : title;
  DefineVariables();
  PropBag(rt_, values_.block, values_.EncryptedPassword, values_.ProgramTitle,
          values_.more.Chosen())
      .BuildBlocker();
  rt_.dialogs.MsgBox(L"Compile Complete", vbOKOnly, L"Compile Completed - Quellanix");
}

}  // namespace qx
