#include "about/win32/about_window.h"

#include <memory>
#include <string>

#include "about/about_texts.h"
#include "about/frm_about.h"
#include "about/win32/about_layout.h"
#include "ui/layout.h"
#include "assets/resource.h"
#include "runtime/win32/handles.h"
#include "runtime/win32/last_error.h"
#include "ui/report.h"
#include "ui/top_windows.h"

namespace qx::win {
namespace {

// Fixed dialog border: no sizing, no minimise or maximise box.
constexpr DWORD kAboutStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kAboutExStyle = WS_EX_DLGMODALFRAME;
constexpr int kIconPixels = 50;

// An empty dialog template: the controls are created in pixels from the layout
// table, but the dialog manager still serves default button, Enter and Escape.
struct EmptyTemplate {
  DLGTEMPLATE dialog;
  WORD menu;
  WORD window_class;
  WORD title;
};

// The one About dialog of the run, while it is open. One UI thread.
HWND open_dialog = nullptr;

class AboutWindow final : public AboutView {
 public:
  AboutWindow(HINSTANCE instance, Runtime& rt) : instance_(instance), rt_(rt), form_(rt, *this) {}

  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

  // Controls, placement, load step, then show. Throws Failure.
  void Build();

  // AboutView
  void SetCaption(std::wstring_view text) override { SetWindowTextW(hwnd_, Str(text).c_str()); }
  void SetTitleText(std::wstring_view text) override { SetText(kAboutTitleId, text); }
  void SetVersionText(std::wstring_view text) override { SetText(kAboutVersionId, text); }
  void Unload() override { unload_ = true; }

 private:
  static std::wstring Str(std::wstring_view text) { return std::wstring(text); }
  void SetText(int id, std::wstring_view text) { SetDlgItemTextW(hwnd_, id, Str(text).c_str()); }
  INT_PTR Handle(UINT msg, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  void ApplyLayout(const RECT* suggested);
  void Paint();
  // Runs a handler; an unload it asked for happens after it has returned.
  void Run(void (frmAbout::*handler)());

  HINSTANCE instance_;
  Runtime& rt_;
  frmAbout form_;
  HWND hwnd_ = nullptr;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  bool unload_ = false;
  Font font_;
  Icon icon_;
  Icon icon_small_;
};

INT_PTR CALLBACK AboutWindow::Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<AboutWindow*>(lparam);
    self->hwnd_ = hwnd;
    // From here on the window owns the object; WM_NCDESTROY deletes it.
    SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
    open_dialog = hwnd;
    TopLevelOpened(hwnd, true);
    return FALSE;  // focus is placed once the controls exist
  }
  auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    delete self;
    return FALSE;
  }
  return self->Handle(msg, wparam, lparam);
}

INT_PTR AboutWindow::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDOK:      // the OK button, or Enter with the focus elsewhere than a button
        case IDCANCEL:  // Escape, wherever the focus is
          Run(&frmAbout::cmdOK_Click);
          return TRUE;
        case kAboutSysInfoId:
          if (HIWORD(wparam) == BN_CLICKED) Run(&frmAbout::cmdSysInfo_Click);
          return TRUE;
      }
      return FALSE;
    case WM_CLOSE:  // the close box unloads like OK
      Run(&frmAbout::cmdOK_Click);
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
      bool black = false;
      for (const AboutControl& c : kAboutControls) black = black || (c.id == id && c.black_text);
      SetTextColor(dc, black ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_PAINT:
      Paint();
      return TRUE;
    case WM_DPICHANGED:
      dpi_ = HIWORD(wparam);
      RunHandler(rt_.dialogs, [&] { ApplyLayout(reinterpret_cast<const RECT*>(lparam)); });
      return TRUE;
    case WM_DESTROY:
      if (open_dialog == hwnd_) open_dialog = nullptr;
      TopLevelClosed(hwnd_);
      return FALSE;
  }
  return FALSE;
}

void AboutWindow::Run(void (frmAbout::*handler)()) {
  RunHandler(rt_.dialogs, [&] { (form_.*handler)(); });
  if (unload_) DestroyWindow(hwnd_);  // deletes this object
}

void AboutWindow::Build() {
  dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
  // The program icon at its own size, for the picture and the title bar.
  icon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                            kIconPixels, kIconPixels, LR_DEFAULTCOLOR)));
  if (!icon_) ThrowLastError(L"Could not load the program icon.");
  const int small = GetSystemMetricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi_));
  icon_small_.reset(static_cast<HICON>(
      LoadImageW(instance_, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, small, small, LR_DEFAULTCOLOR)));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(icon_small_ ? icon_small_.get() : icon_.get()));

  CreateControls();
  ApplyLayout(nullptr);
  form_.Form_Load();
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  // OK, tab index 0, has the focus and is the default button.
  SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd_, kAboutOkId)), TRUE);
}

