// Opening a file that is going to be read from start to end. Only regular files are
// accepted: a FIFO, a device, a directory or a socket is refused before a read can block
// on it. The reason of a refusal is the system's text ("No such file or directory",
// "Is a directory", "Permission denied") or a short phrase for a file of another kind.
#pragma once

#include <sys/stat.h>

#include <string>

namespace fileio {

// Owns one descriptor.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = other.Release();
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  void Reset();

 private:
  int fd_ = -1;
};

// Why a file of this mode is not accepted as input; empty for a regular file.
std::string NotRegularReason(mode_t mode);

// Opens `path` for reading when it is a regular file: the name is looked at first, then
// opened without blocking and looked at again through the descriptor (it may have been
// replaced in between); the descriptor is left in blocking mode. On failure the result is
// closed and *reason (when given) says why.
UniqueFd OpenRegularInput(const std::string& path, std::string* reason = nullptr);

// The same checks without keeping the file open: empty when `path` can be read as input.
std::string CheckRegularInput(const std::string& path);

// True when `path` names the file `fd` is open on (same device and inode), following links.
// A path that does not exist names no file.
bool IsSameFile(int fd, const std::string& path);

}  // namespace fileio
