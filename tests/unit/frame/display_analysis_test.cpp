// The analysis behind the Statistics and Events windows: the series each
// display analyses, the span the Statistics window measures, the events of
// the display's part and where choosing one leads, and the Event Limits
// dialog's fields.
#include <gtest/gtest.h>

#include "analysis/AnalysisText.h"
#include "frame/DisplayAnalysis.h"
#include "frame/SettingsDialogRules.h"
#include "support/TestDataSets.h"

namespace acv {
namespace {

using test::kStart;

// STORE RMS: CH1 in V with a dip at points 3..4 (1-based) and CH2 in A;
// two TR records. The run: CH1 in V with a swell at points 2..3, and a
// point at nominal after it.
CDTDoc TwoParts() {
  CDTDoc doc;
  static_cast<StoreFamily&>(doc) =
      test::StoreOf({230, 230, 180, 185, 230, 230}, {1, 2, 3, 4, 5, 6});
  test::AddTrRecords(doc, {{kStart + 150, kUnitVolt, kChannel1},
                           {kStart + 200, kUnitVolt, kChannel2, 0.0f, {{7, -900.0f}}}});
  doc.rtStartTime = kStart;
  doc.rtInterval = 2;
  doc.rtHasCh1 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtRms.assign(10, ChannelPair{});
  for (const float v : {230.0f, 260.0f, 262.0f, 230.0f}) doc.rtRms[doc.rtCount++].ch1 = v;
  return doc;
}

TEST(DisplayAnalysis, StatisticsSpanIsABetweenTheCursorsElseTheVisibleSpan) {
  struct Case {
    std::int64_t a, b, visibleFirst, visibleLast, count;
    std::int64_t first, last;  // expected; last < first: empty
    bool betweenCursors;
  };
  const Case cases[] = {
      {3, 7, 0, 9, 10, 3, 7, true},         // A before B
      {7, 3, 0, 9, 10, 3, 7, true},         // B before A
      {5, 5, 0, 9, 10, 5, 5, true},         // one point
      {4, -1, 2, 6, 10, 2, 6, false},       // no B: the visible span
      {-1, 4, 2, 6, 10, 2, 6, false},       // B without A (mouse off the plot)
      {-1, -1, 0, 40, 10, 0, 9, false},     // a span wider than the series
      {-1, -1, 0, -1, 251, 0, 250, false},  // no visible span yet: all of it
      {20, 30, 0, 9, 10, 0, -1, true},      // A-B beyond the series
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << "," << c.b);
    const StatisticsSpan span =
        ChooseStatisticsSpan(c.a, c.b, {c.visibleFirst, c.visibleLast}, c.count);
    EXPECT_EQ(span.betweenCursors, c.betweenCursors);
    EXPECT_EQ(span.Empty(), c.last < c.first);
    if (!span.Empty()) {
      EXPECT_EQ(span.first, c.first);
      EXPECT_EQ(span.last, c.last);
    }
  }
}

TEST(DisplayAnalysis, EachDisplayAnalysesTheSeriesItDraws) {
  const CDTDoc doc = TwoParts();
  struct Case {
    DisplayMode mode;
    int record;
    std::int64_t count;
    const char* name;
    DataPart part;
  };
  const Case cases[] = {
      {DisplayMode::StoreRms, 0, 6, "STORE RMS", DataPart::Store},
      {DisplayMode::StoreTr, 1, kTrWavePoints, "STORE TR record 2", DataPart::Store},
      {DisplayMode::RealTimeRms, 0, 4, "REAL TIME RMS", DataPart::RealTime},
      {DisplayMode::RealTimeFreq, 0, 4, "REAL TIME RMS", DataPart::RealTime},
      {DisplayMode::RealTimeS, 0, 4, "REAL TIME RMS", DataPart::RealTime},
      {DisplayMode::RealTimeEpa, 0, 0, "", DataPart::RealTime},
      {DisplayMode::None, 0, 0, "", DataPart::None},
  };
  DisplayAnalysis analysis(doc);
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    analysis.ShowDisplay(c.mode, c.record);
    EXPECT_EQ(analysis.Series().count, c.count);
    EXPECT_EQ(analysis.SeriesName(), c.name);
    EXPECT_EQ(analysis.Part(), c.part);
  }
  // The prepared answers are the plain scan's, on the record shown too.
  analysis.ShowDisplay(DisplayMode::StoreTr, 1);
  const StatisticsSpan span = ChooseStatisticsSpan(-1, -1, {0, 250}, 251);
  const SpanStatistics s = analysis.Statistics(span);
  EXPECT_EQ(s.channels[1].min, -900.0);
  EXPECT_EQ(s.channels[1].minPoint, 8);
  EXPECT_EQ(StatisticsLines(s, kSampleTimeFormat),
            StatisticsLines(ScanSpan(analysis.Series(), 0, 250), kSampleTimeFormat));
}

