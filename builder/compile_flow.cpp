#include "app/frm_main.h"

namespace qx {

void frmMain::picCompile_Click() {
  rt_.dialogs.MsgBox(L"Compiling is not yet available in this build.", vbOKOnly);
}

}  // namespace qx
