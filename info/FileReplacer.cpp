#include "info/FileReplacer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>

namespace info {

namespace {

// The process's file-creation mask, read without changing it.
mode_t CurrentUmask() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
  return 022;
}

std::string Folder(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

FileReplacer::FileReplacer(std::string path) : path_(std::move(path)), target_(path_) {}

FileReplacer::~FileReplacer() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

bool FileReplacer::Fail(const std::string& what, int code) {
  error_ = what + " " + path_ + ": " + std::strerror(code);
  return false;
}

bool FileReplacer::Open() {
  struct stat st {};
  const bool exists = ::stat(path_.c_str(), &st) == 0;
  if (exists) {
    if (!S_ISREG(st.st_mode)) return Fail("cannot replace", S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    char resolved[PATH_MAX];
    if (::realpath(path_.c_str(), resolved) != nullptr) target_ = resolved;
  } else if (errno != ENOENT) {
    return Fail("cannot examine", errno);
  }
  std::string pattern = Folder(target_) + "/." + BaseName(target_) + ".XXXXXX";
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) return Fail("cannot create a temporary file beside", errno);
  temp_ = pattern;
  const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
  if (::fchmod(fd_, mode) != 0) return Fail("cannot set the permissions of the copy of", errno);
  if (exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()))
    (void)!::fchown(fd_, st.st_uid, st.st_gid);  // keeps the owner where the user may
  return true;
}

bool FileReplacer::Write(std::span<const std::uint8_t> bytes) {
  if (fd_ < 0) return Fail("cannot write", EBADF);
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail("cannot write the new copy of", n < 0 ? errno : EIO);
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

bool FileReplacer::Commit() {
  if (fd_ < 0) return Fail("cannot write", EBADF);
  if (::fsync(fd_) != 0) return Fail("cannot flush the new copy of", errno);
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) return Fail("cannot close the new copy of", errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return Fail("cannot replace", errno);
  committed_ = true;
  const int dir = ::open(Folder(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

}  // namespace info
