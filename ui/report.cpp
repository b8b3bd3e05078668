#include "ui/report.h"

#include <new>

#include "common/failure.h"

namespace qx::win {

std::wstring FailureText(const std::exception& e) {
  if (const auto* failure = dynamic_cast<const Failure*>(&e)) return failure->Message();
  if (dynamic_cast<const std::bad_alloc*>(&e)) {
    return L"The operation could not be completed.\n\nThere is not enough memory.";
  }
  const std::string what = e.what();
  return L"The operation could not be completed.\n\n" + std::wstring(what.begin(), what.end());
}

void Report(Dialogs& dialogs, const std::exception& e) {
  dialogs.MsgBox(FailureText(e), vbCritical);
}

}  // namespace qx::win
