#pragma once
// The part of a data file that stats and events analyse: the STORE data or
// the real-time run, asked for with --part or, without it, the STORE data
// when the file holds any.
#include <optional>
#include <string>
#include <vector>

#include "analysis/AnalysisSeries.h"
#include "analysis/BandSummary.h"
#include "analysis/Events.h"
#include "cli/CliOptions.h"
#include "data/CDTDoc.h"
#include "data/EventLimits.h"

namespace acv::cli {

enum class FilePart { Store, RealTime };

// Reads --part: "" or the usage problem.
std::string TakePart(OptionList& options, std::optional<FilePart>& part);

// Chooses the part of the data file at `path` to analyse: `asked`, or what
// the file holds. Returns "" or the failure line (the file lacks the part);
// `needsRms`: the STORE part must hold an RMS series (TR records alone are
// not enough).
std::string ChoosePart(const CDTDoc& doc, const std::string& path, std::optional<FilePart> asked,
                       bool needsRms, FilePart& part);

// ChoosePart, then the chosen part's RMS series in primary units (the
// data set's scaling): "" or the failure line.
std::string ChooseRmsSeries(const CDTDoc& doc, const std::string& path,
                            std::optional<FilePart> asked, bool needsRms, AnalysisSeries& series,
                            FilePart* chosen = nullptr);

// Events as the events commands print them: CSV (header and a line each),
// or the aligned table ("No events.") followed by the band summary.
void PrintEvents(const std::vector<Event>& events, const std::vector<BandShare>& band,
                 const EventLimits& limits, bool csv);

// A strict decimal number for an option's value: "" or the usage problem.
std::string TakeNumber(OptionList& options, const std::string& name, std::optional<double>& value);

// The event limit options --nominal, --dip, --swell, --interruption,
// --hysteresis, --band and, with `overCurrent`, --over-current, each over
// the value `limits` holds: "" or the first usage problem (a value that is
// not a number, a band outside 1 .. 50 %, thresholds out of order).
std::string TakeLimits(OptionList& options, bool overCurrent, EventLimits& limits);

}  // namespace acv::cli
