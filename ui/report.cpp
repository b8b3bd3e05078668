#include "ui/report.h"

#include <new>
#include <string>

#include "common/failure.h"

namespace qx::win {

void RunHandler(Dialogs& dialogs, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const Failure& f) {
    dialogs.MsgBox(f.Message(), vbCritical);
  } catch (const std::bad_alloc&) {
    dialogs.MsgBox(L"The operation could not be completed.\n\nThere is not enough memory.",
                   vbCritical);
  } catch (const std::exception& e) {
    const std::string what = e.what();
    dialogs.MsgBox(
        L"The operation could not be completed.\n\n" + std::wstring(what.begin(), what.end()),
        vbCritical);
  }
}

}  // namespace qx::win
