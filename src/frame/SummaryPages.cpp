#include "frame/SummaryPages.h"

#include <algorithm>
#include <cstdio>

#include "analysis/AnalysisText.h"
#include "data/TimeText.h"
#include "frame/CompliancePages.h"

namespace acv {
namespace {

// Line n lies at y = n u + 2k; the last one ends a line above the footer
// at V - u.
int LastLine(const PageUnits& p) {
  return p.u > 0 ? (p.height - 2 * p.u - 2 * p.k) / p.u : 0;
}

// The width of a body character, generously: the digits of "Arial" are
// 0.56 of its height, and a cell of u holds a font of about 0.87 u.
int CharWidth(const PageUnits& p) {
  return std::max(1, p.u / 2);
}

int Digits(std::int64_t n) {
  return static_cast<int>(std::to_string(std::max<std::int64_t>(n, 0)).size());
}

std::vector<int> Columns(const std::vector<int>& characters, const PageUnits& p) {
  std::vector<int> x;
  int at = 0;
  for (const int c : characters) {
    x.push_back(at * CharWidth(p));
    at += c + 2;
  }
  return x;
}

// The widest cell each event column can hold, known without reading the
// events: the table is laid out alike on every page.
std::vector<int> EventColumns(const SummaryContent& c, const PageUnits& p) {
  const int points = std::max(5, Digits(c.stats.last));
  return Columns({std::max(3, Digits(static_cast<std::int64_t>(c.events.size()))), 12, 7, points,
                  points, 17, 17, 14, 10, 4},
                 p);
}

// The body of page 1 line by line: which line the event table's header
// takes, the texts and rules above it.
struct FirstPage {
  std::vector<PageText> texts;
  std::vector<int> rules;
  int headerLine = 0;
};

FirstPage LayOutFirstPage(const SummaryContent& c, const PageUnits& p) {
  FirstPage f;
  const int right = static_cast<int>(0.4 * p.width);
  const int dy = 2 * p.k;
  int line = 2;
  const auto y = [&](int l) { return l * p.u + dy; };
  const auto text = [&](int x, const std::string& s) { f.texts.push_back({x, y(line), s}); };
  const SpanStatistics& s = c.stats;
  if (!c.site.empty()) {
    text(0, "SITE: " + c.site + " (library timeline)");
  } else {
    text(0, "FILE: " + (c.file.empty() ? std::string("(not saved)") : c.file));
  }
  text(right, "MODE: " + c.partName);
  ++line;
  text(0, "POINTS: " + std::to_string(s.first) + " .. " + std::to_string(s.last) + " (" +
              std::to_string(s.Points()) + ")");
  char interval[32];
  std::snprintf(interval, sizeof interval, "%g s", c.interval);
  text(right, std::string("INTERVAL: ") + interval);
  ++line;
  text(0, "START: " + FormatTime(s.start, kSampleTimeFormat));
  text(right, "END: " + FormatTime(s.end, kSampleTimeFormat));
  // Half a line below the texts, clear of their descenders.
  f.rules.push_back(y(line + 1) + p.u / 2);
  line += 1;

  const std::vector<std::vector<std::string>> table = StatisticsTable(s);
  const std::vector<int> x = Columns({7, 4, 8, 8, 8, 8, 10, 10}, p);
  for (const auto& row : table) {
    ++line;
    for (std::size_t col = 0; col < row.size() && col < x.size(); ++col) text(x[col], row[col]);
  }
  for (const std::string& more : LeftOutLines(s)) {
    ++line;
    text(0, more);
  }
  if (c.gapPoints > 0) {
    ++line;
    text(0, "Gaps:        " + std::to_string(c.gapPoints) +
                " points between downloads, without a value (not counted)");
  }
  for (const std::string& power : PowerLines(s)) {
    ++line;
    text(0, power);
  }
  line += 2;
  if (!c.band.empty()) {
    text(0, BandHeading(c.limits));
    for (const BandShare& share : c.band) {
      ++line;
      text(0, BandLine(share));
    }
    line += 2;
  }
  char limits[200];
  std::snprintf(limits, sizeof limits,
                "LIMITS: Un %g V, dip %g %%, swell %g %%, interruption %g %%, hysteresis %g %%, "
                "band %g %%",
                c.limits.nominal, c.limits.dipPct, c.limits.swellPct, c.limits.interruptionPct,
                c.limits.hysteresisPct, c.limits.bandPct);
  std::string limitText = limits;
  if (c.limits.overCurrent > 0) {
    std::snprintf(limits, sizeof limits, ", over-current %g A", c.limits.overCurrent);
    limitText += limits;
  }
  text(0, limitText);
  line += 2;
  text(0, "EVENTS: " + std::to_string(c.events.size()));
  // The rule in a line of its own, above the event table's header.
  f.rules.push_back(y(line + 1) + p.u / 2);
  f.headerLine = line + 2;
  return f;
}

struct RowSpan {
  std::size_t first = 0, end = 0;
  int headerLine = 0;
};

// The events of page `page`: page 1 below its block, every further page
// from its top, one row a line.
RowSpan EventRows(int page, const SummaryContent& c, const PageUnits& p, int firstHeaderLine) {
  const int last = LastLine(p);
  const std::size_t onFirst = static_cast<std::size_t>(std::max(0, last - firstHeaderLine));
  const std::size_t onOthers = static_cast<std::size_t>(std::max(1, last - 3));
  RowSpan r;
  if (page <= 1) {
    r.end = std::min(c.events.size(), onFirst);
    r.headerLine = firstHeaderLine;
  } else {
    r.first = std::min(c.events.size(), onFirst + static_cast<std::size_t>(page - 2) * onOthers);
    r.end = std::min(c.events.size(), r.first + onOthers);
    r.headerLine = 3;
  }
  return r;
}

}  // namespace

SummaryContent SummariseDataSet(const CDTDoc& doc, bool realTime, const EventLimits& limits,
                                const std::string& file) {
  SummaryContent c;
  const AnalysisSeries series =
      realTime ? RealTimeRmsSeries(doc, doc.scaling) : StoreRmsSeries(doc, doc.scaling);
  c.realTime = realTime;
  c.file = file;
  c.partName = realTime ? "REAL TIME RMS" : "STORE RMS";
  c.interval = series.interval;
  c.limits = limits;
  if (series.count > 0) c.stats = ScanSpan(series, 0, series.count - 1);
  // The level events flag the band's 10-minute values and head the list.
  const std::vector<Event> level = FindLevelEvents(series, limits);
  c.band = SummariseBand(series, limits, level);
  c.events =
      MergeByStart(level, realTime ? std::vector<Event>{} : TransientEvents(doc, doc.scaling));
  if (series.count > 0) c.compliance = ComplianceOf({series}, limits);
  return c;
}

std::vector<std::pair<std::int64_t, std::int64_t>> PointsOfStretches(
    const std::vector<TimeStretch>& stretches, TimeStamp start, std::int64_t interval,
    std::int64_t count) {
  std::vector<std::pair<std::int64_t, std::int64_t>> covered;
  if (interval <= 0 || count <= 0) return covered;
  for (const TimeStretch& s : stretches) {
    if (s.interval != interval || s.end <= s.start) continue;
    // The grid's points from the stretch's first at or after its start to
    // its last before its end.
    const std::int64_t first =
        std::max<std::int64_t>(0, (s.start - start + interval - 1) / interval);
    const std::int64_t last = std::min(count - 1, (s.end - 1 - start) / interval);
    if (s.end - 1 < start || first > last) continue;
    if (!covered.empty() && first <= covered.back().second + 1) {
      covered.back().second = std::max(covered.back().second, last);
    } else {
      covered.emplace_back(first, last);
    }
  }
  return covered;
}

SummaryContent SummariseSite(const CDTDoc& doc, const EventLimits& limits, const std::string& site,
                             const std::vector<std::pair<std::int64_t, std::int64_t>>& covered) {
  SummaryContent c;
  const AnalysisSeries series = StoreRmsSeries(doc, doc.scaling);
  c.site = site;
  c.partName = "STORE RMS";
  c.interval = series.interval;
  c.limits = limits;
  if (series.count == 0) return c;
  c.stats = ScanSpan(series, 0, series.count - 1);
  std::int64_t inStretches = 0;
  std::vector<AnalysisSeries> stretches;
  std::vector<Event> level;
  for (std::size_t i = 0; i < covered.size(); ++i) {
    const auto [first, last] = covered[i];
    inStretches += last - first + 1;
    stretches.push_back(SubSeries(series, first, last));
    const std::vector<Event> found = FindLevelEvents(stretches.back(), limits);
    for (const BandShare& b : SummariseBand(stretches.back(), limits, found)) {
      const auto same = std::find_if(c.band.begin(), c.band.end(),
                                     [&](const BandShare& x) { return x.channel == b.channel; });
      if (same == c.band.end()) {
        c.band.push_back(b);
        continue;
      }
      same->points += b.points;
      same->pointsInBand += b.pointsInBand;
      same->pointsLeftOut += b.pointsLeftOut;
      same->tenMinute.insert(same->tenMinute.end(), b.tenMinute.begin(), b.tenMinute.end());
      same->tenMinuteFlagged += b.tenMinuteFlagged;
      same->tenMinuteInBand += b.tenMinuteInBand;
    }
    for (Event e : found) {
      e.first += first;
      e.last += first;
      // A gap ends what runs into it; only the last stretch runs on.
      e.open = e.open && i + 1 == covered.size();
      level.push_back(e);
    }
  }
  // Every gap point is without a value in both channels: what is left of
  // the points left out are damaged values.
  c.gapPoints = series.count - inStretches;
  for (ChannelSpan& ch : c.stats.channels) {
    if (ch.present) ch.leftOut = std::max<std::int64_t>(0, ch.leftOut - c.gapPoints);
  }
  if (c.stats.hasPower) {
    c.stats.powerLeftOut = std::max<std::int64_t>(0, c.stats.powerLeftOut - c.gapPoints);
  }
  std::sort(level.begin(), level.end(), LevelEventBefore);
  c.events = MergeByStart(level, TransientEvents(doc, doc.scaling));
  if (!stretches.empty()) c.compliance = ComplianceOf(stretches, limits);
  return c;
}

EventShading ShadingOf(const CDTDoc& doc, const SummaryContent& c) {
  EventShading shading;
  shading.mode = c.realTime ? GraphMode::RealTimeRms : GraphMode::StoreRms;
  shading.series =
      c.realTime ? RealTimeRmsSeries(doc, doc.scaling) : StoreRmsSeries(doc, doc.scaling);
  shading.events = c.events;
  return shading;
}

int SummaryTextPages(const SummaryContent& c, const PageUnits& p) {
  const int firstHeader = LayOutFirstPage(c, p).headerLine;
  int pages = 1;
  while (EventRows(pages, c, p, firstHeader).end < c.events.size()) ++pages;
  return pages;
}

SummaryPageLayout LayOutSummaryPage(int page, const SummaryContent& c, const PageUnits& p,
                                    const std::string& date) {
  SummaryPageLayout l;
  l.title = {p.width / 2 - 7 * p.k, 0, "Summary Report"};
  l.footer = PageFooter(page, p, date);
  FirstPage first = LayOutFirstPage(c, p);
  const RowSpan rows = EventRows(page, c, p, first.headerLine);
  if (page <= 1) {
    l.texts = std::move(first.texts);
    l.rules = std::move(first.rules);
  } else {
    l.texts.push_back({0, 2 * p.u + 2 * p.k,
                       "EVENTS " + std::to_string(rows.first + 1) + " .. " +
                           std::to_string(rows.end) + " of " + std::to_string(c.events.size())});
  }
  if (c.events.empty()) return l;
  const std::vector<int> x = EventColumns(c, p);
  const std::vector<std::string> headers = EventTableHeaders();
  int y = rows.headerLine * p.u + 2 * p.k;
  for (std::size_t col = 0; col < headers.size(); ++col)
    l.texts.push_back({x[col], y, headers[col]});
  for (std::size_t i = rows.first; i < rows.end; ++i) {
    y += p.u;
    const std::vector<std::string> cells =
        EventTableCells(static_cast<int>(i) + 1, c.events[i], kSampleTimeFormat);
    for (std::size_t col = 0; col < cells.size(); ++col) {
      if (!cells[col].empty()) l.texts.push_back({x[col], y, cells[col]});
    }
  }
  return l;
}

}  // namespace acv
