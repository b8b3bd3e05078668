#include "ui/window.h"

#include <string>
#include <utility>
#include <vector>

#include "runtime/win32/last_error.h"
#include "ui/report.h"
#include "ui/top_windows.h"

namespace qx::win {
namespace {

// The standard dialog font, for dialogs that ask for one (DS_SETFONT).
constexpr WORD kDialogFontPoints = 8;
constexpr std::wstring_view kDialogFontFace = L"MS Shell Dlg";

// A DLGTEMPLATEEX without items and without size: the base makes both.
std::vector<WORD> DialogTemplate(DWORD style, DWORD ex_style, std::wstring_view caption) {
  std::vector<WORD> t{1, 0xFFFF, 0, 0};  // version, signature, help id
  for (const DWORD d : {ex_style, style}) t.insert(t.end(), {LOWORD(d), HIWORD(d)});
  t.insert(t.end(), 7, 0);  // no items; x, y, cx, cy; no menu; the dialog class
  t.insert(t.end(), caption.begin(), caption.end());
  t.push_back(0);
  if (style & DS_SETFONT) {
    t.insert(t.end(), {kDialogFontPoints, FW_NORMAL, 0});  // then italic and charset bytes
    t.insert(t.end(), kDialogFontFace.begin(), kDialogFontFace.end());
    t.push_back(0);
  }
  return t;
}

const DLGTEMPLATE* AsTemplate(const std::vector<WORD>& t) {
  return reinterpret_cast<const DLGTEMPLATE*>(t.data());
}

}  // namespace

Window::Window(HINSTANCE instance, Dialogs& dialogs, const WindowSpec& layout)
    : instance_(instance), dialogs_(dialogs), spec_(layout) {}

Window::~Window() {
  // Detached first: the derived object is gone and must not see the last messages.
  if (const HWND hwnd = Detach()) DestroyWindow(hwnd);
}

HWND Window::Detach() {
  if (!hwnd_) return nullptr;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  if (std::exchange(tracked_, false)) TopLevelClosed(hwnd_);
  return std::exchange(hwnd_, nullptr);
}

void Window::CreateFramed(const wchar_t* window_class, HBRUSH background, std::wstring_view caption,
                          HMENU menu) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance_;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = window_class;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    ThrowLastError(spec_.create_failure);
  }
  const HWND made = CreateWindowExW(spec_.ex_style, window_class, std::wstring(caption).c_str(),
                                    spec_.style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, nullptr, menu, instance_, this);
  ThrowIfNotMade(made != nullptr);
}

void Window::CreateModeless(HWND owner, std::wstring_view caption) {
  dialog_ = true;
  const auto t = DialogTemplate(spec_.style, spec_.ex_style, caption);
  const HWND made = CreateDialogIndirectParamW(instance_, AsTemplate(t), owner, DialogProc,
                                               reinterpret_cast<LPARAM>(this));
  ThrowIfNotMade(made != nullptr);
}

INT_PTR Window::RunModal(HWND owner, std::wstring_view caption) {
  dialog_ = modal_ = true;
  const auto t = DialogTemplate(spec_.style, spec_.ex_style, caption);
  const INT_PTR result = DialogBoxIndirectParamW(instance_, AsTemplate(t), owner, DialogProc,
                                                 reinterpret_cast<LPARAM>(this));
  ThrowIfNotMade(result != -1);
  return result;
}

void Window::ThrowIfNotMade(bool made) {
  if (build_failure_) {
    if (hwnd_) DestroyWindow(hwnd_);
    std::rethrow_exception(std::exchange(build_failure_, nullptr));
  }
  if (!made) ThrowLastError(spec_.create_failure);
}

void Window::Show(int show_command) {
  last_focus_ = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  ShowWindow(hwnd_, show_command);
  UpdateWindow(hwnd_);
  if (last_focus_) SetFocus(last_focus_);
}

Window* Window::Attach(HWND hwnd, Window* self) {
  self->hwnd_ = hwnd;
  self->dpi_ = static_cast<int>(GetDpiForWindow(hwnd));
  self->fonts_.SetDpi(self->dpi_);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  return self;
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = Attach(hwnd,
                  static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
  }
  const std::optional<LRESULT> result = self ? self->Dispatch(msg, wparam, lparam) : std::nullopt;
  return result ? *result : DefWindowProcW(hwnd, msg, wparam, lparam);
}

