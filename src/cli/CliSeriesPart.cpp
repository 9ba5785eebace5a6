#include "cli/CliSeriesPart.h"

#include <cstdio>

#include "analysis/AnalysisText.h"
#include "data/EventLimits.h"
#include "data/NumberText.h"
#include "data/RealTimeExport.h"

namespace acv::cli {

std::string TakePart(OptionList& options, std::optional<FilePart>& part) {
  const std::optional<std::string> text = options.Take("--part", "store or realtime");
  if (!text) return {};
  if (*text == "store") {
    part = FilePart::Store;
  } else if (*text == "realtime") {
    part = FilePart::RealTime;
  } else {
    return "--part must be store or realtime";
  }
  return {};
}

std::string ChoosePart(const CDTDoc& doc, const std::string& path, std::optional<FilePart> asked,
                       bool needsRms, FilePart& part) {
  const bool store = needsRms ? doc.rmsCount > 0 : HoldsStoreData(doc);
  const bool run = HoldsRun(doc);
  part = asked.value_or(store || !run ? FilePart::Store : FilePart::RealTime);
  if (part == FilePart::RealTime && !run) return "'" + path + "' holds no real-time points";
  if (part == FilePart::Store && !store) {
    return "'" + path + "' holds no STORE " + (needsRms ? "RMS series" : "data") +
           (run ? " (it holds a real-time run: --part realtime)" : "");
  }
  return {};
}

std::string ChooseRmsSeries(const CDTDoc& doc, const std::string& path,
                            std::optional<FilePart> asked, bool needsRms, AnalysisSeries& series,
                            FilePart* chosen) {
  FilePart part = FilePart::Store;
  if (std::string problem = ChoosePart(doc, path, asked, needsRms, part); !problem.empty()) {
    return problem;
  }
  series = part == FilePart::Store ? StoreRmsSeries(doc, doc.scaling)
                                   : RealTimeRmsSeries(doc, doc.scaling);
  if (chosen) *chosen = part;
  return {};
}

void PrintEvents(const std::vector<Event>& events, const std::vector<BandShare>& band,
                 const EventLimits& limits, bool csv) {
  if (csv) {
    std::printf("%s\n", kEventCsvHeader);
    for (std::size_t i = 0; i < events.size(); ++i) {
      std::printf("%s\n", EventCsvLine(static_cast<int>(i) + 1, events[i]).c_str());
    }
    return;
  }
  if (events.empty()) {
    std::printf("No events.\n");
  } else {
    std::fputs(EventTableText(events, kCsvTimeFormat).c_str(), stdout);
  }
  if (!band.empty()) {
    std::printf("\n%s\n", BandHeading(limits).c_str());
    for (const BandShare& share : band) std::printf("%s\n", BandLine(share).c_str());
  }
}

std::string TakeNumber(OptionList& options, const std::string& name, std::optional<double>& value) {
  const std::optional<std::string> text = options.Take(name, "a number");
  if (!text) return {};
  double parsed = 0.0;
  if (!ParseDecimal(*text, parsed)) return name + " needs a number, not '" + *text + "'";
  value = parsed;
  return {};
}

std::string TakeLimits(OptionList& options, bool overCurrent, EventLimits& limits) {
  const struct {
    const char* name;
    double EventLimits::*field;
  } numbers[] = {{"--nominal", &EventLimits::nominal},
                 {"--dip", &EventLimits::dipPct},
                 {"--swell", &EventLimits::swellPct},
                 {"--interruption", &EventLimits::interruptionPct},
                 {"--hysteresis", &EventLimits::hysteresisPct},
                 {"--over-current", &EventLimits::overCurrent},
                 {"--band", &EventLimits::bandPct}};
  std::string problem;
  // Every option is taken, so that none is left over as an unknown word.
  for (const auto& n : numbers) {
    if (!overCurrent && n.field == &EventLimits::overCurrent) continue;
    std::optional<double> value;
    const std::string numberProblem = TakeNumber(options, n.name, value);
    if (problem.empty()) problem = numberProblem;
    if (value) limits.*n.field = *value;
  }
  if (!problem.empty()) return problem;
  if (!(limits.bandPct >= kBandPctLow && limits.bandPct <= kBandPctHigh)) {
    return "--band needs a number from 1 to 50 (% of Un), not " +
           FormatNumber("%g", limits.bandPct);
  }
  return EventLimitsProblem(limits);
}

}  // namespace acv::cli
