#include "SmallTmpfs.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace acv::test {

SmallTmpfs::SmallTmpfs(std::string folder, int kilobytes) : folder_(std::move(folder)) {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  const std::string options = "size=" + std::to_string(kilobytes) + "k";
  if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) == 0) {
    mounted_ = true;
  } else {
    why_ = std::string("no small file system to fill (mount: ") + std::strerror(errno) +
           "; it needs root)";
  }
}

SmallTmpfs::~SmallTmpfs() {
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

void SmallTmpfs::Fill() const {
  const int fd = ::open((folder_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (fd < 0) return;
  const std::vector<char> block(4096, 'x');
  for (std::size_t size = block.size(); size > 0;) {
    if (::write(fd, block.data(), size) < 0) size /= 2;  // the last bytes of the last block
  }
  ::close(fd);
}

namespace {

bool SetImmutable(const std::string& folder, bool on) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
  ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

FrozenFolder::FrozenFolder(std::string folder) : folder_(std::move(folder)) {
  if (::geteuid() == 0) {
    immutable_ = frozen_ = SetImmutable(folder_, true);
  } else {
    frozen_ = ::chmod(folder_.c_str(), 0555) == 0;
  }
}

FrozenFolder::~FrozenFolder() {
  if (immutable_) SetImmutable(folder_, false);
  if (frozen_ && !immutable_) ::chmod(folder_.c_str(), 0755);
}

}  // namespace acv::test
