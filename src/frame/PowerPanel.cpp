#include "frame/PowerPanel.h"

namespace acv {

std::string PowerPanelData::RmsText(std::size_t c) const {
  const std::string& rms = channel.at(c).rms;
  const bool number = !rms.empty() && rms.find_first_not_of("-.0123456789") == std::string::npos;
  if (!number || unit.at(c).empty()) return rms;
  return rms + " " + unit.at(c);
}

void PowerPanelData::Reset() {
  for (PowerPanelTexts& c : channel) {
    c.rms = c.period = c.frequency = c.amplitude = c.spare = kPanelNone;
  }
  apparentPower = kPanelNone;
  power = PowerTexts(std::nullopt);
}

void PowerPanelData::Open() {
  horizontalChecked = false;
  verticalChecked = true;
  phaseLabel1 = phaseLabel2 = "Phi";
  phaseDifferenceLabel = "DIF Phi";
  powerFactorLabel = "Power factor";
}

void PowerPanelData::ClosedByOwner() {
  PowerPanelTexts& c = channel[0];
  c.period.clear();
  c.frequency.clear();
  c.rms.clear();
  c.peakToPeak.clear();
}

}  // namespace acv
