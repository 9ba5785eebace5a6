#pragma once
// The analysis of the display on show, for the Statistics and Events windows
// and the graph's event shading: which series the display draws (STORE RMS;
// the run's RMS behind the real-time RMS, F(Hz) and S(VA) displays; the TR
// record on show), its span statistics, the events of its part of the data
// set and what choosing one of them shows.
//
// Everything is worked out when first asked after a change, never per cursor
// move: the span statistics are prepared once per data change and then answer
// any span in O(log n); the events are found once per data or limits change,
// and those of a growing real-time run are extended over its new points.
// During a real-time run nothing is computed for a window that is not open.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/Events.h"
#include "analysis/SpanStatistics.h"
#include "data/CDTDoc.h"
#include "data/EventLimits.h"
#include "frame/DisplayModes.h"
#include "graph/geometry/EventBands.h"

namespace acv {

// The part of the data set a display belongs to: the events listed for it.
enum class DataPart { None, Store, RealTime };
DataPart PartOfDisplay(DisplayMode mode);

// The span the Statistics window shows, in points of the analysed series
// (0-based, inclusive); empty when the series has no point in it.
struct StatisticsSpan {
  std::int64_t first = 0, last = -1;
  bool betweenCursors = false;  // A-B, else the visible span
  bool Empty() const { return last < first; }
};

// Cursor A and B (points of the series, -1 when not there) and the visible
// span as a span of a series of `count` points: A-B in either order when
// both are there, else the visible span (the whole series while the graph
// shows none); clipped to the series.
StatisticsSpan ChooseStatisticsSpan(std::int64_t cursorA, std::int64_t cursorB,
                                    std::pair<std::int64_t, std::int64_t> visible,
                                    std::int64_t count);

// What choosing an event shows: the display, the TR record for a transient
// (-1 otherwise), and the points of the display's series (0-based) the
// graph zooms to with A on the first and B on the last.
struct EventTarget {
  DisplayMode mode = DisplayMode::None;
  int trRecord = -1;
  std::int64_t first = 0, last = 0;
};
// An event of the given part; nothing when the data set no longer holds it.
std::optional<EventTarget> TargetOfEvent(const Event& e, DataPart part, const CDTDoc& doc);

// Runs of points (first 0-based, count) of a series no event may run
// across; the level events found in each run alone, numbered over the
// whole series.
using SeriesRuns = std::vector<std::pair<std::int64_t, std::int64_t>>;
std::vector<Event> LevelEventsOfRuns(const AnalysisSeries& series, const SeriesRuns& runs,
                                     const EventLimits& limits);

class DisplayAnalysis {
 public:
  explicit DisplayAnalysis(const CDTDoc& doc);

  // The display on show (and its TR record in STORE TR).
  void ShowDisplay(DisplayMode mode, int trRecord);
  // The data set changed in any way, or only the run grew by new points.
  void DataChanged();
  void RunGrew();
  void SetLimits(const EventLimits& limits);
  // The STORE series' runs when it joins several downloads (a library
  // site's timeline, whose gaps between downloads no event bridges); none
  // for a file's series, whose events run over missing points.
  void SetStoreRuns(SeriesRuns runs);
  const EventLimits& Limits() const { return limits_; }

  DisplayMode Mode() const { return mode_; }
  DataPart Part() const { return PartOfDisplay(mode_); }
  // The series the display draws; count 0 where there is none (the start
  // screen, REAL TIME EPA).
  const AnalysisSeries& Series();
  // "STORE RMS", "REAL TIME RMS", "STORE TR record 3"; "" without a series.
  std::string SeriesName() const;

  // The statistics of series points first .. last (a span that is not empty).
  SpanStatistics Statistics(const StatisticsSpan& span);
  // The events of the display's part (none without one).
  const std::vector<Event>& Events();
  // The graph's shading in STORE RMS and the real-time RMS display, else
  // null; the same object as long as the events it shades stay the same.
  std::shared_ptr<const EventShading> Shading();

 private:
  void Forget();

  const CDTDoc& doc_;
  DisplayMode mode_ = DisplayMode::None;
  int trRecord_ = 0;
  EventLimits limits_;

  std::optional<AnalysisSeries> series_;
  std::unique_ptr<SpanIndex> index_;
  std::optional<std::vector<Event>> events_;  // of the STORE data
  SeriesRuns storeRuns_;
  std::unique_ptr<EventScanner> runEvents_;  // of the real-time run
  bool runGrew_ = false;                     // points the scanner has not read yet
  std::shared_ptr<const EventShading> shading_;
};

// The Statistics window's text, as shown and copied: the series and the span
// ("between markers A and B" or "visible span"), then the statistics lines.
std::string StatisticsText(const std::string& seriesName, const SpanStatistics& s,
                           bool betweenCursors);
// What the window says where there is nothing to measure.
inline constexpr const char* kNoStatisticsText = "No statistics for this display.";
inline constexpr const char* kNoEventsText = "No events with the current limits.";

// The given rows of the event list as tab-separated text: a line of column
// titles, then one line per row in ascending order.
std::string EventsCopyText(const std::vector<Event>& events, std::vector<std::int64_t> rows,
                           const char* timePattern);

}  // namespace acv
