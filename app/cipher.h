#pragma once
// The class the password flow encrypts with: properties and methods over the
// cipher functions, reading and writing the program-wide values.
#include <string>
#include <string_view>

#include "app/public_values.h"
#include "cipher/text_cipher.h"
#include "runtime/ansi.h"

namespace qx {

class cipher {
 public:
  cipher(PublicValues& values, const AnsiCodec& ansi) : values_(values), ansi_(ansi) {}

  // Write only: stores the key and restarts this object's keystream from it.
  void KeyString(std::string_view key) { keystream_ = SeededGenerator(key); }

  std::string Text() const { return text_; }
  void Text(std::string_view text) { text_ = text; }

  void DoXor() { XorKeystream(keystream_, text_); }
  void Stretch() { text_ = qx::Stretch(text_); }
  void Shrink() { text_ = qx::Shrink(text_); }

  // EncryptedPassword = cipher text of PlainPassword under CipherKey.
  void Encrypt();
  // PlainPassword = plain text of EncryptedPassword under CipherKey.
  void Decrypt();

 private:
  PublicValues& values_;
  const AnsiCodec& ansi_;
  VbRandom keystream_;
  std::string text_;
};

}  // namespace qx
