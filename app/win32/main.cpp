// Start-up: the main window is the first window; the program ends when the
// last window closes or on Exit. A failure before that is a message box.
// clang-format off
#include <windows.h>
#include <commctrl.h>  // needs windows.h first
// clang-format on

#include <exception>

#include "app/public_values.h"
#include "app/win32/main_window.h"
#include "runtime/app_facts.h"
#include "ui/report.h"
#include "ui/top_windows.h"
#include "ui/win_runtime.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  try {
    qx::win::WinRuntime runtime(instance);
    qx::PublicValues values;
    qx::win::MainWindow window(instance, runtime.rt(), values);
    window.Create(show_command);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (qx::win::RouteDialogMessage(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
  } catch (const std::exception& e) {
    // The runtime may be what failed: the title is the program's own.
    MessageBoxW(nullptr, qx::win::FailureText(e).c_str(), qx::AppFacts{}.Title.c_str(),
                MB_ICONERROR);
    return 1;
  }
}
