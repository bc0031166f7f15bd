// Changes a file without ever leaving it half written: the file is copied to a temporary file
// beside it (same folder, so the rename stays on one file system), the copy is changed, and
// Commit renames it over the original with the original's permissions. Until Commit succeeds
// the original is untouched; an abandoned update removes its copy.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "platform/com/Types.h"

namespace wm {

// What tells one version of a file from another.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  long long modifiedNs = 0;

  // The identity of the regular file at `path` (a symbolic link is followed).
  static std::optional<FileIdentity> Of(const std::string& path);
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// errno as a status (0x80070000 | code).
com::HRESULT HresultFromErrno(int code);

class FileUpdate {
 public:
  FileUpdate() = default;
  ~FileUpdate();
  FileUpdate(const FileUpdate&) = delete;
  FileUpdate& operator=(const FileUpdate&) = delete;

  // Refuses a file that is not a regular file, has other hard links, is not writable by the
  // caller, or is no longer the version `expected`; else makes the copy.
  com::HRESULT Begin(const std::string& path, const FileIdentity& expected);
  const std::string& copyPath() const { return copy_; }
  // Puts the copy in place of the original, unless the original changed meanwhile.
  com::HRESULT Commit();

 private:
  com::HRESULT CopyOriginal(int source, mode_t mode, uid_t owner, gid_t group);

  std::string target_;
  std::string copy_;
  FileIdentity expected_;
  bool committed_ = false;
};

}  // namespace wm
