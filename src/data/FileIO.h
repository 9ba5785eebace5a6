#pragma once
// Whole-file reading and crash-safe writing for the program's files. A save
// goes to a temporary file in the target's folder and is renamed over the
// target only when every byte was written and synced, so a failed or
// interrupted save leaves the previous file whole.
#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace acv {

class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string targetPath);
  ~AtomicFileWriter();  // removes the temporary file unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file. Returns "" or a message naming the problem.
  std::string Open();
  // Valid after a successful Open(); buffered.
  std::ostream& Stream();
  // Flushes, syncs and renames over the target. Returns "" or the error;
  // on error the target is untouched.
  std::string Commit();

 private:
  class Buffer;
  std::string target_;
  std::string temp_;
  int fd_ = -1;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  bool committed_ = false;
};

// Writes `bytes` to `path` through AtomicFileWriter. Returns "" or the error.
std::string WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Reads a whole regular file (opened for reading only, so read-only files
// work). Returns "" or a message naming the file and the problem; files
// larger than maxBytes are refused rather than read.
std::string ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out,
                          std::uint64_t maxBytes);

bool FileExists(const std::string& path);

}  // namespace acv
