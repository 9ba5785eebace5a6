#include "library/core/SiteSeriesData.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

namespace acv::library {

namespace {

// The interval most of the points were taken at (of two as common, the shorter).
std::int64_t CommonInterval(const std::vector<ChunkInfo>& chunks) {
  std::map<std::int64_t, std::int64_t> points;
  for (const ChunkInfo& c : chunks) {
    if (c.count > 0 && c.interval > 0) points[c.interval] += c.count;
  }
  std::int64_t best = 0, most = 0;
  for (const auto& [interval, count] : points) {
    if (count > most) {
      best = interval;
      most = count;
    }
  }
  return best;
}

}  // namespace

std::string BuildSiteSeries(const std::vector<ChunkInfo>& chunks, const ChunkReader& read,
                            const ChannelFactors& factors, StoreFamily& out, std::int64_t* leftOut,
                            std::int64_t maxPoints) {
  *leftOut = 0;
  const std::int64_t interval = CommonInterval(chunks);
  if (interval <= 0) return "the site has no points of this kind";
  // The grid starts at the first chunk of that interval.
  std::vector<const ChunkInfo*> used;
  for (const ChunkInfo& c : chunks) {
    if (c.count <= 0) continue;
    if (c.interval != interval ||
        (!used.empty() && (c.start - used.front()->start) % interval != 0)) {
      *leftOut += c.count;
      continue;
    }
    used.push_back(&c);
  }
  const TimeStamp start = used.front()->start;
  TimeStamp end = start;
  std::array<bool, 2> present{};
  std::array<std::string, 2> units;
  for (const ChunkInfo* c : used) {
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
