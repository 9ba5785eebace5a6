#pragma once
// Whole-file reading, and the one way the programs write any file. A save
// goes to a temporary file in the target's folder and is renamed over the
// target only when every byte was written and synced, so a failed or
// interrupted save leaves the previous file whole.
//
// Only a regular file (or a new name) is replaced that way. A device or a
// named pipe (-o /dev/stdout, a pipe to another program) is written
// directly: renaming over it would replace the device node itself. A
// symbolic link is followed: the file it points to is written (created when
// missing) and the link stays. A folder is refused, and so is a file the
// command reads from (the same file by any path).
#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "data/ByteIO.h"

namespace acv {

// A save that succeeded without doing all it should (the replaced file's
// owner or group could not be kept) says so through this handler, once per
// file: the command-line tool prints it on stderr, the window shows it in its
// status line. Without a handler the text goes to stderr.
using SaveNoticeHandler = std::function<void(const std::string& text)>;
void SetSaveNoticeHandler(SaveNoticeHandler handler);

class AtomicFileWriter {
 public:
  // `inputs`: the files the command reads; writing over one of them is
  // refused, however its path is spelt.
  explicit AtomicFileWriter(std::string targetPath, std::vector<std::string> inputs = {});
  ~AtomicFileWriter();  // removes the temporary file unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file (or opens a device or pipe). Returns "" or a
  // message naming the problem.
  std::string Open();
  // Valid after a successful Open(); buffered.
  std::ostream& Stream();
  // Finish() and Replace(). Returns "" or the error; on error the target is
  // untouched (a device or pipe has received what was written).
  std::string Commit();

  // The two halves of Commit, for saving several files as one.
  // Flushes, syncs and closes the temporary file; the target is untouched.
  std::string Finish();
  // Renames the finished temporary file over the target, provided the
  // target is still a regular file or absent.
  std::string Replace();
  // Commit() for a file that goes on growing (the run's journal): the
  // descriptor stays open and is handed to `fd`, the caller's to close.
  std::string CommitKeepingOpen(int& fd);
  // Puts what was written so far under the target's name now, for a file
  // that grows while it is written (a run's points as they come); the rest
  // goes on through Stream() in place and Commit() completes it.
  std::string Publish();
  // The open file, for a lock before the first byte is written; -1 before
  // Open().
  int Descriptor() const { return fd_; }

  const std::string& Target() const { return target_; }
  // The target is a device or a named pipe, written without a temporary.
  bool WritesDirectly() const { return direct_; }

 private:
  std::string OpenDirect();
  std::string FlushAndSync();
  // Gives the temporary file the replaced file's owner, group and
  // permissions; what could not be kept becomes notice_.
  void TakeOwnershipOf(const struct ::stat& old);

  class Buffer;
  std::string target_;
  std::vector<std::string> inputs_;
  std::string temp_;
  int fd_ = -1;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  bool direct_ = false;
  bool finished_ = false;
  bool committed_ = false;
  bool published_ = false;
  std::string notice_;  // told once the file is in place
};

// Saves several files as one: each is written to its temporary file, and
// only when every one is complete are they renamed over their targets. A
// rename that fails puts back the files replaced before it, so either all
// targets are new or all are as they were. Returns "" or the first error.
struct FileToSave {
  std::string path;
  std::function<void(std::ostream&)> write;
};
std::string SaveFilesTogether(const std::vector<FileToSave>& files);

// Writes `bytes` to `path` through AtomicFileWriter. Returns "" or the error.
std::string WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                                std::vector<std::string> inputs = {});
// A stream's whole output written to `path` through AtomicFileWriter.
std::string WriteFileWith(const std::string& path, const std::function<void(std::ostream&)>& write,
                          std::vector<std::string> inputs = {});

// Removes the temporary files in `folder` that a killed program left behind
// (a signal during a save); those of programs still running stay. Every save
// does this for its folder.
void RemoveLeftTemporaries(const std::string& folder);

// A regular file opened for reading only (so read-only files work), read
// from the start to the end as a ByteSource.
class FileReader : public ByteSource {
 public:
  FileReader() = default;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  ~FileReader() override;

  // Returns "" or a message naming the file and the problem; files larger
  // than maxBytes are refused rather than read.
  std::string Open(const std::string& path, std::uint64_t maxBytes);
  // The size the file had when it was opened.
  std::uint64_t Size() const { return size_; }
  std::size_t Read(std::span<std::uint8_t> into) override;
  // "" or why a Read came back short: a read error, or a file that became
  // shorter while it was read.
  const std::string& Error() const { return error_; }

 private:
  std::string path_;
  int fd_ = -1;
  std::uint64_t size_ = 0;
  std::uint64_t done_ = 0;
  std::string error_;
};

// Reads a whole regular file through FileReader. Returns "" or the message.
std::string ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out,
                          std::uint64_t maxBytes);

bool FileExists(const std::string& path);

}  // namespace acv
