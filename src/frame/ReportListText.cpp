#include "frame/ReportListText.h"

#include <cstdio>

#include "data/TimeText.h"

namespace acv {

ReportListText::ReportListText(const CDTDoc& doc, DisplayMode mode, const DisplaySetup& setup)
    : doc_(doc), mode_(mode), setup_(setup) {
  if (mode == DisplayMode::StoreTr) {
    trFirst_ = static_cast<std::int64_t>(setup.trRecord) * kTrWavePoints;
  }
}

std::int64_t ReportListText::RowCount() const {
  switch (mode_) {
    case DisplayMode::StoreRms:
      return doc_.rmsCount;
    case DisplayMode::StoreTr:
      return doc_.trCount > 0 ? kTrWavePoints : 0;
    case DisplayMode::RealTimeEpa:
      return kEpaPoints;
    case DisplayMode::RealTimeRms:
    case DisplayMode::RealTimeFreq:
    case DisplayMode::RealTimeS:
      return doc_.rtCount;
    default:
      return 0;
  }
}

std::vector<std::string> ReportListText::Headers() const {
  if (mode_ == DisplayMode::RealTimeS) return {"No.", "Time", "S(VA)", ""};
  return {"No.", "Time", "CH1", "CH2"};
}

std::string ReportListText::Value(std::int64_t i, int channel) const {
  const bool ch1 = channel == 0;
  float v = 0.0f;
  const auto at = [](const auto& values, std::int64_t index, auto get) {
    return index >= 0 && index < static_cast<std::int64_t>(values.size())
               ? get(values[static_cast<std::size_t>(index)])
               : 0.0f;
  };
  switch (mode_) {
    case DisplayMode::StoreRms:
      v = at(ch1 ? doc_.rmsCh1 : doc_.rmsCh2, i, [](float f) { return f; });
      break;
    case DisplayMode::StoreTr:
      v = at(doc_.trWaves, trFirst_ + i, [](float f) { return f; });
      break;
    case DisplayMode::RealTimeEpa:
      v = at(doc_.epaWave, i, [ch1](const ChannelPair& p) { return ch1 ? p.ch1 : p.ch2; });
      break;
    case DisplayMode::RealTimeRms:
      v = at(doc_.rtRms, i, [ch1](const ChannelPair& p) { return ch1 ? p.ch1 : p.ch2; });
      break;
    case DisplayMode::RealTimeFreq:
      v = at(doc_.rtFreq, i, [ch1](const ChannelPair& p) { return ch1 ? p.ch1 : p.ch2; });
      break;
    case DisplayMode::RealTimeS:
      v = at(doc_.rtRms, i, [](const ChannelPair& p) { return p.ch1 * p.ch2; });
      break;
    default:
      break;
  }
  char number[64];
  std::snprintf(number, sizeof number, "%.1f", static_cast<double>(v));
  const std::string text = std::string(number) + " ";
  const bool raw = mode_ == DisplayMode::StoreTr || mode_ == DisplayMode::RealTimeEpa;
  if (!raw && (text == "0.0 " || text == "-0.0 ")) return "LO";
  return text + (ch1 ? setup_.ch1UnitText : setup_.ch2UnitText);
}

std::string ReportListText::Cell(std::int64_t row, int column) const {
  switch (column) {
    case 0:
      return std::to_string(row + 1);
    case 1: {
      TimeStamp t = 0;
      if (mode_ == DisplayMode::StoreRms) {
        t = doc_.RmsSampleTime(row);
      } else if (mode_ == DisplayMode::StoreTr) {
        t = doc_.TrSampleTime(trFirst_ + row);
      } else {
        t = doc_.RealTimeSampleTime(row);
      }
      return FormatTime(t, kSampleTimeFormat);
    }
    case 2:
      return setup_.plotCh1 ? Value(row, 0) : std::string();
    case 3:
      return setup_.plotCh2 && mode_ != DisplayMode::RealTimeS ? Value(row, 1) : std::string();
    default:
      return {};
  }
}

}  // namespace acv
