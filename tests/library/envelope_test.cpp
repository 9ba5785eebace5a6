// The chunks' envelopes in the library on both engines: written with every
// new chunk (an import, the points a removed measurement hands over), read
// back for a site, filled in when an older library is upgraded, compared
// with the points by the check, and removed with their measurement.
#include <gtest/gtest.h>

#include <QSqlQuery>

#include "TestLibrary.h"
#include "data/DataFile.h"
#include "library/LibraryEnvelope.h"
#include "library/LibrarySchema.h"

namespace acv::library {
namespace {

constexpr TimeStamp kStart = 1'772'359'230;  // off the envelope's block grid

CDTDoc Download(TimeStamp start, int n, float shift) {
  CDTDoc doc;
  doc.formatTag = kTagStore;
  doc.rmsStartTime = start;
  doc.rmsInterval = 30.0f;
  doc.hasCh1 = doc.hasCh2 = 1;
  doc.rmsUnitCh1 = "V";
  doc.rmsUnitCh2 = "A";
  doc.rmsCount = n;
  // Values of the time alone, so that overlapping downloads agree.
  for (int i = 0; i < n; ++i) {
    const std::int64_t k = (start - kStart) / 30 + i;
    doc.rmsCh1.push_back(230.0f + static_cast<float>((k * 7) % 13) + shift);
    doc.rmsCh2.push_back(5.0f + static_cast<float>((k * 3) % 5));
  }
  doc.ComputeStoreStatistics();
  return doc;
}

struct Library {
  std::unique_ptr<LibraryConnection> connection = test::OpenFreshTestLibrary();
  std::unique_ptr<LibraryStore> store;
  std::string problem;
  Library() {
    if (connection) {
      store = LibraryStore::Attach(connection->Database(), connection->IsPostgres(),
                                   connection->Location().Display(), &problem);
    }
  }
  void Add(const CDTDoc& doc) {
    std::string line, why;
    ASSERT_TRUE(store->AddDataSet(doc, EncodeDataFile(doc), "f.stdata", "Yard", &line, &why))
        << why;
  }
  std::vector<ChunkEnvelopeRow> Rows() {
    return SiteEnvelopes(connection->Database(), store->Site("Yard")->id, SeriesKind::Store);
  }
  bool Exec(const char* sql) { return QSqlQuery(connection->Database()).exec(sql); }
};

// Two overlapping downloads and one after a gap: 12,000 + 3,000 new + 5,000.
void AddSurvey(Library& lib) {
  lib.Add(Download(kStart, 12000, 0.0f));
  lib.Add(Download(kStart + 9000 * 30, 6000, 0.0f));
  lib.Add(Download(kStart + 20000 * 30, 5000, 2.0f));
}

// Every stored chunk's envelope is that of its points.
void ExpectEnvelopesOfThePoints(Library& lib) {
  const std::vector<ChunkEnvelopeRow> rows = lib.Rows();
  ASSERT_FALSE(rows.empty());
  for (const ChunkEnvelopeRow& row : rows) {
    const PointRun run = lib.store->ReadChunk(row.chunk);
    for (int ch = 0; ch < 2; ++ch) {
      ASSERT_TRUE(row.blocks[ch]) << "chunk " << row.chunk.id;
      EXPECT_EQ(*row.blocks[ch], SummariseEnvelope(run.values[ch].data(), row.chunk.count,
                                                   GridNumber(row.chunk.start, 30)))
          << "chunk " << row.chunk.id;
    }
  }
}

TEST(LibraryEnvelope, WrittenWithEveryChunkAndRemovedWithIt) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  AddSurvey(lib);
  ExpectEnvelopesOfThePoints(lib);
  // Removing the first download hands its points 9,000 .. 11,999 to the
  // second, as new chunks that get envelopes of their own.
  ASSERT_TRUE(lib.store->RemoveMeasurement(1));
  ExpectEnvelopesOfThePoints(lib);
  QSqlQuery q(lib.connection->Database());
  ASSERT_TRUE(q.exec("SELECT (SELECT COUNT(*) FROM chunk_envelope), (SELECT COUNT(*) FROM chunk)"));
  ASSERT_TRUE(q.next());
  EXPECT_EQ(q.value(0).toLongLong(), q.value(1).toLongLong());
  EXPECT_TRUE(lib.store->Check().empty());
}

TEST(LibraryEnvelope, AnOlderLibraryIsUpgradedWithTheEnvelopes) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  AddSurvey(lib);
  const std::vector<ChunkEnvelopeRow> imported = lib.Rows();
  ASSERT_TRUE(lib.Exec("DROP TABLE chunk_envelope"));
  ASSERT_TRUE(lib.Exec("UPDATE library_info SET value = '3' WHERE name = 'schema_version'"));
  std::string problem;
  const auto upgraded =
      LibraryStore::Attach(lib.connection->Database(), lib.connection->IsPostgres(), "L", &problem);
  ASSERT_TRUE(upgraded) << problem;
  const std::vector<ChunkEnvelopeRow> rows = lib.Rows();
  ASSERT_EQ(rows.size(), imported.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].blocks, imported[i].blocks) << "chunk " << i;
  }
  EXPECT_TRUE(upgraded->Check().empty());
}

TEST(LibraryEnvelope, TheCheckFindsADamagedOrMissingEnvelope) {
  Library lib;
  ASSERT_TRUE(lib.store) << lib.problem;
  AddSurvey(lib);
  const std::vector<ChunkEnvelopeRow> rows = lib.Rows();
  const std::string first = std::to_string(rows[0].chunk.id);
  const std::string second = std::to_string(rows[1].chunk.id);
  const std::string third = std::to_string(rows[2].chunk.id);
  // The envelope of a chunk that touches other blocks in the first, CH1's
  // envelope as CH2's in the second, none for the third.
  ASSERT_TRUE(lib.Exec(("UPDATE chunk_envelope SET ch1 = (SELECT ch1 FROM chunk_envelope WHERE "
                        "chunk_id = " +
                        std::to_string(rows[3].chunk.id) + ") WHERE chunk_id = " + first)
                           .c_str()));
  ASSERT_TRUE(lib.Exec(("UPDATE chunk_envelope SET ch2 = ch1 WHERE chunk_id = " + second).c_str()));
  ASSERT_TRUE(lib.Exec(("DELETE FROM chunk_envelope WHERE chunk_id = " + third).c_str()));
  std::vector<std::string> problems = lib.store->Check();
  EXPECT_EQ(problems, (std::vector<std::string>{
                          "chunk " + first + ": its CH1 envelope is not of its size",
                          "chunk " + second + ": its CH2 envelope differs from its points",
                          "chunk " + third + ": has no envelope"}));
  // The timeline reads the points of the one without an envelope instead.
  EXPECT_FALSE(lib.Rows()[2].blocks[0]);
}

}  // namespace
}  // namespace acv::library
