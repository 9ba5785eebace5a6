#pragma once
// When a command of the main window may run and whether it carries a check
// mark. Menus, the toolbar and the start-screen buttons all ask these rules
// (and ask again before acting), so a command is never reachable one way and
// refused another.
#include "frame/FrameState.h"

namespace acv {

// Commands without a rule are enabled; unknown ids too.
bool CommandEnabled(int id, const FrameState& frame, const ViewFacts& facts);
bool CommandChecked(int id, const FrameState& frame);
// Whether a command has a check mark at all (mode and toggle commands).
bool CommandCheckable(int id);

}  // namespace acv
