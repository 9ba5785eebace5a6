#pragma once
// Entering a display mode: what each of the six displays sets in the graph
// view (range, channels, units, Y axes, info-panel height), which panels it
// opens or closes, how wide the instrument column becomes, and the texts of
// the information panel. The window applies the result; nothing here touches
// a widget.
#include <cstdint>
#include <string>

#include "data/CDTDoc.h"
#include "frame/FrameState.h"
#include "graph/geometry/GraphState.h"

namespace acv {

// The graph view's display fields that the mode commands write.
struct DisplaySetup {
  int displayMode = 0;  // 0 start screen, 1 graph, 2 list face
  int firstPoint = 0;   // 1-based, inclusive
  int lastPoint = 0;
  int panelHeight = kInfoPanelHeight;
  bool plotCh1 = false;
  bool plotCh2 = false;
  std::string ch1UnitText, ch2UnitText;
  int ch1From = 0, ch1To = 0, ch2From = 0, ch2To = 0;  // Y limits per channel
  int displayKind = 0;     // 1..9 of the active display, 0 on the start screen
  bool dataSaved = false;  // the data on show came from a file
  int trRecord = 0;        // TR record on show in STORE TR
};

// The series a display mode draws and lists (STORE RMS for none).
GraphMode GraphModeOf(DisplayMode mode);

// The texts of the information panel; the mode commands rewrite some of them
// on every call and leave the others as they were.
struct InfoTexts {
  std::string modeText, rateText, startText, countText;
  std::string max1Text, min1Text, max2Text, min2Text;
  // STORE TR: the shown record's extremes and the detection levels.
  std::string trMaxText, trMinText, riseText, dropText;
};

enum class PanelRequest { Keep, Open, Close };

// What the window must do after a mode command, besides applying the setup.
struct ModeEffects {
  bool layoutChanged = false;  // the mode was entered (not only refreshed)
  bool zoomReset = false;
  PanelRequest trFileList = PanelRequest::Keep;
  PanelRequest powerPanel = PanelRequest::Keep;
  int instrumentWidth = -1;  // new width of the instrument column; -1 unchanged
  // REAL TIME EPA at the first point: compute the wave statistics of the
  // shown channels over the whole wave (power analysis panel).
  bool computeWaveStatistics = false;
  // REAL TIME EPA with one voltage and one current channel shown and the
  // power panel open: the panel's S text follows its two RMS texts.
  bool updatePowerText = false;
  // A real-time display during a run: pick the first horizontal scale step
  // whose span covers this many points (0 = no change).
  int realTimeSpan = 0;
};

// What the window knows about its panels when a mode command runs.
struct PanelFacts {
  bool trFileListOpen = false;
  bool powerPanelOpen = false;
};

// Runs the command of one display mode. Every call refreshes the info-panel
// texts; the layout work (range, axes, channels, panels, column width, zoom
// reset) runs only when the mode was not active before, except that STORE TR
// redoes its record steps whenever the TR File List is closed.
ModeEffects EnterDisplayMode(DisplayMode mode, FrameState& frame, DisplaySetup& view,
                             InfoTexts& info, const CDTDoc& doc, const PanelFacts& panels);

// The STORE TR texts of record p: maximum and minimum over its 251 samples
// ("%.0f " and the unit) and the two detection levels ("%.0f" and the unit).
void FillTrRecordTexts(InfoTexts& info, const CDTDoc& doc, int record, const std::string& unit);

// The TR File List's choice of record p in STORE TR: the record's channel
// and unit, its 251 samples as the range, and its info texts (trigger time,
// extremes, levels). False, and nothing changed, when p is no record.
bool ShowTrRecord(DisplaySetup& view, InfoTexts& info, const CDTDoc& doc, int record);

// The power panel's S text: the product of its two RMS texts read as numbers
// ("%.0f") when both exceed 7, otherwise "LO".
std::string ApparentPowerText(const std::string& rms1Text, const std::string& rms2Text);

// The first real-time data block of a run: REAL TIME EPA is selected unless
// another real-time display is active, with the Y axes of display 3; the
// view leaves the start screen and the shown data no longer come from a file.
void SelectFirstRealTimeDisplay(FrameState& frame, DisplaySetup& view);

// The Info Dialog toggle applied to the view.
void ApplyInfoPanelToggle(FrameState& frame, DisplaySetup& view);

}  // namespace acv
