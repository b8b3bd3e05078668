#pragma once
// The base of the program's top-level windows and dialogs: routes messages to
// the object, creates the child controls from a table, lays them out in twips
// at the window's DPI (again when the DPI changes), and registers the window
// with the message loop while it is open.
#include <windows.h>

#include <exception>
#include <optional>
#include <span>
#include <string_view>

#include "runtime/dialogs.h"
#include "runtime/win32/handles.h"
#include "ui/fonts.h"
#include "ui/layout.h"

namespace qx::win {

struct WindowSpec {
  DWORD style;
  DWORD ex_style;
  int client_width_twips;
  int client_height_twips;
  std::span<const ControlSpec> controls;  // must outlive the window
  // What the user is told when the window or its controls cannot be made.
  std::wstring_view create_failure;
  std::wstring_view controls_failure;
};

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND hwnd() const { return hwnd_; }

 protected:
  // Errors that escape a message handler are shown through `dialogs`.
  Window(HINSTANCE instance, Dialogs& dialogs, const WindowSpec& layout);
  virtual ~Window();  // destroys the window if it is still open

  // Each throws Failure when the window cannot be made; no window is left then.
  // A framed window's class is registered on first use, with the base's
  // procedure and the arrow cursor; `background` is a stock or system brush,
  // as the class outlives every window.
  void CreateFramed(const wchar_t* window_class, HBRUSH background, std::wstring_view caption,
                    HMENU menu = nullptr);
  // Dialogs (class #32770) from an empty template, so that the dialog manager
  // serves the default button, Enter and Escape. DS_SETFONT gives the dialog
  // the standard dialog font, which its controls then use.
  void CreateModeless(HWND owner, std::wstring_view caption);
  INT_PTR RunModal(HWND owner, std::wstring_view caption);  // EndDialog's result

  // Plain windows: shown with the focus on the first tab stop, which the
  // window keeps across activations as a dialog would.
  void Show(int show_command);

  HINSTANCE instance() const { return instance_; }
  HWND Control(int id) const { return GetDlgItem(hwnd_, id); }
  int dpi() const { return dpi_; }

  // The controls are in place: add what the table does not say (images, focus).
  virtual void OnCreate() {}
  virtual void OnCommand(int id, int code) = 0;
  // Anything else; nullopt leaves the message to the system.
  virtual std::optional<LRESULT> OnMessage(UINT msg, WPARAM wparam, LPARAM lparam);
  // The font of the controls whose table row names none, at `dpi`. By default a
  // dialog's own font, scaled; none for other windows.
  virtual std::optional<LOGFONTW> DefaultFont(int dpi);
  // The controls are laid out for a new DPI: reload what is sized by it (icons).
  virtual void OnNewDpi() {}
  // The window is gone; the object may delete itself here.
  virtual void OnFinalMessage() {}
  // Whether the program runs on while this window is open: the last such
  // window to close ends it. A notice or helper window answers false.
  virtual bool HoldsProgram() const { return true; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  static Window* Attach(HWND hwnd, Window* self);
  // The base's one message switch; what it does not take goes to OnMessage.
  std::optional<LRESULT> Dispatch(UINT msg, WPARAM wparam, LPARAM lparam);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void KeepFocus(bool activated);  // WM_ACTIVATE of a plain window
  // The one way the object and its window part: the loop forgets the window.
  // The window, if there was one.
  HWND Detach();
  void ThrowIfNotMade(bool made);
  void Build();
  void ApplyLayout();

  HINSTANCE instance_;
  Dialogs& dialogs_;
  WindowSpec spec_;
  HWND hwnd_ = nullptr;
  bool dialog_ = false;
  bool modal_ = false;
  bool built_ = false;
  bool tracked_ = false;  // registered with the message loop
  std::exception_ptr build_failure_;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  FontCache fonts_{USER_DEFAULT_SCREEN_DPI};
  Font default_font_;
  LOGFONTW dialog_font_{};  // made by the dialog manager at dialog_font_dpi_
  int dialog_font_dpi_ = USER_DEFAULT_SCREEN_DPI;
  HWND last_focus_ = nullptr;
};

}  // namespace qx::win
