#pragma once
// The value rules of the display-settings dialogs (colours, axes, view
// options, event limits), without widgets: which colours the lists offer, how the axis
// fields are corrected while typing, what OK checks and stores, and where the
// values go in the settings. The dialogs only move texts and check marks
// between their controls and these functions.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/CDTDoc.h"
#include "data/EventLimits.h"
#include "data/Settings.h"
#include "frame/DisplayModes.h"
#include "frame/FrameState.h"

namespace acv {

// ---- Color Setup ------------------------------------------------------------------

// The colour indices a colour list offers, in table order, leaving out an
// entry whose colour is already in the list; `values` stands in for the
// colour table (index i has values[i]).
std::vector<int> ColourListEntries(std::span<const std::uint32_t> values);
// The same over the program's colour table.
std::vector<int> ColourListEntries();

// The five colours the dialog edits, in the order of its lists.
struct ColourChoice {
  int background = 13, ch1 = 0, ch2 = 1, ch3 = 3, grid = 2;
};
ColourChoice ColoursOf(const AppSettings& settings);
void PutColours(const ColourChoice& colours, AppSettings& settings);

// ---- Axis Setup -------------------------------------------------------------------

inline constexpr int kAxisYLimit = 1000000;
inline constexpr const char* kYAxisOrderMessage =
    "The started Y Axis must be lower than the ended Y Axis";
inline constexpr const char* kXAxisOrderMessage =
    "The started X Axis must be lower than the ended X Axis";

enum class AxisField { Ch1From, Ch1To, Ch2From, Ch2To, XFrom, XTo };
inline constexpr int kAxisFieldCount = 6;
using AxisTexts = std::array<std::string, kAxisFieldCount>;  // indexed by AxisField

struct AxisValues {
  int ch1From = 0, ch1To = 0, ch2From = 0, ch2To = 0;
  int firstPoint = 0, lastPoint = 0;
  bool operator==(const AxisValues&) const = default;
};

// The number of points of a display (the X fields' upper end): 590 in REAL
// TIME EPA, 251 in STORE TR, rmsCount in STORE RMS, rtCount in the real-time
// displays; 0 on the start screen.
int AxisPointCount(DisplayMode mode, const CDTDoc& doc);

// The six fields as the dialog opens.
AxisTexts AxisTextsOf(const AxisValues& values);

// A field after a change: "-" and an empty field stay as typed (a sign can
// be typed, a field cleared); anything else is rewritten as the decimal of
// its leading integer, X From raised to at least 1 and X To lowered to at
// most pointCount.
std::string AxisTextWhileTyping(AxisField field, const std::string& text, int pointCount);

// OK: the six texts read as leading integers; during a run in a real-time
// display other than EPA, X To becomes the point count taken so far. The
// messages are those to show one after the other; the values may be stored
// only when there are none.
struct AxisCheck {
  AxisValues values;
  std::vector<std::string> messages;
  bool Valid() const { return messages.empty(); }
};
AxisCheck CheckAxisFields(const AxisTexts& texts, bool runInProgress, DisplayMode mode,
                          int rtCount);

// Stores checked Y limits in the display's row of the Y-axis table, so that
// entering the display again (and the next start) keeps them.
void PutAxisLimits(FrameState& frame, DisplayMode mode, const AxisValues& values);

// The six values as the display on show holds them (what the dialog opens
// with), and checked values put back into a display's set-up, the rest of
// which stays as it was.
AxisValues AxisValuesOf(const DisplaySetup& setup);
void PutAxisValues(DisplaySetup& setup, const AxisValues& values);

// ---- View options -----------------------------------------------------------------

// The nine options of the View dialog in the order of their settings keys
// VIEW1 .. VIEW9, each 0 or 1; the dialog shows five and carries the hidden
// four through unchanged.
enum class ViewOption { Ch1 = 0, Ch2, Ch3, CapLevel, Ch2Alarm, Ch3Alarm, MarkPoints, YGrid, XGrid };
inline constexpr int kViewOptionCount = 9;
using ViewOptionValues = std::array<bool, kViewOptionCount>;
ViewOptionValues ViewOptionsOf(const AppSettings& settings);
void PutViewOptions(const ViewOptionValues& options, AppSettings& settings);

// ---- Event Limits -----------------------------------------------------------------

// Nominal voltage, dip, swell, interruption, hysteresis (percent of it), the
// over-current limit in A, which is off when empty or 0, and the band (percent
// of the nominal voltage either side of it), and the nominal frequency (50 or
// 60 Hz, which the COMTRADE files name).
enum class LimitField {
  Nominal,
  Dip,
  Swell,
  Interruption,
  Hysteresis,
  OverCurrent,
  Band,
  Frequency
};
inline constexpr int kLimitFieldCount = 8;
using LimitTexts = std::array<std::string, kLimitFieldCount>;  // indexed by LimitField

// The fields as the dialog opens with these limits (no over-current limit:
// an empty field).
LimitTexts LimitTextsOf(const EventLimits& limits);
// OK: the limits the fields give, or in `problem` what is wrong with them, in
// words for a message (a field that is not a number, a value the settings
// file cannot keep, thresholds out of order); then nothing may be applied.
struct LimitsCheck {
  EventLimits limits;
  std::string problem;
};
LimitsCheck CheckLimitTexts(const LimitTexts& texts);

}  // namespace acv
