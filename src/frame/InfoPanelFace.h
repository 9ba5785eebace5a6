#pragma once
// What the information panel above the graph draws, as data: which texts go
// where, in which font, and the rules across it. The panel widget draws the
// items in order and nothing else, so the layout is tested here.
#include <string>
#include <vector>

#include "frame/DisplayModes.h"
#include "frame/FrameState.h"

namespace acv {

struct InfoPanelText {
  int x = 0;
  int y = 0;  // top of the text
  std::string text;
  bool heading = false;  // the heading font (Arial Black 12) instead of the body font
};

struct InfoPanelFace {
  std::vector<InfoPanelText> texts;
  std::vector<int> lines;  // full-width rules at these y
  // The heading band: filled over y 0..20 after everything else, then its
  // text and its two rules, so that a 25-pixel panel shows only the heading.
  bool headingBand = false;
  InfoPanelText heading;
  std::vector<int> headingLines;
};

// The row labels; their runs of blanks place the second label of the row.
std::string InfoRowLabel(const char* first, int blanks, const char* second);

// The face of the panel in a client area `width` pixels wide, scrolled by
// `scroll` pixels. STORE TR and REAL TIME EPA show the start text alone,
// centred; the other displays show the mode row, a rule, the start row, the
// channel rows of the channels shown (one S row in REAL TIME S(VA)) and the
// " REC INFO " heading.
InfoPanelFace LayOutInfoPanel(DisplayMode mode, bool plotCh1, bool plotCh2, const InfoTexts& info,
                              int width, int scroll = 0);

}  // namespace acv
