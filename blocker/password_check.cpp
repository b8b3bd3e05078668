#include "blocker/password_check.h"

#include "cipher/text_cipher.h"

namespace qx::blocker {

bool PasswordMatches(std::string_view encrypted, const std::optional<std::string>& typed) {
  return typed && !encrypted.empty() && DecryptText(kCipherKey, encrypted) == *typed;
}

}  // namespace qx::blocker
