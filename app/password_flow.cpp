#include "app/frm_main.h"

namespace qx {

void frmMain::SetPassword() {
  rt_.dialogs.MsgBox(L"Setting a password is not yet available in this build.", vbOKOnly);
}

}  // namespace qx
