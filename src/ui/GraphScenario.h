#pragma once
// The hidden picture-script helpers of the graph: once the data are on show,
// enter a display, drag a zoom band and put the cursor somewhere, as a user
// would with the mouse, so that a screenshot shows those states.
#include "frame/CommandLine.h"

namespace acv {

class CMainFrame;

// Does nothing when the line asks for none of it. The steps are spread over
// the next few hundred milliseconds, so that each one is painted before the
// next.
void PlayGraphScenario(CMainFrame& frame, const CommandLine& line);

}  // namespace acv
