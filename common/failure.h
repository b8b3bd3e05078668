#pragma once
// A failed operation: what was attempted and the system's reason. Handlers let it
// propagate; the event dispatch shows it to the user and the program goes on.
#include <exception>
#include <string>
#include <utility>

namespace qx {

class Failure : public std::exception {
 public:
  Failure(std::wstring operation, std::wstring reason)
      : operation_(std::move(operation)), reason_(std::move(reason)) {}

  const std::wstring& operation() const noexcept { return operation_; }
  const std::wstring& reason() const noexcept { return reason_; }
  const char* what() const noexcept override { return "qx::Failure"; }

  // The text a user sees: what failed, then why.
  std::wstring Message() const { return operation_ + L"\n\n" + reason_; }

 private:
  std::wstring operation_;
  std::wstring reason_;
};

}  // namespace qx
