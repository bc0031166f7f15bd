#include "audioedit/mp3/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/fileio/InputOpen.h"

namespace audioedit {

bool InputFile::Open(const std::string& path) {
  Close();
  error_.clear();
  fd_ = fileio::OpenRegularInput(path, &error_).Release();
  return fd_ >= 0;
}

void InputFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::uint32_t InputFile::GetSize() const {
  struct stat st {};
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return kInvalid;
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(st.st_size));
}

bool InputFile::Read(void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (fd_ < 0) return false;
  ssize_t n = 0;
  do {
    n = ::read(fd_, buffer, size);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return false;
  got = static_cast<std::uint32_t>(n);
  return true;
}

std::uint32_t InputFile::Tell() const {
  if (fd_ < 0) return kInvalid;
  const off_t pos = ::lseek(fd_, 0, SEEK_CUR);
  return pos < 0 ? kInvalid : static_cast<std::uint32_t>(static_cast<std::uint64_t>(pos));
}

bool InputFile::Seek(std::uint32_t position) {
  return fd_ >= 0 && ::lseek(fd_, static_cast<off_t>(position), SEEK_SET) >= 0;
}

}  // namespace audioedit
