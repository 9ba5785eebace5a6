#include "frame/SavePrompts.h"

#include "data/TimeText.h"

namespace acv {

const char* PromptText(SavePrompt prompt) {
  switch (prompt) {
    case SavePrompt::BeforeDownload:
      return kAskSaveBeforeDownload;
    case SavePrompt::BeforeOpen:
    case SavePrompt::BeforeRun:
      return kAskSaveBeforeOpen;
    case SavePrompt::BeforeClose:
      return kAskSaveBeforeClose;
  }
  return "";
}

bool NeedsSavePrompt(SavePrompt prompt, const FrameState& frame, const ViewFacts& facts) {
  switch (prompt) {
    case SavePrompt::BeforeDownload:
      return facts.rmsCount > 0 && !facts.dataSaved && frame.dataUnsaved == 1 &&
             frame.storePromptArmed == 1;
    case SavePrompt::BeforeOpen:
      return (facts.lastPoint > 0 && !facts.dataSaved && frame.dataUnsaved == 1 &&
              frame.realTimePromptArmed == 1) ||
             frame.runUnsaved == 1;
    case SavePrompt::BeforeClose:
      // A single downloaded point is not worth a question; it is kept as the
      // previous measurement anyway. A run's points are: the next run
      // replaces the previous measurement.
      return (facts.lastPoint > 1 && frame.dataUnsaved == 1 && frame.realTimePromptArmed == 1) ||
             frame.runUnsaved == 1;
    case SavePrompt::BeforeRun:
      return frame.runUnsaved == 1;
  }
  return false;
}

bool AfterSavePrompt(SavePrompt prompt, FrameState& frame, bool answeredYes, bool saved) {
  if (answeredYes && !saved) return false;
  if (saved) {
    MarkSaved(frame);
    return true;
  }
  // "No": the user lets the data go; do not ask again for the same data.
  frame.dataUnsaved = 0;
  if (prompt == SavePrompt::BeforeDownload) {
    // A download replaces the STORE data only; an unsaved run stays unsaved.
    frame.storePromptArmed = 0;
  } else {
    frame.realTimePromptArmed = 0;
    frame.runUnsaved = 0;
  }
  return true;
}

void MarkSaved(FrameState& frame) {
  frame.dataUnsaved = 0;
  frame.realTimePromptArmed = 0;
  frame.storePromptArmed = 0;
  frame.runUnsaved = 0;
}

void MarkRunUnsaved(FrameState& frame) {
  frame.dataUnsaved = 1;
  frame.realTimePromptArmed = 1;
  frame.runUnsaved = 1;
}

std::string ProposedSaveName(TimeStamp now) {
  return FormatTime(now, "%y-%m-%d  %H.%M.%S");
}

}  // namespace acv
