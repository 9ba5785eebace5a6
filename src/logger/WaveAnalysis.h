#pragma once
// Turns one captured real-time wave of one channel (590 raw samples, 0.05471 ms
// apart) into an RMS value and a frequency, and into the texts the power
// analysis panel shows for that channel. A pure function: the caller keeps the
// texts between calls, because some outcomes leave them as they were.
#include <array>
#include <span>
#include <string>

#include "data/CDTDoc.h"

namespace acv {

// The per-channel texts of the power analysis panel, by their labels.
struct PowerPanelTexts {
  std::string frequency;   // "F(Hz)"
  std::string period;      // "T(ms)"
  std::string rms;         // "RMS"
  std::string peakToPeak;  // "Vp-p"
  std::string amplitude;   // " Am "
  std::string spare;       // the unlabelled field beside " Am "

  bool operator==(const PowerPanelTexts&) const = default;
};

// What the panel shows after its reset at the start of a real-time run.
inline constexpr const char* kPanelNone = "NONE";
// Marks a frequency that could not be measured, and the RMS of a wave without
// usable signal.
inline constexpr float kNoFrequency = 400.0f;

// The whole periods the RMS was taken over: samples first..last inclusive,
// from one zero crossing to another `periods` periods later. Empty
// (periods 0) when the wave has no usable signal.
struct WaveWindow {
  int first = -1;
  int last = -1;
  int periods = 0;

  bool operator==(const WaveWindow&) const = default;
};

struct WaveResult {
  float rms = 0.0f;                // raw sample units; 0 = no usable signal
  float frequency = kNoFrequency;  // Hz, one decimal; 400 = none
  PowerPanelTexts texts;           // the previous texts with this wave's changes
  WaveWindow window;               // where rms was measured
};

// Analyses the samples of one channel. `previous` are the texts the panel
// showed before; fields this wave does not speak about keep their values.
WaveResult AnalyseWave(std::span<const float> wave, const PowerPanelTexts& previous);

// The latest captured real-time wave of both channels (index 0 = CH1) and
// what the analysis found in each channel it was asked for.
struct CapturedWaves {
  std::array<std::array<float, kEpaPoints>, 2> samples{};
  std::array<WaveResult, 2> result{};
};

// Analyses the document's captured wave (epaWave) of each channel in
// `channels`: the run at every point, the power panel when REAL TIME EPA
// first shows the wave. `texts` hold the panel's texts before and receive
// those of the analysed channels.
CapturedWaves AnalyseCapturedWaves(const CDTDoc& doc, std::array<bool, 2> channels,
                                   std::array<PowerPanelTexts, 2>& texts);

// Rounds a measured frequency to the stored tenth: halves go upward.
float RoundFrequency(double hz);

}  // namespace acv
