#pragma once
// The builder: writes the compiled blocker from the program-wide values.
#include "app/public_values.h"
#include "runtime/runtime.h"

namespace qx {

// Beside the program: the template every blocker is a copy of.
inline constexpr wchar_t kTemplateFileName[] = L"quellanix.ext";
inline constexpr wchar_t kExeSuffix[] = L".exe";
// The title offered, and used when the answer is empty.
inline constexpr wchar_t kDefaultProgramTitle[] = L"Brindlecor";

class PropBag {
 public:
  PropBag(Runtime& rt, const PublicValues& values) : rt_(rt), values_(values) {}

  // Writes the 35 block flags in bag order and the encrypted password into a
  // new bag and the blocker named by `ProgramTitle` into the application
  // folder, replacing only an older blocker of that name. Throws Failure (title
  // refused, another program's file in the way, template unusable, write
  // failed); a failure leaves no new or partial file behind.
  void BuildBlocker();

 private:
  Runtime& rt_;
  const PublicValues& values_;
};

}  // namespace qx
