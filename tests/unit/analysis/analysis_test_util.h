#pragma once
// Data sets for the analysis tests: a STORE RMS series from plain lists.
#include <vector>

#include "data/CDTDoc.h"

namespace acv::test {

inline constexpr TimeStamp kStart = 1772359200;  // 2026-03-01 10:00:00 UTC

// CH1 and/or CH2 (an empty list: the channel is absent), in the given units.
inline StoreFamily StoreOf(std::vector<float> ch1, std::vector<float> ch2 = {},
                           const char* unit1 = "V", const char* unit2 = "A",
                           float interval = 60.0f) {
  StoreFamily s;
  s.rmsStartTime = kStart;
  s.rmsInterval = interval;
  s.rmsCount = static_cast<std::int32_t>(std::max(ch1.size(), ch2.size()));
  s.hasCh1 = ch1.empty() ? 0 : 1;
  s.hasCh2 = ch2.empty() ? 0 : 1;
  s.rmsCh1 = std::move(ch1);
  s.rmsCh2 = std::move(ch2);
  s.rmsUnitCh1 = unit1;
  s.rmsUnitCh2 = unit2;
  return s;
}

}  // namespace acv::test
