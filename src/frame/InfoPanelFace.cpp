#include "frame/InfoPanelFace.h"

namespace acv {

std::string InfoRowLabel(const char* first, int blanks, const char* second) {
  return std::string(first) + std::string(static_cast<std::size_t>(blanks), ' ') + second;
}

InfoPanelFace LayOutInfoPanel(DisplayMode mode, bool plotCh1, bool plotCh2, const InfoTexts& info,
                              int width, int scroll) {
  InfoPanelFace face;
  if (mode == DisplayMode::StoreTr || mode == DisplayMode::RealTimeEpa) {
    // Four pixels per character: the heading font's average width.
    const int length = static_cast<int>(info.startText.size());
    face.texts.push_back({width / 2 - 4 * length, 0, info.startText, true});
    return face;
  }
  const int top = -scroll;
  auto add = [&face](int x, int y, std::string text) {
    face.texts.push_back({x, y, std::move(text), false});
  };
  add(50, top + 25, InfoRowLabel(" MODE:", 57, "SAMPLING RATE:"));
  add(150, top + 25, info.modeText);
  add(490, top + 25, info.rateText);
  face.lines.push_back(top + 40);
  add(50, top + 45, InfoRowLabel(" STARTTIME:", 48, "DATANO:"));
  add(150, top + 45, info.startText);
  add(425, top + 45, info.countText);
  const bool apparent = mode == DisplayMode::RealTimeS;
  if (plotCh1) {
    add(50, top + 65,
        apparent ? InfoRowLabel(" S MAX:", 57, "S MIN:")
                 : InfoRowLabel(" CH1 MAX:", 53, "CH1 MIN:"));
    add(125, top + 65, info.max1Text);
    add(400, top + 65, info.min1Text);
  }
  if (plotCh2 && !apparent) {
    add(50, top + 85, InfoRowLabel(" CH2 MAX:", 53, "CH2 MIN:"));
    add(125, top + 85, info.max2Text);
    add(400, top + 85, info.min2Text);
  }
  face.headingBand = true;
  face.heading = {width / 2 - 60, 0, " REC INFO ", true};
  face.headingLines = {19, 20};
  return face;
}

}  // namespace acv
