// File > Export PDF and the graph pictures, through the main window.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>

#include "data/DataFile.h"
#include "frame/Commands.h"
#include "frame_fixture.h"
#include "graph/CDTView.h"
#include "graph/GraphPictureFile.h"

namespace acv::test {
namespace {

class ReportCommands : public FrameTest {
 protected:
  ReportCommands() {
    const std::string path = ui.Path("data.stdata");
    EXPECT_EQ(SaveDataFile(StoreData(56, true), path), "");
    EXPECT_TRUE(Frame().OpenDataFile(QString::fromStdString(path)));
    Frame().resize(1200, 800);
  }
  QString Out(const char* name) { return QString::fromStdString(ui.Path(name)); }
};

int PdfPages(const QString& path) {
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {path});
  info.waitForFinished(30000);
  const QString text = QString::fromLatin1(info.readAllStandardOutput());
  const qsizetype at = text.indexOf(QStringLiteral("Pages:"));
  return at < 0 ? -1 : text.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

QString PdfPageText(const QString& path, int page) {
  QProcess text;
  const QString n = QString::number(page);
  text.start(QStringLiteral("pdftotext"),
             {QStringLiteral("-f"), n, QStringLiteral("-l"), n, path, QStringLiteral("-")});
  text.waitForFinished(30000);
  return QString::fromUtf8(text.readAllStandardOutput());
}

TEST_F(ReportCommands, ExportPdfWritesTheListPagesTheGraphPageAndTheSummary) {
  ui.prompter.saveName = Out("list.pdf");
  Frame().OnCommand(cmd::kExportPdfList);
  EXPECT_EQ(ui.prompter.saveKinds, std::vector<SaveKind>{SaveKind::Pdf});
  EXPECT_EQ(PdfPages(Out("list.pdf")), 2);
  ui.prompter.saveName = Out("graph.pdf");
  Frame().OnCommand(cmd::kExportPdfGraph);
  EXPECT_EQ(PdfPages(Out("graph.pdf")), 1);
  // A text page, the compliance page of CH1 (V) and the graph page with
  // the events shaded.
  ui.prompter.saveName = Out("summary.pdf");
  Frame().OnCommand(cmd::kExportPdfSummary);
  EXPECT_EQ(PdfPages(Out("summary.pdf")), 3);
  EXPECT_TRUE(PdfPageText(Out("summary.pdf"), 2).contains(QStringLiteral("WEEKLY VERDICT, CH1")));
  for (int page = 1; page <= 3; ++page) {  // the graph page has its footer too
    EXPECT_TRUE(PdfPageText(Out("summary.pdf"), page).contains(QStringLiteral("page%1").arg(page)))
        << page;
  }
  EXPECT_EQ(ui.prompter.proposedNames.value(2), "Summary Report.pdf");
  EXPECT_TRUE(ui.prompter.messages.isEmpty()) << ui.prompter.messages.join('\n').toStdString();
}

TEST_F(ReportCommands, PicturesAsPngOfAnySizeAndAsSvgWithLines) {
  CDTView& view = *Frame().View();
  view.resize(900, 600);
  // The graph as on the screen below the 120-pixel information strip, whose
  // band is left out rather than saved empty: the top row is the black
  // surround, as on the screen.
  ASSERT_EQ(SaveGraphPicture(view, Out("a.png")), "");
  const QImage a(Out("a.png"));
  EXPECT_EQ(a.size(), QSize(900, 480));
  EXPECT_EQ(a.copy(0, 0, 900, 1), view.Picture().copy(0, 120, 900, 1).convertToFormat(a.format()));
  ASSERT_EQ(SaveGraphPicture(view, Out("b.png"), QSize(1920, 1080)), "");
  const QImage b(Out("b.png"));
  EXPECT_EQ(b.size(), QSize(1920, 1080));
  EXPECT_EQ(b.pixel(960, 2), qRgb(0, 0, 0));
  ASSERT_EQ(SaveGraphPicture(view, Out("c.svg")), "");
  QFile svg(Out("c.svg"));
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray text = svg.readAll();
  EXPECT_TRUE(text.contains("<polyline") || text.contains("<path")) << text.left(400).toStdString();
  EXPECT_FALSE(text.contains("<image"));  // drawn, not a picture inside
  EXPECT_TRUE(text.contains("viewBox=\"0 120 900 480\"")) << text.left(400).toStdString();
  EXPECT_NE(SaveGraphPicture(view, Out("d.png"), QSize(20000, 10)), "");
  EXPECT_FALSE(QFile::exists(Out("d.png")));
}

}  // namespace
}  // namespace acv::test
