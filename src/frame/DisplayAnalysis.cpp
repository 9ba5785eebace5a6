#include "frame/DisplayAnalysis.h"

#include <algorithm>

#include "analysis/AnalysisText.h"
#include "frame/DataLists.h"

namespace acv {

DataPart PartOfDisplay(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::StoreRms:
    case DisplayMode::StoreTr:
      return DataPart::Store;
    case DisplayMode::RealTimeEpa:
    case DisplayMode::RealTimeRms:
    case DisplayMode::RealTimeFreq:
    case DisplayMode::RealTimeS:
      return DataPart::RealTime;
    default:
      return DataPart::None;
  }
}

StatisticsSpan ChooseStatisticsSpan(std::int64_t cursorA, std::int64_t cursorB,
                                    std::pair<std::int64_t, std::int64_t> visible,
                                    std::int64_t count) {
  StatisticsSpan span;
  span.betweenCursors = cursorA >= 0 && cursorB >= 0;
  // A graph not laid out yet shows no span: the whole series then.
  if (visible.second < visible.first) visible = {0, count - 1};
  std::int64_t first = span.betweenCursors ? std::min(cursorA, cursorB) : visible.first;
  std::int64_t last = span.betweenCursors ? std::max(cursorA, cursorB) : visible.second;
  first = std::max<std::int64_t>(first, 0);
  last = std::min<std::int64_t>(last, count - 1);
  if (first <= last) {
    span.first = first;
    span.last = last;
  }
  return span;
}

std::optional<EventTarget> TargetOfEvent(const Event& e, DataPart part, const CDTDoc& doc) {
  EventTarget target;
  if (e.kind == EventKind::Transient) {
    if (part != DataPart::Store || e.record < 0 || e.record >= doc.trCount) return std::nullopt;
    target.mode = DisplayMode::StoreTr;
    target.trRecord = e.record;
    target.first = 0;
    target.last = kTrWavePoints - 1;
    return target;
  }
  const std::int64_t count = part == DataPart::Store      ? doc.rmsCount
                             : part == DataPart::RealTime ? doc.rtCount
                                                          : 0;
  if (e.first < 1 || e.last < e.first || e.last > count) return std::nullopt;
  target.mode = part == DataPart::Store ? DisplayMode::StoreRms : DisplayMode::RealTimeRms;
  target.first = e.first - 1;
  target.last = e.last - 1;
  return target;
}

std::vector<Event> LevelEventsOfRuns(const AnalysisSeries& series, const SeriesRuns& runs,
                                     const EventLimits& limits) {
  std::vector<Event> events;
  for (const auto& [first, count] : runs) {
    if (count <= 0 || first < 0 || first + count > series.count) continue;
    for (Event& e : FindLevelEvents(SubSeries(series, first, first + count - 1), limits)) {
      e.first += first;
      e.last += first;
      events.push_back(std::move(e));
    }
  }
  std::stable_sort(events.begin(), events.end(), LevelEventBefore);
  return events;
}

DisplayAnalysis::DisplayAnalysis(const CDTDoc& doc) : doc_(doc) {}

void DisplayAnalysis::SetStoreRuns(SeriesRuns runs) {
  if (runs == storeRuns_) return;
  storeRuns_ = std::move(runs);
  events_.reset();
  shading_.reset();
}

void DisplayAnalysis::ShowDisplay(DisplayMode mode, int trRecord) {
  if (mode == mode_ && (mode != DisplayMode::StoreTr || trRecord == trRecord_)) return;
  const bool samePart = PartOfDisplay(mode) == PartOfDisplay(mode_);
  mode_ = mode;
  trRecord_ = trRecord;
  series_.reset();
  index_.reset();
  shading_.reset();
  if (!samePart) events_.reset();
}

void DisplayAnalysis::Forget() {
  series_.reset();
  index_.reset();
  events_.reset();
}

void DisplayAnalysis::DataChanged() {
  Forget();
  runEvents_.reset();
  shading_.reset();
}

void DisplayAnalysis::RunGrew() {
  // The STORE data stay as they were; the run's series has new points, its
  // events are extended over them when next asked for, and its shading is
  // replaced only when its events read differently.
  runGrew_ = true;
  if (Part() != DataPart::RealTime) return;
  series_.reset();
  index_.reset();
}

