#pragma once

#include <cstdint>

namespace sonavel {

// A colour word laid out as 0x00BBGGRR: red in the low byte, high byte zero.
// Converted to other layouts only at the Qt boundary.
using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
constexpr unsigned RedOf(ColorRef c) { return c & 0xFFu; }
constexpr unsigned GreenOf(ColorRef c) { return (c >> 8) & 0xFFu; }
constexpr unsigned BlueOf(ColorRef c) { return (c >> 16) & 0xFFu; }

inline constexpr ColorRef kDefaultTextColor = 0x00000000;        // black
inline constexpr ColorRef kDefaultChordColor = 0x00FF0000;       // blue
inline constexpr ColorRef kDefaultTabColor = 0x000000FF;         // red
inline constexpr ColorRef kDefaultBackgroundColor = 0x00FFFFFF;  // white

}  // namespace sonavel
