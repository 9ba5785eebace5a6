#pragma once
// The summary report: pages of text that answer what the curves only show
// (the file, the span, the statistics of each channel, the energy, the band
// summary and the event table, continued on further pages when long), the
// compliance pages of each channel in V, then the graph page with the
// events shaded. Laid out here as texts
// and positions in the units of the printed pages, for the printer, the
// preview and the PDF alike.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "analysis/BandSummary.h"
#include "analysis/Events.h"
#include "analysis/SpanStatistics.h"
#include "analysis/SurveyText.h"
#include "frame/ReportPages.h"
#include "graph/geometry/EventBands.h"

namespace acv {

struct SummaryContent {
  bool realTime = false;       // the real-time run's RMS, else STORE RMS
  std::string file;            // the data file's name ("" when the data was never saved)
  std::string site;            // the library site whose timeline this is ("" for a file's data)
  std::int64_t gapPoints = 0;  // a site's points between its downloads, without a value
  std::string partName;        // "STORE RMS" or "REAL TIME RMS"
  double interval = 0.0;
  SpanStatistics stats;
  EventLimits limits;
  std::vector<BandShare> band;
  std::vector<Event> events;
  // The weekly verdict of each channel in V (frame/CompliancePages).
  std::vector<ComplianceReport> compliance;
};

// The summary of a whole RMS series: STORE RMS, or the real-time run's RMS
// when `realTime`; events of the STORE part include its TR records.
SummaryContent SummariseDataSet(const CDTDoc& doc, bool realTime, const EventLimits& limits,
                                const std::string& file);

// A stretch of a site's timeline without a gap, from `start` to just
// before `end`, its points `interval` seconds apart.
struct TimeStretch {
  TimeStamp start = 0, end = 0;
  std::int64_t interval = 1;
};
// The points of a series of `count` points from `start`, `interval` apart,
// that the stretches at that interval cover: 0-based inclusive ranges in
// order. Stretches at another interval lie off this grid and are left out.
std::vector<std::pair<std::int64_t, std::int64_t>> PointsOfStretches(
    const std::vector<TimeStretch>& stretches, TimeStamp start, std::int64_t interval,
    std::int64_t count);

// The summary of a site's timeline on show as a STORE data set, whose
// points outside `covered` (PointsOfStretches) are gaps between downloads:
// those are counted as gaps, not as damaged values, no event runs across
// one, and the band and the weekly verdict are judged stretch by stretch.
SummaryContent SummariseSite(const CDTDoc& doc, const EventLimits& limits, const std::string& site,
                             const std::vector<std::pair<std::int64_t, std::int64_t>>& covered);

// The shading of the summary's graph page: its events on its series.
EventShading ShadingOf(const CDTDoc& doc, const SummaryContent& content);

struct SummaryPageLayout {
  PageText title;               // in the title font (2u)
  std::vector<PageText> texts;  // in the body font (u)
  std::vector<int> rules;       // y of lines across the page
  PageText footer;
};

// The pages of text before the graph page (at least 1).
int SummaryTextPages(const SummaryContent& content, const PageUnits& units);
// Text page p (from 1); `date` as "%d/%m/%y".
SummaryPageLayout LayOutSummaryPage(int page, const SummaryContent& content, const PageUnits& units,
                                    const std::string& date);

}  // namespace acv
