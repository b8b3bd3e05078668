#pragma once
// The keyed text cipher that turns the password into printable text for the
// blocker and back. Every number and step here is part of the stored format.
#include <string>
#include <string_view>

#include "app/catalogue/public_values.h"
#include "runtime/ansi.h"

namespace qx {

// Works on ANSI codes held in byte strings; Encrypt and Decrypt convert the
// program-wide wide texts with the runtime's code page.
class cipher {
 public:
  cipher(PublicValues& values, const AnsiCodec& ansi) : values_(values), ansi_(ansi) {}

  // Write only: stores the key and restarts the process-wide generator from it.
  void KeyString(std::string_view key);

  std::string Text() const { return text_; }
  void Text(std::string_view text) { text_ = text; }

  // Exclusive or with one generator byte per character, in place.
  void DoXor();
  // Three bytes to four characters with codes 59 to 122.
  void Stretch();
  // The inverse of Stretch; steps that make no character are skipped.
  void Shrink();

  // EncryptedPassword = cipher text of PlainPassword under CipherKey.
  void Encrypt();
  // PlainPassword = plain text of EncryptedPassword under CipherKey.
  void Decrypt();

 private:
  void SeedFromKey();

  PublicValues& values_;
  const AnsiCodec& ansi_;
  std::string key_;
  std::string text_;
};

}  // namespace qx
