#pragma once
// What a chunk keeps besides its points (summary, band figures, envelope),
// worked out from a run apart from writing it, so that an import can do
// this work on another core while it writes.
#include <array>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "library/core/ChunkBands.h"
#include "library/core/ChunkEnvelope.h"
#include "library/core/SeriesChunks.h"

namespace acv::library {

struct ChunkFigures {
  std::int64_t first = 0, count = 0;  // the chunk's points within the run
  ChunkSummary summary;
  ChunkBand band;
  std::array<std::vector<EnvelopeBlock>, 2> envelopes;  // empty for an absent channel
};

// The envelope of each present channel over points first .. first + count - 1
// of a run.
std::array<std::vector<EnvelopeBlock>, 2> EnvelopesOf(const PointRun& run, std::int64_t first,
                                                      std::int64_t count);

// Points first .. first + count - 1 of a run cut into chunks of at most
// kChunkPoints, with the figures of each; band figures taken with `basis`.
std::vector<ChunkFigures> FiguresOfChunks(const PointRun& run, std::int64_t first,
                                          std::int64_t count, const BandBasis& basis);

// The figures of the chunks of several pieces of a run (first point,
// count), worked out in order on a thread of their own, so that the import
// stores each chunk while the next ones are being worked out; `then` is
// more work for that thread once they are. The run and the basis must
// outlive it.
class ChunkFiguresAhead {
 public:
  ChunkFiguresAhead(const PointRun& run,
                    const std::vector<std::pair<std::int64_t, std::int64_t>>& pieces,
                    const BandBasis& basis, std::function<void()> then = {});
  ~ChunkFiguresAhead();
  ChunkFiguresAhead(const ChunkFiguresAhead&) = delete;
  ChunkFiguresAhead& operator=(const ChunkFiguresAhead&) = delete;

  std::size_t Count() const { return chunks_.size(); }
  // Chunk i's figures, once worked out (rethrows what stopped the work).
  const ChunkFigures& Get(std::size_t i);
  // Waits for all of the work, `then` included (rethrows what stopped it).
  void Finish();

 private:
  void Work(const PointRun& run, const BandBasis& basis, const std::function<void()>& then);

  std::vector<ChunkFigures> chunks_;  // sized at once: the thread fills them in place
  std::mutex mutex_;
  std::condition_variable readied_;
  std::size_t ready_ = 0;
  std::exception_ptr failure_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace acv::library
