#include "platform/registry/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace reg {

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the description releases the lock
}

Status FileLock::Acquire(const std::filesystem::path& lockFile) {
  // O_NONBLOCK: a FIFO in the lock file's place must not make the open wait.
  const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0)
    return Status::Fail(com::REGDB_E_WRITEREGDB,
                        "cannot open lock file " + lockFile.string() + ": " + std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return Status::Fail(com::REGDB_E_WRITEREGDB,
                        "lock file " + lockFile.string() + " is not a regular file");
  }
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const int err = errno;
    ::close(fd);
    return Status::Fail(com::REGDB_E_WRITEREGDB,
                        "cannot lock " + lockFile.string() + ": " + std::strerror(err));
  }
  fd_ = fd;
  return Status::Ok();
}

}  // namespace reg
