// Replaces a file as a whole: the new content goes to a temporary file in the same folder,
// which takes the old file's permissions and is renamed over it only when every byte is on
// disk. Until Commit succeeds the old file is untouched; an abandoned replacer removes its
// temporary file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace info {

class FileReplacer {
 public:
  explicit FileReplacer(std::string path);
  ~FileReplacer();
  FileReplacer(const FileReplacer&) = delete;
  FileReplacer& operator=(const FileReplacer&) = delete;

  bool Open();
  bool Write(std::span<const std::uint8_t> bytes);
  bool Commit();

  // What went wrong, naming the file, after a failed call.
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& what, int code);

  std::string path_;    // the file as named by the caller
  std::string target_;  // the file really replaced (a symbolic link is followed)
  std::string temp_;
  int fd_ = -1;
  bool committed_ = false;
  std::string error_;
};

}  // namespace info
