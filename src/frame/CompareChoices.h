#pragma once
// The Compare window's choices without widgets: the spans of a site a user
// compares (each of its measurements, each of its weeks, or a range typed
// as FROM..TO) and the range text read back.
#include <optional>
#include <string>
#include <vector>

#include "data/TimeText.h"
#include "frame/LibraryWindowRules.h"

namespace acv {

// A span offered: its label and its time range (inclusive).
struct CompareSpan {
  std::string label;
  TimeStamp from = 0, to = 0;
  bool operator==(const CompareSpan&) const = default;
};

// The site's measurements (in their order), then the weeks from Monday
// 00:00 local time that hold any of the site's points from `first` to just
// before `last`.
std::vector<CompareSpan> CompareSpansOf(const std::vector<LibraryMeasurementRow>& measurements,
                                        std::optional<TimeStamp> first,
                                        std::optional<TimeStamp> last);

// "2026-03-02T00:00:00..2026-03-09T00:00:00" (local time, blanks allowed
// around the parts; the end inclusive) as a span; nullopt and *problem when
// it is not one.
std::optional<CompareSpan> ParseCompareSpan(const std::string& text, std::string* problem);
// A span as such a text.
std::string CompareSpanText(const CompareSpan& span);

}  // namespace acv
