#include "about/win32/about_window.h"

namespace qx::win {

void ShowAboutDialog(HINSTANCE, Runtime& rt) {
  rt.dialogs.MsgBox(L"The About dialog is not yet available in this build.", vbOKOnly);
}

}  // namespace qx::win