TEST(DisplayAnalysis, EventsFollowThePartTheLimitsAndTheData) {
  CDTDoc doc = TwoParts();
  DisplayAnalysis analysis(doc);
  analysis.ShowDisplay(DisplayMode::StoreTr, 0);
  // STORE: the dip and the two records as transients.
  EXPECT_EQ(analysis.Events(), StoreEvents(doc, EventLimits{}, {}));
  ASSERT_EQ(analysis.Events().size(), 3u);
  analysis.ShowDisplay(DisplayMode::RealTimeS, 0);
  ASSERT_EQ(analysis.Events().size(), 1u);
  EXPECT_EQ(analysis.Events()[0].kind, EventKind::Swell);
  EXPECT_FALSE(analysis.Events()[0].open);

  EventLimits wide;
  wide.swellPct = 115.0;  // 264.5 V: the swell no longer counts
  analysis.SetLimits(wide);
  EXPECT_TRUE(analysis.Events().empty());
  analysis.SetLimits(EventLimits{});

  // The run grows into a second swell that is still open at its last point.
  doc.rtRms[doc.rtCount++].ch1 = 270.0f;
  analysis.RunGrew();
  ASSERT_EQ(analysis.Events().size(), 2u);
  EXPECT_TRUE(analysis.Events()[1].open);
  EXPECT_EQ(analysis.Series().count, 5);

  // A new data set (a load): STORE events found again.
  analysis.ShowDisplay(DisplayMode::StoreRms, 0);
  doc.rmsCh1[0] = 100.0f;  // an interruption-free dip at the first point
  analysis.DataChanged();
  EXPECT_EQ(analysis.Events(), StoreEvents(doc, EventLimits{}, {}));
}

// A run that grows point by point, shown or not: its events are those of
// all its points, also after it grew while the STORE display was on show.
TEST(DisplayAnalysis, ASitesEventsEndAtTheGapsBetweenItsDownloads) {
  // Two downloads with two missing points between them, in a dip from the
  // end of the first into the second: the file rule runs one dip over the
  // missing points, a site's runs end it at the gap and start another.
  CDTDoc doc;
  static_cast<StoreFamily&>(doc) = test::StoreOf({230, 230, 180, 185, NAN, NAN, 182, 230, 230});
  DisplayAnalysis analysis(doc);
  analysis.ShowDisplay(DisplayMode::StoreRms, 0);
  using Spans = std::vector<std::pair<std::int64_t, std::int64_t>>;
  const auto spans = [&] {
    Spans s;
    for (const Event& e : analysis.Events()) s.emplace_back(e.first, e.last);
    return s;
  };
  const Spans fileRule = spans();
  EXPECT_EQ(fileRule, (Spans{{3, 7}}));
  analysis.SetStoreRuns({{0, 4}, {6, 3}});
  EXPECT_EQ(spans(), (Spans{{3, 4}, {7, 7}}));
  EXPECT_EQ(analysis.Events()[1].start, kStart + 6 * 60);
  EXPECT_EQ(analysis.Shading()->events, analysis.Events());
  analysis.SetStoreRuns({});  // a file's series again
  EXPECT_EQ(spans(), fileRule);
}

