#pragma once
// The graph of a printed page without a window: the display of a data set
// painted as a window of the usual size shows it, for the CLI's report and
// the benches.
#include <QImage>
#include <memory>

#include "data/CDTDoc.h"
#include "data/Settings.h"
#include "frame/ReportDisplay.h"
#include "graph/geometry/EventBands.h"

namespace acv {

// In the full view, with the colours and options of the settings; the
// events of `shading` shaded when given.
QImage ReportGraphPicture(const CDTDoc& doc, const ReportDisplay& display,
                          const AppSettings& settings,
                          std::shared_ptr<const EventShading> shading = nullptr);

}  // namespace acv
