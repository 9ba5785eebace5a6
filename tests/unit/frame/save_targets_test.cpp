// The file a save dialog's choice really writes, per kind of save.
#include <gtest/gtest.h>

#include "frame/SaveTargets.h"

namespace acv {
namespace {

TEST(SaveTargets, ANameWithoutItsKindsExtensionGetsTheChosenFiltersOne) {
  const struct {
    SaveKind kind;
    const char* chosen;
    std::size_t filter;
    const char* written;
  } cases[] = {
      {SaveKind::Pdf, "/d/noext", 0, "/d/noext.pdf"},
      {SaveKind::Pdf, "/d/x.stdata", 0, "/d/x.stdata.pdf"},  // never the data file itself
      {SaveKind::Pdf, "/d/x.PDF", 0, "/d/x.PDF"},
      {SaveKind::Pdf, "/d.pdf/.pdf", 0, "/d.pdf/.pdf.pdf"},
      {SaveKind::Picture, "/d/g", 0, "/d/g.png"},
      {SaveKind::Picture, "/d/g", 1, "/d/g.svg"},
      {SaveKind::Picture, "/d/g.svg", 0, "/d/g.svg"},
      {SaveKind::Picture, "/d/g.v2", 1, "/d/g.v2.svg"},
      {SaveKind::Picture, "/d/g", 7, "/d/g.svg"},
      {SaveKind::Data, "/d/run", 0, "/d/run.stdata"},
      {SaveKind::Data, "/d/run.xls", 0, "/d/run.stdata"},
      {SaveKind::Csv, "/d/run.stdata", 0, "/d/run.stdata.csv"},
      {SaveKind::Comtrade, "/d/run-tr2", 0, "/d/run-tr2.cfg"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SaveTargetFor(c.kind, c.chosen, c.filter), c.written) << c.chosen;
  }
}

TEST(SaveTargets, TheCsvIsOfTheFamilyOnShowAndNamedAsTheCommandLineNamesIt) {
  EXPECT_TRUE(CsvOfRun(true, true, true));
  EXPECT_FALSE(CsvOfRun(false, true, true));
  EXPECT_TRUE(CsvOfRun(false, false, true));  // only a run: nothing else to write
  EXPECT_FALSE(CsvOfRun(true, true, false));
  EXPECT_EQ(ProposedCsvName("/d/m.stdata", false, "x"), "/d/m.csv");
  EXPECT_EQ(ProposedCsvName("/d/m.stdata", true, "x"), "/d/m-realtime.csv");
  EXPECT_EQ(ProposedCsvName("", false, "26-12-08  16.30.53"), "26-12-08  16.30.53.csv");
}

}  // namespace
}  // namespace acv
