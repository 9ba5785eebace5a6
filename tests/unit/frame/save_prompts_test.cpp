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

TEST(SavePrompts, ProposedNameHasTwoBlanksBetweenDateAndTime) {
  EXPECT_EQ(ProposedSaveName(1700000000), "23-11-14  22.13.20");
}

}  // namespace
}  // namespace acv
