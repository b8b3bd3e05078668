#pragma once
#include "runtime/processes.h"

namespace qx::win {

class WinProcesses : public Processes {
 public:
  void Shell(std::wstring_view command_line, int window_style) override;
  void StartExact(std::wstring_view program, int window_style) override;
  void OpenDocument(std::wstring_view path) override;
};

}  // namespace qx::win
