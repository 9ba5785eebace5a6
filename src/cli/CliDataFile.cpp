#include "cli/CliDataFile.h"

#include "data/DataFile.h"

namespace acv::cli {
namespace {

// A foreign file's tag helps the user tell what it is, but only when it is
// short printable text; anything else could garble the terminal.
std::string TagNote(const std::string& tag) {
  if (tag.empty() || tag.size() > 24) return {};
  for (char c : tag) {
    if (c < 0x20 || c > 0x7E) return {};
  }
  return ": its tag is '" + tag + "'";
}

}  // namespace

std::string LoadDataFileFor(const std::string& path, CDTDoc& doc, std::string* tag) {
  const LoadResult result = LoadDataFile(path, doc);
  if (tag != nullptr) *tag = result.tag;
  if (result.ok) return {};
  if (result.error == kInvalidFormatMessage)
    return "'" + path + "' is not a data file (" + kInvalidFormatMessage + ")" +
           TagNote(result.tag);
  return result.error;
}

}  // namespace acv::cli
