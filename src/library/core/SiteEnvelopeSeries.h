#pragma once
// A site's envelope as the graph's series read where it lies. The graph
// asks for values while it paints, where a failed read of the library (a
// server gone away, a damaged chunk) cannot be answered by a message box:
// such a point has no value, the first failure is kept for the window to
// tell, and nothing more is read after it, so a lost connection costs one
// failed read rather than one per point of every paint.
#include <memory>
#include <string>

#include "graph/geometry/ExternalSeries.h"
#include "library/core/SiteEnvelope.h"

namespace acv::library {

class SiteEnvelopeSeries final : public ExternalSeries {
 public:
  explicit SiteEnvelopeSeries(std::unique_ptr<SiteEnvelope> envelope)
      : envelope_(std::move(envelope)) {}

  std::int64_t Count() const override { return envelope_->Count(); }
  bool Present(int channel) const override {
    return envelope_->Grid().present[channel == 0 ? 0 : 1];
  }
  float Value(int channel, std::int64_t p) const override;
  const MinMaxPyramid& Pyramid(int channel) const override { return envelope_->Pyramid(channel); }
  std::int64_t Lead() const override { return envelope_->Lead(); }
  std::string Failure() const override { return failure_; }

 private:
  // Reading fills the envelope's caches: the series is constant to those
  // who ask, not to the envelope.
  std::unique_ptr<SiteEnvelope> envelope_;
  mutable std::string failure_;
};

}  // namespace acv::library
