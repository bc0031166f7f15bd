// Replaces a file as a whole: the new content goes to a temporary file with a short name in
// the same folder, which takes the old file's owner, group, mode, extended attributes and
// access control lists, and is renamed over it only when every byte is on disk and the old
// file is still the one that was read. Until Commit succeeds the old file is untouched; an
// abandoned replacer removes its temporary file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "info/FileSnapshot.h"

namespace info {

class FileReplacer {
 public:
  // `path` is the file to replace (a symbolic link is followed), `source` a descriptor open
  // on it whose attributes the copy takes.
  FileReplacer(std::string path, int source);
  ~FileReplacer();
  FileReplacer(const FileReplacer&) = delete;
  FileReplacer& operator=(const FileReplacer&) = delete;

  bool Open();
  bool Write(std::span<const std::uint8_t> bytes);
  // Renames the copy over the file after checking that the path still names the file open
  // as the source and that the source still has `expected` identity.
  bool Commit(const FileIdentity& expected);

  // What went wrong, naming the file, after a failed call.
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& what, int code);
  bool FailBecause(const std::string& reason);
  bool CopyAttributes();

  std::string path_;    // the file as named by the caller
  std::string target_;  // the file really replaced
  std::string temp_;
  int source_ = -1;
  int fd_ = -1;
  bool committed_ = false;
  std::string error_;
};

}  // namespace info