INT_PTR CALLBACK Window::DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_INITDIALOG) self = Attach(hwnd, reinterpret_cast<Window*>(lparam));
  const std::optional<LRESULT> result = self ? self->Dispatch(msg, wparam, lparam) : std::nullopt;
  if (!result) return FALSE;
  // These few answer directly; the others through DWLP_MSGRESULT.
  if (msg == WM_INITDIALOG || (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) ||
      msg == WM_COMPAREITEM || msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM ||
      msg == WM_QUERYDRAGICON) {
    return static_cast<INT_PTR>(*result);
  }
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, *result);
  return TRUE;
}

std::optional<LRESULT> Window::Dispatch(UINT msg, WPARAM wparam, LPARAM lparam) {
  try {
    switch (msg) {
      case WM_CREATE:
      case WM_INITDIALOG:
        Build();
        return 0;  // dialogs: the window has placed the focus itself
      case WM_COMMAND:
        OnCommand(LOWORD(wparam), HIWORD(wparam));
        return 0;
      case WM_DPICHANGED:
        OnDpiChanged(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        return 0;
      case WM_ACTIVATE:
        if (dialog_) break;  // the dialog manager keeps a dialog's focus
        KeepFocus(LOWORD(wparam) != WA_INACTIVE);
        return 0;
      case WM_NCDESTROY:
        Detach();
        OnFinalMessage();  // may delete this object
        return std::nullopt;
    }
    return OnMessage(msg, wparam, lparam);
  } catch (const std::exception& e) {
    if (built_) {
      Report(dialogs_, e);
      return 0;
    }
    // Carried out of the system's call to the code that asked for the window.
    build_failure_ = std::current_exception();
    if (modal_) EndDialog(hwnd_, -1);
    return dialog_ ? 0 : -1;
  }
}

void Window::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  fonts_.SetDpi(dpi_);
  SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyLayout();
  OnNewDpi();
}

void Window::KeepFocus(bool activated) {
  if (!activated) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) last_focus_ = focus;
  } else if (last_focus_ && IsWindow(last_focus_)) {
    SetFocus(last_focus_);
  }
}

std::optional<LRESULT> Window::OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

std::optional<LOGFONTW> Window::DefaultFont(int dpi) {
  if (dialog_font_.lfHeight == 0) return std::nullopt;
  LOGFONTW lf = dialog_font_;
  lf.lfHeight = MulDiv(lf.lfHeight, dpi, dialog_font_dpi_);
  return lf;
}

void Window::Build() {
  for (const ControlSpec& c : spec_.controls) {
    if (!CreateWindowExW(c.ex_style, c.window_class, std::wstring(c.caption).c_str(),
                         WS_CHILD | WS_VISIBLE | c.style, 0, 0, 0, 0, hwnd_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr)) {
      ThrowLastError(spec_.controls_failure);
    }
  }
  if (const auto own = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0))) {
    GetObjectW(own, sizeof dialog_font_, &dialog_font_);
    dialog_font_dpi_ = dpi_;
  }
  ApplyLayout();
  OnCreate();
  if (dialog_ && (GetWindowLongW(hwnd_, GWL_STYLE) & DS_CENTER)) {
    // The dialog manager centred the empty template; centre the real size.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(GetWindow(hwnd_, GW_OWNER), MONITOR_DEFAULTTOPRIMARY),
                    &monitor);
    RECT frame{};
    GetWindowRect(hwnd_, &frame);
    const RECT& work = monitor.rcWork;
    SetWindowPos(hwnd_, nullptr, (work.left + work.right - (frame.right - frame.left)) / 2,
                 (work.top + work.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  built_ = true;
  // A modal dialog runs its own loop and lives inside its caller's call.
  if (!modal_) {
    TopLevelOpened(hwnd_, HoldsProgram());
    tracked_ = true;
  }
}

void Window::ApplyLayout() {
  RECT frame{0, 0, TwipsToPixels(spec_.client_width_twips, dpi_),
             TwipsToPixels(spec_.client_height_twips, dpi_)};
  AdjustWindowRectExForDpi(&frame, spec_.style, GetMenu(hwnd_) != nullptr, spec_.ex_style,
                           static_cast<UINT>(dpi_));
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Font font;
  if (const std::optional<LOGFONTW> lf = DefaultFont(dpi_)) {
    font.reset(CreateFontIndirectW(&*lf));
    if (!font) ThrowLastError(L"Could not create the dialog font.");
  }
  for (const ControlSpec& c : spec_.controls) {
    HWND control = Control(c.id);
    const RECT r = ToPixels(c.rect, dpi_);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const HFONT f = c.font.centipoints != 0 ? fonts_.Get(c.font) : font.get();
    if (f) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
  }
  default_font_ = std::move(font);  // the controls no longer use the old one
  InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace qx::win
