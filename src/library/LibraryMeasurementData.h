#pragma once
// A measurement of the library opened as data, as a file would be.
#include <string>

#include "data/CDTDoc.h"
#include "library/LibraryStore.h"

namespace acv::library {

// The STORE points of measurement `m` as a data set, with the TR records
// triggered within them. Points the measurement repeated are kept by the
// measurement that brought them first, so its span of the site's timeline
// is read, not its own chunks alone. "" or why it cannot be shown.
std::string MeasurementData(LibraryStore& store, const SiteRecord& site, const MeasurementRecord& m,
                            CDTDoc& data);

}  // namespace acv::library
