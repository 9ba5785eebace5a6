#pragma once
// A graph view on its own (no main window), 1020 x 580 pixels with the
// information strip hidden, so that the plot is (110, 70) - (910, 470):
// 800 pixels wide and 400 high. Its timers run on a fake clock; the mouse
// is simulated with events.
#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <memory>
#include <string>

#include "WidgetTestSupport.h"
#include "graph/CDTView.h"
#include "support/FakeClock.h"

namespace acv::test {

inline constexpr QRgb kBlackPixel = 0xFF000000;
inline constexpr QRgb kRedPixel = 0xFFFF0000;
inline constexpr QRgb kGreenPixel = 0xFF00FF00;
inline constexpr QRgb kBluePixel = 0xFF0000FF;
inline constexpr QRgb kWhitePixel = 0xFFFFFFFF;
// The markers' colours on the default plot: A magenta, B cyan.
inline constexpr QRgb kMagentaPixel = 0xFFFF00FF;
inline constexpr QRgb kCyanPixel = 0xFF00FFFF;
inline const QRect kPlotArea(QPoint(110, 70), QPoint(909, 469));

class GraphViewTest : public ::testing::Test {
 protected:
  GraphViewTest() {
    App();
    view_ = std::make_unique<CDTView>(doc_);
    view_->UseTimerHost(&timers_);
    view_->resize(1020, 580);
    view_->show();
  }

  // A graph of the mode with the Y ranges 0..300 (CH1) and 0..10 (CH2).
  DisplaySetup Setup(int lastPoint, bool ch1, bool ch2, const std::string& unit1 = "V",
                     const std::string& unit2 = "A") {
    DisplaySetup s;
    s.displayMode = 1;
    s.firstPoint = 1;
    s.lastPoint = lastPoint;
    s.panelHeight = 0;
    s.plotCh1 = ch1;
    s.plotCh2 = ch2;
    s.ch1UnitText = unit1;
    s.ch2UnitText = unit2;
    s.ch1To = 300;
    s.ch2To = 10;
    return s;
  }
  void Show(DisplayMode mode, const DisplaySetup& setup) {
    view_->SetDisplayMode(mode);
    view_->ApplyDisplay(setup);
    view_->ZoomReset();
  }

  void Mouse(QEvent::Type type, int x, int y, Qt::MouseButtons held) {
    const QPointF at(x, y);
    QMouseEvent event(type, at, view_->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(view_.get(), &event);
  }
  void MoveTo(int x, int y) { Mouse(QEvent::MouseMove, x, y, Qt::NoButton); }
  // Press, move in steps, release, as a hand would drag.
  void Drag(int x0, int y0, int x1, int y1) {
    Mouse(QEvent::MouseButtonPress, x0, y0, Qt::LeftButton);
    Mouse(QEvent::MouseMove, (x0 + x1) / 2, (y0 + y1) / 2, Qt::LeftButton);
    Mouse(QEvent::MouseMove, x1, y1, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, x1, y1, Qt::NoButton);
  }
  // The readout after the cursor moved to x in the middle of the plot.
  std::string ReadoutAt(int x) {
    MoveTo(x, 270);
    return view_->State().readoutText;
  }
  // The point number the readout shows at x.
  int PointAt(int x) {
    const std::string text = ReadoutAt(x);
    const std::string tag = "Data Point No.:";
    const auto at = text.find(tag);
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + tag.size()));
  }

  static int Count(const QImage& image, QRgb colour, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) == colour;
    }
    return n;
  }
  // Pixels of mostly the given primary colour (smoothed text is never pure).
  static int CountTinted(const QImage& image, QRgb colour, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        const QRgb p = image.pixel(x, y);
        const int channels[3] = {qRed(p), qGreen(p), qBlue(p)};
        const int wanted[3] = {qRed(colour), qGreen(colour), qBlue(colour)};
        bool near = true;
        for (int c = 0; c < 3; ++c)
          near = near && (wanted[c] > 0 ? channels[c] > 120 : channels[c] < 90);
        n += near;
      }
    }
    return n;
  }
  static int Differences(const QImage& a, const QImage& b, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    }
    return n;
  }

  CDTDoc doc_;
  FakeClock clock_;
  FakeTimerHost timers_{clock_};
  std::unique_ptr<CDTView> view_;
};

}  // namespace acv::test
