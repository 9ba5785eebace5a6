// The three "save first?" questions: when they are asked and what the answer
// does to the flags.
#include <gtest/gtest.h>

#include "frame/SavePrompts.h"

namespace acv {
namespace {

ViewFacts Shown(int points, bool fromFile = false) {
  ViewFacts f;
  f.displayMode = 1;
  f.lastPoint = points;
  f.rmsCount = points;
  f.dataSaved = fromFile;
  return f;
}

// The state after a download: new data, prompts as at start.
FrameState AfterDownload() {
  FrameState frame;
  frame.dataUnsaved = 1;
  return frame;
}

TEST(SavePrompts, OpenAndCloseAskAboutNewDataUntilItIsSaved) {
  FrameState frame = AfterDownload();
  EXPECT_TRUE(NeedsSavePrompt(SavePrompt::BeforeOpen, frame, Shown(10)));
  EXPECT_TRUE(NeedsSavePrompt(SavePrompt::BeforeClose, frame, Shown(10)));
  // The download question also needs the set-up dialog to have armed it.
  EXPECT_FALSE(NeedsSavePrompt(SavePrompt::BeforeDownload, frame, Shown(10)));
  frame.storePromptArmed = 1;
  EXPECT_TRUE(NeedsSavePrompt(SavePrompt::BeforeDownload, frame, Shown(10)));
  MarkSaved(frame);
  for (SavePrompt p :
       {SavePrompt::BeforeOpen, SavePrompt::BeforeClose, SavePrompt::BeforeDownload}) {
    EXPECT_FALSE(NeedsSavePrompt(p, frame, Shown(10)));
  }
}

TEST(SavePrompts, DataFromAFileOrTooFewPointsAreNotAskedAbout) {
  FrameState frame = AfterDownload();
  frame.storePromptArmed = 1;
  EXPECT_FALSE(NeedsSavePrompt(SavePrompt::BeforeOpen, frame, Shown(10, true)));
  EXPECT_FALSE(NeedsSavePrompt(SavePrompt::BeforeDownload, frame, Shown(10, true)));
  EXPECT_FALSE(NeedsSavePrompt(SavePrompt::BeforeOpen, frame, Shown(0)));
  EXPECT_TRUE(NeedsSavePrompt(SavePrompt::BeforeOpen, frame, Shown(1)));
  EXPECT_FALSE(NeedsSavePrompt(SavePrompt::BeforeClose, frame, Shown(1)));
  EXPECT_TRUE(NeedsSavePrompt(SavePrompt::BeforeClose, frame, Shown(2)));
}

TEST(SavePrompts, AnsweringNoClearsOnlyThatQuestionsFlags) {
  FrameState frame = AfterDownload();
  frame.storePromptArmed = 1;
  EXPECT_TRUE(AfterSavePrompt(SavePrompt::BeforeDownload, frame, false, false));
  EXPECT_EQ(frame.dataUnsaved, 0);
  EXPECT_EQ(frame.storePromptArmed, 0);
  EXPECT_EQ(frame.realTimePromptArmed, 1);

  frame = AfterDownload();
  frame.storePromptArmed = 1;
  EXPECT_TRUE(AfterSavePrompt(SavePrompt::BeforeOpen, frame, false, false));
  EXPECT_EQ(frame.dataUnsaved, 0);
  EXPECT_EQ(frame.realTimePromptArmed, 0);
  EXPECT_EQ(frame.storePromptArmed, 1);
}

TEST(SavePrompts, ASuccessfulSaveClearsAllFlags) {
  FrameState frame = AfterDownload();
  frame.storePromptArmed = 1;
  EXPECT_TRUE(AfterSavePrompt(SavePrompt::BeforeClose, frame, true, true));
  EXPECT_EQ(frame.dataUnsaved, 0);
  EXPECT_EQ(frame.realTimePromptArmed, 0);
  EXPECT_EQ(frame.storePromptArmed, 0);
}

TEST(SavePrompts, AFailedOrCancelledSaveKeepsTheFlagsAndStopsTheCommand) {
  for (SavePrompt p :
       {SavePrompt::BeforeOpen, SavePrompt::BeforeClose, SavePrompt::BeforeDownload}) {
    FrameState frame = AfterDownload();
    frame.storePromptArmed = 1;
    EXPECT_FALSE(AfterSavePrompt(p, frame, true, false));
    EXPECT_EQ(frame.dataUnsaved, 1);
    EXPECT_EQ(frame.storePromptArmed, 1);
    EXPECT_EQ(frame.realTimePromptArmed, 1);
    EXPECT_TRUE(NeedsSavePrompt(p, frame, Shown(10)));
  }
}

TEST(SavePrompts, AnUnsavedRunIsAskedAboutWhereverItCouldBeReplacedOrDropped) {
  // A run, then a download whose question was answered No: the flags of the
  // other questions are down, the run's points are in no file.
  FrameState frame;
  frame.runUnsaved = 1;
  frame.realTimePromptArmed = 0;
  const ViewFacts fromFile = Shown(1, true);
  for (SavePrompt p : {SavePrompt::BeforeOpen, SavePrompt::BeforeClose, SavePrompt::BeforeRun}) {
    EXPECT_TRUE(NeedsSavePrompt(p, frame, fromFile)) << static_cast<int>(p);
    FrameState answered = frame;
    EXPECT_TRUE(AfterSavePrompt(p, answered, false, false));
    EXPECT_EQ(answered.runUnsaved, 0) << static_cast<int>(p);
  }
  EXPECT_EQ(PromptText(SavePrompt::BeforeRun), PromptText(SavePrompt::BeforeOpen));
  // The download leaves the run in place: its own rule, and No keeps the run unsaved.
  EXPECT_FALSE(NeedsSavePrompt(SavePrompt::BeforeDownload, frame, fromFile));
  EXPECT_TRUE(AfterSavePrompt(SavePrompt::BeforeDownload, frame, false, false));
  EXPECT_EQ(frame.runUnsaved, 1);
  MarkSaved(frame);
  EXPECT_FALSE(NeedsSavePrompt(SavePrompt::BeforeRun, frame, fromFile));
}

TEST(SavePrompts, ProposedNameHasTwoBlanksBetweenDateAndTime) {
  EXPECT_EQ(ProposedSaveName(1700000000), "23-11-14  22.13.20");
}

}  // namespace
}  // namespace acv
