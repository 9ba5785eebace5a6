// The STORE report: its exact text, the merge of RMS samples and TR records,
// several records per line for large data sets, the CSV form and where
// "Save..." puts the files.
#include "data/Export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "data/DataFile.h"
#include "data/ExportRecords.h"
#include "data_test_util.h"

namespace acv {
namespace {

using test::StoreDoc;

const std::string kTitleLine =
    "                         ELECTRIC POWER TEST REPORT(STORE RMS/TR)\r\n";
const std::string kHead = "NO.\tRMS/TR\tCH1\tCH2\tTIME\t";

std::string Export(const CDTDoc& doc) {
  std::ostringstream out;
  WriteExport(out, doc);
  return out.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0, end;
  while ((end = text.find("\r\n", start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << "every line ends with CR LF, nothing follows";
  return lines;
}

// The kinds and times of the records in report order, one entry per RMS
// sample and per TR record (not per TR sample).
std::string Order(const CDTDoc& doc) {
  ExportRecords records(doc);
  ExportRecord r;
  std::string order;
  std::int64_t trSample = 0;
  while (records.Next(r)) {
    if (r.kind == ExportKind::Tr && trSample++ % kTrWavePoints != 0) continue;
    order +=
        (r.kind == ExportKind::Rms ? "R+" : "T+") + std::to_string(r.time - doc.rmsStartTime) + " ";
  }
  return order;
}

// The report rounds as printf does: exact ties (x.x5 held exactly, e.g.
// 0.25) to even, negative values rounding to zero keep their sign. The CSV
// gives each value as the data hold it: text that reads back as the same
// float, sign included.
TEST(Export, ReportRoundsAsPrintfAndCsvKeepsEveryFloat) {
  std::vector<float> values = {0.25f, 0.75f, 2.5f,  -2.5f,  230.25f, -0.04f,
                               -0.0f, 1e14f, 3e38f, -7.45f, 0.05f,   1e-7f};
  for (int i = -3000; i <= 3000; ++i) values.push_back(static_cast<float>(i) * 0.05f + 0.013f * i);
  CDTDoc doc = StoreDoc(static_cast<int>(values.size()), true, false);
  doc.rmsCh1 = values;
  doc.trCount = 1;
  doc.trChannel = {kChannel1};
  doc.trUnit = {kUnitVolt};
  doc.trTimes = {0};
  doc.trWaves.assign(values.begin(), values.begin() + kTrWavePoints);
  // The field of CH1 in a line of the report (tab) or the CSV (comma).
  const auto field = [](const std::string& line, char separator) {
    const std::size_t kind = line.find(separator) + 1;
    const std::size_t at = line.find(separator, kind) + 1;
    return std::make_pair(line.compare(kind, 3, "RMS") == 0,
                          line.substr(at, line.find(separator, at) - at));
  };
  std::ostringstream csv;
  WriteCsvExport(csv, doc);
  const std::vector<std::string> report = Lines(Export(doc));
  const std::vector<std::string> table = Lines(csv.str());
  ASSERT_EQ(report.size(), table.size() + 1);  // the title
  std::size_t rms = 0, tr = 0;
  for (std::size_t n = 1; n < table.size(); ++n) {
    const auto [isRms, text] = field(table[n], ',');
    const std::string reportText = field(report[n + 1], '\t').second;
    const float v = isRms ? values[rms++] : values[tr++];
    char expected[400];
    std::snprintf(expected, sizeof expected, isRms ? "%.1fV" : "%.0fV", static_cast<double>(v));
    ASSERT_EQ(reportText, expected) << v;
    const float back = std::strtof(text.c_str(), nullptr);
    ASSERT_TRUE(back == v && std::signbit(back) == std::signbit(v)) << text << " for " << v;
  }
  EXPECT_EQ(rms, values.size());
  EXPECT_EQ(tr, static_cast<std::size_t>(kTrWavePoints));
}

TEST(Export, EmptyDataSetHasTitleAndOneHeadOnly) {
  EXPECT_EQ(Export(CDTDoc{}), kTitleLine + kHead + "\r\n");
}

TEST(Export, RecordTextsOfBothKinds) {
  CDTDoc doc = StoreDoc(2, true, true, 1.0f);
  doc.rmsCh1 = {230.04f, -1.25f};
  doc.rmsCh2 = {0.0f, 12.34f};
  test::AddTr(doc, kChannel1, kUnitVolt, doc.rmsStartTime + 5, -2.5f);
  const std::vector<std::string> lines = Lines(Export(doc));
  ASSERT_EQ(lines.size(), 2u + 2 + 251);
  EXPECT_EQ(lines[2], "1\tRMS\t230.0V\t0.0A\t 02/03/26 10:00:00 \t");
  EXPECT_EQ(lines[3], "2\tRMS\t-1.2V\t12.3A\t 02/03/26 10:00:01 \t");
  // TR samples "%.0f" with the record's unit, its trigger time on every line.
  EXPECT_EQ(lines[4], "3\tTR\t-2V\t----\t 02/03/26 10:00:05 \t");
  EXPECT_EQ(lines[5], "4\tTR\t-2V\t----\t 02/03/26 10:00:05 \t");
  // Halves round to even, and -0.5 keeps its sign, as printf does.
  EXPECT_EQ(lines[6], "5\tTR\t-0V\t----\t 02/03/26 10:00:05 \t");
  EXPECT_EQ(lines.back(), "253\tTR\t248V\t----\t 02/03/26 10:00:05 \t");
}

TEST(Export, OnlyCh2ShowsDashesForCh1) {
  const std::vector<std::string> lines = Lines(Export(StoreDoc(3, false, true, 60.0f)));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[2], "1\tRMS\t----\t5.0A\t 02/03/26 10:00:00 \t");
  EXPECT_EQ(lines[4], "3\tRMS\t----\t6.0A\t 02/03/26 10:02:00 \t");
}

TEST(Export, MergeOrderByTriggerTime) {
  CDTDoc doc = StoreDoc(3, true, false, 10.0f);
  const TimeStamp t0 = doc.rmsStartTime;
  test::AddTr(doc, kChannel1, kUnitVolt, t0 + 10);  // at t of sample 1: before it
  test::AddTr(doc, kChannel1, kUnitVolt, t0 + 20);  // at t' of sample 1: after it
  test::AddTr(doc, kChannel1, kUnitVolt, t0 + 29);  // inside sample 2's interval
  test::AddTr(doc, kChannel1, kUnitVolt, t0 + 15);  // earlier than sample 2: waits
  test::AddTr(doc, kChannel1, kUnitVolt, t0 + 40);  // after the last sample
  EXPECT_EQ(Order(doc), "R+0 T+10 R+10 T+20 T+29 R+20 T+15 T+40 ");

  // A record earlier than the first sample waits until the samples are done.
  CDTDoc early = StoreDoc(2, true, false, 10.0f);
  test::AddTr(early, kChannel2, kUnitAmpere, early.rmsStartTime - 1);
  EXPECT_EQ(Order(early), "R+0 R+10 T+-1 ");

  // t' = t + trunc(interval): with 2.5 s a record at 4 s misses [2, 4) and
  // [5, 7) and so comes last.
  CDTDoc fractional = StoreDoc(4, true, false, 2.5f);
  test::AddTr(fractional, kChannel1, kUnitVolt, fractional.rmsStartTime + 4);
  EXPECT_EQ(Order(fractional), "R+0 R+2 R+5 R+7 T+4 ");

  // Only TR records.
  CDTDoc trOnly;
  test::AddTr(trOnly, kChannel2, kUnitAmpere, 100);
  test::AddTr(trOnly, kChannel1, kUnitVolt, 50);
  EXPECT_EQ(Order(trOnly), "T+100 T+50 ");
}

TEST(Export, TwoRecordsPerLineAt65536WithDashesResetPerLine) {
  // 65,285 CH1 samples + one CH2 record of 251 samples = 65,536 records.
  CDTDoc doc = StoreDoc(65536 - kTrWavePoints, true, false, 1.0f);
  test::AddTr(doc, kChannel2, kUnitAmpere, doc.rmsStartTime + 2);  // before sample 2
  const std::vector<std::string> lines = Lines(Export(doc));
  EXPECT_EQ(lines[1], kHead + kHead);
  ASSERT_EQ(lines.size(), 2u + 32768);
  // Line 1: samples 0 and 1.
  EXPECT_EQ(lines[2],
            "1\tRMS\t230.0V\t----\t 02/03/26 10:00:00 \t"
            "2\tRMS\t230.1V\t----\t 02/03/26 10:00:01 \t");
  // Line 2: the TR record starts; CH1 was reset at the line start.
  EXPECT_EQ(lines[3],
            "3\tTR\t----\t0A\t 02/03/26 10:00:02 \t"
            "4\tTR\t----\t1A\t 02/03/26 10:00:02 \t");
  // Line 127: the record's last sample, then sample 2, which fills only CH1
  // and so shows the CH2 text the TR sample left on this line.
  EXPECT_EQ(lines[2 + 126],
            "253\tTR\t----\t250A\t 02/03/26 10:00:02 \t"
            "254\tRMS\t230.2V\t250A\t 02/03/26 10:00:02 \t");
  // Line 128: a fresh line shows the dashes again.
  EXPECT_EQ(lines[2 + 127],
            "255\tRMS\t230.3V\t----\t 02/03/26 10:00:03 \t"
            "256\tRMS\t230.4V\t----\t 02/03/26 10:00:04 \t");
  EXPECT_EQ(lines.back().substr(0, 6), "65535\t");

  // One record less keeps one record per line.
  CDTDoc smaller = StoreDoc(65535, true, false, 1.0f);
  const std::vector<std::string> single = Lines(Export(smaller));
  EXPECT_EQ(single[1], kHead);
  EXPECT_EQ(single.size(), 2u + 65535);
}

TEST(Export, OddRecordCountLeavesTheLastLineShort) {
  CDTDoc doc = StoreDoc(65537, true, false, 1.0f);
  const std::vector<std::string> lines = Lines(Export(doc));
  ASSERT_EQ(lines.size(), 2u + 32769);
  EXPECT_EQ(lines.back(), "65537\tRMS\t233.6V\t----\t 03/03/26 04:12:16 \t");
}

TEST(Export, CsvHasTheSameRecordsInTheSameOrder) {
  CDTDoc doc = StoreDoc(2, true, true, 1.0f);
  test::AddTr(doc, kChannel2, kUnitAmpere, doc.rmsStartTime + 1, 7.0f);
  doc.rmsUnitCh1 = "k,V";  // a unit that needs quoting
  std::ostringstream csv;
  WriteCsvExport(csv, doc);
  const std::vector<std::string> lines = Lines(csv.str());
  ASSERT_EQ(lines.size(), 1u + 2 + 251);
  EXPECT_EQ(lines[0], "no,kind,ch1,ch1_unit,ch2,ch2_unit,time");
  EXPECT_EQ(lines[1], "1,RMS,230,\"k,V\",5,A,2026-03-02T10:00:00");
  EXPECT_EQ(lines[2], "2,TR,,,7,A,2026-03-02T10:00:01");
  EXPECT_EQ(lines[3], "3,TR,,,8,A,2026-03-02T10:00:01");
  EXPECT_EQ(lines.back(), "253,RMS,230.1,\"k,V\",5.5,A,2026-03-02T10:00:01");

  std::ostringstream empty;
  WriteCsvExport(empty, CDTDoc{});
  EXPECT_EQ(empty.str(), "no,kind,ch1,ch1_unit,ch2,ch2_unit,time\r\n");
}

TEST(Export, PathsOfSave) {
  EXPECT_EQ(DataPathFor("/home/u/run.xls"), "/home/u/run.stdata");
  EXPECT_EQ(DataPathFor("/home/u/run"), "/home/u/run.stdata");
  EXPECT_EQ(DataPathFor("/home/u.v2/run"), "/home/u.v2/run.stdata");
  EXPECT_EQ(DataPathFor("/home/u/a.b.c"), "/home/u/a.b.stdata");
  EXPECT_EQ(DataPathFor("/home/u/.hidden"), "/home/u/.hidden.stdata");
  EXPECT_EQ(DataPathFor("run.stdata"), "run.stdata");
  EXPECT_EQ(ExportPathFor("/data.d/26-03-02  10.00.00.stdata"), "/data.d/26-03-02  10.00.00.xls");
}

TEST(Export, SaveWritesReportBesideTheDataFileAndTagsItStoreData) {
  test::ScratchDir dir;
  std::filesystem::create_directory(dir.Path() / "logs.2026");
  CDTDoc doc = StoreDoc(5, true, true);
  doc.formatTag = kTagRealTime;  // after a real-time run
  const std::string chosen = dir.File("logs.2026/site A");
  ASSERT_EQ(SaveDataAndExport(doc, chosen), "");
  EXPECT_EQ(doc.formatTag, kTagStore);
  EXPECT_EQ(test::ReadText(dir.File("logs.2026/site A.xls")), Export(doc));
  CDTDoc back;
  const LoadResult r = LoadDataFile(dir.File("logs.2026/site A.stdata"), back);
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.tag, "RMSTRDATA");

  // The report cannot be written: the data file is left as it was.
  const std::vector<std::uint8_t> before = test::ReadBytes(dir.File("logs.2026/site A.stdata"));
  std::filesystem::remove(dir.File("logs.2026/site A.xls"));
  std::filesystem::create_directories(dir.File("logs.2026/site A.xls/x"));
  CDTDoc other = StoreDoc(9, true, false);
  EXPECT_NE(SaveDataAndExport(other, chosen), "");
  EXPECT_EQ(test::ReadBytes(dir.File("logs.2026/site A.stdata")), before);
}

TEST(Export, SaveReplacesBothFilesOrNeither) {
  test::ScratchDir dir;
  const std::string chosen = dir.File("site");
  CDTDoc doc = StoreDoc(5, true, true);
  ASSERT_EQ(SaveDataAndExport(doc, chosen), "");
  const std::string oldReport = test::ReadText(dir.File("site.xls"));

  // The data file cannot be written (its name is taken by a folder): the
  // report beside it stays the old one, and no new report appears for a
  // data file that was never written.
  CDTDoc other = StoreDoc(9, true, false);
  std::filesystem::rename(dir.File("site.stdata"), dir.File("kept.stdata"));
  std::filesystem::create_directories(dir.File("site.stdata/x"));
  EXPECT_NE(SaveDataAndExport(other, chosen).find("folder"), std::string::npos);
  EXPECT_EQ(test::ReadText(dir.File("site.xls")), oldReport);
  std::filesystem::remove(dir.File("site.xls"));
  EXPECT_NE(SaveDataAndExport(other, chosen), "");
  EXPECT_FALSE(std::filesystem::exists(dir.File("site.xls")));

  // A save that works replaces both and leaves no temporary file behind.
  std::filesystem::remove_all(dir.File("site.stdata"));
  ASSERT_EQ(SaveDataAndExport(other, chosen), "");
  EXPECT_EQ(test::ReadText(dir.File("site.xls")), Export(other));
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"kept.stdata", "site.stdata", "site.xls"}));
}

}  // namespace
}  // namespace acv
