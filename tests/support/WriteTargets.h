#pragma once
// Every kind of place an output may be asked to go, for the table test of
// the program's one file writer: each output kind (data file, reports,
// settings, PDF, pictures) is run through ExpectSafeOnEveryTarget.
#include <functional>
#include <string>
#include <vector>

namespace acv::test {

// Writes one output to `path`, refusing to write over any of `inputs`.
// Returns "" or the error.
using WriteOutput =
    std::function<std::string(const std::string& path, const std::vector<std::string>& inputs)>;

// A new file, an existing file, a link to a file, a dangling link, a
// character device, a full device, a pipe with and without a reader, a
// folder, an unchangeable folder, a full disk and the command's own input by
// another spelling: a file is written whole or left as it was, a device or a
// pipe stays one, a link stays a link, every refusal is one line naming the
// file, and no temporary file stays behind.
void ExpectSafeOnEveryTarget(const WriteOutput& write);

}  // namespace acv::test
