#include "blocker/win32/notice.h"

#include <string>

#include "common/failure.h"
#include "ui/window.h"

namespace qx::blocker::win {
namespace {

constexpr UINT_PTR kHideTimer = 1;
constexpr UINT kShownMs = 4000;
constexpr int kTextId = 100;
constexpr int kWidthTwips = 5400;  // 360 pixels at 96 DPI
constexpr int kHeightTwips = 960;
// A thin strip of the notice's colour is left below the text.
constexpr int kTextHeightTwips = kHeightTwips - 30;
constexpr int kMarginPixels = 16;

constexpr qx::win::ControlSpec kControls[] = {{L"STATIC",
                                               SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX,
                                               L"",
                                               kTextId,
                                               {0, 0, kWidthTwips, kTextHeightTwips},
                                               {1000, true}}};

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

  void Show(std::wstring_view text) {
    SetDlgItemTextW(hwnd(), kTextId, std::wstring(text).c_str());
    // Bottom right of the work area, where notices usually appear.
    RECT work{}, frame{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(hwnd(), &frame);
    const int margin = MulDiv(kMarginPixels, dpi(), USER_DEFAULT_SCREEN_DPI);
    SetWindowPos(hwnd(), HWND_TOPMOST, work.right - (frame.right - frame.left) - margin,
                 work.bottom - (frame.bottom - frame.top) - margin, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetTimer(hwnd(), kHideTimer, kShownMs, nullptr);  // a repeated notice starts the time again
  }

 private:
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
};

Notice::Notice(HINSTANCE instance, Dialogs& dialogs) : instance_(instance), dialogs_(dialogs) {}

Notice::~Notice() = default;

void Notice::Show(std::wstring_view text) {
  try {
    // Made again when it was closed (another program can close it).
    if (!window_ || !window_->hwnd()) window_ = std::make_unique<Window>(instance_, dialogs_);
    window_->Show(text);
  } catch (const Failure&) {
    window_.reset();
  }
}

}  // namespace qx::blocker::win
