#include "info/FileReplacer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace info {

namespace {

std::string Folder(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The names of the extended attributes of `fd` (ACLs are among them).
bool AttributeNames(int fd, std::vector<std::string>& names) {
  const ssize_t size = ::flistxattr(fd, nullptr, 0);
  if (size < 0) return errno == ENOTSUP;
  std::vector<char> list(static_cast<std::size_t>(size) + 1);
  const ssize_t n = ::flistxattr(fd, list.data(), list.size());
  if (n < 0) return false;
  for (std::size_t at = 0; at < static_cast<std::size_t>(n);) {
    const std::string name(list.data() + at);
    if (!name.empty()) names.push_back(name);
    at += name.size() + 1;
  }
  return true;
}

}  // namespace

FileReplacer::FileReplacer(std::string path, int source)
    : path_(std::move(path)), target_(path_), source_(source) {}

FileReplacer::~FileReplacer() {
  if (fd_ >= 0) ::close(fd_);
  if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

bool FileReplacer::Fail(const std::string& what, int code) {
  error_ = what + " " + path_ + ": " + std::strerror(code);
  return false;
}

bool FileReplacer::FailBecause(const std::string& reason) {
  error_ = "cannot save " + path_ + ": " + reason;
  return false;
}

bool FileReplacer::Open() {
  char resolved[PATH_MAX];
  if (::realpath(path_.c_str(), resolved) == nullptr) return Fail("cannot resolve", errno);
  target_ = resolved;
  std::string pattern = Folder(target_) + "/.ti-XXXXXX";
  fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd_ < 0) return Fail("cannot create a temporary file beside", errno);
  temp_ = pattern;
  return CopyAttributes();
}

bool FileReplacer::CopyAttributes() {
  struct stat st {};
  if (::fstat(source_, &st) != 0) return Fail("cannot examine", errno);
  if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
    if (::fchown(fd_, st.st_uid, st.st_gid) != 0)
      return FailBecause("it belongs to another user or group, which a new copy cannot keep (" +
                         std::string(std::strerror(errno)) + ")");
  }
  if (::fchmod(fd_, st.st_mode & 07777) != 0)
    return Fail("cannot set the permissions of the copy of", errno);
  std::vector<std::string> names;
  if (!AttributeNames(source_, names)) return Fail("cannot list the extended attributes of", errno);
  for (const std::string& name : names) {
    const ssize_t size = ::fgetxattr(source_, name.c_str(), nullptr, 0);
    if (size < 0) return Fail("cannot read extended attribute " + name + " of", errno);
    std::vector<char> value(static_cast<std::size_t>(size));
    const ssize_t n = ::fgetxattr(source_, name.c_str(), value.data(), value.size());
    if (n < 0) return Fail("cannot read extended attribute " + name + " of", errno);
    if (::fsetxattr(fd_, name.c_str(), value.data(), static_cast<std::size_t>(n), 0) != 0)
      return FailBecause("its extended attribute " + name + " cannot be kept (" +
                         std::strerror(errno) + ")");
  }
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

bool FileReplacer::Commit(const FileIdentity& expected) {
  if (fd_ < 0) return Fail("cannot write", EBADF);
  if (::fsync(fd_) != 0) return Fail("cannot flush the new copy of", errno);
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0) return Fail("cannot close the new copy of", errno);
  FileIdentity now;
  struct stat named {};
  if (!IdentityOf(source_, now) || !(now == expected) || ::stat(target_.c_str(), &named) != 0 ||
      named.st_dev != now.device || named.st_ino != now.inode)
    return FailBecause("another program changed or replaced it while it was being saved");
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
