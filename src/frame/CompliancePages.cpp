#include "frame/CompliancePages.h"

#include <algorithm>

#include "data/NumberText.h"

namespace acv {
namespace {

// A cell: its column in characters from the left and its text.
struct Cell {
  int column = 0;
  std::string text;
};
using Line = std::vector<Cell>;

// Line n lies at y = n u + 2k, as on the summary's text pages; the last one
// ends a line above the footer.
constexpr int kFirstLine = 4;  // below the source line and its rule
int LastLine(const PageUnits& p) {
  return p.u > 0 ? (p.height - 2 * p.u - 2 * p.k) / p.u : 0;
}
int CharWidth(const PageUnits& p) {
  return std::max(1, p.u / 2);
}

// The week table's columns, in characters: start, end, N, N1, N2,
// flagged, expected, coverage, verdict.
constexpr int kWeekColumns[] = {0, 22, 44, 54, 64, 74, 86, 98, 110};
// The event table: the row's name, then six duration columns.
constexpr int kEventNameWidth = 22;
constexpr int kEventColumnWidth = 14;

std::string Percent(double share) {
  return FormatNumber("%.1f", 100.0 * share) + " %";
}

Line Texts(std::initializer_list<const char*> texts, const int* columns) {
  Line line;
  int i = 0;
  for (const char* t : texts) line.push_back({columns[i++], t});
  return line;
}

Line WeekRow(const ComplianceWeek& w) {
  const std::string cells[] = {FormatTime(w.start, kSampleTimeFormat),
                               FormatTime(w.end, kSampleTimeFormat),
                               std::to_string(w.n),
                               std::to_string(w.n1),
                               std::to_string(w.n2),
                               std::to_string(w.flagged),
                               std::to_string(w.expected),
                               Percent(w.Coverage()),
                               WeekVerdictName(w.verdict)};
  Line line;
  for (std::size_t c = 0; c < std::size(cells); ++c) line.push_back({kWeekColumns[c], cells[c]});
  return line;
}

// One channel's part: the week table (its title and column titles, then a
// row a week) and the event table, which stays whole.
struct ChannelPart {
  Line title, weekHeader;
  std::vector<Line> weeks;
  std::vector<Line> events;  // title, column titles, seven rows
};

ChannelPart PartOf(const ComplianceReport& r) {
  ChannelPart part;
  const std::string un = FormatNumber("%g", r.limits.nominal);
  const std::string band = FormatNumber("%g", r.limits.bandPct);
  part.title = {{0, "WEEKLY VERDICT, " + std::string(ChannelName(r.channel)) +
                        ": 10-minute values within Un " + un + " V ± " + band +
                        " % for 95 % of the week (N1 at most 5 % of N), all within Un -15 % .. "
                        "+10 % (N2 = 0); flagged values left out"}};
  part.weekHeader =
      Texts({"WEEK FROM", "TO", "N", "N1", "N2", "FLAGGED", "EXPECTED", "COVERAGE", "VERDICT"},
            kWeekColumns);
  for (const ComplianceWeek& w : r.weeks) part.weeks.push_back(WeekRow(w));
  if (part.weeks.empty()) part.weeks.push_back({{0, "no 10-minute values in the span"}});
  part.events.push_back({{0, "DIPS (RESIDUAL VOLTAGE) AND SWELLS (HIGHEST VOLTAGE) OF " +
                                 std::string(ChannelName(r.channel)) + ", % OF Un, BY DURATION"}});
  Line header;
  for (int c = 0; c < EventTable::kColumns; ++c) {
    header.push_back({kEventNameWidth + c * kEventColumnWidth,
                      EventTable::kColumnNames[static_cast<std::size_t>(c)]});
  }
  part.events.push_back(std::move(header));
  for (int row = 0; row < EventTable::kRows; ++row) {
    Line line{{0, EventTable::kRowNames[static_cast<std::size_t>(row)]}};
    for (int c = 0; c < EventTable::kColumns; ++c) {
      line.push_back(
          {kEventNameWidth + c * kEventColumnWidth,
           std::to_string(
               r.events.counts[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)])});
    }
    part.events.push_back(std::move(line));
  }
  return part;
}

// Every page's lines, from line kFirstLine on. A page that a week table
// runs on to starts with its column titles again; the event table goes to
// the next page when it does not fit whole.
std::vector<std::vector<Line>> Paginate(const SummaryContent& c, const PageUnits& p) {
  std::vector<std::vector<Line>> pages;
  if (c.compliance.empty()) return pages;
  const int room = std::max(12, LastLine(p) - kFirstLine + 1);
  pages.emplace_back();
  const auto left = [&] { return room - static_cast<int>(pages.back().size()); };
  const auto add = [&](Line line) { pages.back().push_back(std::move(line)); };
  for (std::size_t r = 0; r < c.compliance.size(); ++r) {
    const ChannelPart part = PartOf(c.compliance[r]);
    if (r > 0) add({});
    // The title, the column titles and a first week together.
    if (left() < 3) pages.emplace_back();
    add(part.title);
    add(part.weekHeader);
    for (const Line& week : part.weeks) {
      if (left() < 1) {
        pages.emplace_back();
        add(part.weekHeader);
      }
      add(week);
    }
    const int eventLines = static_cast<int>(part.events.size()) + 1;
    if (left() < eventLines) {
      pages.emplace_back();
    } else {
      add({});
    }
    for (const Line& line : part.events) add(line);
  }
  return pages;
}

}  // namespace