void AboutWindow::CreateControls() {
  for (const AboutControl& c : kAboutControls) {
    const wchar_t* window_class = L"STATIC";
    const wchar_t* text = L"";
    DWORD style = WS_CHILD | WS_VISIBLE;
    switch (c.kind) {
      case AboutKind::Button:
        window_class = L"BUTTON";
        style |= WS_TABSTOP | (c.id == kAboutOkId ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON);
        text = c.id == kAboutOkId ? L"OK" : L"&System Info...";
        break;
      case AboutKind::Icon:
        // Centred at its own size, never stretched to the box.
        style |= SS_ICON | SS_CENTERIMAGE;
        break;
      case AboutKind::Label:
        style |= SS_LEFT | SS_NOPREFIX;  // wraps at word breaks
        if (c.id == kAboutDescriptionId) text = kAboutDescription;
        if (c.id == kAboutDisclaimerId) text = kAboutDisclaimer;
        break;
    }
    HWND control =
        CreateWindowExW(0, window_class, text, style, 0, 0, 0, 0, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
    if (!control) ThrowLastError(L"Could not create the About dialog's controls.");
    if (c.kind == AboutKind::Icon) {
      SendMessageW(control, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon_.get()));
    }
  }
}

void AboutWindow::ApplyLayout(const RECT* suggested) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0,
                                  static_cast<UINT>(dpi_))) {
    ThrowLastError(L"Could not read the dialog font.");
  }
  Font font(CreateFontIndirectW(&metrics.lfMessageFont));
  if (!font) ThrowLastError(L"Could not create the dialog font.");

  for (const AboutControl& c : kAboutControls) {
    HWND control = GetDlgItem(hwnd_, c.id);
    const RECT r = ToPixels(c.rect, dpi_);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  }
  font_ = std::move(font);

  if (suggested) {
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    // The client area, not the frame, sits at the fixed place on the screen.
    const int left = TwipsToPixels(kAboutLeftTwips, dpi_);
    const int top = TwipsToPixels(kAboutTopTwips, dpi_);
    RECT frame{left, top, left + TwipsToPixels(kAboutClientWidthTwips, dpi_),
               top + TwipsToPixels(kAboutClientHeightTwips, dpi_)};
    AdjustWindowRectExForDpi(&frame, kAboutStyle, FALSE, kAboutExStyle, static_cast<UINT>(dpi_));
    SetWindowPos(hwnd_, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void AboutWindow::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (!dc) return;
  HGDIOBJ brush = GetStockObject(DC_BRUSH);
  for (const AboutLine& line : kAboutSeparator) {
    const int width = MulDiv(line.width_pixels, dpi_, USER_DEFAULT_SCREEN_DPI);
    // Filled rather than stroked: a wide pen would straddle the line above.
    const RECT r{TwipsToPixels(line.x1, dpi_), TwipsToPixels(line.y, dpi_),
                 TwipsToPixels(line.x2, dpi_) + 1, TwipsToPixels(line.y, dpi_) + width};
    SetDCBrushColor(dc, RGB(line.grey, line.grey, line.grey));
    FillRect(dc, &r, static_cast<HBRUSH>(brush));
  }
  EndPaint(hwnd_, &ps);
}

}  // namespace

void ShowAboutDialog(HINSTANCE instance, Runtime& rt) {
  if (open_dialog) {
    // Already loaded: to the front, without loading again.
    if (IsIconic(open_dialog)) ShowWindow(open_dialog, SW_RESTORE);
    SetForegroundWindow(open_dialog);
    return;
  }
  alignas(DWORD) EmptyTemplate tmpl{};
  tmpl.dialog.style = kAboutStyle;
  tmpl.dialog.dwExtendedStyle = kAboutExStyle;
  auto window = std::make_unique<AboutWindow>(instance, rt);
  // No owner: the dialog is modeless and independent of the main window.
  HWND hwnd = CreateDialogIndirectParamW(instance, &tmpl.dialog, nullptr, AboutWindow::Proc,
                                         reinterpret_cast<LPARAM>(window.get()));
  if (!hwnd) ThrowLastError(L"Could not create the About dialog.");
  AboutWindow* about = window.release();  // owned by the window now
  try {
    about->Build();
  } catch (...) {
    DestroyWindow(hwnd);
    throw;
  }
}

}  // namespace qx::win
