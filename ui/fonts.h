#pragma once
// Fonts for the layout tables, created once per DPI. Arial where installed,
// otherwise a metric-compatible face, otherwise the system's message font.
#include <windows.h>

#include <map>
#include <string>

#include "runtime/win32/handles.h"
#include "ui/layout.h"

namespace qx::win {

class FontCache {
 public:
  explicit FontCache(int dpi) : dpi_(dpi) {}
  HFONT Get(FontSpec font);
  void SetDpi(int dpi);  // drops fonts made for the old DPI
  const std::wstring& Face();

 private:
  int dpi_;
  std::wstring face_;
  std::map<std::pair<int, bool>, Font> fonts_;
};

}  // namespace qx::win
