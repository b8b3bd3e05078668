#pragma once
#include <string>

#include "common/version.h"

namespace qx {

// The running program's facts. `Path` is the folder of the exe, without a
// trailing separator.
struct AppFacts {
  std::wstring Path;
  std::wstring Title = QX_WIDEN(QX_PRODUCT_NAME);
  int Major = QX_VERSION_MAJOR;
  int Minor = QX_VERSION_MINOR;
  int Revision = QX_VERSION_REVISION;
};

}  // namespace qx
