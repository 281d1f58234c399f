#pragma once
// A PNG decoder of the tests' own, so that the pictures that the generator wrote are read without
// the program's code or the system's imaging component: palette pictures of 1, 2, 4 and 8 bits
// and 8-bit RGB, not interlaced; every row filter.
#include <cstddef>

#include "support/window_pixels.h"

namespace testing_support {

// The picture held by the PNG bytes; empty when they are not a PNG of a kind read here.
Pixels decodePng(const unsigned char* bytes, std::size_t size);

} // namespace testing_support
