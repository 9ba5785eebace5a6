#include "graph/ReportGraph.h"

#include "graph/CDTView.h"

namespace acv {
namespace {

// The graph as a window of this size shows it.
constexpr int kGraphWidth = 1200;
constexpr int kGraphHeight = 800;

}  // namespace

QImage ReportGraphPicture(const CDTDoc& doc, const ReportDisplay& display,
                          const AppSettings& settings,
                          std::shared_ptr<const EventShading> shading) {
  CDTView view(doc);
  view.TakeSettings(settings);
  view.resize(kGraphWidth, kGraphHeight);
  view.SetDisplayMode(display.mode);
  view.ApplyDisplay(display.setup);
  view.SetInfoTexts(display.info);
  view.SetEventShading(std::move(shading));
  view.ZoomReset();
  return view.GraphPicture(true);
}

}  // namespace acv
