#pragma once
// The main window: creates the controls from the layout tables, routes clicks
// and menu choices to frmMain's handlers, and serves as frmMain's view.
#include <windows.h>

#include <array>
#include <memory>

#include "app/frm_main.h"
#include "ui/fonts.h"
#include "runtime/win32/handles.h"

namespace qx::win {

class MainWindow : public MainView {
 public:
  MainWindow(HINSTANCE instance, Runtime& rt, PublicValues& values);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the class, creates and shows the window. Throws Failure.
  void Create(int show_command);
  HWND hwnd() const { return hwnd_; }
  frmMain& form() { return form_; }

  // MainView
  int Value(std::size_t catalogue_index) const override;
  void SetValue(std::size_t catalogue_index, int value) override;
  void ShowAbout() override;
  void EndProgram() override;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  void CreateMenuBar();
  void ApplyLayout();  // positions and fonts for the current DPI
  void OnCommand(int id, int code);
  void Run(void (frmMain::*handler)());

  HINSTANCE instance_;
  Runtime& rt_;
  frmMain form_;
  HWND hwnd_ = nullptr;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  FontCache fonts_{USER_DEFAULT_SCREEN_DPI};
  std::array<Bitmap, 3> images_;
  Icon icon_big_;
  Icon icon_small_;
  HWND last_focus_ = nullptr;
};

}  // namespace qx::win
