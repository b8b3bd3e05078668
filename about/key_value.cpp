#include "about/key_value.h"

#include <string_view>

#include "common/failure.h"
#include "runtime/registry.h"

namespace qx {
namespace {

// The bytes read from the last to the first as one hexadecimal number: the
// value in little-endian order. More than eight bytes cannot be held.
std::uint64_t LittleEndianNumber(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > sizeof(std::uint64_t)) {
    throw Failure(
        L"Could not read the registry value.",
        L"The number has more than " + std::to_wstring(sizeof(std::uint64_t)) + L" bytes.");
  }
  std::uint64_t number = 0;
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) number = (number << 8) | *it;
  return number;
}

}  // namespace

void DecodeKeyValue(std::uint32_t type, std::span<const std::uint8_t> data, const AnsiCodec& ansi,
                    std::wstring& KeyVal) {
  if (data.empty()) {
    throw Failure(L"Could not read the registry value.", L"The value holds no data.");
  }
  std::span<const std::uint8_t> kept = data;
  if (kept.back() == 0) kept = kept.first(kept.size() - 1);

  if (type == kRegSz) {
    KeyVal =
        ansi.FromAnsi(std::string_view(reinterpret_cast<const char*>(kept.data()), kept.size()));
  } else if (type == kRegDword) {
    KeyVal = std::to_wstring(LittleEndianNumber(kept));
  }
}

}  // namespace qx
