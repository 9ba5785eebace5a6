#include "graph/geometry/Colours.h"

namespace acv {
namespace {

struct NamedColour {
  std::string_view name;
  std::uint32_t value;
};

constexpr std::array<NamedColour, kNamedColourCount> kColours{{
    {"Red", 0x0000FF},
    {"Green", 0x00FF00},
    {"Blue", 0xFF0000},
    {"Yellow", 0x00FFFF},
    {"Magenta", 0xFF00FF},
    {"Cyan", 0xFFFF00},
    {"Dark Red", 0x000080},
    {"Dark Green", 0x008000},
    {"Dark Blue", 0x800000},
    {"Dark Yellow", 0x008080},
    {"Dark Magenta", 0x800080},
    {"Dark Cyan", 0x808000},
    {"White", 0xFFFFFF},
    {"Black", 0x000000},
    {"Grey", 0xC8C8C8},
}};

}  // namespace

std::uint32_t colourOf(int index) {
  if (index >= 0 && index < kNamedColourCount)
    return kColours[static_cast<std::size_t>(index)].value;
  return static_cast<std::uint32_t>(index);
}

std::string_view ColourName(int index) {
  if (index >= 0 && index < kNamedColourCount)
    return kColours[static_cast<std::size_t>(index)].name;
  return {};
}

}  // namespace acv
