#pragma once
// The main window's handlers, written against the runtime and an abstract view
// so that they run unchanged in the program and in unit tests.
#include <cstddef>

#include "app/public_values.h"
#include "catalogue/catalogue.h"
#include "runtime/runtime.h"

namespace qx {

// Check-box values as the window holds them: 0 clear, 1 ticked, 2 grey.
class CheckBoxes {
 public:
  virtual ~CheckBoxes() = default;
  virtual int Value(std::size_t catalogue_index) const = 0;
  virtual void SetValue(std::size_t catalogue_index, int value) = 0;
};

// What the handlers ask of the window itself.
class MainView : public CheckBoxes {
 public:
  virtual void ShowAbout() = 0;   // create once, show modeless, bring to front
  virtual void ShowMore() = 0;    // the More Applications dialog, modal
  virtual void EndProgram() = 0;  // close every window at once, save nothing
};

class frmMain {
 public:
  frmMain(Runtime& rt, PublicValues& values, MainView& view)
      : rt_(rt), values_(values), view_(view) {}

  void Form_Load();

  // Group headers: the deciding box alone decides whether the group is ticked
  // or cleared.
  void HeaderClick(Group group);

  void DefineVariables();
  void SetPassword();

  void picPassword_Click() { SetPassword(); }
  void mnuPassword_Click() { SetPassword(); }
  void picCompile_Click();
  void mnuCompile_Click() { picCompile_Click(); }
  void mnuOpenApp_Click();
  void mnuExit_Click() { view_.EndProgram(); }
  void mnuAbout_Click() { view_.ShowAbout(); }
  void mnuMore_Click() { view_.ShowMore(); }
  void mnuIndex_Click();

 private:
  Runtime& rt_;
  PublicValues& values_;
  MainView& view_;
};

}  // namespace qx
