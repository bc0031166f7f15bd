// The whole content of a regular file, read with pread into memory (never mapped, so a
// concurrent truncation cannot fault the reader), with the identity of the file read.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <vector>

namespace info {

// What tells one version of a file from another: device, inode, size, modification time.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t mtimeSeconds = 0;
  long mtimeNanoseconds = 0;
  bool operator==(const FileIdentity&) const = default;
};

class FileSnapshot {
 public:
  FileSnapshot() = default;
  FileSnapshot(const FileSnapshot&) = delete;
  FileSnapshot& operator=(const FileSnapshot&) = delete;

  // Reads `path`; false for anything that is not a readable regular file, and when the file
  // changed size while it was read. error() then says why (without the file name).
  bool Read(const std::string& path);
  // Reads the regular file open as `fd` from offset 0.
  bool ReadFrom(int fd);

  std::span<const std::uint8_t> bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }
  const FileIdentity& identity() const { return identity_; }
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& reason);

  std::vector<std::uint8_t> bytes_;
  FileIdentity identity_;
  std::string error_;
};

// The identity of the file open as `fd`; false when fstat fails.
bool IdentityOf(int fd, FileIdentity& identity, mode_t* mode = nullptr);

}  // namespace info
