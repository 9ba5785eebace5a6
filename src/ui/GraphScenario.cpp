#include "ui/GraphScenario.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include "frame/Commands.h"
#include "graph/CDTView.h"
#include "ui/CMainFrame.h"
#include "ui/panels/CTrFileListDlg.h"

namespace acv {
namespace {

int DisplayCommand(const std::string& name) {
  if (name == "store-rms") return cmd::kStoreRms;
  if (name == "store-tr") return cmd::kStoreTr;
  if (name == "realtime-epa") return cmd::kRealTimeEpa;
  if (name == "realtime-rms") return cmd::kRealTimeRms;
  if (name == "realtime-freq") return cmd::kRealTimeFreq;
  if (name == "realtime-s") return cmd::kRealTimeS;
  return 0;
}

void SendMouse(QWidget* view, QEvent::Type type, int x, int y, Qt::MouseButtons held) {
  const QPointF at(x, y);
  QMouseEvent event(type, at, view->mapToGlobal(at),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(view, &event);
}

}  // namespace

void PlayGraphScenario(CMainFrame& frame, const CommandLine& line) {
  if (const int command = DisplayCommand(line.autoMode); command != 0) frame.OnCommand(command);
  if (line.autoRecord >= 0) {
    frame.ShowTrRecord(line.autoRecord);
    frame.Tools().SelectTrRecord(line.autoRecord);
  }
  if (line.autoList) frame.OnCommand(cmd::kDataList);
  QPointer<CDTView> view = frame.View();
  // The first graph paint resets the zoom 50 ms later; the band comes after it.
  if (line.autoZoom.size() == 4) {
    const std::vector<int> z = line.autoZoom;
    QTimer::singleShot(250, view, [view, z] {
      SendMouse(view, QEvent::MouseButtonPress, z[0], z[1], Qt::LeftButton);
      SendMouse(view, QEvent::MouseMove, (z[0] + z[2]) / 2, (z[1] + z[3]) / 2, Qt::LeftButton);
      SendMouse(view, QEvent::MouseMove, z[2], z[3], Qt::LeftButton);
      SendMouse(view, QEvent::MouseButtonRelease, z[2], z[3], Qt::NoButton);
    });
  }
  if (line.autoCursor.size() == 2) {
    const std::vector<int> c = line.autoCursor;
    QTimer::singleShot(450, view, [view, c] {
      view->Picture();  // a zoom just accepted is applied first
      SendMouse(view, QEvent::MouseMove, c[0], c[1], Qt::NoButton);
    });
  }
}

}  // namespace acv
