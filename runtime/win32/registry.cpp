#include "runtime/win32/registry.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "runtime/win32/handles.h"

namespace qx::win {
namespace {

// Predefined roots are 32-bit values, sign-extended into a handle.
HKEY RootHandle(std::uint32_t root) {
  return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

}  // namespace

RegistryValue WinRegistry::Read(std::uint32_t root, std::string_view key, std::string_view value,
                                std::size_t capacity) {
  const std::string key_name(key);
  const std::string value_name(value);
  HKEY opened = nullptr;
  // Reading needs no more: asking for write access fails for a standard user.
  LSTATUS status = RegOpenKeyExA(RootHandle(root), key_name.c_str(), 0, KEY_READ, &opened);
  if (status != ERROR_SUCCESS) return {static_cast<std::int32_t>(status), 0, {}};
  const RegKey owned(opened);

  std::vector<std::uint8_t> buffer(std::min<std::size_t>(capacity, MAXDWORD), 0);
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(buffer.size());
  status = RegQueryValueExA(owned.get(), value_name.c_str(), nullptr, &type, buffer.data(), &size);
  if (status != ERROR_SUCCESS) return {static_cast<std::int32_t>(status), type, {}};
  buffer.resize(std::min<std::size_t>(size, buffer.size()));
  return {ERROR_SUCCESS, type, std::move(buffer)};
}

}  // namespace qx::win
