#include "library/core/SiteSeriesData.h"

#include <algorithm>
#include <array>
#include <limits>

#include "data/TimeText.h"

namespace acv::library {

std::string BuildSiteSeries(const std::vector<ChunkInfo>& chunks, const ChunkReader& read,
                            const ChannelFactors& factors, StoreFamily& out,
                            std::int64_t maxPoints) {
  std::vector<const ChunkInfo*> used;
  for (const ChunkInfo& c : chunks) {
    if (c.count > 0) used.push_back(&c);
  }
  if (used.empty()) return "the site has no points of this kind";
  const TimeStamp start = used.front()->start;
  const std::int64_t interval = used.front()->interval;
  if (interval <= 0) return "a measurement of the site has no interval";
  TimeStamp end = start;
  std::array<bool, 2> present{};
  std::array<std::string, 2> units;
  for (const ChunkInfo* c : used) {
    if (c->interval != interval) {
      return "the site's measurements were taken at different intervals (" +
             std::to_string(interval) + " s and " + std::to_string(c->interval) +
             " s); its timeline needs one interval";
    }
    if ((c->start - start) % interval != 0) {
      return "measurement " + std::to_string(c->measurement) +
             " does not fall on the time grid of the others (" + std::to_string(interval) +
             " s from " + FormatTime(start, kCsvTimeFormat) + ")";
    }
    for (int ch = 0; ch < 2; ++ch) {
      if (!c->present[ch]) continue;
      if (present[ch] && units[ch] != c->units[ch]) {
        return "channel " + std::to_string(ch + 1) + " was measured in " + units[ch] + " and in " +
               c->units[ch];
      }
      present[ch] = true;
      units[ch] = c->units[ch];
    }
    end = std::max(end, c->Time(c->count));
  }
  const std::int64_t count = (end - start) / interval;
  if (count > maxPoints) {
    return "the site's timeline spans " + std::to_string(count) + " points at " +
           std::to_string(interval) + " s, more than the " + std::to_string(maxPoints) +
           " it can show at once";
  }

  StoreFamily store;
  store.rmsStartTime = start;
  store.rmsInterval = static_cast<float>(interval);
  store.rmsCount = static_cast<std::int32_t>(count);
  const float none = std::numeric_limits<float>::quiet_NaN();
  std::array<std::vector<float>*, 2> values{&store.rmsCh1, &store.rmsCh2};
  for (int ch = 0; ch < 2; ++ch) {
    if (present[ch]) values[ch]->assign(static_cast<std::size_t>(count), none);
  }
  store.hasCh1 = present[0] ? 1 : 0;
  store.hasCh2 = present[1] ? 1 : 0;
  store.rmsUnitCh1 = units[0];
  store.rmsUnitCh2 = units[1];
  for (const ChunkInfo* c : used) {
    const PointRun run = read(*c);
    const std::int64_t at = (c->start - start) / interval;
    for (int ch = 0; ch < 2; ++ch) {
      if (!c->present[ch] || !run.present[ch]) continue;
      const std::vector<float>& from = run.values[ch];
      const std::int64_t n =
          std::min<std::int64_t>(c->count, static_cast<std::int64_t>(from.size()));
      for (std::int64_t k = 0; k < n; ++k) {
        (*values[ch])[static_cast<std::size_t>(at + k)] =
            static_cast<float>(from[static_cast<std::size_t>(k)] * factors[ch]);
      }
    }
  }
  store.ComputeStoreStatistics();
  out = std::move(store);
  return {};
}

}  // namespace acv::library
