#pragma once
// The fixed table of named colours behind every colour index of the settings
// and the Color Setup dialog. Values are 0x00BBGGRR (red in the low byte).
#include <array>
#include <cstdint>
#include <string_view>

namespace acv {

inline constexpr int kNamedColourCount = 15;

// Colour of a stored index: one of the 15 named colours for 0..14; any other
// index is taken as a raw 0x00BBGGRR value.
std::uint32_t colourOf(int index);

// The name shown in the colour lists, or an empty view for a raw value.
std::string_view ColourName(int index);

inline constexpr int RedOf(std::uint32_t bgr) {
  return static_cast<int>(bgr & 0xFFu);
}
inline constexpr int GreenOf(std::uint32_t bgr) {
  return static_cast<int>((bgr >> 8) & 0xFFu);
}
inline constexpr int BlueOf(std::uint32_t bgr) {
  return static_cast<int>((bgr >> 16) & 0xFFu);
}

// 0x00BBGGRR to 0x00RRGGBB (the order of 32-bit image pixels).
inline constexpr std::uint32_t ToRgb(std::uint32_t bgr) {
  return (static_cast<std::uint32_t>(RedOf(bgr)) << 16) |
         (static_cast<std::uint32_t>(GreenOf(bgr)) << 8) | static_cast<std::uint32_t>(BlueOf(bgr));
}

}  // namespace acv
