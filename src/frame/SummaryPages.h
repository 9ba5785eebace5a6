#pragma once
// The summary report: pages of text that answer what the curves only show
// (the file, the span, the statistics of each channel, the energy, the band
// summary and the event table, continued on further pages when long), the
// compliance pages of each channel in V, then the graph page with the
// events shaded. Laid out here as texts
// and positions in the units of the printed pages, for the printer, the
// preview and the PDF alike.
#include <string>
#include <vector>

#include "analysis/BandSummary.h"
#include "analysis/Events.h"
#include "analysis/SpanStatistics.h"
#include "analysis/SurveyText.h"
#include "frame/ReportPages.h"
#include "graph/geometry/EventBands.h"

namespace acv {

struct SummaryContent {
  bool realTime = false;  // the real-time run's RMS, else STORE RMS
  std::string file;       // the data file's name ("" when the data was never saved)
  std::string partName;   // "STORE RMS" or "REAL TIME RMS"
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
