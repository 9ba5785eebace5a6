#pragma once
// A tiny memory file system mounted for one test, to see what a full disk
// does to a save. Mounting needs root; Mounted() is false otherwise and
// Why() says so, for a skip message.
#include <string>

namespace acv::test {

class SmallTmpfs {
 public:
  SmallTmpfs(std::string folder, int kilobytes);
  ~SmallTmpfs();
  SmallTmpfs(const SmallTmpfs&) = delete;
  SmallTmpfs& operator=(const SmallTmpfs&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Why() const { return why_; }
  const std::string& Folder() const { return folder_; }
  // Takes every byte still free with a filler file.
  void Fill() const;

 private:
  std::string folder_;
  bool mounted_ = false;
  std::string why_;
};

// Makes a folder's entries unchangeable (no new, renamed or removed file)
// while its files stay writable, for as long as the object lives: the
// immutable flag as root (who may write anywhere otherwise), read-only
// permissions for other users.
class FrozenFolder {
 public:
  explicit FrozenFolder(std::string folder);
  ~FrozenFolder();
  FrozenFolder(const FrozenFolder&) = delete;
  FrozenFolder& operator=(const FrozenFolder&) = delete;
  bool Frozen() const { return frozen_; }

 private:
  std::string folder_;
  bool frozen_ = false;
  bool immutable_ = false;
};

}  // namespace acv::test
