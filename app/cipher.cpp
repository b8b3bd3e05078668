#include "app/cipher.h"

#include <optional>
#include <utility>

#include "common/failure.h"

namespace qx {

namespace {

std::string ToAnsiOrFail(const AnsiCodec& ansi, const std::wstring& text, const wchar_t* operation,
                         const wchar_t* what) {
  std::optional<std::string> bytes = ansi.ToAnsi(text);
  if (!bytes) {
    throw Failure(operation, std::wstring(what) +
                                 L" contains characters that the system's ANSI code page "
                                 L"cannot represent.");
  }
  return *std::move(bytes);
}

}  // namespace

void cipher::Encrypt() {
  constexpr wchar_t kFailed[] = L"Could not encrypt the password.";
  values_.EncryptedPassword = ansi_.FromAnsi(
      EncryptText(ToAnsiOrFail(ansi_, values_.CipherKey, kFailed, L"The key"),
                  ToAnsiOrFail(ansi_, values_.PlainPassword, kFailed, L"The password")));
}

void cipher::Decrypt() {
  constexpr wchar_t kFailed[] = L"Could not decrypt the password.";
  values_.PlainPassword = ansi_.FromAnsi(DecryptText(
      ToAnsiOrFail(ansi_, values_.CipherKey, kFailed, L"The key"),
      ToAnsiOrFail(ansi_, values_.EncryptedPassword, kFailed, L"The encrypted password")));
}

}  // namespace qx
