#include "data/FileIO.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <streambuf>
#include <utility>

namespace acv {
namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& s) {
  return "'" + s + "'";
}

std::string FolderOf(const std::string& path) {
  std::string dir = fs::path(path).parent_path().string();
  return dir.empty() ? "." : dir;
}

// The reason an operation on `path` failed, in words a user can act on.
std::string Reason(int err, const std::string& path) {
  switch (err) {
    case ENOENT:
      return "the folder " + Quoted(FolderOf(path)) + " does not exist";
    case ENOTDIR:
      return "a part of the path is not a folder";
    case EACCES:
    case EPERM:
      return "no permission to write in " + Quoted(FolderOf(path));
    case EROFS:
      return "the file system is read-only";
    case ENOSPC:
    case EDQUOT:
      return std::string("the disk is full (") + std::strerror(err) + ")";
    case EISDIR:
      return "it is a folder";
    default:
      return std::strerror(err);
  }
}

// A fresh name for a temporary file beside `path`: a hidden file in the same
// folder, so a rename onto `path` never crosses file systems. The process id
// in it tells a leftover of a killed program from a save still going on.
std::string TemporaryNameBeside(const std::string& path, const char* suffix) {
  static std::atomic<unsigned> counter{0};
  return FolderOf(path) + "/." + fs::path(path).filename().string() + suffix +
         std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// The process id in a name TemporaryNameBeside made (".NAME.tmpPID-N" or
// ".NAME.oldPID-N"), or 0 for any other name.
pid_t TemporaryOwner(const std::string& name) {
  if (name.size() < 2 || name[0] != '.') return 0;
  const std::size_t dash = name.find_last_of('-');
  if (dash == std::string::npos || dash + 1 == name.size() ||
      name.find_first_not_of("0123456789", dash + 1) != std::string::npos) {
    return 0;
  }
  std::size_t digits = dash;
  while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9') --digits;
  if (digits == dash || dash - digits > 9 || digits < 5) return 0;
  const std::string kind = name.substr(digits - 4, 4);
  if (kind != ".tmp" && kind != ".old") return 0;
  return static_cast<pid_t>(std::stol(name.substr(digits, dash - digits)));
}

// The file a chain of symbolic links ends at (itself when it is none); a
// missing end is returned too, so that saving through a dangling link
// creates the file it names.
std::string FollowLinks(std::string path) {
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    fs::path to = fs::read_symlink(path, ec);
    if (ec) return path;
    if (to.is_relative()) to = fs::path(path).parent_path() / to;
    path = to.string();
  }
  return path;  // a loop: Open() says so
}

// The folder entry of a renamed or new file must reach the disk too, or a
// power cut can undo the rename.
void SyncFolderOf(const std::string& path) {
  const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

SaveNoticeHandler& NoticeHandler() {
  static SaveNoticeHandler handler;
  return handler;
}

void TellNotice(const std::string& text) {
  if (text.empty()) return;
  if (NoticeHandler()) {
    NoticeHandler()(text);
  } else {
    std::fprintf(stderr, "warning: %s\n", text.c_str());
  }
}

std::string UserName(uid_t uid) {
  const passwd* p = ::getpwuid(uid);
  return p != nullptr ? std::string(p->pw_name) : "user " + std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  const group* g = ::getgrgid(gid);
  return g != nullptr ? std::string(g->gr_name) : "group " + std::to_string(gid);
}

}  // namespace

void SetSaveNoticeHandler(SaveNoticeHandler handler) {
  NoticeHandler() = std::move(handler);
}

// A plain buffered stream buffer over a file descriptor that remembers the
// first write error, so the commit can report it.
class AtomicFileWriter::Buffer : public std::streambuf {
 public:
  explicit Buffer(int fd) : fd_(fd), data_(1 << 16) {
    setp(data_.data(), data_.data() + data_.size());
  }
  int error() const { return error_; }

  bool FlushAll() {
    const char* p = pbase();
    std::size_t left = static_cast<std::size_t>(pptr() - pbase());
    while (left > 0 && error_ == 0) {
      const ssize_t n = ::write(fd_, p, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        // Nothing written without an error is a short write all the same.
        error_ = n < 0 ? errno : EIO;
        break;
      }
      p += n;
      left -= static_cast<std::size_t>(n);
    }
    setp(data_.data(), data_.data() + data_.size());
    return error_ == 0;
  }

