// Start-up: the main window is the first window; the program ends when the
// last window closes or on Exit.
#include <windows.h>

#include <commctrl.h>  // needs windows.h first

#include "app/public_values.h"
#include "app/win32/main_window.h"
#include "common/failure.h"
#include "ui/top_windows.h"
#include "ui/win_runtime.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  qx::win::WinRuntime runtime(instance);
  qx::PublicValues values;
  qx::win::MainWindow window(instance, runtime.rt(), values);
  try {
    window.Create(show_command);
  } catch (const qx::Failure& f) {
    MessageBoxW(nullptr, f.Message().c_str(), runtime.rt().app.Title.c_str(), MB_ICONERROR);
    return 1;
  }

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (qx::win::RouteDialogMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