TEST(DisplayAnalysis, GrowingRunKeepsTheEventsOfAllItsPoints) {
  CDTDoc doc = TwoParts();
  DisplayAnalysis analysis(doc);
  const float more[] = {200, 5, 0, 230, 270, 230, 100};
  doc.rtRms.resize(doc.rtRms.size() + std::size(more));
  for (std::size_t k = 0; k < std::size(more); ++k) {
    analysis.ShowDisplay(k % 3 == 0 ? DisplayMode::StoreRms : DisplayMode::RealTimeRms, 0);
    doc.rtRms[static_cast<std::size_t>(doc.rtCount++)].ch1 = more[k];
    analysis.RunGrew();
    if (analysis.Part() == DataPart::RealTime) {
      EXPECT_EQ(analysis.Events(), RealTimeEvents(doc, EventLimits{}, {})) << doc.rtCount;
    }
  }
  analysis.ShowDisplay(DisplayMode::RealTimeS, 0);
  EXPECT_EQ(analysis.Events(), RealTimeEvents(doc, EventLimits{}, {}));
  EXPECT_EQ(analysis.Events().size(), 5u) << "swell, dip, interruption, swell, open dip";
}

TEST(DisplayAnalysis, ShadingInTheRmsDisplaysOnlyReplacedWhenItsEventsChange) {
  CDTDoc doc = TwoParts();
  DisplayAnalysis analysis(doc);
  for (const DisplayMode mode : {DisplayMode::StoreTr, DisplayMode::RealTimeS,
                                 DisplayMode::RealTimeEpa, DisplayMode::None}) {
    analysis.ShowDisplay(mode, 0);
    EXPECT_EQ(analysis.Shading(), nullptr) << static_cast<int>(mode);
  }
  analysis.ShowDisplay(DisplayMode::StoreRms, 0);
  const auto store = analysis.Shading();
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->mode, GraphMode::StoreRms);
  EXPECT_EQ(store->events, analysis.Events());
  analysis.RunGrew();  // the STORE data stay
  EXPECT_EQ(analysis.Shading(), store);

  analysis.ShowDisplay(DisplayMode::RealTimeRms, 0);
  const auto run = analysis.Shading();
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(run->mode, GraphMode::RealTimeRms);
  doc.rtRms[doc.rtCount++].ch1 = 231.0f;  // a point that changes no event
  analysis.RunGrew();
  EXPECT_EQ(analysis.Shading(), run);
  doc.rtRms[doc.rtCount++].ch1 = 100.0f;  // a new dip
  analysis.RunGrew();
  EXPECT_NE(analysis.Shading(), run);
  EXPECT_EQ(analysis.Shading()->events.size(), 2u);
}

TEST(DisplayAnalysis, ChoosingAnEventShowsItsDisplayAndPoints) {
  const CDTDoc doc = TwoParts();
  const std::vector<Event> store = StoreEvents(doc, EventLimits{}, {});
  const std::vector<Event> run = RealTimeEvents(doc, EventLimits{}, {});
  ASSERT_EQ(store[0].kind, EventKind::Dip);
  ASSERT_EQ(store[2].kind, EventKind::Transient);
  struct Case {
    Event event;
    DataPart part;
    DisplayMode mode;
    int record;
    std::int64_t first, last;
  };
  const Case cases[] = {
      {store[0], DataPart::Store, DisplayMode::StoreRms, -1, 2, 3},
      {store[2], DataPart::Store, DisplayMode::StoreTr, 1, 0, kTrWavePoints - 1},
      {run[0], DataPart::RealTime, DisplayMode::RealTimeRms, -1, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    const auto target = TargetOfEvent(c.event, c.part, doc);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->mode, c.mode);
    EXPECT_EQ(target->trRecord, c.record);
    EXPECT_EQ(target->first, c.first);
    EXPECT_EQ(target->last, c.last);
  }
  // An event of data no longer there leads nowhere.
  Event gone = store[0];
  gone.last = 7;
  EXPECT_FALSE(TargetOfEvent(gone, DataPart::Store, doc));
  Event noRecord = store[2];
  noRecord.record = 2;
  EXPECT_FALSE(TargetOfEvent(noRecord, DataPart::Store, doc));
}

