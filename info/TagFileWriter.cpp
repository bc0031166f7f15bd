#include "info/TagFileWriter.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "info/FileReplacer.h"
#include "info/TagLayout.h"

namespace info {

namespace {

constexpr auto kLockWait = std::chrono::seconds(10);
constexpr auto kLockRetry = std::chrono::milliseconds(5);

}  // namespace

TagFileWriter::~TagFileWriter() {
  if (fd_ >= 0) ::close(fd_);  // releases the lock
}

bool TagFileWriter::Refuse(const std::string& reason) {
  error_ = "cannot save " + path_ + ": " + reason;
  return false;
}

bool TagFileWriter::Lock() {
  const auto deadline = std::chrono::steady_clock::now() + kLockWait;
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR)
      return Refuse(std::string("cannot lock it: ") + std::strerror(errno));
    if (std::chrono::steady_clock::now() > deadline)
      return Refuse("another program kept it locked for 10 seconds");
    std::this_thread::sleep_for(kLockRetry);
  }
  return true;
}

bool TagFileWriter::Open(const std::optional<FileIdentity>& expected) {
  struct stat st {};
  if (::lstat(path_.c_str(), &st) != 0 && errno == ENOENT) return Refuse("it does not exist");
  fd_ = ::open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd_ < 0) {
    const int code = errno;
    if (code == ENOENT) return Refuse("it does not exist");
    if (code == EISDIR) return Refuse("it is a folder");
    if (code == EACCES || code == EPERM || code == EROFS || code == ETXTBSY)
      return Refuse(std::string("it is not writable (") + std::strerror(code) + ")");
    return Refuse(std::strerror(code));
  }
  if (::fstat(fd_, &st) != 0) return Refuse(std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return Refuse("it is not a regular file");
  if ((st.st_mode & 0222) == 0) return Refuse("it is read-only (no write permission for anyone)");
  if (st.st_nlink > 1)
    return Refuse("it has " + std::to_string(st.st_nlink) +
                  " hard links, and saving would separate it from the others");
  if (!Lock()) return false;
  struct stat named {};
  FileIdentity now;
  if (::stat(path_.c_str(), &named) != 0 || !IdentityOf(fd_, now) || named.st_dev != now.device ||
      named.st_ino != now.inode)
    return Refuse("another program replaced it since it was read");
  if (expected && !(*expected == now))
    return Refuse("another program changed it since it was read");
  if (!snapshot_.ReadFrom(fd_)) return Refuse(snapshot_.error());
  return true;
}

bool TagFileWriter::Replace(std::optional<std::span<const std::uint8_t>> head,
                            std::optional<std::span<const std::uint8_t>> tail) {
  if (fd_ < 0) return Refuse("it was not opened");
  const auto bytes = snapshot_.bytes();
  const AudioSpan audio = LocateAudio(bytes);
  FileReplacer out(path_, fd_);
  const bool ok = out.Open() && out.Write(head ? *head : bytes.first(audio.begin)) &&
                  out.Write(bytes.subspan(audio.begin, audio.end - audio.begin)) &&
                  out.Write(tail ? *tail : bytes.subspan(audio.end)) &&
                  out.Commit(snapshot_.identity());
  if (!ok) error_ = out.error();
  return ok;
}

}  // namespace info
