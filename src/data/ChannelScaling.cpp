#include "data/ChannelScaling.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "data/IniFile.h"
#include "data/NumberText.h"

namespace acv {
namespace {

constexpr const char* kSection = "CHANNELScaling";

struct ScaleKey {
  const char* name;
  int channel;
  double ChannelScale::*field;
};
constexpr ScaleKey kKeys[] = {
    {"RATIO1", 0, &ChannelScale::ratio},
    {"SCALE1", 0, &ChannelScale::sampleScale},
    {"RATIO2", 1, &ChannelScale::ratio},
    {"SCALE2", 1, &ChannelScale::sampleScale},
};

}  // namespace

std::string ScaleValueProblem(double value) {
  if (std::isfinite(value) && value >= kScaleMin && value <= kScaleMax) return {};
  return "must be a number between " + FormatNumber("%g", kScaleMin) + " and " +
         FormatNumber("%g", kScaleMax);
}

ChannelScaling ReadChannelScaling(const IniFile& ini) {
  ChannelScaling scaling;
  for (const ScaleKey& key : kKeys) {
    const std::optional<std::string> text = ini.Get(kSection, key.name);
    double value = 0.0;
    if (text && ParseScaleText(*text, value)) scaling[key.channel].*key.field = value;
  }
  return scaling;
}

void WriteChannelScaling(IniFile& ini, const ChannelScaling& scaling) {
  if (scaling == ChannelScaling{} && !ini.Get(kSection, kKeys[0].name)) return;
  for (const ScaleKey& key : kKeys) {
    ini.Set(kSection, key.name, FormatNumber("%.10g", scaling[key.channel].*key.field));
  }
}

int SampleDecimals(double factor) {
  if (!(factor > 0.0) || factor >= 1.0) return 0;
  // A little slack: 0.1 in binary lies just above a tenth.
  return std::min(6, static_cast<int>(std::ceil(-std::log10(factor) - 1e-9)));
}

bool ParseScaleText(const std::string& text, double& value) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  double parsed = 0.0;
  const auto [ptr, ec] = std::from_chars(begin, end, parsed);
  if (begin == end || ec != std::errc() || ptr != end || !ScaleValueProblem(parsed).empty()) {
    return false;
  }
  value = parsed;
  return true;
}

}  // namespace acv