TEST(DisplayAnalysis, CopiedEventsAreTheChosenRowsUnderTheColumnTitles) {
  const CDTDoc doc = TwoParts();
  const std::vector<Event> events = StoreEvents(doc, EventLimits{}, {});
  const std::string text = EventsCopyText(events, {2, 0, 2, 9}, kSampleTimeFormat);
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  ASSERT_EQ(lines.size(), 3u);
  const auto tabbed = [](const std::vector<std::string>& cells) {
    std::string line;
    for (const std::string& cell : cells) line += (line.empty() ? "" : "\t") + cell;
    return line;
  };
  EXPECT_EQ(lines[0], tabbed(EventTableHeaders()));
  EXPECT_EQ(lines[1], tabbed(EventTableCells(1, events[0], kSampleTimeFormat)));
  EXPECT_EQ(lines[2], tabbed(EventTableCells(3, events[2], kSampleTimeFormat)));
}

TEST(EventLimitsDialogRules, FieldsGiveTheLimitsOrSayWhatIsWrong) {
  // The fields as the dialog opens read back as the limits they show.
  EventLimits custom;
  custom.nominal = 120.5;
  custom.overCurrent = 16.0;
  custom.bandPct = 7.5;
  for (const EventLimits& limits : {EventLimits{}, custom}) {
    const LimitsCheck check = CheckLimitTexts(LimitTextsOf(limits));
    EXPECT_EQ(check.problem, "");
    EXPECT_EQ(check.limits, limits);
  }
  EXPECT_EQ(LimitTextsOf(EventLimits{})[static_cast<int>(LimitField::OverCurrent)], "");

  struct Case {
    LimitField field;
    const char* text;
    const char* problemPart;  // "" when the texts are fine
  };
  const Case cases[] = {
      {LimitField::OverCurrent, " 0 ", ""},
      {LimitField::Hysteresis, "2.5", ""},
      {LimitField::Dip, "abc", "a number for the dip threshold"},
      {LimitField::Nominal, "", "a number for the nominal voltage"},
      {LimitField::Swell, "1e3", "a number for the swell threshold"},
      {LimitField::Nominal, "0", "The nominal voltage must lie between 1 and 100000 V"},
      {LimitField::Dip, "100", "The dip threshold must lie between 1 and 99 %"},
      {LimitField::OverCurrent, "-3", "over-current limit must lie between 0"},
      {LimitField::Interruption, "95", "must rise"},
      {LimitField::Hysteresis, "10", "hysteresis must be smaller"},
      {LimitField::Band, "x", "a number for the band"},
      {LimitField::Band, "0.5", "The band must lie between 1 and 50 %"},
      {LimitField::Frequency, "60", ""},
      {LimitField::Frequency, "55", "The nominal frequency must be 50 or 60 Hz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    LimitTexts texts = LimitTextsOf(EventLimits{});
    texts[static_cast<std::size_t>(c.field)] = c.text;
    const LimitsCheck check = CheckLimitTexts(texts);
    if (*c.problemPart == '\0') {
      EXPECT_EQ(check.problem, "");
    } else {
      EXPECT_NE(check.problem.find(c.problemPart), std::string::npos) << check.problem;
    }
  }
}

}  // namespace
}  // namespace acv
