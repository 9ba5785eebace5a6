// The journal on the disk: creating, locking, appending and syncing while a
// run lasts; finding, reading and setting aside what a crashed run left.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "data/RunJournal.h"

namespace acv {
namespace fs = std::filesystem;
namespace {

constexpr const char* kJournalPrefix = "realtime-";
constexpr const char* kJournalSuffix = ".journal";
constexpr const char* kSetAsideSuffix = ".not-recovered";

bool IsJournalName(const std::string& name) {
  const std::string prefix = kJournalPrefix, suffix = kJournalSuffix;
  return name.size() > prefix.size() + suffix.size() && name.starts_with(prefix) &&
         name.ends_with(suffix);
}

std::string Problem(const std::string& what, const std::string& path, int err) {
  return what + " '" + path + "': " + std::strerror(err);
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The folder entry of a new file must reach the disk too, or a power cut can
// lose the whole journal.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Opens and locks a journal for reading. Returns the descriptor, or -1 with
// `error` set.
int OpenLocked(const std::string& path, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = Problem("cannot read the journal", path, errno);
    return -1;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    error = err == EWOULDBLOCK
                ? "the journal '" + path + "' belongs to a real-time run that another program " +
                      "is still recording; it can be recovered once that run has ended"
                : Problem("cannot lock the journal", path, err);
    return -1;
  }
  return fd;
}

}  // namespace

JournalWriter::~JournalWriter() {
  Keep();
}

std::string JournalWriter::Begin(const std::string& folder, const JournalHeader& header) {
  Keep();
  std::error_code ec;
  fs::create_directories(folder, ec);
  // Start time and process id make the name unique among running programs;
  // the counter among this program's runs within one second.
  static int counter = 0;
  const std::string base = folder + "/" + kJournalPrefix +
                           FormatTime(header.rtStartTime, "%Y%m%d-%H%M%S") + "-" +
                           std::to_string(::getpid());
  int err = 0;
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    path_ = base + (counter == 0 ? "" : "-" + std::to_string(counter)) + kJournalSuffix;
    ++counter;
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd_ < 0 && (err = errno) != EEXIST) break;
  }
  if (fd_ < 0) return Problem("cannot create the real-time journal", path_, err);
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0 || !WriteAll(fd_, EncodeJournalHeader(header)) ||
      ::fdatasync(fd_) != 0) {
    std::string problem = Problem("cannot write the real-time journal", path_, errno);
    ::close(fd_);
    fd_ = -1;
    ::unlink(path_.c_str());
    return problem;
  }
  SyncFolder(folder);
  return {};
}

std::string JournalWriter::Append(std::int32_t index, const ChannelPair& rms,
                                  const ChannelPair& freq) {
  if (fd_ < 0) return {};
  // One sync per point: points come at least 2 s apart, so this keeps every
  // point on the disk within its own interval at a bounded cost.
  if (!WriteAll(fd_, EncodeJournalRecord(index, rms, freq)) || ::fdatasync(fd_) != 0) {
    std::string problem = Problem("cannot write the real-time journal", path_, errno);
    Keep();
    return problem;
  }
  return {};
}

void JournalWriter::Finish() {
  if (fd_ < 0) return;
  ::unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
}

void JournalWriter::Keep() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

std::vector<std::string> FindLeftJournals(const std::string& folder, int* busy) {
  std::vector<std::string> found;
  if (busy != nullptr) *busy = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (!entry.is_regular_file(ec) || !IsJournalName(entry.path().filename().string())) continue;
    const std::string path = entry.path().string();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) continue;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    if (free) {
      found.push_back(path);
    } else if (busy != nullptr) {
      ++*busy;
    }
  }
  // The names start with the run's start time.
  std::sort(found.begin(), found.end());
  return found;
}

JournalContents RecoverJournal(const std::string& path) {
  JournalContents failed;
  const int fd = OpenLocked(path, failed.error);
  if (fd < 0) return failed;
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    failed.error = "'" + path + "' is not a journal file";
    return failed;
  }
  // Nothing beyond the largest run is read: the rest could only be damage.
  const auto size =
      std::min<std::uint64_t>(static_cast<std::uint64_t>(st.st_size), kMaxJournalBytes);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      failed.error = Problem("cannot read the journal", path, errno);
      return failed;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  JournalContents c = DecodeJournal(bytes);
  if (!c.ok) c.error = "the journal '" + path + "' cannot be recovered: " + c.error;
  return c;
}

std::string SetJournalAside(const std::string& path) {
  const std::string aside = path + kSetAsideSuffix;
  if (::rename(path.c_str(), aside.c_str()) != 0) {
    return Problem("cannot set the journal aside", path, errno);
  }
  return {};
}

void RemoveJournal(const std::string& path) {
  ::unlink(path.c_str());
}

}  // namespace acv
