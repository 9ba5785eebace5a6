#pragma once
// The decimated curve of a dense series, column by pixel column, from a
// min/max pyramid and the few raw points at the columns' edges.
//
// A line chart of every point draws, inside one pixel column, vertical
// segments that share their ends; the drawn ones merge into one span from
// their lowest to their highest end, and a segment joins each column to the
// next. The walk gives exactly those lines, in the same order as visiting
// every segment would, without visiting every point: the points of a column
// are cut into whole pyramid buckets (the coarsest that fit) and single
// points at the ends. A bucket without a gap whose rows all lie strictly
// inside the plot has all its segments drawn, and adds its extreme rows to
// the span; one wholly above the top line or below the bottom line has none
// drawn; one holding nothing but gaps breaks the curve; any other bucket is looked at through its
// sixteen children, down to the raw points. A segment between two pieces, and any segment with a
// missing value, goes through the segment-by-segment rules. The y of a
// value is monotone in the value, so the rows of a bucket's extremes are
// the extreme rows of its points.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "graph/geometry/MinMaxPyramid.h"
#include "graph/geometry/Pixels.h"

namespace acv {

struct SegmentLine {
  PixelPoint a;
  PixelPoint b;
  bool operator==(const SegmentLine&) const = default;
};

// Whether a segment with these end rows is drawn: one end strictly below the
// top line and one strictly above the bottom line, or both exactly on the top
// line, or both exactly on the bottom line.
bool SegmentDrawn(int ya, int yb, int top, int bottom);

// Out of line, so that the walks keep their integers apart instead of
// packing them into vector registers for a store that rarely happens.
[[gnu::noinline]] void AddLine(std::vector<SegmentLine>& lines, int xa, int ya, int xb, int yb);

// One vertical span merged from the drawn segments of a pixel column.
struct ColumnSpan {
  static constexpr int kNone = INT_MIN;  // pixel x never reaches it
  int x = kNone, low = 0, high = 0;

  void Flush(std::vector<SegmentLine>& lines) {
    if (x != kNone) AddLine(lines, x, low, x, high);
    x = kNone;
  }
  // Adds rows lo..hi of a column; a new column first ends the previous span.
  void Extend(std::vector<SegmentLine>& lines, int column, int lo, int hi) {
    if (x == column) {
      low = std::min(low, lo);
      high = std::max(high, hi);
    } else {
      Flush(lines);
      x = column;
      low = lo;
      high = hi;
    }
  }
};

// Where the walk's pixels come from. Element k of the walk is point base + k.
struct ColumnGeometry {
  double origin;  // x of element 0 (unshifted), layout pixels
  double step;    // > 0
  double shift;   // scrollShift
  double ratio;   // device pixels per layout pixel
  int top;        // the plot's top and bottom lines in device pixels
  int bottom;
  std::int64_t base;
};

// Walks elements first - 1 .. last. Points: `value(p)` gives point p's
// value (NaN when it has none) and `yOf(v)` a value's y in layout pixels.
template <class ValueOf, class YOf>
class ColumnWalker {
 public:
  ColumnWalker(const ColumnGeometry& g, const MinMaxPyramid& pyramid, const ValueOf& value,
               const YOf& yOf, std::vector<SegmentLine>& lines)
      : g_(g), pyramid_(pyramid), value_(value), yOf_(yOf), lines_(lines) {}

  void Walk(std::int64_t first, std::int64_t last) {
    std::int64_t k = first - 1;
    int x = XOf(k);
    while (k < last) {
      const std::int64_t inside = LastInColumn(k, x, last);
      if (inside > k) {
        if (!WholeColumnInside(g_.base + k, g_.base + inside, x)) {
          prev_ = Prev::kNone;
          Pieces(g_.base + k, g_.base + inside, x, pyramid_.Levels());
        }
        k = inside;
      }
      if (k == last) break;
      // The segment into the next column, a line of its own.
      const int next = XOf(k + 1);
      const double fya = YAt(g_.base + k);
      const double fyb = YAt(g_.base + k + 1);
      if (std::isnan(fya) || std::isnan(fyb)) {
        span_.Flush(lines_);  // a gap in the data: no span may bridge it
      } else {
        const int ya = TruncToPixel(g_.ratio * fya);
        const int yb = TruncToPixel(g_.ratio * fyb);
        if (SegmentDrawn(ya, yb, g_.top, g_.bottom)) AddLine(lines_, x, ya, next, yb);
      }
      ++k;
      x = next;
    }
    span_.Flush(lines_);
  }

 private:
  // What is known of the point before the next piece of a column, whose
  // segment to that piece is still to be drawn: nothing (the column starts
  // there), a gap, its row, or only that its row lies strictly inside the
  // plot and is in the span already (the end of a bucket taken whole).
  enum class Prev { kNone, kGap, kRow, kInside };

  int XOf(std::int64_t k) const {
    return TruncToPixel(g_.ratio * (g_.origin + g_.step * (g_.shift + static_cast<double>(k))));
  }
  double YAt(std::int64_t p) const { return yOf_(value_(p)); }
  int Row(double v) const { return TruncToPixel(g_.ratio * yOf_(v)); }