 protected:
  int_type overflow(int_type ch) override {
    if (!FlushAll()) return traits_type::eof();
    if (!traits_type::eq_int_type(ch, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(ch);
      pbump(1);
    }
    return traits_type::not_eof(ch);
  }
  int sync() override { return FlushAll() ? 0 : -1; }

 private:
  int fd_;
  std::vector<char> data_;
  int error_ = 0;
};

AtomicFileWriter::AtomicFileWriter(std::string targetPath, std::vector<std::string> inputs)
    // Saving through a link updates the file it points to, not the link.
    : target_(FollowLinks(std::move(targetPath))), inputs_(std::move(inputs)) {}

AtomicFileWriter::~AtomicFileWriter() {
  stream_.reset();
  buffer_.reset();
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

std::string AtomicFileWriter::Open() {
  const fs::path target(target_);
  const std::string name = target.filename().string();
  if (name.empty()) return "cannot write " + Quoted(target_) + ": no file name";
  struct stat st {};
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (!exists && errno == ELOOP) {
    return "cannot write " + Quoted(target_) + ": " + std::strerror(ELOOP);
  }
  if (exists && S_ISDIR(st.st_mode)) return "cannot write " + Quoted(target_) + ": it is a folder";
  for (const std::string& input : inputs_) {
    struct stat in {};
    if (exists && ::stat(input.c_str(), &in) == 0 && in.st_dev == st.st_dev &&
        in.st_ino == st.st_ino) {
      return "cannot write " + Quoted(target_) + ": it is the input file " + Quoted(input);
    }
  }
  if (exists && !S_ISREG(st.st_mode)) return OpenDirect();
  RemoveLeftTemporaries(FolderOf(target_));

  int err = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp_ = TemporaryNameBeside(target_, ".tmp");
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) break;
    err = errno;
    if (err != EEXIST) break;
  }
  if (fd_ < 0) {
    temp_.clear();
    return "cannot write " + Quoted(target_) + ": " + Reason(err, target_);
  }
  if (exists) TakeOwnershipOf(st);
  buffer_ = std::make_unique<Buffer>(fd_);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  return {};
}

void AtomicFileWriter::TakeOwnershipOf(const struct ::stat& old) {
  // Saving someone else's file (as root, or in a shared folder) must not
  // hand it over to the saving user. Giving a file away is root's right;
  // a user may change its group to one of the user's own groups.
  struct stat now {};
  if (::fstat(fd_, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)) {
    if (::fchown(fd_, old.st_uid, old.st_gid) != 0) {
      const int err = errno;
      const bool groupKept = now.st_gid == old.st_gid || ::fchown(fd_, -1, old.st_gid) == 0;
      const bool ownerKept = now.st_uid == old.st_uid;
      std::string lost;
      if (!ownerKept) lost = "owner " + UserName(old.st_uid);
      if (!groupKept) lost += (lost.empty() ? "group " : " and group ") + GroupName(old.st_gid);
      if (!lost.empty()) {
        notice_ = Quoted(target_) + " was written, but could not keep its " + lost + " (" +
                  std::strerror(err) + "): it now belongs to " + UserName(now.st_uid) + ":" +
                  GroupName(groupKept ? old.st_gid : now.st_gid);
      }
    }
  }
  // After the owner: a change of owner clears the set-user and set-group
  // bits.
  ::fchmod(fd_, old.st_mode & 07777);
}

std::string AtomicFileWriter::OpenDirect() {
  // Without blocking: a pipe nobody reads from is refused instead of
  // waiting for a reader for ever. Writes then block as usual.
  fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) {
    const int err = errno;
    if (err == ENXIO) return "cannot write " + Quoted(target_) + ": no program reads from it";
    return "cannot write " + Quoted(target_) + ": " + Reason(err, target_);
  }
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
  direct_ = true;
  buffer_ = std::make_unique<Buffer>(fd_);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  return {};
}

std::ostream& AtomicFileWriter::Stream() {
  return *stream_;
}

std::string AtomicFileWriter::FlushAndSync() {
  if (fd_ < 0) return "cannot write " + Quoted(target_) + ": the file was not created";
  const std::string failed = "cannot write " + Quoted(target_) + ": ";
  stream_->flush();
  if (buffer_->error() != 0) return failed + Reason(buffer_->error(), target_);
  if (!*stream_) return failed + "write error";
  // Devices and pipes have nothing to sync.
  if (!direct_ && ::fsync(fd_) != 0 && errno != EINVAL) return failed + Reason(errno, target_);
  return {};
}

std::string AtomicFileWriter::Finish() {
  if (std::string error = FlushAndSync(); !error.empty()) return error;
  const std::string failed = "cannot write " + Quoted(target_) + ": ";
  const int closed = ::close(fd_);
  fd_ = -1;
  if (closed != 0) return failed + Reason(errno, target_);
  finished_ = true;
  return {};
}

