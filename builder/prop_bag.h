#pragma once
// The builder: writes the compiled blocker from the program-wide values.
#include "app/catalogue/public_values.h"
#include "runtime/runtime.h"

namespace qx {

class PropBag {
 public:
  PropBag(Runtime& rt, const PublicValues& values) : rt_(rt), values_(values) {}

  // Writes the 35 block flags in bag order and the encrypted password into a
  // new bag and the blocker named by `ProgramTitle` into the application
  // folder. Throws Failure (title refused, template unusable, write failed);
  // a failure leaves no new or partial file behind.
  void BuildBlocker();

 private:
  Runtime& rt_;
  const PublicValues& values_;
};

}  // namespace qx
