#pragma once
// The three "save first?" questions of the window and the flags behind them.
// A question is asked only when data would otherwise be replaced or dropped
// without having been saved; its answer, and a save, clear the flags.
#include <string>

#include "frame/FrameState.h"

namespace acv {

enum class SavePrompt {
  BeforeDownload,  // the Download command replaces the STORE data
  BeforeOpen,      // the Open command replaces the shown data
  BeforeClose,     // closing the window
  BeforeRun,       // the Run command replaces the run's points
};

inline constexpr const char* kAskSaveBeforeDownload =
    "Do you want to save the existing RMS&TR graph data before continuing?";
inline constexpr const char* kAskSaveBeforeOpen =
    "Do you want to save the existing graph data before continuing?";
inline constexpr const char* kAskSaveBeforeClose = "Do you want to save the data before closing?";

const char* PromptText(SavePrompt prompt);

// Whether the question must be asked now.
bool NeedsSavePrompt(SavePrompt prompt, const FrameState& frame, const ViewFacts& facts);

// The user answered. answeredYes with saved = false means the save was
// cancelled or failed: the flags stay set so that the data are offered again,
// and the caller does not go on with its command. Returns whether the caller
// may go on.
bool AfterSavePrompt(SavePrompt prompt, FrameState& frame, bool answeredYes, bool saved);

// A data file was written: nothing is unsaved any more.
void MarkSaved(FrameState& frame);

// A run's points (taken now or recovered from a journal) are in no data file
// of the user's: every question before replacing or closing them is asked.
void MarkRunUnsaved(FrameState& frame);

// The save dialog's proposed name for a time stamp: "%y-%m-%d  %H.%M.%S"
// (two blanks between date and time).
std::string ProposedSaveName(TimeStamp now);

}  // namespace acv