void DisplayAnalysis::SetLimits(const EventLimits& limits) {
  if (limits == limits_) return;
  limits_ = limits;
  events_.reset();
  runEvents_.reset();
}

const AnalysisSeries& DisplayAnalysis::Series() {
  if (!series_) {
    switch (mode_) {
      case DisplayMode::StoreRms:
        series_ = StoreRmsSeries(doc_, doc_.scaling);
        break;
      case DisplayMode::RealTimeRms:
      case DisplayMode::RealTimeFreq:
      case DisplayMode::RealTimeS:
        series_ = RealTimeRmsSeries(doc_, doc_.scaling);
        break;
      case DisplayMode::StoreTr:
        series_ = trRecord_ >= 0 && trRecord_ < doc_.trCount
                      ? TrRecordSeries(doc_, trRecord_, doc_.scaling)
                      : AnalysisSeries{};
        break;
      default:
        series_ = AnalysisSeries{};
        break;
    }
  }
  return *series_;
}

std::string DisplayAnalysis::SeriesName() const {
  switch (mode_) {
    case DisplayMode::StoreRms:
      return "STORE RMS";
    case DisplayMode::RealTimeRms:
    case DisplayMode::RealTimeFreq:
    case DisplayMode::RealTimeS:
      return "REAL TIME RMS";
    case DisplayMode::StoreTr:
      return "STORE TR record " + std::to_string(trRecord_ + 1);
    default:
      return {};
  }
}

SpanStatistics DisplayAnalysis::Statistics(const StatisticsSpan& span) {
  const AnalysisSeries& series = Series();
  if (!index_) index_ = std::make_unique<SpanIndex>(series);
  return index_->Of(span.first, span.last);
}

const std::vector<Event>& DisplayAnalysis::Events() {
  if (Part() == DataPart::RealTime) {
    // A run has level events only; they are found once per point as it
    // grows, never again from its first point.
    if (!runEvents_) {
      runEvents_ = std::make_unique<EventScanner>(limits_);
      runGrew_ = true;
    }
    if (runGrew_) runEvents_->Extend(RealTimeRmsSeries(doc_, doc_.scaling));
    runGrew_ = false;
    return runEvents_->Events();
  }
  if (!events_) {
    if (Part() != DataPart::Store) {
      events_.emplace();
    } else if (storeRuns_.empty()) {
      events_ = StoreEvents(doc_, limits_, doc_.scaling);
    } else {
      events_ =
          MergeByStart(LevelEventsOfRuns(StoreRmsSeries(doc_, doc_.scaling), storeRuns_, limits_),
                       TransientEvents(doc_, doc_.scaling));
    }
  }
  return *events_;
}

std::shared_ptr<const EventShading> DisplayAnalysis::Shading() {
  const bool shaded = mode_ == DisplayMode::StoreRms || mode_ == DisplayMode::RealTimeRms;
  if (!shaded) {
    shading_.reset();
    return nullptr;
  }
  const std::vector<Event>& events = Events();
  if (shading_ && shading_->events == events) return shading_;
  auto shading = std::make_shared<EventShading>();
  shading->mode = GraphModeOf(mode_);
  shading->series = Series();
  shading->events = events;
  shading_ = std::move(shading);
  return shading_;
}

std::string StatisticsText(const std::string& seriesName, const SpanStatistics& s,
                           bool betweenCursors) {
  std::string text = "Series:      " + seriesName + "\n";
  text += std::string("Span:        ") +
          (betweenCursors ? "between markers A and B" : "visible span") + "\n";
  for (const std::string& line : StatisticsLines(s, kSampleTimeFormat)) text += line + "\n";
  return text;
}

std::string EventsCopyText(const std::vector<Event>& events, std::vector<std::int64_t> rows,
                           const char* timePattern) {
  const std::vector<std::string> titles = EventTableHeaders();
  std::vector<int> columns(titles.size());
  for (std::size_t c = 0; c < columns.size(); ++c) columns[c] = static_cast<int>(c);
  return TabSeparatedRows(
      columns, std::move(rows), static_cast<std::int64_t>(events.size()),
      [&](int c) { return titles[static_cast<std::size_t>(c)]; },
      [&](std::int64_t row, int c) {
        // One event's cells for each of its columns: cheap next to a copy.
        return EventTableCells(static_cast<int>(row) + 1, events[static_cast<std::size_t>(row)],
                               timePattern)[static_cast<std::size_t>(c)];
      });
}

}  // namespace acv
