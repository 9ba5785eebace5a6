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

#include "data/FileIO.h"
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

// A journal set aside or adopted whose name could not change carries this
// in place of its first bytes, so that no scan offers it again.
constexpr char kDoneMark[] = "ACVRTJ--";
constexpr std::size_t kMarkBytes = sizeof(kDoneMark) - 1;

// Opens a journal for its lock: read-write, as a lock over NFS needs; read
// only where writing is impossible (a read-only disk, where no run can be
// writing it anyway). Returns the descriptor or -1 with errno set.
int OpenForLock(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0 && (errno == EROFS || errno == EACCES)) {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  }
  return fd;
}

// Marks the journal open on `fd` as done; returns the end of the message
// about the rename or removal that failed.
std::string MarkDone(int fd) {
  if (fd >= 0 && ::pwrite(fd, kDoneMark, kMarkBytes, 0) == static_cast<ssize_t>(kMarkBytes) &&
      ::fdatasync(fd) == 0) {
    return "; it is marked so that it is not offered again";
  }
  return "; it will be offered again at the next start";
}

bool MarkedDone(int fd) {
  char head[kMarkBytes] = {};
  return ::pread(fd, head, kMarkBytes, 0) == static_cast<ssize_t>(kMarkBytes) &&
         std::memcmp(head, kDoneMark, kMarkBytes) == 0;
}

}  // namespace

JournalWriter::~JournalWriter() {
  Keep();
}

std::string JournalWriter::Begin(const std::string& folder, const JournalHeader& header) {
  Keep();
  stopped_ = false;
  std::error_code ec;
  fs::create_directories(folder, ec);
  // Start time and process id make the name unique among running programs;
  // the counter among this program's runs within one second.
  static int counter = 0;
  const std::string base = folder + "/" + kJournalPrefix +
                           FormatTime(header.rtStartTime, "%Y%m%d-%H%M%S") + "-" +
                           std::to_string(::getpid());
  struct stat st {};
  do {
    path_ = base + (counter == 0 ? "" : "-" + std::to_string(counter)) + kJournalSuffix;
    ++counter;
  } while (::lstat(path_.c_str(), &st) == 0);
  // Written under a hidden name that no scan looks at, locked before its
  // first byte, and named only once its head is on the disk.
  AtomicFileWriter file(path_);
  if (std::string error = file.Open(); !error.empty()) {
    return "cannot create the real-time journal (" + error + ")";
  }
  if (::flock(file.Descriptor(), LOCK_EX | LOCK_NB) != 0) {
    return Problem("cannot lock the real-time journal", path_, errno);
  }
  const std::vector<std::uint8_t> head = EncodeJournalHeader(header);
  file.Stream().write(reinterpret_cast<const char*>(head.data()),
                      static_cast<std::streamsize>(head.size()));
  if (std::string error = file.CommitKeepingOpen(fd_); !error.empty()) {
    return "cannot create the real-time journal (" + error + ")";
  }
  return {};
}

std::string JournalWriter::Append(std::int32_t index, const ChannelPair& rms,
                                  const ChannelPair& freq) {
  if (fd_ < 0 || stopped_) return {};
  // One sync per point: points come at least 2 s apart, so this keeps every
  // point on the disk within its own interval at a bounded cost.
  if (!WriteAll(fd_, EncodeJournalRecord(index, rms, freq)) || ::fdatasync(fd_) != 0) {
    // The journal stays open and locked: the run is still going on, and its
    // end removes the journal as usual.
    stopped_ = true;
    return Problem("cannot write the real-time journal", path_, errno);
  }
  return {};
}

std::string JournalWriter::Finish() {
  if (fd_ < 0) return {};
  std::string problem;
  if (::unlink(path_.c_str()) != 0) {
    problem = Problem("cannot remove the journal of the saved run", path_, errno) + MarkDone(fd_);
  }
  ::close(fd_);
  fd_ = -1;
  return problem;
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
    const int fd = OpenForLock(path);
    if (fd < 0) continue;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool done = free && MarkedDone(fd);
    ::close(fd);
    if (!free && busy != nullptr) ++*busy;
    if (free && !done) found.push_back(path);
  }
  // The names start with the run's start time.
  std::sort(found.begin(), found.end());
  return found;
}

LeftJournal::~LeftJournal() {
  if (fd_ >= 0) ::close(fd_);
}

JournalContents LeftJournal::Take(const std::string& path) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  path_ = path;
  JournalContents failed;
  const int fd = OpenForLock(path);
  if (fd < 0) {
    failed.error = Problem("cannot read the journal", path, errno);
    return failed;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    failed.error = err == EWOULDBLOCK
                       ? "the journal '" + path + "' is held by another program (a real-time " +
                             "run still recording, or a recovery); it can be recovered once " +
                             "that program is done with it"
                       : Problem("cannot lock the journal", path, err);
    return failed;
  }
  // Another program may have set the journal aside or removed it between
  // the open and the lock: then the name no longer leads to this file.
  struct stat st {
  }, now{};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    failed.error = "'" + path + "' is not a journal file";
    return failed;
  }
  if (::stat(path.c_str(), &now) != 0 || now.st_ino != st.st_ino || now.st_dev != st.st_dev) {
    ::close(fd);
    failed.error = "the journal '" + path + "' was taken by another program meanwhile";
    return failed;
  }
  fd_ = fd;
  // Nothing beyond the largest run is read: the rest could only be damage.
  const auto size =
      std::min<std::uint64_t>(static_cast<std::uint64_t>(st.st_size), kMaxJournalBytes);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd_, bytes.data() + done, bytes.size() - done);
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

std::string LeftJournal::SetAside() {
  if (!Taken()) return "the journal '" + path_ + "' is not held by this program";
  const std::string aside = path_ + kSetAsideSuffix;
  if (::rename(path_.c_str(), aside.c_str()) != 0) {
    const std::string problem = Problem("cannot set the journal aside", path_, errno);
    return problem + MarkDone(fd_);
  }
  SyncFolder(fs::path(path_).parent_path().string());
  return {};
}

std::string LeftJournal::Remove() {
  if (!Taken()) return "the journal '" + path_ + "' is not held by this program";
  if (::unlink(path_.c_str()) != 0) {
    const std::string problem = Problem("cannot remove the recovered journal", path_, errno);
    return problem + MarkDone(fd_);
  }
  return {};
}

}  // namespace acv
