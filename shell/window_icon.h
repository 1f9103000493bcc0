// The program's window icon, made from its screenshot at build time and linked with its draw step.
#pragma once

#include <cstddef>
#include <cstdint>

// For each size: its width and height in pixels, then its pixels row by row as 0xAARRGGBB; the
// layout of the _NET_WM_ICON property.
extern const std::uint32_t kWindowIcon[];
extern const std::size_t kWindowIconLength;  // entries in kWindowIcon
