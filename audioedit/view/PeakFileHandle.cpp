#include "audioedit/view/PeakFileHandle.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace audioedit::view {

bool PeakFileHandle::Open(const std::string& path) {
  if (fd_ >= 0) return true;
  if (openFailed_) return false;
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  openFailed_ = fd_ < 0;
  return fd_ >= 0;
}

void PeakFileHandle::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  openFailed_ = false;
}

bool PeakFileHandle::Seek(std::uint64_t offset) {
  return fd_ >= 0 && ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

long PeakFileHandle::Read(void* buffer, std::size_t size) {
  if (fd_ < 0) return -1;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, size);
    if (n >= 0) return static_cast<long>(n);
    if (errno != EINTR) return -1;
  }
}

}  // namespace audioedit::view
