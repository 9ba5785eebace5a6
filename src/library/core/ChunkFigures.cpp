#include "library/core/ChunkFigures.h"

namespace acv::library {

std::array<std::vector<EnvelopeBlock>, 2> EnvelopesOf(const PointRun& run, std::int64_t first,
                                                      std::int64_t count) {
  std::array<std::vector<EnvelopeBlock>, 2> envelopes;
  const std::int64_t grid = GridNumber(run.Time(first), run.interval);
  for (int c = 0; c < 2; ++c) {
    if (run.present[c]) envelopes[c] = SummariseEnvelope(run.values[c].data() + first, count, grid);
  }
  return envelopes;
}

namespace {

// The chunks of the pieces (first point, count) of a run, without figures yet.
std::vector<ChunkFigures> CutIntoChunks(
    const std::vector<std::pair<std::int64_t, std::int64_t>>& pieces) {
  std::vector<ChunkFigures> chunks;
  for (const auto& [first, count] : pieces) {
    const std::vector<std::int64_t> bounds = ChunkBounds(count);
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
      ChunkFigures f;
      f.first = first + bounds[i];
      f.count = bounds[i + 1] - bounds[i];
      chunks.push_back(std::move(f));
    }
  }
  return chunks;
}

void WorkOut(ChunkFigures& f, const PointRun& run, const BandBasis& basis) {
  f.summary = SummariseRun(run, f.first, f.count);
  f.band = SummariseChunkBand(run, f.first, f.count, basis);
  f.envelopes = EnvelopesOf(run, f.first, f.count);
}

}  // namespace

std::vector<ChunkFigures> FiguresOfChunks(const PointRun& run, std::int64_t first,
                                          std::int64_t count, const BandBasis& basis) {
  std::vector<ChunkFigures> chunks = CutIntoChunks({{first, count}});
  for (ChunkFigures& f : chunks) WorkOut(f, run, basis);
  return chunks;
}

ChunkFiguresAhead::ChunkFiguresAhead(
    const PointRun& run, const std::vector<std::pair<std::int64_t, std::int64_t>>& pieces,
    const BandBasis& basis, std::function<void()> then)
    : chunks_(CutIntoChunks(pieces)) {
  if (chunks_.empty() && !then) return;
  thread_ = std::thread([this, &run, &basis, then = std::move(then)] { Work(run, basis, then); });
}

ChunkFiguresAhead::~ChunkFiguresAhead() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  if (thread_.joinable()) thread_.join();
}

void ChunkFiguresAhead::Work(const PointRun& run, const BandBasis& basis,
                             const std::function<void()>& then) {
  try {
    for (ChunkFigures& f : chunks_) {
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (stop_) return;  // the import ended early: nobody waits for the rest
      }
      WorkOut(f, run, basis);
      const std::lock_guard<std::mutex> lock(mutex_);
      ++ready_;
      readied_.notify_one();
    }
    if (then) then();
  } catch (...) {
    const std::lock_guard<std::mutex> lock(mutex_);
    failure_ = std::current_exception();
    readied_.notify_one();
  }
}

void ChunkFiguresAhead::Finish() {
  if (thread_.joinable()) thread_.join();
  const std::lock_guard<std::mutex> lock(mutex_);
  if (failure_) std::rethrow_exception(failure_);
}

const ChunkFigures& ChunkFiguresAhead::Get(std::size_t i) {
  std::unique_lock<std::mutex> lock(mutex_);
  readied_.wait(lock, [&] { return ready_ > i || failure_; });
  if (ready_ <= i) std::rethrow_exception(failure_);
  return chunks_[i];
}

}  // namespace acv::library
