// Saving and exporting a data set that holds a real-time run: the data file
// keeps the run (and the STORE data beside it), the reports list its points.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "data/DataFile.h"
#include "data/Export.h"
#include "data/RealTimeExport.h"
#include "data_test_util.h"

namespace acv::test {
namespace {

// A run of `count` points from 2026-03-02 11:00:00 every 2 s, CH1 in volts,
// CH2 in amperes (or absent).
CDTDoc RunDoc(int count, bool ch2 = true) {
  CDTDoc doc;
  doc.rtStartTime = Local(2026, 3, 2, 11, 0, 0);
  doc.rtInterval = 2;
  doc.rtCount = count;
  doc.rtHasCh1 = 1;
  doc.rtHasCh2 = ch2 ? 1 : 0;
  doc.rtUnitCh1 = "V";
  doc.rtUnitCh2 = "A";
  for (int i = 0; i < count; ++i) {
    doc.rtRms.push_back({230.0f + static_cast<float>(i % 10), ch2 ? 4.0f : 0.0f});
    doc.rtFreq.push_back({50.0f, ch2 ? 400.0f : 0.0f});
  }
  RecomputeRealTimeStatistics(doc);
  return doc;
}

template <typename Writer>
std::string Text(Writer writer, const CDTDoc& doc) {
  std::ostringstream out;
  writer(out, doc);
  return out.str();
}

TEST(RealTimeExport, TablesListEveryPointInTheStoreReportsStyle) {
  struct Case {
    bool ch2;
    std::string xls;
    std::string csv;
  };
  const std::string title = "                         ELECTRIC POWER TEST REPORT(REAL TIME)\r\n";
  const Case cases[] = {
      {true,
       title + "NO.\tTIME\tCH1\tCH2\tCH1 F(Hz)\tCH2 F(Hz)\tS(VA)\t\r\n"
               "1\t 02/03/26 11:00:00 \t230.0V\t4.0A\t50.0\t400.0\t920.0VA\t\r\n"
               "2\t 02/03/26 11:00:02 \t231.0V\t4.0A\t50.0\t400.0\t924.0VA\t\r\n",
       "point,time,ch1_rms,ch1_hz,ch2_rms,ch2_hz,s_va\n"
       "1,2026-03-02T11:00:00,230,50,4,400,920\n"
       "2,2026-03-02T11:00:02,231,50,4,400,924\n"},
      {false,
       title + "NO.\tTIME\tCH1\tCH2\tCH1 F(Hz)\tCH2 F(Hz)\t\r\n"
               "1\t 02/03/26 11:00:00 \t230.0V\t----\t50.0\t----\t\r\n"
               "2\t 02/03/26 11:00:02 \t231.0V\t----\t50.0\t----\t\r\n",
       "point,time,ch1_rms,ch1_hz,ch2_rms,ch2_hz,s_va\n"
       "1,2026-03-02T11:00:00,230,50,,,\n"
       "2,2026-03-02T11:00:02,231,50,,,\n"},
  };
  for (const Case& c : cases) {
    const CDTDoc doc = RunDoc(2, c.ch2);
    EXPECT_EQ(Text(WriteRealTimeExport, doc), c.xls) << c.ch2;
    EXPECT_EQ(Text([](std::ostream& o, const CDTDoc& d) { WriteRealTimeCsv(o, d, {}); }, doc),
              c.csv)
        << c.ch2;
  }
}

TEST(RealTimeExport, LongRunsKeepWithinTheRowLimitAsTheStoreReportDoes) {
  const std::string text = Text(WriteRealTimeExport, RunDoc(65536 + 3));
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 2u + 32770u);
  EXPECT_EQ(lines[1],
            "NO.\tTIME\tCH1\tCH2\tCH1 F(Hz)\tCH2 F(Hz)\tS(VA)\t"
            "NO.\tTIME\tCH1\tCH2\tCH1 F(Hz)\tCH2 F(Hz)\tS(VA)\t\r");
  EXPECT_EQ(lines[2].rfind("1\t 02/03/26 11:00:00 \t", 0), 0u);
  EXPECT_NE(lines[2].find("\t2\t 02/03/26 11:00:02 \t"), std::string::npos);
  EXPECT_EQ(lines.back().rfind("65539\t", 0), 0u);  // one point on the last line
}

TEST(RealTimeExport, SaveAfterARunKeepsStoreDataAndRunAndWritesBothReports) {
  ScratchDir dir;
  CDTDoc doc = RunDoc(3);
  doc.Store() = StoreDoc(5, true, true).Store();
  doc.ComputeStoreStatistics();
  ASSERT_EQ(SaveDataAndExport(doc, dir.File("run.xls")), "");
  EXPECT_EQ(doc.formatTag, kTagRealTime);

  CDTDoc loaded;
  const LoadResult result = LoadDataFile(dir.File("run.stdata"), loaded);
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.tag, kTagRealTime);
  EXPECT_EQ(loaded.RealTime(), doc.RealTime());  // points, units, start, texts
  EXPECT_EQ(loaded.Store(), doc.Store());
  EXPECT_EQ(ReadText(dir.File("run.xls")), Text(WriteExport, doc));
  EXPECT_EQ(ReadText(dir.File("run-realtime.xls")), Text(WriteRealTimeExport, doc));
}

TEST(RealTimeExport, SaveWithoutARunStaysTheStoreLayoutWithOneReport) {
  ScratchDir dir;
  CDTDoc doc = StoreDoc(5, true, true);
  doc.rtRms.resize(100);  // a run's arrays without a point taken
  ASSERT_EQ(SaveDataAndExport(doc, dir.File("store")), "");
  CDTDoc expected = doc;
  expected.formatTag = kTagStore;
  EXPECT_EQ(ReadBytes(dir.File("store.stdata")), EncodeDataFile(expected));
  EXPECT_EQ(ReadBytes(dir.File("store.stdata"))[1], 'R');
  EXPECT_FALSE(std::filesystem::exists(dir.File("store-realtime.xls")));
}

}  // namespace
}  // namespace acv::test
