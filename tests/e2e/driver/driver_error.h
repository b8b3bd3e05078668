#pragma once
// What the driver throws when the program under test does not do what a step
// needs; GoogleTest reports the text as the test's failure.
#include <stdexcept>
#include <string>
#include <string_view>

namespace qx::e2e {

std::string Narrow(std::wstring_view text);

class DriverError : public std::runtime_error {
 public:
  explicit DriverError(std::wstring_view what) : std::runtime_error(Narrow(what)) {}
};

}  // namespace qx::e2e
