#include "info/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace info {

bool MappedFile::Open(const std::string& path) {
  Close();
  error_ = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error_ = errno;
    return false;
  }
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0;
  if (!ok) error_ = errno;
  if (ok && !S_ISREG(st.st_mode)) {
    error_ = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ok = false;
  }
  if (ok && st.st_size > 0) {
    void* view = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (view == MAP_FAILED) {
      error_ = errno;
      ok = false;
    } else {
      data_ = static_cast<const std::uint8_t*>(view);
      size_ = static_cast<std::size_t>(st.st_size);
    }
  }
  ::close(fd);
  open_ = ok;
  return ok;
}

void MappedFile::Close() {
  if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
  open_ = false;
}

}  // namespace info
