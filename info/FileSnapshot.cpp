#include "info/FileSnapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace info {

bool IdentityOf(int fd, FileIdentity& identity, mode_t* mode) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  identity = {st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
  if (mode != nullptr) *mode = st.st_mode;
  return true;
}

bool FileSnapshot::Fail(const std::string& reason) {
  bytes_.clear();
  error_ = reason;
  return false;
}

bool FileSnapshot::Read(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return Fail(std::strerror(errno));
  const bool ok = ReadFrom(fd);
  ::close(fd);
  return ok;
}

bool FileSnapshot::ReadFrom(int fd) {
  error_.clear();
  mode_t mode = 0;
  if (!IdentityOf(fd, identity_, &mode)) return Fail(std::strerror(errno));
  if (S_ISDIR(mode)) return Fail("it is a folder");
  if (!S_ISREG(mode)) return Fail("it is not a regular file");
  bytes_.resize(static_cast<std::size_t>(identity_.size));
  std::size_t done = 0;
  while (done < bytes_.size()) {
    const ssize_t n =
        ::pread(fd, bytes_.data() + done, bytes_.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(std::strerror(errno));
    if (n == 0) return Fail("it became shorter while it was read");
    done += static_cast<std::size_t>(n);
  }
  FileIdentity after;
  if (!IdentityOf(fd, after) || !(after == identity_)) return Fail("it changed while it was read");
  return true;
}

}  // namespace info
