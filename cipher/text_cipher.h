#pragma once
// The keyed text cipher that turns the password into printable text for the
// blocker and back, as plain functions of key and text on ANSI byte strings.
// Every number and step here is part of the stored format: the configurator
// encrypts and the blocker decrypts with this one code.
#include <string>
#include <string_view>

#include "cipher/vb_random.h"

namespace qx {

// The program's key.
inline constexpr std::string_view kCipherKey = "*#tkqa71wzrvo#*";

// The generator restarted and reseeded from `key`: the keystream depends on the
// key alone.
VbRandom SeededGenerator(std::string_view key);

// Exclusive or of each byte with the next keystream byte, in place.
void XorKeystream(VbRandom& keystream, std::string& text);

// Three bytes to four characters with codes 59 to 122.
std::string Stretch(std::string_view bytes);

// The inverse of Stretch; steps that make no character leave a space.
std::string Shrink(std::string_view text);

// Keystream, then Stretch.
std::string EncryptText(std::string_view key, std::string_view plain);
// Shrink, then the keystream again.
std::string DecryptText(std::string_view key, std::string_view cipher_text);

}  // namespace qx
