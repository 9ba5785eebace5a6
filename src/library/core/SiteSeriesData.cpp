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

SiteGrid ChooseSiteGrid(const std::vector<ChunkInfo>& chunks) {
  SiteGrid grid;
  grid.interval = CommonInterval(chunks);
  if (grid.interval <= 0) {
    grid.problem = "the site has no points of this kind";
    return grid;
  }
  // The grid starts at the first chunk of that interval.
  for (std::size_t i = 0; i < chunks.size(); ++i) {
    const ChunkInfo& c = chunks[i];
    if (c.count <= 0) continue;
    if (c.interval != grid.interval ||
        (!grid.used.empty() && (c.start - grid.start) % grid.interval != 0)) {
      grid.leftOut += c.count;
      continue;
    }
    if (grid.used.empty()) grid.start = c.start;
    grid.used.push_back(i);
  }
  TimeStamp end = grid.start;
  for (const std::size_t i : grid.used) {
    const ChunkInfo& c = chunks[i];
    for (int ch = 0; ch < 2; ++ch) {
      if (!c.present[ch]) continue;
      if (grid.present[ch] && grid.units[ch] != c.units[ch]) {
        grid.problem = "channel " + std::to_string(ch + 1) + " was measured in " + grid.units[ch] +
                       " and in " + c.units[ch];
        return grid;
      }
      grid.present[ch] = true;
      grid.units[ch] = c.units[ch];
    }
    end = std::max(end, c.Time(c.count));
  }
  grid.count = (end - grid.start) / grid.interval;
  return grid;
}

std::string BuildSiteSeries(const std::vector<ChunkInfo>& chunks, const ChunkReader& read,
                            const ChannelFactors& factors, StoreFamily& out, std::int64_t* leftOut,
                            std::int64_t maxPoints, GridRuns* runs) {
  const SiteGrid grid = ChooseSiteGrid(chunks);
  *leftOut = grid.leftOut;
  if (!grid.problem.empty()) return grid.problem;
  const std::int64_t interval = grid.interval;
  const TimeStamp start = grid.start;
  const std::int64_t count = grid.count;
  const std::array<bool, 2>& present = grid.present;
  const std::array<std::string, 2>& units = grid.units;
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
  GridRuns found;
  const ChunkInfo* before = nullptr;
  for (const std::size_t i : grid.used) {
    const ChunkInfo* c = &chunks[i];
    const PointRun run = read(*c);
    const std::int64_t at = (c->start - start) / interval;
    if (before && before->present == c->present && found.back().first + found.back().second == at) {
      found.back().second += c->count;
    } else {
      found.emplace_back(at, c->count);
    }
    before = c;
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
  if (runs) *runs = std::move(found);
  return {};
}

}  // namespace acv::library
