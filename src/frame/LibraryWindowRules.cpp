#include "frame/LibraryWindowRules.h"

#include "data/EventLimits.h"
#include "data/NumberText.h"

namespace acv {
namespace {

std::string TimeOrEmpty(const std::optional<TimeStamp>& t) {
  return t ? FormatTime(*t, kCsvTimeFormat) : std::string();
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string OneLine(std::string cell) {
  for (char& c : cell) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return cell;
}

// Primary volts up to a transmission line's, and never zero: every band
// and limit is a share of it.
constexpr double kNominalMax = 1e6;

}  // namespace

const std::vector<std::string>& SiteColumns() {
  static const std::vector<std::string> columns = {"site", "measurements", "first", "last",
                                                   "points"};
  return columns;
}

std::vector<std::string> SiteCells(const LibrarySiteRow& s) {
  return {s.name, std::to_string(s.measurements), TimeOrEmpty(s.first), TimeOrEmpty(s.last),
          std::to_string(s.points)};
}

const std::vector<std::string>& MeasurementColumns() {
  static const std::vector<std::string> columns = {
      "id",         "site",     "kind",     "start",      "end",    "points", "duplicates",
      "interval_s", "ch1_unit", "ch2_unit", "tr_records", "source", "sha256"};
  return columns;
}

std::vector<std::string> MeasurementCells(const LibraryMeasurementRow& m) {
  return {std::to_string(m.id),
          m.site,
          m.kind,
          FormatTime(m.start, kCsvTimeFormat),
          FormatTime(m.end, kCsvTimeFormat),
          std::to_string(m.points),
          std::to_string(m.duplicates),
          std::to_string(m.interval),
          m.units[0],
          m.units[1],
          std::to_string(m.trRecords),
          m.source,
          m.sha256};
}

std::string ShownCell(const std::string& column, const std::string& value) {
  // Twelve digits tell a library's files apart; all 64 would take the
  // window's width.
  constexpr std::size_t kShown = 12;
  if (column != "sha256" || value.size() <= kShown + 1) return value;
  return value.substr(0, kShown) + "\u2026";
}

std::string RowsCopyText(const std::vector<std::string>& columns,
                         const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  const auto line = [&text](const std::vector<std::string>& cells) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      if (c > 0) text += '\t';
      text += OneLine(cells[c]);
    }
    text += '\n';
  };
  line(columns);
  for (const auto& row : rows) line(row);
  return text;
}

std::string RemoveQuestion(const LibraryMeasurementRow& m) {
  return "Remove measurement " + std::to_string(m.id) + " (" + m.source + ", " +
         FormatTime(m.start, kSampleTimeFormat) + " .. " + FormatTime(m.end, kSampleTimeFormat) +
         ") from site " + m.site +
         "?\n\nIts points, its TR records and its events leave the library; points that a later "
         "measurement of the site repeated stay with that one. The data file it came from is "
         "not touched.";
}

SiteTexts SiteTextsOf(const SiteValues& site) {
  SiteTexts t;
  t.nominal = FormatNumber("%.10g", site.nominal);
  t.frequency = FormatNumber("%g", site.frequency);
  t.scaling = ScaleTextsOf(site.scaling);
  t.notes = site.notes;
  return t;
}

SiteCheck CheckSiteTexts(const SiteTexts& texts) {
  SiteCheck check;
  SiteValues& v = check.values;
  if (!ParseDecimal(Trimmed(texts.nominal), v.nominal) || !(v.nominal > 0.0) ||
      v.nominal > kNominalMax) {
    check.problem =
        "The nominal voltage must be a number of volts above 0, not '" + texts.nominal + "'.";
    return check;
  }
  double frequency = 0.0;
  const bool known = ParseDecimal(Trimmed(texts.frequency), frequency) &&
                     (frequency == kSiteFrequencies[0] || frequency == kSiteFrequencies[1]);
  if (!known) {
    check.problem = "The line frequency must be 50 or 60 Hz, not '" + texts.frequency + "'.";
    return check;
  }
  v.frequency = frequency;
  const ScalingCheck scaling = CheckScaleTexts(texts.scaling);
  if (!scaling.problem.empty()) {
    check.problem = scaling.problem;
    return check;
  }
  v.scaling = scaling.scaling;
  v.notes = texts.notes;
  return check;
}

}  // namespace acv
