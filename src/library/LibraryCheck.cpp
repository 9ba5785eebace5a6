// The library's check: every chunk's summaries and every measurement's
// counts recomputed from the stored points.
#include <QSqlQuery>
#include <QVariant>
#include <cmath>
#include <map>

#include "library/LibraryEnvelope.h"
#include "library/LibraryRollup.h"
#include "library/LibraryRows.h"
#include "library/LibrarySql.h"
#include "library/LibraryStore.h"

namespace acv::library {
namespace {

// Sums are kept as doubles; an engine that carries them as text may round
// the last bit, which is no damage.
bool Near(double a, double b) {
  return a == b || std::fabs(a - b) <= 1e-12 * std::max(std::fabs(a), std::fabs(b));
}

std::string Differences(const ChunkSummary& stored, const ChunkSummary& found) {
  std::string what;
  const auto note = [&](bool same, const std::string& name) {
    if (!same) what += (what.empty() ? "" : ", ") + name;
  };
  for (int c = 0; c < 2; ++c) {
    const ChannelSummary &s = stored.channels[c], &f = found.channels[c];
    const std::string ch = c == 0 ? "ch1_" : "ch2_";
    note(s.points == f.points, ch + "points");
    note(s.leftOut == f.leftOut, ch + "left_out");
    note(f.points == 0 || (s.min == f.min && s.max == f.max), ch + "min/max");
    note(Near(s.sum, f.sum), ch + "sum");
    note(Near(s.deviations, f.deviations), ch + "deviations");
  }
  note(stored.productPoints == found.productPoints && Near(stored.productSum, found.productSum),
       "product");
  return what;
}

// The chunk's band figures against those its points give with the same
// factors and band.
std::string BandDifference(const ChunkInfo& c, const PointRun& run) {
  if (!c.band) return "has no band figures, or they are damaged";
  const ChunkBand found = SummariseChunkBand(run, 0, c.count, c.band->basis);
  if (found.inBand != c.band->inBand) return "stored points in the band differ from its points";
  bool same = found.partials.size() == c.band->partials.size();
  for (std::size_t i = 0; same && i < found.partials.size(); ++i) {
    const SlotPartial &s = c.band->partials[i], &f = found.partials[i];
    same = s.slotStart == f.slotStart && s.first == f.first && s.points == f.points &&
           s.leftOut == f.leftOut && Near(s.squares[0], f.squares[0]) &&
           Near(s.squares[1], f.squares[1]);
  }
  return same ? "" : "stored 10-minute partials differ from its points";
}

}  // namespace

std::vector<std::string> LibraryStore::Check() {
  std::vector<std::string> problems;
  std::map<std::int64_t, std::int64_t> storedPoints;  // per measurement
  const std::string sql = std::string("SELECT ") + kChunkColumns +
                          " FROM chunk c LEFT JOIN measurement m ON m.id = c.measurement_id" +
                          kChunkBandJoin + " ORDER BY c.id";
  QSqlQuery q = Execute(db_, sql.c_str());
  std::vector<ChunkInfo> chunks;
  while (q.next()) chunks.push_back(ChunkFrom(q));
  std::map<std::int64_t, bool> measurementExists;
  QSqlQuery m = Execute(db_, "SELECT id FROM measurement");
  while (m.next()) measurementExists[m.value(0).toLongLong()] = true;
  for (const ChunkInfo& c : chunks) {
    const std::string name = "chunk " + std::to_string(c.id);
    if (!measurementExists.count(c.measurement)) {
      problems.push_back(name + " belongs to no measurement (" + std::to_string(c.measurement) +
                         ")");
      continue;
    }
    storedPoints[c.measurement] += c.count;
    if (const std::string problem = ChunkRowProblem(c); !problem.empty()) {
      problems.push_back(name + ": " + problem);
      continue;
    }
    try {
      const PointRun run = ReadChunk(c);
      const std::string what = Differences(c.summary, SummariseRun(run, 0, c.count));
      if (!what.empty())
        problems.push_back(name + ": stored summary differs from its points: " + what);
      if (const std::string band = BandDifference(c, run); !band.empty())
        problems.push_back(name + ": " + band);
      if (const std::string envelope = EnvelopeDifference(db_, c, run); !envelope.empty())
        problems.push_back(name + ": " + envelope);
    } catch (const LibraryError& e) {
      problems.push_back(e.what());
    }
  }
  QSqlQuery counts = Execute(db_,
                             "SELECT m.id, m.points, m.duplicates, m.tr_records,"
                             " (SELECT COUNT(*) FROM tr_record t WHERE t.measurement_id = m.id)"
                             " FROM measurement m ORDER BY m.id");
  while (counts.next()) {
    const std::int64_t id = counts.value(0).toLongLong();
    const std::string name = "measurement " + std::to_string(id);
    const std::int64_t expected = counts.value(1).toLongLong() - counts.value(2).toLongLong();
    if (storedPoints[id] != expected) {
      problems.push_back(name + ": " + std::to_string(expected) +
                         " points expected (points less duplicates), " +
                         std::to_string(storedPoints[id]) + " stored");
    }
    if (counts.value(3).toLongLong() != counts.value(4).toLongLong()) {
      problems.push_back(name + ": " + std::to_string(counts.value(3).toLongLong()) +
                         " TR records expected, " + std::to_string(counts.value(4).toLongLong()) +
                         " stored");
    }
  }
  const ChunkReader read = [this](const ChunkInfo& c) { return ReadChunk(c); };
  for (std::string& p : CheckRollups(db_, chunks, read)) problems.push_back(std::move(p));
  for (const char* table : {"tr_record", "event"}) {
    const std::string orphans =
        std::string("SELECT COUNT(*) FROM ") + table +
        " t WHERE NOT EXISTS (SELECT 1 FROM measurement m WHERE m.id = t.measurement_id)";
    QSqlQuery o = Execute(db_, orphans.c_str());
    if (o.next() && o.value(0).toLongLong() > 0) {
      problems.push_back(std::to_string(o.value(0).toLongLong()) + " rows of " + table +
                         " belong to no measurement");
    }
  }
  return problems;
}

}  // namespace acv::library