std::string AtomicFileWriter::Replace() {
  if (!finished_) return "cannot write " + Quoted(target_) + ": the file was not completed";
  if (direct_ || published_) {
    committed_ = true;
    return {};
  }
  const std::string failed = "cannot write " + Quoted(target_) + ": ";
  // Something else may have taken the name since Open().
  struct stat st {};
  if (::stat(target_.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    return failed + (S_ISDIR(st.st_mode) ? "it is a folder" : "it is no longer a regular file");
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return failed + Reason(errno, target_);
  committed_ = true;
  SyncFolderOf(target_);
  TellNotice(std::exchange(notice_, {}));
  return {};
}

std::string AtomicFileWriter::Commit() {
  if (std::string error = Finish(); !error.empty()) return error;
  return Replace();
}

std::string AtomicFileWriter::Publish() {
  if (direct_ || published_) return {};
  if (std::string error = FlushAndSync(); !error.empty()) return error;
  finished_ = true;
  std::string error = Replace();
  finished_ = false;
  published_ = error.empty();
  return error;
}

std::string AtomicFileWriter::CommitKeepingOpen(int& fd) {
  if (std::string error = FlushAndSync(); !error.empty()) return error;
  finished_ = true;
  if (std::string error = Replace(); !error.empty()) return error;
  stream_.reset();
  buffer_.reset();
  fd = fd_;
  fd_ = -1;
  return {};
}

std::string SaveFilesTogether(const std::vector<FileToSave>& files) {
  std::vector<std::unique_ptr<AtomicFileWriter>> writers;
  for (const FileToSave& f : files) {
    writers.push_back(std::make_unique<AtomicFileWriter>(f.path));
    if (std::string error = writers.back()->Open(); !error.empty()) return error;
    f.write(writers.back()->Stream());
  }
  for (auto& w : writers) {
    if (std::string error = w->Finish(); !error.empty()) return error;
  }
  // Each replaced target keeps its old content under a second name (a hard
  // link) until all are in place, so a failed rename can be undone.
  struct Replaced {
    std::string target;
    std::string backup;  // "" when there was no old file
    bool restorable;
  };
  std::vector<Replaced> done;
  const auto undo = [&done] {
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
      if (!it->backup.empty()) {
        ::rename(it->backup.c_str(), it->target.c_str());
      } else if (it->restorable) {
        ::unlink(it->target.c_str());
      }
    }
  };
  for (auto& w : writers) {
    if (w->WritesDirectly()) {
      (void)w->Replace();
      continue;
    }
    Replaced r{w->Target(), "", true};
    struct stat st {};
    if (::stat(r.target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      r.backup = TemporaryNameBeside(r.target, ".old");
      if (::link(r.target.c_str(), r.backup.c_str()) != 0) {
        r.backup.clear();
        r.restorable = false;  // a file system without hard links
      }
    }
    if (std::string error = w->Replace(); !error.empty()) {
      if (!r.backup.empty()) ::unlink(r.backup.c_str());
      undo();
      return error;
    }
    done.push_back(r);
  }
  for (const Replaced& r : done) {
    if (!r.backup.empty()) ::unlink(r.backup.c_str());
  }
  return {};
}

std::string WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                                std::vector<std::string> inputs) {
  return WriteFileWith(
      path,
      [bytes](std::ostream& out) {
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
      },
      std::move(inputs));
}

std::string WriteFileWith(const std::string& path, const std::function<void(std::ostream&)>& write,
                          std::vector<std::string> inputs) {
  AtomicFileWriter file(path, std::move(inputs));
  if (std::string error = file.Open(); !error.empty()) return error;
  write(file.Stream());
  return file.Commit();
}

void RemoveLeftTemporaries(const std::string& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const pid_t owner = TemporaryOwner(entry.path().filename().string());
    if (owner <= 0 || owner == ::getpid() || !entry.is_regular_file(ec) || entry.is_symlink(ec)) {
      continue;
    }
    // A process that no longer exists will never finish or remove it.
    if (::kill(owner, 0) != 0 && errno == ESRCH) ::unlink(entry.path().c_str());
  }
}

FileReader::~FileReader() {
  if (fd_ >= 0) ::close(fd_);
}

std::string FileReader::Open(const std::string& path, std::uint64_t maxBytes) {
  path_ = path;
  const std::string failed = "cannot read " + Quoted(path) + ": ";
  // Without blocking, so that a named pipe given by mistake is refused, not
  // waited on.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) {
    const int err = errno;
    if (err == ENOENT) return failed + "the file does not exist";
    if (err == EACCES || err == EPERM) return failed + "no permission to read it";
    return failed + std::strerror(err);
  }
  struct stat st {};
  if (::fstat(fd_, &st) != 0) return failed + std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return failed + "it is a folder";
  if (!S_ISREG(st.st_mode)) return failed + "it is not a regular file";
  size_ = static_cast<std::uint64_t>(st.st_size);
  if (size_ > maxBytes) {
    return failed + "it is " + std::to_string(size_) +
           " bytes long, more than such a file can be (" + std::to_string(maxBytes) +
           " bytes at most)";
  }
  return {};
}

std::size_t FileReader::Read(std::span<std::uint8_t> into) {
  std::size_t got = 0;
  while (got < into.size() && error_.empty()) {
    const ssize_t n = ::read(fd_, into.data() + got, into.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error_ = "cannot read " + Quoted(path_) + ": " + std::strerror(errno);
    if (n == 0 && done_ + got < size_) {
      error_ = "cannot read " + Quoted(path_) + ": the file became shorter while it was read";
    }
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  done_ += got;
  return got;
}

std::string ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out,
                          std::uint64_t maxBytes) {
  FileReader file;
  if (std::string error = file.Open(path, maxBytes); !error.empty()) return error;
  out.resize(static_cast<std::size_t>(file.Size()));
  out.resize(file.Read(out));
  return file.Error();
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

}  // namespace acv
