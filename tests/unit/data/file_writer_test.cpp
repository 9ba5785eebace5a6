// The one way the programs write a file, for every output of the data layer
// and every kind of target (WriteTargets.h), and its housekeeping.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "data/DataFile.h"
#include "data/Export.h"
#include "data/FileIO.h"
#include "data/IniFile.h"
#include "data/RealTimeExport.h"
#include "data_test_util.h"
#include "support/WriteTargets.h"

namespace acv::test {
namespace {

CDTDoc RunDoc() {
  CDTDoc doc = StoreDoc(30, true, true);
  doc.formatTag = kTagRealTime;
  doc.rtCount = 3;
  doc.rtHasCh1 = 1;
  doc.rtUnitCh1 = "V";
  doc.rtRms = {{230, 0}, {231, 0}, {232, 0}};
  doc.rtFreq = {{50, 0}, {50, 0}, {50, 0}};
  return doc;
}

TEST(FileWriter, EveryOutputIsSafeOnEveryTarget) {
  const CDTDoc doc = RunDoc();
  const struct {
    const char* output;
    std::function<void(std::ostream&)> write;
  } outputs[] = {
      {"data file",
       [&](std::ostream& o) {
         const auto bytes = EncodeDataFile(doc);
         o.write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
       }},
      {".xls", [&](std::ostream& o) { WriteExport(o, doc); }},
      {"CSV", [&](std::ostream& o) { WriteCsvExport(o, doc); }},
      {"real-time .xls", [&](std::ostream& o) { WriteRealTimeExport(o, doc); }},
      {"real-time CSV", [&](std::ostream& o) { WriteRealTimeCsv(o, doc); }},
      {"settings", [](std::ostream& o) { o << IniFile::Parse("[Time]\nYEAR=26\n").Text(); }},
  };
  for (const auto& out : outputs) {
    SCOPED_TRACE(out.output);
    ExpectSafeOnEveryTarget([&](const std::string& path, const std::vector<std::string>& inputs) {
      return WriteFileWith(path, out.write, inputs);
    });
  }
}

// A save killed by a signal leaves its hidden temporary file; the next save
// to the folder removes it, and never one of a save still going on.
TEST(FileWriter, TemporariesOfKilledProgramsGoWithTheNextSave) {
  ScratchDir dir;
  const pid_t gone = [] {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
  }();
  const std::string left = dir.File(".x.stdata.tmp" + std::to_string(gone) + "-0");
  const std::string leftLink = dir.File(".y.xls.old" + std::to_string(gone) + "-3");
  const std::string live = dir.File(".x.stdata.tmp" + std::to_string(::getppid()) + "-1");
  const std::string foreign = dir.File(".notes.tmp-1");
  for (const std::string& f : {left, leftLink, live, foreign}) WriteBytes(f, {1});
  ASSERT_EQ(SaveDataFile(StoreDoc(2, true, false), dir.File("x.stdata")), "");
  EXPECT_FALSE(std::filesystem::exists(left));
  EXPECT_FALSE(std::filesystem::exists(leftLink));
  EXPECT_TRUE(std::filesystem::exists(live));
  EXPECT_TRUE(std::filesystem::exists(foreign));
}

}  // namespace
}  // namespace acv::test
