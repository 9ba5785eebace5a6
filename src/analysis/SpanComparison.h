#pragma once
// Two spans side by side, "before" (A) and "after" (B) a change at a site
// (a capacitor bank, a new load): each span's statistics, percentiles, band
// summary and events by kind, and the differences B - A a user reads first:
// per channel the mean, minimum, maximum and 95th percentile, the mean
// apparent power, the energy and the count of each kind of event. The CLI
// and the Compare window print the same figures through this rule.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/BandSummary.h"
#include "analysis/Distribution.h"
#include "analysis/Events.h"
#include "analysis/SpanStatistics.h"

namespace acv {

inline constexpr std::array<EventKind, 5> kComparedEventKinds = {
    EventKind::Dip, EventKind::Interruption, EventKind::Swell, EventKind::OverCurrent,
    EventKind::Transient};

// One span's figures.
struct ComparedSpan {
  SpanStatistics stats;
  std::array<Percentiles, 2> percentiles{};
  std::vector<BandShare> band;
  std::array<std::int64_t, 5> events{};  // per kind, in kComparedEventKinds order
};

// The events of a span counted by kind.
std::array<std::int64_t, 5> CountEventKinds(const std::vector<Event>& events);

// B - A of a channel's figures; nullopt where either span lacks the figure
// (no finite value, no percentile) or the channel is absent or in another
// unit in one of them.
struct ChannelDifference {
  std::optional<double> mean, min, max, p95;
};

struct SpanComparison {
  ComparedSpan a, b;
  std::array<ChannelDifference, 2> channels;
  std::optional<double> meanVa, energyVah;  // when both spans are V/A pairs
  std::array<std::int64_t, 5> events{};     // B - A per kind
};

SpanComparison CompareSpans(ComparedSpan a, ComparedSpan b);

// {"a":{...},"b":{...},"difference":{...}}: a and b in the form of the
// statistics' JSON (StatisticsJson); difference holds "ch1"/"ch2" with
// "mean", "min", "max", "p95" (null where there is none), then "mean_va" and
// "energy_vah" of a V/A pair and "events" with the kinds' counts.
std::string ComparisonJson(const SpanComparison& c);

// The two spans side by side with B - A: a header line, then one aligned
// line per figure.
std::vector<std::string> ComparisonLines(const SpanComparison& c, const char* timePattern);

}  // namespace acv