  // The last element in x's column, from element k in it on: x never
  // decreases with k, so the column's end found from the x formula is
  // checked against it and moved until it agrees.
  std::int64_t LastInColumn(std::int64_t k, int x, std::int64_t last) const {
    const double guess = ((x + 1) / g_.ratio - g_.origin) / g_.step - g_.shift;
    std::int64_t e = k;
    if (guess > static_cast<double>(k) && guess < static_cast<double>(last)) {
      e = static_cast<std::int64_t>(guess);
    } else if (guess >= static_cast<double>(last)) {
      e = last;
    }
    while (e > k && XOf(e) != x) --e;
    while (e < last && XOf(e + 1) == x) ++e;
    return e;
  }

  // The segment from the previous point to a point of row `row` (NaN-free).
  void JoinRow(int x, int row) {
    switch (prev_) {
      case Prev::kNone:
      case Prev::kGap:
        break;
      case Prev::kInside:
        // The previous row lies strictly inside and in the span already:
        // the segment is drawn and adds just this end.
        span_.Extend(lines_, x, row, row);
        break;
      case Prev::kRow:
        if (SegmentDrawn(prevRow_, row, g_.top, g_.bottom)) {
          span_.Extend(lines_, x, std::min(prevRow_, row), std::max(prevRow_, row));
        }
        break;
    }
  }

  void RawPoint(std::int64_t p, int x) {
    const double y = YAt(p);
    if (std::isnan(y)) {
      if (prev_ != Prev::kNone) span_.Flush(lines_);
      prev_ = Prev::kGap;
      return;
    }
    const int row = TruncToPixel(g_.ratio * y);
    if (prev_ == Prev::kGap) span_.Flush(lines_);
    JoinRow(x, row);
    prev_ = Prev::kRow;
    prevRow_ = row;
  }

  // The coarsest level of a bucket starting at point p that ends by point
  // b (0: none, p is taken as a raw point).
  int LevelAt(std::int64_t p, std::int64_t b, int maxLevel) const {
    return CoarsestBucketAt(pyramid_, p, b + 1, maxLevel);
  }

  // The usual column: no gap and every point strictly inside the plot, so
  // that every segment in it is drawn and the span runs between the rows of
  // its lowest and highest value. Found from the values alone, converting
  // just those two.
  bool WholeColumnInside(std::int64_t a, std::int64_t b, int x) {
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (std::int64_t p = a; p <= b;) {
      const int level = LevelAt(p, b, pyramid_.Levels());
      if (level == 0) {
        const double v = value_(p);
        if (std::isnan(v)) return false;
        low = v < low ? v : low;
        high = v > high ? v : high;
        ++p;
        continue;
      }
      const MinMaxPyramid::Bucket& bucket = pyramid_.At(level, p >> (kBucketShift * level));
      if (bucket.gap) return false;
      low = bucket.low < low ? bucket.low : low;
      high = bucket.high > high ? bucket.high : high;
      p += MinMaxPyramid::BucketSize(level);
    }
    const int ra = Row(low);
    const int rb = Row(high);
    if (std::isnan(yOf_(low))) return false;  // no scale
    const int lo = std::min(ra, rb);
    const int hi = std::max(ra, rb);
    if (!(g_.top < lo && hi < g_.bottom)) return false;
    span_.Extend(lines_, x, lo, hi);
    return true;
  }

  // The points a .. b of column x, in buckets of at most maxLevel.
  void Pieces(std::int64_t a, std::int64_t b, int x, int maxLevel) {
    std::int64_t p = a;
    while (p <= b) {
      const int level = LevelAt(p, b, maxLevel);
      if (level == 0) {
        RawPoint(p, x);
        ++p;
        continue;
      }
      Bucket(level, p, x);
      p += MinMaxPyramid::BucketSize(level);
    }
  }

  void Bucket(int level, std::int64_t start, int x) {
    const MinMaxPyramid::Bucket& bucket = pyramid_.At(level, start >> (kBucketShift * level));
    const std::int64_t end = start + MinMaxPyramid::BucketSize(level) - 1;
    if (!bucket.gap) {
      const int ra = Row(bucket.low);
      const int rb = Row(bucket.high);
      int lo = std::min(ra, rb);
      int hi = std::max(ra, rb);
      if (g_.top < lo && hi < g_.bottom) {
        // Every segment inside is drawn, and so is the one into it from a
        // point with a value, whose row joins the span.
        if (prev_ == Prev::kGap) span_.Flush(lines_);
        if (prev_ == Prev::kRow) {
          lo = std::min(lo, prevRow_);
          hi = std::max(hi, prevRow_);
        }
        span_.Extend(lines_, x, lo, hi);
        prev_ = Prev::kInside;
        return;
      }
      if (hi < g_.top || lo > g_.bottom) {
        // No segment inside is drawn; the ones at its ends may be.
        RawPoint(start, x);
        prev_ = Prev::kRow;
        prevRow_ = Row(value_(end));
        return;
      }
    }
    if (bucket.low > bucket.high) {
      // Nothing but gaps (a stretch between two downloads): every segment in
      // it and the one into it break the curve.
      span_.Flush(lines_);
      prev_ = Prev::kGap;
      return;
    }
    Pieces(start, end, x, level - 1);
  }

  const ColumnGeometry& g_;
  const MinMaxPyramid& pyramid_;
  const ValueOf& value_;
  const YOf& yOf_;
  std::vector<SegmentLine>& lines_;
  ColumnSpan span_;
  Prev prev_ = Prev::kNone;
  int prevRow_ = 0;
};

}  // namespace acv
