#pragma once
// The main window's own state (the display mode, the instrument column, the
// info panel, the save-prompt flags, the per-display Y-axis table). The rules
// that enable and check commands over this state are in CommandRules.h.
#include <array>
#include <cstdint>
#include <string>

#include "data/CDTDoc.h"
#include "data/Settings.h"

namespace acv {

// The six displays of measurement data. None: the start screen, or a graph
// whose mode flag has not been set yet.
enum class DisplayMode {
  None,
  StoreRms,
  StoreTr,
  RealTimeEpa,
  RealTimeRms,
  RealTimeFreq,
  RealTimeS
};

// Index into the Y-axis table (1..9) of each display; None has no kind.
int DisplayKindOf(DisplayMode mode);
// "STORE RMS", "REAL TIME F(Hz)", ...; empty for None.
const char* ModeName(DisplayMode mode);
bool IsRealTimeMode(DisplayMode mode);  // EPA, RMS, F(Hz), S(VA)

inline constexpr int kInstrumentWidth = 150;        // the instrument column at start
inline constexpr int kTrListColumnWidth = 210;      // room for the TR File List
inline constexpr int kPowerPanelColumnWidth = 385;  // room for the power analysis panel
inline constexpr int kInfoPanelHeight = 120;
inline constexpr int kInfoStripHeight = 25;  // STORE TR and REAL TIME EPA

// What the graph view shows, as far as the command rules need it.
struct ViewFacts {
  int displayMode = 0;  // 0 start screen, 1 graph, 2 list face
  int lastPoint = 0;
  bool dataSaved = false;  // the shown data came from a file
  std::int32_t rmsCount = 0;
  std::int32_t trCount = 0;
  std::int32_t epaCount = 0;
  std::int32_t rtCount = 0;
  bool rtHasCh1 = false;
  bool rtHasCh2 = false;
  std::string rtUnitCh1, rtUnitCh2;
  bool siteOnShow = false;  // the STORE data are a library site's timeline
  // The STORE RMS series is read where it lies (a site too long to hold):
  // what needs every point in memory is not offered.
  bool pointsOutside = false;
};

// Fills the data half of the facts from the data set.
void TakeDataFacts(ViewFacts& facts, const CDTDoc& doc);

struct FrameState {
  // The display now shown; None before the first display mode was entered.
  // The six "at most one set" flags of the window are this one value: a rule
  // that needs a flag asks IsActive(mode).
  DisplayMode mode = DisplayMode::None;

  // Mirrors the link: 1 while no real-time run is in progress.
  std::uint8_t realTimeStopped = 1;
  std::uint8_t instrumentPaneShown = 1;
  int instrumentPaneWidth = kInstrumentWidth;
  std::uint8_t infoPanelShown = 1;

  // Save prompts: new data not yet saved; the Download command may ask; the
  // Open and close commands may ask.
  std::uint8_t dataUnsaved = 0;
  std::uint8_t storePromptArmed = 0;
  std::uint8_t realTimePromptArmed = 1;
  // A run's points are held that no data file has: every command that could
  // replace or drop them asks first, whatever the flags above say.
  std::uint8_t runUnsaved = 0;

  // The library site whose merged series the STORE data are ("" for data
  // of the logger or a file). Such data live in the library: they are
  // neither saved nor added to it again, and carry the site's own scaling.
  std::string siteOnShow;

  // Y-axis ends per display kind (index kind - 1) and channel (index 0, 1).
  std::array<std::array<int, 2>, kDisplayKinds> yAxisHigh{};
  std::array<std::array<int, 2>, kDisplayKinds> yAxisLow{};

  FrameState();

  DisplayMode ActiveMode() const { return mode; }
  bool IsActive(DisplayMode m) const { return mode == m; }
  // Shows mode (None: no display mode).
  void SetOnlyMode(DisplayMode m) { mode = m; }
  // Leaves mode if it is the one shown, so that entering it again lays the
  // display out afresh.
  void ClearMode(DisplayMode m) {
    if (mode == m) mode = DisplayMode::None;
  }
  // A real-time display other than EPA is active (RMS, F(Hz), S(VA)).
  bool OtherRealTimeDisplayActive() const {
    return IsRealTimeMode(mode) && mode != DisplayMode::RealTimeEpa;
  }

  // Copies the Y-axis table from / into the settings.
  void TakeAxes(const AppSettings& settings);
  void PutAxes(AppSettings& settings) const;

  // The Instrument toggle: returns the column's new width (0 or 150).
  int ToggleInstrumentColumn();
  // The Info Dialog toggle: returns the panel's new height (0 or 120).
  int ToggleInfoPanel();
};

}  // namespace acv
