#pragma once
// How this program turns the logger's values into primary units. A current
// clamp or a voltage transformer hands the logger a fraction of the real
// quantity (the ratio: primary per secondary), and the TR records and the
// real-time waves are raw 16-bit counts (the sample scale: volts or amperes
// per count). Both apply only where values are shown, analysed or exported;
// data files and the spreadsheet export keep what the logger sent.
#include <array>
#include <string>

namespace acv {

class IniFile;

struct ChannelScale {
  double ratio = 1.0;        // primary per secondary, for every value of the channel
  double sampleScale = 1.0;  // units per count, for raw samples (TR, wave) and their RMS

  // Factor for a value the logger reports in the channel's unit (STORE RMS).
  double OfValue() const { return ratio; }
  // Factor for a raw sample count.
  double OfSample() const { return ratio * sampleScale; }
  bool IsIdentity() const { return ratio == 1.0 && sampleScale == 1.0; }
  bool operator==(const ChannelScale&) const = default;
};

// Index 0 = CH1, 1 = CH2.
using ChannelScaling = std::array<ChannelScale, 2>;

// Decimals that keep one raw count visible once scaled by `factor`: 0 for a
// factor of 1 or more (counts stay whole numbers), 2 for 0.01, at most 6.
int SampleDecimals(double factor);

// The range every ratio and scale must lie in.
inline constexpr double kScaleMin = 1e-6;
inline constexpr double kScaleMax = 1e6;

// "" when `value` is a usable ratio or scale, else why not (for a message
// naming the field: "must lie between 1e-06 and 1e+06").
std::string ScaleValueProblem(double value);

// A ratio or scale as typed or kept ("20", "0.0125", "1e-3"): false when it
// is not a number or lies outside the range.
bool ParseScaleText(const std::string& text, double& value);

// The section "CHANNELScaling" of the settings file. A key that is missing
// or not a number in range keeps its default (1).
ChannelScaling ReadChannelScaling(const IniFile& ini);
// Written once the scaling differs from the defaults (or the section exists).
void WriteChannelScaling(IniFile& ini, const ChannelScaling& scaling);

}  // namespace acv
