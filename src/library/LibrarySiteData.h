#pragma once
// A site's merged series of one kind as the window's STORE data. A site that
// fits in memory is read whole (SiteSeriesData). A longer one stays in the
// library: its envelope is read and the points a view needs are read while
// the series is kept, so whatever keeps the library open is kept with it.
#include <QSqlDatabase>
#include <cstdint>
#include <memory>
#include <string>

#include "data/CDTDoc.h"
#include "library/LibraryStore.h"
#include "library/core/SiteSeriesData.h"

namespace acv::library {

struct SiteDataRead {
  std::int64_t leftOut = 0;  // points at another interval, not shown
  GridRuns runs;             // empty for a series left in the library
};

// Fills `out` (its STORE family) with the site's series; one of more than
// mostInMemory points is left in the library (out.rmsExternal), holding
// `keepAlive` and the store for as long as it is kept. "" or why not.
std::string ReadSiteData(const QSqlDatabase& db, LibraryStore& store, const SiteRecord& site,
                         SeriesKind kind, std::int64_t mostInMemory,
                         std::shared_ptr<void> keepAlive, StoreFamily& out, SiteDataRead& read);

}  // namespace acv::library
