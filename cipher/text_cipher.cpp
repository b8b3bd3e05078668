#include "cipher/text_cipher.h"

#include <algorithm>
#include <cstddef>

namespace qx {

namespace {

constexpr int kFirstCode = 59;  // ';' stands for the six-bit value 0

int CodeAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

char CharOf(int code) { return static_cast<char>(static_cast<unsigned char>(code)); }

}  // namespace

VbRandom SeededGenerator(std::string_view key) {
  VbRandom rnd;
  // A negative argument restarts the sequence: nothing drawn before matters.
  const float r0 = rnd.Next(-1.0f);
  rnd.Randomize(r0);
  for (std::size_t i = 0; i < key.size(); ++i) {
    const int a = CodeAt(key, i);
    const float r1 = rnd.Next();
    // The product of a float and a byte is exact in a double; round once.
    const auto v = static_cast<float>(-(static_cast<double>(r1) * a));
    const float r2 = rnd.Next(v);
    rnd.Randomize(r2);
  }
  return rnd;
}

void XorKeystream(VbRandom& keystream, std::string& text) {
  for (char& c : text) {
    const int r = static_cast<int>(keystream.Next() * 256.0f);  // exact, 0 to 255
    c = CharOf(static_cast<unsigned char>(c) ^ r);
  }
}

std::string Stretch(std::string_view bytes) {
  const std::size_t length = bytes.size();
  std::string out(length + (length + 2) / 3, ' ');
  std::size_t k = 0;
  int h = 0;
  for (std::size_t i = 1; i <= length; ++i) {
    const int b = CodeAt(bytes, i - 1);
    out[k++] = CharOf(kFirstCode + (b & 63));
    switch (i % 3) {
      case 1:
        h |= (b / 64) * 16;
        break;
      case 2:
        h |= (b / 64) * 4;
        break;
      default:
        h |= b / 64;
        out[k++] = CharOf(kFirstCode + h);
        h = 0;
    }
  }
  // A short last group carries its high bits in the very last character.
  if (length % 3 != 0) out[k] = CharOf(kFirstCode + h);
  return out;
}

std::string Shrink(std::string_view text) {
  const long length = static_cast<long>(text.size());
  // An empty text gives a negative length: no output.
  const long n = std::max(0L, (length - 1) - (length - 1) / 4);
  std::string out(static_cast<std::size_t>(n), ' ');
  long j = 0;
  long p = 0;
  int hi = 0;
  for (long i = 1; i <= n; ++i) {
    ++j;
    const int lo = CodeAt(text, static_cast<std::size_t>(j - 1)) - kFirstCode;
    int t = 0;
    switch (i % 3) {
      case 1:
        p = std::min(p + 4, length);
        hi = CodeAt(text, static_cast<std::size_t>(p - 1)) - kFirstCode;
        t = ((hi / 16) & 3) * 64;
        break;
      case 2:
        t = ((hi / 4) & 3) * 64;
        break;
      default:
        t = (hi & 3) * 64;
        ++j;  // past the group's high-bits character
    }
    // A code below 59 makes lo negative: no character, the space stays.
    const int code = lo | t;
    if (code >= 0) out[static_cast<std::size_t>(i - 1)] = CharOf(code);
  }
  return out;
}

std::string EncryptText(std::string_view key, std::string_view plain) {
  VbRandom keystream = SeededGenerator(key);
  std::string text(plain);
  XorKeystream(keystream, text);
  return Stretch(text);
}

std::string DecryptText(std::string_view key, std::string_view cipher_text) {
  VbRandom keystream = SeededGenerator(key);
  std::string text = Shrink(cipher_text);
  XorKeystream(keystream, text);
  return text;
}

}  // namespace qx
