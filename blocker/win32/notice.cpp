#include "blocker/win32/notice.h"

#include <shellscalingapi.h>

#include <string>
#include <utility>
#include <vector>

#include "blocker/resource.h"
#include "common/failure.h"
#include "runtime/win32/handles.h"
#include "ui/window.h"

namespace qx::blocker::win {
namespace {

constexpr UINT_PTR kHideTimer = 1;
constexpr UINT kShownMs = 4000;
constexpr int kTextId = 100;
constexpr int kIconId = 101;
// The icon in a column of its own, left of the text, both centred in height.
constexpr int kIconPixels96 = 32;
constexpr int kIconLeftTwips = 240;
constexpr int kIconTwips = kIconPixels96 * 15;
constexpr int kTextLeftTwips = 960;
constexpr int kTextWidthTwips = 5400;  // 360 pixels at 96 DPI
constexpr int kWidthTwips = kTextLeftTwips + kTextWidthTwips + 240;
constexpr int kHeightTwips = 960;
// A thin strip of the notice's colour is left below the text.
constexpr int kTextHeightTwips = kHeightTwips - 30;
constexpr int kMarginPixels96 = 16;

// The text first: it is the notice's first child.
constexpr qx::win::ControlSpec kControls[] = {
    {L"STATIC",
     SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX,
     L"",
     kTextId,
     {kTextLeftTwips, 0, kTextWidthTwips, kTextHeightTwips},
     {1000, true}},
    {L"STATIC",
     SS_ICON | SS_CENTERIMAGE,
     L"",
     kIconId,
     {kIconLeftTwips, (kHeightTwips - kIconTwips) / 2, kIconTwips, kIconTwips},
     qx::win::kNoFont}};

ScreenRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  auto& monitors = *reinterpret_cast<std::vector<MonitorArea>*>(list);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return TRUE;
  UINT dpi_x = USER_DEFAULT_SCREEN_DPI, dpi_y = USER_DEFAULT_SCREEN_DPI;
  if (FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y))) {
    dpi_x = GetDpiForSystem();
  }
  const MonitorArea area{FromRect(info.rcMonitor), FromRect(info.rcWork), static_cast<int>(dpi_x)};
  // The primary first: the choice falls back to it.
  monitors.insert(info.dwFlags & MONITORINFOF_PRIMARY ? monitors.begin() : monitors.end(), area);
  return TRUE;
}

// The monitor the child uses; the primary work area when none can be read.
MonitorArea MonitorFor(const LookPoint& look) {
  std::vector<MonitorArea> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (!monitors.empty()) return monitors[MonitorInUse(monitors, look)];
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {FromRect(work), FromRect(work), static_cast<int>(GetDpiForSystem())};
}

}  // namespace

class Notice::Window final : public qx::win::Window {
 public:
  Window(HINSTANCE instance, Dialogs& dialogs)
      : qx::win::Window(instance, dialogs,
                        {.style = WS_POPUP | WS_BORDER,
                         .ex_style = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                         .client_width_twips = kWidthTwips,
                         .client_height_twips = kHeightTwips,
                         .controls = kControls,
                         .create_failure = L"Could not show the blocker's notice.",
                         .controls_failure = L"Could not show the blocker's notice."}) {
    CreateFramed(kNoticeWindowClass, GetSysColorBrush(COLOR_INFOBK), L"Quellanix");
  }

  void Show(std::wstring_view text, const LookPoint& look) {
    SetDlgItemTextW(hwnd(), kTextId, std::wstring(text).c_str());
    const MonitorArea monitor = MonitorFor(look);
    if (monitor.dpi != dpi()) {
      // Onto that monitor first, unseen, where the window lays itself out for its DPI.
      SetWindowPos(hwnd(), nullptr, monitor.work.left, monitor.work.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
    RECT frame{};
    GetWindowRect(hwnd(), &frame);
    const ScreenPoint at =
        NoticeOrigin(monitor, frame.right - frame.left, frame.bottom - frame.top, kMarginPixels96);
    SetWindowPos(hwnd(), HWND_TOPMOST, at.x, at.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetTimer(hwnd(), kHideTimer, kShownMs, nullptr);  // a repeated notice starts the time again
  }

 private:
  void OnCreate() override { OnNewDpi(); }

  // The blocker's own icon, so that the child knows which program spoke.
  void OnNewDpi() override {
    const int size = MulDiv(kIconPixels96, dpi(), USER_DEFAULT_SCREEN_DPI);
    qx::win::Icon icon(static_cast<HICON>(LoadImageW(instance(), MAKEINTRESOURCEW(IDI_BLOCKER),
                                                     IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    SendDlgItemMessageW(hwnd(), kIconId, STM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(icon.get()));
    icon_ = std::move(icon);  // the old one, once the control no longer shows it
  }

  void OnCommand(int, int) override {}
  // Closing the notice, even from outside, never ends the blocker.
  bool HoldsProgram() const override { return false; }
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wparam, LPARAM) override {
    switch (msg) {
      case WM_TIMER:
        if (wparam != kHideTimer) break;
        KillTimer(hwnd(), kHideTimer);
        ShowWindow(hwnd(), SW_HIDE);
        return 0;
      case WM_MOUSEACTIVATE:  // a click must not take the focus either
        return MA_NOACTIVATE;
      case WM_LBUTTONUP:
        ShowWindow(hwnd(), SW_HIDE);
        return 0;
      case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_INFOBK));
        SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_INFOTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
    }
    return std::nullopt;
  }

  qx::win::Icon icon_;
};

Notice::Notice(HINSTANCE instance, Dialogs& dialogs) : instance_(instance), dialogs_(dialogs) {}

Notice::~Notice() = default;

void Notice::NoteWhereTheChildLooks() {
  POINT cursor{};
  GetCursorPos(&cursor);
  look_ = {std::nullopt, {cursor.x, cursor.y}};
  RECT frame{};
  const HWND foreground = GetForegroundWindow();
  if (foreground && IsWindowVisible(foreground) && !IsIconic(foreground) &&
      GetWindowRect(foreground, &frame)) {
    look_.foreground = FromRect(frame);
  }
}

void Notice::Show(std::wstring_view text) {
  try {
    // Made again when it was closed (another program can close it).
    if (!window_ || !window_->hwnd()) window_ = std::make_unique<Window>(instance_, dialogs_);
    window_->Show(text, look_);
  } catch (const Failure&) {
    window_.reset();
  }
}

}  // namespace qx::blocker::win
