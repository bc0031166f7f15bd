#include "platform/fileio/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <utility>

#include "platform/fileio/InputOpen.h"

namespace fileio {
namespace {

std::string Folder(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A short name that keeps clear of the folder's length limit whatever the target's name.
std::string TemporaryName(const std::string& folder, std::mt19937& random) {
  constexpr std::string_view kLetters =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string name = folder + "/.tvx";
  std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
  for (int i = 0; i < 8; ++i) name += kLetters[pick(random)];
  return name;
}

bool WriteLoop(int fd, const std::uint8_t* data, std::size_t size, off_t at) {
  while (size > 0) {
    const ssize_t n = at < 0 ? ::write(fd, data, size) : ::pwrite(fd, data, size, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
    if (at >= 0) at += n;
  }
  return true;
}

}  // namespace

OutputFile::OutputFile(std::string target) : path_(std::move(target)), target_(path_) {}

bool OutputFile::Fail(const std::string& what, const std::string& reason) {
  error_ = what + " '" + path_ + "': " + reason;
  return false;
}

bool OutputFile::FailErrno(const std::string& what, int code) {
  return Fail(what, std::strerror(code));
}

bool OutputFile::Open() {
  Discard();
  struct stat st {};
  existed_ = ::stat(path_.c_str(), &st) == 0;
  if (existed_) {
    if (const std::string why = NotRegularReason(st.st_mode); !why.empty())
      return Fail("cannot replace", why);
    char resolved[PATH_MAX];
    if (::realpath(path_.c_str(), resolved) != nullptr) target_ = resolved;
    device_ = st.st_dev;
    inode_ = st.st_ino;
  } else if (errno != ENOENT) {
    return FailErrno("cannot create", errno);
  }
  std::mt19937 random(std::random_device{}());
  const std::string folder = Folder(target_);
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    std::string name = TemporaryName(folder, random);
    // The umask applies to a new file; an existing target's mode is copied below.
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd_ >= 0)
      temp_ = std::move(name);
    else if (errno != EEXIST)
      return FailErrno("cannot create a temporary file beside", errno);
  }
  if (fd_ < 0) return FailErrno("cannot create a temporary file beside", EEXIST);
  if (existed_) {
    if (::fchmod(fd_, st.st_mode & 07777) != 0) {
      const int code = errno;
      Discard();
      return FailErrno("cannot give the new file the permissions of", code);
    }
    if (st.st_uid != ::geteuid() || st.st_gid != ::getegid())
      (void)!::fchown(fd_, st.st_uid, st.st_gid);  // keeps the owner where the user may
  }
  return true;
}

bool OutputFile::Write(const void* data, std::size_t size) {
  if (fd_ < 0) return FailErrno("cannot write", EBADF);
  if (!WriteLoop(fd_, static_cast<const std::uint8_t*>(data), size, -1))
    return FailErrno("cannot write", errno);
  return true;
}

bool OutputFile::WriteAt(const void* data, std::size_t size, std::uint64_t offset) {
  if (fd_ < 0) return FailErrno("cannot write", EBADF);
  if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max()))
    return FailErrno("cannot write", EFBIG);
  if (!WriteLoop(fd_, static_cast<const std::uint8_t*>(data), size, static_cast<off_t>(offset)))
    return FailErrno("cannot write", errno);
  return true;
}

bool OutputFile::Commit() {
  if (fd_ < 0) return FailErrno("cannot write", EBADF);
  if (::fsync(fd_) != 0) {
    const int code = errno;
    Discard();
    return FailErrno("cannot write", code);
  }
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) {
    const int code = errno;
    Discard();
    return FailErrno("cannot write", code);
  }
  // Someone else's file put in place meanwhile is not overwritten.
  struct stat now {};
  const bool exists = ::stat(target_.c_str(), &now) == 0;
  if (exists != existed_ || (exists && (now.st_dev != device_ || now.st_ino != inode_))) {
    Discard();
    return Fail("not replacing", "it was changed while the new file was being written");
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int code = errno;
    Discard();
    return FailErrno("cannot replace", code);
  }
  temp_.clear();
  const int dir = ::open(Folder(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

void OutputFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

}  // namespace fileio
