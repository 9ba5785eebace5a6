#include "frame/CompareChoices.h"

#include <cstdio>

#include "analysis/Compliance.h"

namespace acv {
namespace {

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// "2026-03-02T10:00:00" (or with a blank for the T, or without seconds) in
// local time.
std::optional<TimeStamp> ParseLocal(const std::string& text) {
  LocalFields f;
  char sep = 0;
  char tail = 0;
  const int read = std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%c", &f.year, &f.month,
                               &f.day, &sep, &f.hour, &f.minute, &f.second, &tail);
  if (read == 6) f.second = 0;
  if ((read != 6 && read != 7) || (sep != 'T' && sep != ' ')) return std::nullopt;
  if (f.month < 1 || f.month > 12 || f.day < 1 || f.day > 31 || f.hour > 23 || f.minute > 59 ||
      f.second > 59 || f.hour < 0 || f.minute < 0 || f.second < 0) {
    return std::nullopt;
  }
  return MakeLocalTime(f);
}

}  // namespace

std::vector<CompareSpan> CompareSpansOf(const std::vector<LibraryMeasurementRow>& measurements,
                                        std::optional<TimeStamp> first,
                                        std::optional<TimeStamp> last) {
  std::vector<CompareSpan> spans;
  spans.reserve(measurements.size());
  for (const LibraryMeasurementRow& m : measurements) {
    spans.push_back(
        {"measurement " + std::to_string(m.id) + " (" + m.source + ")", m.start, m.end - 1});
  }
  if (!first || !last || *last <= *first) return spans;
  for (TimeStamp week = WeekStartOf(*first); week < *last;) {
    // The next Monday 00:00: a week across a clock change is an hour
    // longer or shorter than 7 x 24 h.
    const TimeStamp next = WeekStartOf(week + 8 * 86400 - 86400 / 2);
    spans.push_back({"week from " + FormatTime(week, "%Y-%m-%d"), week, next - 1});
    week = next;
  }
  return spans;
}

std::optional<CompareSpan> ParseCompareSpan(const std::string& text, std::string* problem) {
  const std::size_t dots = text.find("..");
  const std::string example = "such as 2026-03-02T00:00:00..2026-03-08T23:59:59";
  if (dots == std::string::npos) {
    *problem = "A span is FROM..TO, " + example + ", not '" + text + "'.";
    return std::nullopt;
  }
  const std::optional<TimeStamp> from = ParseLocal(Trimmed(text.substr(0, dots)));
  const std::optional<TimeStamp> to = ParseLocal(Trimmed(text.substr(dots + 2)));
  if (!from || !to) {
    *problem = "A span's ends are local times " + example + ", not '" + text + "'.";
    return std::nullopt;
  }
  if (*to < *from) {
    *problem = "The span '" + text + "' ends before it starts.";
    return std::nullopt;
  }
  return CompareSpan{Trimmed(text), *from, *to};
}

std::string CompareSpanText(const CompareSpan& span) {
  return FormatTime(span.from, kCsvTimeFormat) + ".." + FormatTime(span.to, kCsvTimeFormat);
}

}  // namespace acv
