// The start-up recovery offer: which journals are asked about, and when a
// recovery warns instead of only saying what it did.
#include <gtest/gtest.h>

#include "frame/RecoveryChoices.h"
#include "frame/SavePrompts.h"

namespace acv {
namespace {

TEST(RecoveryChoices, OnlyATakenJournalWithPointsIsAskedAbout) {
  struct Case {
    bool taken, readable;
    std::int64_t points;
    RecoveryStep step;
  };
  for (const Case& c : {Case{false, true, 10, RecoveryStep::Leave},  // another program's
                        Case{true, false, 0, RecoveryStep::SetAside},
                        Case{true, true, 0, RecoveryStep::SetAside},  // a head and no point
                        Case{true, true, 1, RecoveryStep::Ask}}) {
    EXPECT_EQ(FirstRecoveryStep(c.taken, c.readable, c.points), c.step)
        << c.taken << c.readable << c.points;
  }
}

TEST(RecoveryChoices, AWarningOnlyForDroppedPointsOrAJournalThatStayedAndWaitingRunsAreSaid) {
  EXPECT_EQ(ReportRecovery("Recovered 5 points.", 0, "", 0).warning, "");
  EXPECT_EQ(ReportRecovery("Recovered 5 points; 1 dropped.", 1, "", 0).warning,
            "Recovered 5 points; 1 dropped.");
  const RecoveryReport kept = ReportRecovery("Recovered 5 points.", 0, "the journal stays", 0);
  EXPECT_EQ(kept.warning, "Recovered 5 points. The journal stays");
  EXPECT_EQ(kept.status, "Recovered 5 points.");
  EXPECT_EQ(ReportRecovery("Recovered 5 points.", 0, "", 2).status,
            "Recovered 5 points. 2 more runs are offered at the next start.");
}

TEST(RecoveryChoices, ARecoveredRunIsAskedAboutBeforeAnythingReplacesIt) {
  FrameState frame;
  MarkRunUnsaved(frame);
  ViewFacts shown;
  shown.displayMode = 4;
  shown.lastPoint = shown.rtCount = 5;
  for (SavePrompt p : {SavePrompt::BeforeOpen, SavePrompt::BeforeClose, SavePrompt::BeforeRun}) {
    EXPECT_TRUE(NeedsSavePrompt(p, frame, shown)) << static_cast<int>(p);
  }
}

}  // namespace
}  // namespace acv
