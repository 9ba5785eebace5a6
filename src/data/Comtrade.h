#pragma once
// COMTRADE (IEEE C37.111-1999 / IEC 60255-24) files of a waveform record:
// the configuration text (.cfg) and the samples (.dat), the exchange format
// that protection and power-quality tools read. Samples are written as the
// logger's raw 16-bit counts with the conversion factor `a` in the .cfg, so
// nothing is rounded: a reader multiplies each count by `a` and gets the
// value in primary units.
#include <string>
#include <vector>

#include "data/ChannelScaling.h"
#include "data/TimeText.h"

namespace acv {

class CDTDoc;
struct StoreFamily;

struct ComtradeChannel {
  std::string name;  // "CH1" or "CH2"
  std::string unit;  // "V" or "A"
  ChannelScale scale;
  std::vector<float> samples;  // raw counts, one per sample of the record
};

struct ComtradeRecord {
  std::string station;                    // commas and line breaks are replaced when written
  double lineFrequency = 50.0;            // Hz
  double sampleIntervalMs = 0.0;          // spacing of the samples
  TimeStamp start = 0;                    // the first sample, also the trigger time
  std::vector<ComtradeChannel> channels;  // all with the same number of samples
};

enum class ComtradeFormat { Binary, Ascii };

struct ComtradeFiles {
  std::string cfg;      // text, every line ending in CR LF
  std::string dat;      // bytes (BINARY) or text (ASCII)
  std::string problem;  // "" or why the record cannot be written
};

// Both files of the record. A sample that is not a whole number in
// -32767 .. 32767 is refused (problem set, files empty) rather than clipped:
// -32768 marks a missing sample in the format.
ComtradeFiles FormatComtrade(const ComtradeRecord& record, ComtradeFormat format);

// Writes BASE.cfg and BASE.dat through the one file writer, both or
// neither. "" or the error.
std::string SaveComtradeFiles(const ComtradeFiles& files, const std::string& basePath);

// TR record `record` (0-based) of the STORE data, with the channel's scaling.
// Empty channels when the record's channel code is unknown.
ComtradeRecord ComtradeOfTrRecord(const StoreFamily& store, int record,
                                  const ChannelScaling& scaling);
// The real-time wave on show: the present channels of the run, timed at the
// run's latest point.
ComtradeRecord ComtradeOfWave(const CDTDoc& doc, const ChannelScaling& scaling);

}  // namespace acv
