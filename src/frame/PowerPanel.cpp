#include "frame/PowerPanel.h"

#include <cstdlib>

#include "data/NumberText.h"

namespace acv {

namespace {

bool IsNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("-.0123456789") == std::string::npos;
}

// A number text times `factor`, in the same number of decimals.
std::string Scaled(const std::string& text, double factor, const char* format) {
  if (factor == 1.0) return text;
  return FormatNumber(format, std::strtod(text.c_str(), nullptr) * factor);
}

}  // namespace

std::string PowerPanelData::RmsText(std::size_t c) const {
  const std::string& rms = channel.at(c).rms;
  if (!IsNumber(rms)) return rms;
  const std::string shown = Scaled(rms, factor.at(c), "%.1f");
  return unit.at(c).empty() ? shown : shown + " " + unit.at(c);
}

std::string PowerPanelData::ApparentPowerText() const {
  if (!IsNumber(apparentPower)) return apparentPower;
  return Scaled(apparentPower, factor[0] * factor[1], "%.0f");
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
