#pragma once
// The value rules of the Channel Scaling dialog, without widgets: the four
// fields as the dialog opens, what OK checks (each field a number in range,
// a bad one named in the message) and the text that tells how to find a
// channel's sample scale.
#include <array>
#include <cstddef>
#include <string>

#include "data/ChannelScaling.h"

namespace acv {

// CH1 ratio, CH1 sample scale, CH2 ratio, CH2 sample scale.
inline constexpr std::size_t kScaleFieldCount = 4;
using ScaleTexts = std::array<std::string, kScaleFieldCount>;

// "CH1 ratio", "CH1 sample scale", ...: the fields' labels, which also name
// them in a message.
const char* ScaleFieldName(std::size_t field);

// The fields as the dialog opens: the shortest decimal that reads back as
// the value ("20", "0.0125").
ScaleTexts ScaleTextsOf(const ChannelScaling& scaling);

// OK: the scaling the fields give, or in `problem` the message about the
// first bad field and its index in `field`; then nothing may be applied.
struct ScalingCheck {
  ChannelScaling scaling;
  std::string problem;
  std::size_t field = 0;
};
ScalingCheck CheckScaleTexts(const ScaleTexts& texts);

// How to find the sample scale, shown in the dialog.
inline constexpr const char* kScaleHowTo =
    "Ratio: primary per secondary of the clamp or transformer in front of the channel (1 when "
    "the logger measures directly).\n"
    "Sample scale: volts or amperes per count of the raw samples (TR records, the real-time "
    "wave). To find it, apply a known voltage or current, read the real-time RMS with the "
    "sample scale set to 1, and divide the known value by the RMS read.";

}  // namespace acv
