#pragma once
// A STORE RMS series too long to hold in memory, read where it lies (a
// library site's timeline of more than some million points): its values one
// by one where a view needs them singly, and its min/max pyramid for the
// rest, so that a paint, a zoom or a Fit looks at a few thousand buckets and
// points instead of every point. Values are in primary units already.
//
// Point p of the series is point p + Lead() of the pyramid: a pyramid may
// start some points before the series so that its buckets line up with the
// blocks it was built from.
#include <cstdint>
#include <string>

#include "graph/geometry/MinMaxPyramid.h"

namespace acv {

class ExternalSeries {
 public:
  virtual ~ExternalSeries() = default;
  virtual std::int64_t Count() const = 0;
  virtual bool Present(int channel) const = 0;
  // NaN for a point without a value, outside 0 .. Count() - 1, or where the
  // series could not be read (Failure() then says why).
  virtual float Value(int channel, std::int64_t p) const = 0;
  virtual const MinMaxPyramid& Pyramid(int channel) const = 0;
  virtual std::int64_t Lead() const = 0;
  // "" or the first reason a value could not be read.
  virtual std::string Failure() const = 0;
};

}  // namespace acv
