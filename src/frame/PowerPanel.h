#pragma once
// The texts of the Electric Power Analysis panel. The panel shows the RMS of
// each channel, the apparent power and, for a voltage/current pair, the
// active and reactive power, power factor and phases; the other channel texts
// belong to fields it keeps hidden, and some writers still fill them. The
// panel only displays: the wave analysis writes the channel texts, the REAL
// TIME EPA display the apparent power, the run's power analysis the rest.
#include <array>
#include <string>

#include "logger/PowerAnalysis.h"
#include "logger/WaveAnalysis.h"

namespace acv {

struct PowerPanelData {
  // Per channel (index 0 = CH1): frequency, period, RMS, peak-to-peak,
  // amplitude and the spare field beside it. RMS is shown, the rest hidden.
  std::array<PowerPanelTexts, 2> channel{};
  std::string apparentPower;  // "S(VA)", shown
  // P, Q, power factor, DIF Phi and each channel's Phi of the latest point,
  // shown.
  PowerFactorTexts power;
  // Labels of the phase and power factor fields, set when the panel opens.
  std::string phaseLabel1, phaseLabel2, phaseDifferenceLabel, powerFactorLabel;
  // The radio pair "Horizontal" / "Vertical" of the template.
  bool horizontalChecked = false;
  bool verticalChecked = false;
  // The unit of each channel's RMS ("V", "A"), as the run reported it.
  std::array<std::string, 2> unit;
  // Each channel's factor into primary units (ratio x sample scale). The
  // texts above stay as measured from the raw counts, so the "LO" rules keep
  // their raw thresholds; the shown texts are scaled.
  std::array<double, 2> factor{1.0, 1.0};

  // Channel c's RMS as the large digits show it: a number in primary units
  // with its unit (when known); "NONE", "LO" and an empty text as they are.
  std::string RmsText(std::size_t c) const;
  // S(VA) as shown: the product of the two scaled RMS values; words as they are.
  std::string ApparentPowerText() const;

  // At the first block of a real-time run: the value texts the run will
  // write (RMS, period, frequency, amplitude and spare of both channels, S,
  // and the power texts) become "NONE".
  void Reset();
  // The window was just created: its labels and radio buttons.
  void Open();
  // The owner closed the panel: channel 1's period, frequency, RMS and
  // peak-to-peak are emptied.
  void ClosedByOwner();
};

}  // namespace acv
