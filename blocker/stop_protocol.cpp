#include "blocker/stop_protocol.h"

#include <cstdio>
#include <cstring>

namespace qx::blocker {
namespace {

constexpr std::size_t kLengthBytes = 4;

}  // namespace

std::vector<unsigned char> StopPayload(std::string_view password) {
  std::vector<unsigned char> out;
  out.reserve(kLengthBytes + password.size());
  for (std::size_t i = 0; i < kLengthBytes; ++i) {
    out.push_back(static_cast<unsigned char>(password.size() >> (8 * i)));
  }
  for (char c : password) out.push_back(static_cast<unsigned char>(c));
  return out;
}

std::optional<std::string> ReadStopPayload(const void* data, std::size_t size) {
  if (!data || size < kLengthBytes) return std::nullopt;
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::uint64_t length = 0;
  for (std::size_t i = 0; i < kLengthBytes; ++i) length |= std::uint64_t{bytes[i]} << (8 * i);
  if (length != size - kLengthBytes) return std::nullopt;
  return std::string(reinterpret_cast<const char*>(bytes + kLengthBytes), length);
}

std::wstring StateNotes(std::intptr_t state) {
  if (!(state & kStateAnswered)) return L"";
  // clang-format off
  const struct { std::intptr_t bit; const wchar_t* text; } notes[] = {
      {kFromStartupFolder, L"It starts from the Startup folder: the Run key refused it."},
      {kNotAtLogon, L"Nothing starts it at logon."},
      {kFileChangeable, L"This account can change its file."},
  };
  // clang-format on
  std::wstring out;
  for (const auto& n : notes) {
    if (state & n.bit) out += L"\n" + std::wstring(n.text);
  }
  return out;
}

std::wstring InstanceName(const FileId& file) {
  wchar_t text[48];
  std::swprintf(text, std::size(text), L"QuellanixBlocker.%08lx.%016llx",
                static_cast<unsigned long>(file.volume),
                static_cast<unsigned long long>(file.index));
  return text;
}

StartChoice ChooseStart(const FileId& self, std::span<const std::optional<FileId>> windows,
                        bool other_process_of_this_file, bool waited_long_enough) {
  for (std::size_t i = 0; i < windows.size(); ++i) {
    if (windows[i] == self) return {StartChoice::kAsk, i};
  }
  // The mutex alone proves nothing: anyone can hold its name.
  if (!other_process_of_this_file || waited_long_enough) return {StartChoice::kBlock, 0};
  return {StartChoice::kLookAgain, 0};
}

}  // namespace qx::blocker
