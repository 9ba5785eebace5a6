#pragma once
// Offscreen painting: one QGuiApplication for the whole program (the test
// main comes from gtest), images of the client size, and the data sets of
// the geometry tests.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include "graph/GraphPainter.h"
#include "unit/graph/GraphFixtures.h"

namespace acv::test {

inline constexpr QRgb kBlack = 0xFF000000;
inline constexpr QRgb kRed = 0xFFFF0000;
inline constexpr QRgb kGreen = 0xFF00FF00;
inline constexpr QRgb kBlue = 0xFF0000FF;
inline constexpr QRgb kWhite = 0xFFFFFFFF;

class PaintTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QGuiApplication::instance() != nullptr) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "paint_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
  }

  static QImage ClientImage(int width = kClient.right, int height = kClient.bottom) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);  // anything the paint forgets stands out
    return image;
  }

  // Pixels of a colour inside a rectangle (inclusive corners).
  static int Count(const QImage& image, QRgb colour, const Rect& r) {
    int n = 0;
    for (int y = std::max(0, r.top); y <= std::min(image.height() - 1, r.bottom); ++y) {
      for (int x = std::max(0, r.left); x <= std::min(image.width() - 1, r.right); ++x) {
        if (image.pixel(x, y) == colour) ++n;
      }
    }
    return n;
  }

  // Dark pixels (text on the grey box is drawn smoothed, so few are pure black).
  static int CountDark(const QImage& image, const Rect& r) {
    int n = 0;
    for (int y = r.top; y <= r.bottom; ++y) {
      for (int x = r.left; x <= r.right; ++x) {
        if (qGray(image.pixel(x, y)) < 100) ++n;
      }
    }
    return n;
  }

  static int Differences(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y) {
      for (int x = 0; x < a.width(); ++x) {
        if (a.pixel(x, y) != b.pixel(x, y)) ++n;
      }
    }
    return n;
  }

  GraphPainter painter_;
};

}  // namespace acv::test
