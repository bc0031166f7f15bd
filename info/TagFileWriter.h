// Puts new tags around the audio of a file: the new file is the new (or old) leading ID3v2
// tag, the audio between the old tags, and the new (or old) trailing ID3v1 tag.
//
// Open refuses a path that does not exist, anything but a regular file, a file the caller
// may not write, and a file with several hard links (replacing it would separate it from
// its other names). It takes an exclusive lock (flock) on the file that lasts until the
// writer is destroyed, so saves through this library take turns, and it fails when the file
// is no longer the version a caller read (device, inode, size, modification time). The file
// is replaced as a whole (FileReplacer) only when it is still that version.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "info/FileSnapshot.h"

namespace info {

class TagFileWriter {
 public:
  explicit TagFileWriter(std::string path) : path_(std::move(path)) {}
  ~TagFileWriter();
  TagFileWriter(const TagFileWriter&) = delete;
  TagFileWriter& operator=(const TagFileWriter&) = delete;

  // Opens, checks, locks and reads the file; `expected` is the version read earlier.
  bool Open(const std::optional<FileIdentity>& expected = std::nullopt);
  // The file's content as read by Open.
  std::span<const std::uint8_t> bytes() const { return snapshot_.bytes(); }

  // `head` replaces the leading tag, `tail` the trailing one; none keeps the old one.
  bool Replace(std::optional<std::span<const std::uint8_t>> head,
               std::optional<std::span<const std::uint8_t>> tail);
  const std::string& error() const { return error_; }

 private:
  bool Refuse(const std::string& reason);
  bool Lock();

  std::string path_;
  int fd_ = -1;
  FileSnapshot snapshot_;
  std::string error_;
};

}  // namespace info
