#include "library/core/SiteEnvelopeSeries.h"

#include <exception>
#include <limits>

namespace acv::library {

float SiteEnvelopeSeries::Value(int channel, std::int64_t p) const {
  if (!failure_.empty()) return std::numeric_limits<float>::quiet_NaN();
  try {
    return envelope_->Value(channel, p);
  } catch (const std::exception& e) {
    failure_ = e.what();
    if (failure_.empty()) failure_ = "the library could not be read";
  } catch (...) {
    failure_ = "the library could not be read";
  }
  return std::numeric_limits<float>::quiet_NaN();
}

}  // namespace acv::library
