#pragma once
// Integer rectangles and the one conversion from a computed position to a
// device pixel. Positions are doubles; a pixel is the position truncated
// toward zero. Values from a file or the wire can be anything, so the
// conversion first bounds them: an int conversion of a huge or NaN double is
// undefined behaviour, and no drawing needs more than a billion pixels.
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace acv {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

struct PixelPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PixelPoint&) const = default;
};

// The x positions of a view as a line: every rule that moves x is linear.
struct XMapping {
  double origin = 0.0;  // x of point firstPoint - 1
  double step = 0.0;    // distance between two consecutive points
  // x of the k-th point after firstPoint - 1.
  double At(std::int64_t k) const { return origin + step * static_cast<double>(k); }
};

inline constexpr double kPixelLimit = 1.0e9;

// Truncates toward zero; NaN gives 0, values beyond +-1e9 are clamped.
inline int TruncToPixel(double v) {
  if (std::isnan(v)) return 0;
  if (v > kPixelLimit) v = kPixelLimit;
  if (v < -kPixelLimit) v = -kPixelLimit;
  return static_cast<int>(v);
}

// Device pixels per layout pixel of a picture (a screen scaled to 150 % has
// 1.5). The layout stays in layout pixels; curves, the cursor and the band
// are placed in device pixels, so they stay one device pixel thin.
struct DeviceScale {
  double ratio = 1.0;

  // A position in layout pixels as a device pixel, truncated like every
  // other conversion.
  int Pixel(double position) const { return TruncToPixel(position * ratio); }
  // Whole device pixels per layout pixel, at least 1: the dot length of
  // dotted lines and the size of a mark's pixel, so that they look alike at
  // every ratio.
  int Unit() const {
    const double whole = std::round(ratio);
    return whole < 1.0 ? 1 : static_cast<int>(std::min(whole, 16.0));
  }
};

// The same bound for counts of points derived from pixel arithmetic.
inline std::int64_t TruncToCount(double v) {
  if (std::isnan(v)) return 0;
  if (v > 4.0e18) return static_cast<std::int64_t>(4.0e18);
  if (v < -4.0e18) return static_cast<std::int64_t>(-4.0e18);
  return static_cast<std::int64_t>(v);
}

}  // namespace acv
