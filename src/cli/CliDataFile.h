#pragma once
// Reading a saved data file for a subcommand, with the one wording of its
// failure that info, export and report share.
#include <string>

#include "data/CDTDoc.h"

namespace acv::cli {

// Loads `path` into `doc`. Returns "" or the line to print after the
// subcommand's prefix: the reader's own message, or for a file of another
// kind "'PATH' is not a data file (Invalid Format!)" with its tag when the
// tag is printable. `doc` is left as it was on failure. `tag`, when given,
// receives the file's tag.
std::string LoadDataFileFor(const std::string& path, CDTDoc& doc, std::string* tag = nullptr);

}  // namespace acv::cli
