#pragma once
// A minimal PNG encoder (8-bit RGB, stored deflate blocks): screenshots need no
// image library in the test program.
#include <cstdint>
#include <string>
#include <vector>

namespace qx::e2e {

// `rgb` holds height rows of width pixels, three bytes each, top row first.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace qx::e2e
