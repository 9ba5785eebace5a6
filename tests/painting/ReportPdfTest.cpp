// The PDF writer: a cancelled or failed write leaves no file behind and an
// older file of that name as it was. PDF pages and pictures go through the
// program's one file writer to every kind of target.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>

#include "PaintFixture.h"
#include "graph/GraphPictureFile.h"
#include "graph/ReportPdf.h"
#include "support/WriteTargets.h"

namespace acv::test {
namespace {

class NumberedRows : public ListText {
 public:
  explicit NumberedRows(std::int64_t rows) : rows_(rows) {}
  std::int64_t RowCount() const override { return rows_; }
  std::vector<std::string> Headers() const override { return {"No.", "Time", "CH1", "CH2"}; }
  std::string Cell(std::int64_t row, int column) const override {
    return column == 0 ? std::to_string(row + 1) : "1.0 V";
  }

 private:
  std::int64_t rows_;
};

class ReportPdf : public PaintTest {
 protected:
  QString Path() const { return dir_.filePath(QStringLiteral("report.pdf")); }
  QTemporaryDir dir_;
};

TEST_F(ReportPdf, ACancelLeavesNoFileAndKeepsAnOlderOne) {
  ReportFacts facts;
  facts.mode = DisplayMode::StoreRms;
  const NumberedRows rows(1000);
  const QPageLayout a4 = DefaultReportLayout(QPageLayout::Portrait);
  int seen = 0;
  PdfOutcome out = WriteListPdf(Path(), a4, facts, rows, [&seen](int done, int total) {
    EXPECT_EQ(total, 17);  // 55 + 16 x 60 rows cover 1000
    seen = done;
    return done < 3;
  });
  EXPECT_TRUE(out.cancelled);
  EXPECT_FALSE(out.written);
  EXPECT_EQ(seen, 3);
  EXPECT_FALSE(QFile::exists(Path()));
  EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());  // no temporary left

  ASSERT_TRUE(WriteListPdf(Path(), a4, facts, NumberedRows(10)).written);
  const qint64 size = QFileInfo(Path()).size();
  WriteListPdf(Path(), a4, facts, rows, [](int, int) { return false; });
  EXPECT_EQ(QFileInfo(Path()).size(), size);
}

TEST_F(ReportPdf, AnUnwritableFolderIsReported) {
  const PdfOutcome out = WriteGraphPdf(dir_.filePath(QStringLiteral("missing/graph.pdf")),
                                       DefaultReportLayout(QPageLayout::Landscape),
                                       QImage(10, 10, QImage::Format_RGB32), ReportFacts{});
  EXPECT_FALSE(out.written);
  EXPECT_NE(out.error.find("missing/graph.pdf"), std::string::npos) << out.error;
}

TEST_F(ReportPdf, PdfPagesAndPicturesAreSafeOnEveryTarget) {
  ReportFacts facts;
  facts.mode = DisplayMode::StoreRms;
  const QImage picture = ClientImage(64, 48);
  const auto pdf = [](const PdfOutcome& out) { return out.written ? std::string() : out.error; };
  const struct {
    const char* output;
    WriteOutput write;
  } outputs[] = {
      {"graph PDF",
       [&](const std::string& path, const std::vector<std::string>& inputs) {
         return pdf(WriteGraphPdf(QString::fromStdString(path),
                                  DefaultReportLayout(QPageLayout::Landscape), picture, facts,
                                  inputs));
       }},
      {"list PDF",
       [&](const std::string& path, const std::vector<std::string>& inputs) {
         return pdf(WriteListPdf(QString::fromStdString(path),
                                 DefaultReportLayout(QPageLayout::Portrait), facts,
                                 NumberedRows(70), {}, 1, 0, inputs));
       }},
      {"PNG",
       [&](const std::string& path, const std::vector<std::string>& inputs) {
         return SavePictureFile(picture, QString::fromStdString(path), inputs);
       }},
      {"SVG",
       [&](const std::string& path, const std::vector<std::string>& inputs) {
         return SaveSvgFile(
             QString::fromStdString(path), QRect(0, 0, 64, 48),
             [](QPaintDevice& d) { QPainter(&d).drawLine(0, 0, 63, 47); }, inputs);
       }},
  };
  for (const auto& out : outputs) {
    SCOPED_TRACE(out.output);
    ExpectSafeOnEveryTarget(out.write);
  }
}

}  // namespace
}  // namespace acv::test
