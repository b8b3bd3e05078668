#pragma once
// The main window: its controls come from the catalogue and the layout tables;
// it routes clicks and menu choices to frmMain's handlers and serves as
// frmMain's view.
#include <windows.h>

#include <array>

#include "app/frm_main.h"
#include "runtime/win32/handles.h"
#include "ui/window.h"

namespace qx::win {

class MainWindow final : public Window, public MainView {
 public:
  MainWindow(HINSTANCE instance, Runtime& rt, PublicValues& values);

  // Registers the class, creates and shows the window. Throws Failure.
  void Create(int show_command);

  // MainView
  int Value(std::size_t catalogue_index) const override;
  void SetValue(std::size_t catalogue_index, int value) override;
  void ShowAbout() override;
  void ShowMore() override;
  void EndProgram() override;

 private:
  void OnCreate() override;
  void OnNewDpi() override;
  void OnCommand(int id, int code) override;
  std::optional<LRESULT> OnMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

  Runtime& rt_;
  PublicValues& values_;
  frmMain form_;
  std::array<Bitmap, 3> images_;
  Icon icon_big_;
  Icon icon_small_;
};

}  // namespace qx::win
