#pragma once
// A measurement's chunks rolled up into one. When the points a measurement
// keeps form one run (one interval, no gap: a download less the points an
// earlier one already held), the joined summaries, points in the band and
// 10-minute partials of its chunks stand for all of them, so that a range
// holding weeks of whole downloads reads a row per download instead of one
// per chunk. A 10-minute slot that a chunk's end cuts becomes one partial;
// the slots at the run's two ends stay partial and join with a neighbour's
// as a chunk's would.
#include <functional>
#include <optional>
#include <vector>

#include "library/core/SiteTimeline.h"

namespace acv::library {

// The rollup of a measurement's chunks (in time order), or nullopt when they
// are not one run. `read` gives the points of the chunks that hold a
// channel's first minimum or maximum. The band figures are joined when every
// chunk has them, taken with one basis; otherwise the rollup has none.
std::optional<ChunkInfo> RollUp(const std::vector<ChunkInfo>& chunks, const ChunkReader& read);

// The chunks a rollup stands for, in time order.
using RollupParts = std::function<std::vector<ChunkInfo>(const ChunkInfo& rollup)>;
// Whether a rollup must be replaced by its parts; `before` is the chunk
// before it in the result, or null.
using RollupOpening = std::function<bool(const ChunkInfo& rollup, const ChunkInfo* before)>;

// `chunks` (in time order) with the rollups `open` picks replaced by their
// parts.
std::vector<ChunkInfo> OpenRollups(const std::vector<ChunkInfo>& chunks, const RollupOpening& open,
                                   const RollupParts& parts);

}  // namespace acv::library
