// The one way the programs write a file, for every output of the data layer
// and every kind of target (WriteTargets.h), and its housekeeping.
#include <gtest/gtest.h>
#include <sys/stat.h>
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
      {"real-time CSV", [&](std::ostream& o) { WriteRealTimeCsv(o, doc, {}); }},
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

// A user who may not give the replaced file back to its owner and group
// (the file is another user's, in a folder both may write) still saves it,
// and is told what the file now belongs to. Needs root, to act as that
// user in a child process.
TEST(FileWriter, AnOwnerThatCannotBeKeptIsToldNotHidden) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to save as another user";
  ScratchDir dir;
  const std::string target = dir.File("shared.stdata");
  const std::string told = dir.File("notice.txt");
  WriteBytes(target, {1, 2, 3});
  ASSERT_EQ(::chown(target.c_str(), 4321, 4322), 0);
  ::chmod(target.c_str(), 0666);
  std::filesystem::permissions(dir.File(""), std::filesystem::perms::all);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setegid(4400) != 0 || ::seteuid(4400) != 0) ::_exit(3);
    std::string notice;
    SetSaveNoticeHandler([&notice](const std::string& text) { notice += text; });
    const std::string error = WriteFileAtomically(target, std::vector<std::uint8_t>{9});
    WriteBytes(told, std::vector<std::uint8_t>(notice.begin(), notice.end()));
    ::_exit(error.empty() ? 0 : 4);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes(target), std::vector<std::uint8_t>{9});
  const std::vector<std::uint8_t> bytes = ReadBytes(told);
  const std::string notice(bytes.begin(), bytes.end());
  EXPECT_NE(notice.find("'" + target + "' was written, but could not keep its owner "),
            std::string::npos)
      << notice;
  EXPECT_NE(notice.find("group"), std::string::npos) << notice;
  struct stat st {};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 4400u);
}

}  // namespace
}  // namespace acv::test