std::vector<ComplianceReport> ComplianceOf(const std::vector<AnalysisSeries>& segments,
                                           const EventLimits& limits) {
  std::vector<ComplianceReport> reports;
  if (segments.empty()) return reports;
  const AnalysisSeries& head = segments.front();
  const TimeStamp from = head.PointTime(0);
  const TimeStamp to = segments.back().PointTime(segments.back().count);
  for (int channel = 0; channel < 2; ++channel) {
    const SeriesChannel& ch = head.channels[static_cast<std::size_t>(channel)];
    if (!ch.present || ch.unit != "V") continue;
    std::vector<TenMinuteValue> values;
    std::vector<Event> events;
    for (const AnalysisSeries& s : segments) {
      if (s.count == 0) continue;
      const std::vector<Event> found = FindLevelEvents(s, limits);
      const std::vector<TenMinuteValue> ten = TenMinuteValues(s, channel, found);
      values.insert(values.end(), ten.begin(), ten.end());
      events.insert(events.end(), found.begin(), found.end());
    }
    ComplianceReport report;
    report.channel = channel;
    report.limits = limits;
    report.weeks = JudgeWeeks(values, limits, from, to);
    report.events = CountEvents(events, channel, limits);
    reports.push_back(std::move(report));
  }
  return reports;
}

int CompliancePageCount(const SummaryContent& content, const PageUnits& units) {
  return static_cast<int>(Paginate(content, units).size());
}

SummaryPageLayout LayOutCompliancePage(int page, int footerPage, const SummaryContent& c,
                                       const PageUnits& p, const std::string& date) {
  SummaryPageLayout l;
  l.title = {p.width / 2 - 8 * p.k, 0, "Compliance Report"};
  l.footer = PageFooter(footerPage, p, date);
  const auto y = [&](int line) { return line * p.u + 2 * p.k; };
  l.texts.push_back({0, y(2),
                     (!c.site.empty()  ? "Site " + c.site
                      : c.file.empty() ? std::string("(not saved)")
                                       : c.file) +
                         "   " + c.partName});
  l.rules.push_back(y(3) + p.u / 2);
  const std::vector<std::vector<Line>> pages = Paginate(c, p);
  if (page < 1 || page > static_cast<int>(pages.size())) return l;
  int line = kFirstLine;
  for (const Line& cells : pages[static_cast<std::size_t>(page - 1)]) {
    for (const Cell& cell : cells)
      l.texts.push_back({cell.column * CharWidth(p), y(line), cell.text});
    ++line;
  }
  return l;
}

}  // namespace acv
