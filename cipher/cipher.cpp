#include "cipher/cipher.h"

#include <cstddef>
#include <optional>
#include <utility>

#include "cipher/vb_random.h"
#include "runtime/failure.h"

namespace qx {

namespace {

constexpr int kFirstCode = 59;  // ';' stands for the six-bit value 0

int CodeAt(const std::string& s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

char CharOf(int code) { return static_cast<char>(static_cast<unsigned char>(code)); }

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

void cipher::KeyString(std::string_view key) {
  key_ = key;
  SeedFromKey();
}

void cipher::SeedFromKey() {
  VbRandom& rnd = ProcessRandom();
  // A negative argument restarts the sequence: nothing drawn before matters.
  const float r0 = rnd.Next(-1.0f);
  rnd.Randomize(r0);
  for (std::size_t i = 0; i < key_.size(); ++i) {
    const int a = CodeAt(key_, i);
    const float r1 = rnd.Next();
    // The product of a float and a byte is exact in a double; round once.
    const auto v = static_cast<float>(-(static_cast<double>(r1) * a));
    const float r2 = rnd.Next(v);
    rnd.Randomize(r2);
  }
}

void cipher::DoXor() {
  VbRandom& rnd = ProcessRandom();
  const std::size_t length = text_.size();
  for (std::size_t i = 0; i < length; ++i) {
    const int r = static_cast<int>(rnd.Next() * 256.0f);  // exact, 0 to 255
    text_[i] = CharOf(CodeAt(text_, i) ^ r);
  }
}

void cipher::Stretch() {
  const std::size_t length = text_.size();
  std::string out(length + (length + 2) / 3, ' ');
  std::size_t k = 0;
  int h = 0;
  for (std::size_t i = 1; i <= length; ++i) {
    const int b = CodeAt(text_, i - 1);
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
        break;
    }
  }
  // A short last group carries its high bits in the very last character.
  if (length % 3 != 0) out[k] = CharOf(kFirstCode + h);
  text_ = std::move(out);
}

void cipher::Shrink() {
  const long length = static_cast<long>(text_.size());
  // An empty text gives a negative length: no output can be made, so the
  // working text ends up empty.
  const long n = (length - 1) - (length - 1) / 4;
  if (n < 0) {
    text_.clear();
    return;
  }
  std::string out(static_cast<std::size_t>(n), ' ');
  long j = 0;
  long p = 0;
  int hi = 0;
  for (long i = 1; i <= n; ++i) {
    ++j;
    const int lo = CodeAt(text_, static_cast<std::size_t>(j - 1)) - kFirstCode;
    int t = 0;
    switch (i % 3) {
      case 1:
        p += 4;
        if (p > length) p = length;
        hi = CodeAt(text_, static_cast<std::size_t>(p - 1)) - kFirstCode;
        t = ((hi / 16) & 3) * 64;
        break;
      case 2:
        t = ((hi / 4) & 3) * 64;
        break;
      default:
        t = (hi & 3) * 64;
        ++j;  // past the group's high-bits character
        break;
    }
    // A code below 59 makes lo negative: no character, the space stays.
    const int code = lo | t;
    if (code >= 0) out[static_cast<std::size_t>(i - 1)] = CharOf(code);
  }
  text_ = std::move(out);
}

void cipher::Encrypt() {
  cipher inner(values_, ansi_);
  inner.KeyString(
      ToAnsiOrFail(ansi_, values_.CipherKey, L"Could not encrypt the password.", L"The key"));
  inner.Text(ToAnsiOrFail(ansi_, values_.PlainPassword, L"Could not encrypt the password.",
                          L"The password"));
  inner.DoXor();
  inner.Stretch();
  values_.EncryptedPassword = ansi_.FromAnsi(inner.Text());
}

void cipher::Decrypt() {
  cipher inner(values_, ansi_);
  inner.KeyString(
      ToAnsiOrFail(ansi_, values_.CipherKey, L"Could not decrypt the password.", L"The key"));
  inner.Text(ToAnsiOrFail(ansi_, values_.EncryptedPassword, L"Could not decrypt the password.",
                          L"The encrypted password"));
  inner.Shrink();
  inner.DoXor();
  values_.PlainPassword = ansi_.FromAnsi(inner.Text());
}

}  // namespace qx
