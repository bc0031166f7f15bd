#include "platform/fileio/InputOpen.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fileio {

void UniqueFd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::string NotRegularReason(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return std::strerror(EISDIR);
  if (S_ISFIFO(mode)) return "is a FIFO, not a regular file";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file";
  if (S_ISSOCK(mode)) return "is a socket, not a regular file";
  return "is not a regular file";
}

UniqueFd OpenRegularInput(const std::string& path, std::string* reason) {
  std::string why;
  UniqueFd fd;
  struct stat st {};
  if (path.empty()) {
    why = std::strerror(ENOENT);
  } else if (::stat(path.c_str(), &st) != 0) {
    why = std::strerror(errno);
  } else if (why = NotRegularReason(st.st_mode); why.empty()) {
    // Non-blocking, so that a FIFO put in place after the look cannot hold the open.
    fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.IsOpen()) {
      why = std::strerror(errno);
    } else if (::fstat(fd.Get(), &st) != 0) {
      why = std::strerror(errno);
    } else if (why = NotRegularReason(st.st_mode); why.empty()) {
      const int flags = ::fcntl(fd.Get(), F_GETFL);
      if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        why = std::strerror(errno);
    }
  }
  if (!why.empty()) {
    fd.Reset();
    if (reason != nullptr) *reason = why;
  }
  return fd;
}

std::string CheckRegularInput(const std::string& path) {
  std::string reason;
  OpenRegularInput(path, &reason);
  return reason;
}

bool IsSameFile(int fd, const std::string& path) {
  struct stat a {
  }, b{};
  if (::fstat(fd, &a) != 0 || ::stat(path.c_str(), &b) != 0) return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace fileio
