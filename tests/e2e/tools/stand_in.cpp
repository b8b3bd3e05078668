// A stand-in for a blocked program: its version resource says it is a game
// (stand_in.rc), whatever its file is called. Built as a windowed program, and
// with QX_CONSOLE as a console program without a window; both run until ended.
#include <windows.h>

#ifdef QX_CONSOLE
int main() {
  for (;;) ::Sleep(INFINITE);
}
#else
LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(hwnd, msg, wparam, lparam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"QuellanixStandIn";
  ::RegisterClassW(&wc);
  HWND window = ::CreateWindowW(wc.lpszClassName, L"Stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                nullptr, nullptr, instance, nullptr);
  ::ShowWindow(window, show);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
#endif
