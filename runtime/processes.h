#pragma once
// Starting programs and opening documents.
#include <string_view>

namespace qx {

inline constexpr int vbNormalFocus = 1;

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the command line and returns without waiting. Throws Failure.
  virtual void Shell(std::wstring_view command_line, int window_style) = 0;
  // Starts `program` by its exact path (no search, no splitting at spaces).
  // Throws Failure.
  virtual void StartExact(std::wstring_view program, int window_style) = 0;
  // Asks the shell to open a document; the outcome is deliberately ignored.
  virtual void OpenDocument(std::wstring_view path) = 0;
};

}  // namespace qx
