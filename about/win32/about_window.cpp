#include "about/win32/about_window.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "about/frm_about.h"
#include "about/win32/about_layout.h"
#include "assets/resource.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"
#include "ui/window.h"

namespace qx::win {
namespace {

constexpr int kIconPixels96 = 50;

// Fixed dialog border: no sizing, no minimise or maximise box.
constexpr WindowSpec kAboutSpec{
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
    .ex_style = WS_EX_DLGMODALFRAME,
    .client_width_twips = kAboutClientWidthTwips,
    .client_height_twips = kAboutClientHeightTwips,
    .controls = kAboutControls,
    .create_failure = L"Could not create the About dialog.",
    .controls_failure = L"Could not create the About dialog's controls."};

class AboutWindow;
// The one About dialog of the run, while it is open; its window owns it.
AboutWindow* open_dialog = nullptr;

class AboutWindow final : public Window, public AboutView {
 public:
  AboutWindow(HINSTANCE instance, Runtime& rt)
      : Window(instance, rt.dialogs, kAboutSpec), form_(rt, *this) {}

  // Creates, places, loads and shows the dialog. Throws Failure.
  void Open(HWND beside) {
    // No owner: the dialog is modeless and independent of the main window.
    CreateModeless(nullptr, L"");
    PlaceClient(beside);
    form_.Form_Load();
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    SetForegroundWindow(hwnd());
    // OK, tab index 0, has the focus and is the default button.
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(kAboutOkId)), TRUE);
  }

  // AboutView
  void SetCaption(std::wstring_view text) override {
    SetWindowTextW(hwnd(), std::wstring(text).c_str());
  }
  void SetTitleText(std::wstring_view text) override { SetText(kAboutTitleId, text); }
  void SetVersionText(std::wstring_view text) override { SetText(kAboutVersionId, text); }
  void Unload() override { unload_ = true; }

 private:
  void SetText(int id, std::wstring_view text) {
    SetDlgItemTextW(hwnd(), id, std::wstring(text).c_str());
  }

  void OnCreate() override { OnNewDpi(); }

  // The program icon at its own size at this DPI, for the picture and the
  // title bar. The old ones go once the windows hold the new.
  void OnNewDpi() override {
    const int size = MulDiv(kIconPixels96, dpi(), USER_DEFAULT_SCREEN_DPI);
    Icon icon(static_cast<HICON>(LoadImageW(instance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size,
                                            size, LR_DEFAULTCOLOR)));
    if (!icon) ThrowLastError(L"Could not load the program icon.");
    const int small = GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi()));
    Icon icon_small(static_cast<HICON>(LoadImageW(instance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                                  small, small, LR_DEFAULTCOLOR)));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon_small ? icon_small.get() : icon.get()));
    SendMessageW(Control(kAboutIconId), STM_SETIMAGE, IMAGE_ICON,
                 reinterpret_cast<LPARAM>(icon.get()));
    icon_ = std::move(icon);
    icon_small_ = std::move(icon_small);
  }

  // The client area, not the frame, sits at the fixed place from the top-left
  // corner of the main window's monitor (the primary without one), at that
  // monitor's DPI.
  void PlaceClient(HWND beside) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(beside, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const POINT corner{monitor.rcMonitor.left, monitor.rcMonitor.top};
    // Onto that monitor first, where the dialog lays itself out for its DPI.
    SetWindowPos(hwnd(), nullptr, corner.x, corner.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    POINT client{0, 0};
    ClientToScreen(hwnd(), &client);
    RECT frame{};
    GetWindowRect(hwnd(), &frame);
    SetWindowPos(hwnd(), nullptr,
                 frame.left + corner.x + TwipsToPixels(kAboutLeftTwips, dpi()) - client.x,
                 frame.top + corner.y + TwipsToPixels(kAboutTopTwips, dpi()) - client.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void OnCommand(int id, int code) override {
    // OK, or Enter with the focus elsewhere than a button; Escape wherever it is.
    if (id == IDOK || id == IDCANCEL) form_.cmdOK_Click();
    if (id == kAboutSysInfoId && code == BN_CLICKED) form_.cmdSysInfo_Click();
    // An unload a handler asked for happens once it has returned.
    if (unload_) DestroyWindow(hwnd());  // deletes this object
  }

  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wparam, LPARAM lparam) override {
    switch (msg) {
      case WM_CLOSE:  // the close box unloads like OK
        OnCommand(IDOK, BN_CLICKED);
        return 0;
      case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wparam);
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
        const bool black =
            std::find(kAboutBlackText.begin(), kAboutBlackText.end(), id) != kAboutBlackText.end();
        SetTextColor(dc, black ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      case WM_PAINT:
        Paint();
        return 0;
    }
    return std::nullopt;
  }

  // The system's message font, which the dialog's texts use.
  std::optional<LOGFONTW> DefaultFont(int dpi) override {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0,
                                    static_cast<UINT>(dpi))) {
      ThrowLastError(L"Could not read the dialog font.");
    }
    return metrics.lfMessageFont;
  }

  void OnFinalMessage() override {
    if (open_dialog != this) return;  // not open yet: its creator still owns it
    open_dialog = nullptr;
    delete this;
  }

  void Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    if (!dc) return;
    HGDIOBJ brush = GetStockObject(DC_BRUSH);
    for (const AboutLine& line : kAboutSeparator) {
      const int width = MulDiv(line.width_pixels, dpi(), USER_DEFAULT_SCREEN_DPI);
      // Filled rather than stroked: a wide pen would straddle the line above.
      const RECT r{TwipsToPixels(line.x1, dpi()), TwipsToPixels(line.y, dpi()),
                   TwipsToPixels(line.x2, dpi()) + 1, TwipsToPixels(line.y, dpi()) + width};
      SetDCBrushColor(dc, RGB(line.grey, line.grey, line.grey));
      FillRect(dc, &r, static_cast<HBRUSH>(brush));
    }
    EndPaint(hwnd(), &ps);
  }

  frmAbout form_;
  bool unload_ = false;
  Icon icon_;
  Icon icon_small_;
};

}  // namespace

void ShowAboutDialog(HINSTANCE instance, Runtime& rt, HWND beside) {
  if (open_dialog) {
    // Already loaded: to the front, without loading again.
    if (IsIconic(open_dialog->hwnd())) ShowWindow(open_dialog->hwnd(), SW_RESTORE);
    SetForegroundWindow(open_dialog->hwnd());
    return;
  }
  auto about = std::make_unique<AboutWindow>(instance, rt);
  about->Open(beside);  // on failure no window is left, and the object goes with `about`
  open_dialog = about.release();
}

}  // namespace qx::win
