#include "WriteTargets.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "SmallTmpfs.h"

namespace acv::test {
namespace {

namespace fs = std::filesystem;

const std::string kOld = "the old contents\n";

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

mode_t Kind(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

// "" (success) or a one-line error naming `named`.
void ExpectError(const std::string& error, const std::string& expected, const std::string& named) {
  if (expected.empty()) {
    EXPECT_EQ(error, "");
    return;
  }
  EXPECT_NE(error.find(expected), std::string::npos) << error;
  EXPECT_NE(error.find(named), std::string::npos) << error;
  EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

void ExpectNoTemporaries(const std::string& folder) {
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    EXPECT_NE(e.path().filename().string()[0], '.') << "left behind: " << e.path();
  }
}

class Folder {
 public:
  Folder() {
    std::string templ = (fs::temp_directory_path() / "acv_targets_XXXXXX").string();
    path_ = ::mkdtemp(templ.data());
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// The size of the output as the first target, a new file, received it. Sizes
// are compared rather than bytes: a PDF carries the second it was made.
std::size_t Written(const Folder& dir) {
  return Contents(dir.File("new")).size();
}

}  // namespace

void ExpectSafeOnEveryTarget(const WriteOutput& write) {
  Folder dir;
  {
    SCOPED_TRACE(
        "a new file and an existing one, which keeps its permissions (and as root,"
        " who may give it away, its owner and group)");
    EXPECT_EQ(write(dir.File("new"), {}), "");
    EXPECT_EQ(Kind(dir.File("new")), S_IFREG);
    EXPECT_GT(fs::file_size(dir.File("new")), 0u);
    Put(dir.File("old"), kOld);
    const bool root = ::geteuid() == 0;
    if (root) {
      ASSERT_EQ(::chown(dir.File("old").c_str(), 4321, 4322), 0);
    }
    ::chmod(dir.File("old").c_str(), 0640);
    EXPECT_EQ(write(dir.File("old"), {}), "");
    EXPECT_EQ(Contents(dir.File("old")).size(), Written(dir));
    EXPECT_EQ(fs::status(dir.File("old")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    struct stat st {};
    ASSERT_EQ(::stat(dir.File("old").c_str(), &st), 0);
    if (root) {
      EXPECT_EQ(st.st_uid, 4321u);
      EXPECT_EQ(st.st_gid, 4322u);
    }
  }
  {
    SCOPED_TRACE("links: the file they lead to is written, they stay links");
    Put(dir.File("linked"), kOld);
    fs::create_symlink("linked", dir.File("link"));
    fs::create_symlink("created", dir.File("dangling"));
    EXPECT_EQ(write(dir.File("link"), {}), "");
    EXPECT_EQ(write(dir.File("dangling"), {}), "");
    EXPECT_EQ(Kind(dir.File("link")), S_IFLNK);
    EXPECT_EQ(Kind(dir.File("dangling")), S_IFLNK);
    EXPECT_EQ(Contents(dir.File("linked")).size(), Written(dir));
    EXPECT_EQ(Contents(dir.File("created")).size(), Written(dir));
  }
  {
    SCOPED_TRACE("character devices stay devices");
    // A node of the null device of our own when we may make one, so that a
    // replaced node would not be the system's.
    std::string device = "/dev/null";
    if (::mknod(dir.File("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
      device = dir.File("null");
    }
    EXPECT_EQ(write(device, {}), "");
    EXPECT_EQ(Kind(device), S_IFCHR);
    ExpectError(write("/dev/full", {}), "the disk is full", "/dev/full");
    EXPECT_EQ(Kind("/dev/full"), S_IFCHR);
  }
  {
    SCOPED_TRACE("pipes stay pipes; one nobody reads from is refused at once");
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ExpectError(write(pipe, {}), "no program reads from it", pipe);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ::fcntl(reader, F_SETFL, 0);
    // A writer end of the test's own, so the drain waits for the output's
    // and ends when both are closed.
    const int held = ::open(pipe.c_str(), O_WRONLY);
    std::string got;
    std::thread drain([&] {
      char buf[4096];
      for (ssize_t n; (n = ::read(reader, buf, sizeof buf)) != 0;) {
        if (n > 0) got.append(buf, static_cast<std::size_t>(n));
      }
    });
    EXPECT_EQ(write(pipe, {}), "");
    ::close(held);
    drain.join();
    ::close(reader);
    EXPECT_EQ(got.size(), Written(dir));
    EXPECT_EQ(Kind(pipe), S_IFIFO);
  }
  {
    SCOPED_TRACE("a folder is refused");
    fs::create_directory(dir.File("folder"));
    ExpectError(write(dir.File("folder"), {}), "it is a folder", dir.File("folder"));
  }
  {
    SCOPED_TRACE("the command's own input, by another spelling or through a link");
    Put(dir.File("in"), kOld);
    fs::create_symlink(dir.File("in"), dir.File("to-in"));
    for (const std::string& spelling :
         {dir.Path() + "/./in", dir.Path() + "/folder/../in", dir.File("to-in")}) {
      ExpectError(write(spelling, {dir.File("in")}), "it is the input file", dir.File("in"));
    }
    EXPECT_EQ(Contents(dir.File("in")), kOld);
  }
  ExpectNoTemporaries(dir.Path());
  {
    SCOPED_TRACE("an unchangeable folder leaves the file as it was");
    fs::create_directory(dir.File("frozen"));
    Put(dir.File("frozen/kept"), kOld);
    FrozenFolder frozen(dir.File("frozen"));
    if (frozen.Frozen()) {
      ExpectError(write(dir.File("frozen/kept"), {}), "cannot write", dir.File("frozen/kept"));
      EXPECT_EQ(Contents(dir.File("frozen/kept")), kOld);
    }
  }
  {
    SCOPED_TRACE("a full disk leaves the file as it was and nothing beside it");
    SmallTmpfs disk(dir.File("disk"), 64);
    if (!disk.Mounted()) {
      std::printf("[ SKIPPED  ] full-disk target: %s\n", disk.Why().c_str());
      return;
    }
    Put(disk.Folder() + "/kept", kOld);
    disk.Fill();
    ExpectError(write(disk.Folder() + "/kept", {}), "the disk is full", disk.Folder() + "/kept");
    EXPECT_EQ(Contents(disk.Folder() + "/kept"), kOld);
    ExpectNoTemporaries(disk.Folder());
  }
}

}  // namespace acv::test
