#include "platform/wmvcore/FileUpdate.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace wm {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

std::string Folder(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

FileIdentity IdentityOf(const struct stat& st) {
  return {st.st_dev, st.st_ino, st.st_size,
          static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

}  // namespace

com::HRESULT HresultFromErrno(int code) {
  return code > 0 ? com::MakeHresult(0x80070000u | static_cast<std::uint32_t>(code & 0xFFFF))
                  : com::E_FAIL;
}

std::optional<FileIdentity> FileIdentity::Of(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return IdentityOf(st);
}

FileUpdate::~FileUpdate() {
  if (!committed_ && !copy_.empty()) ::unlink(copy_.c_str());
}

com::HRESULT FileUpdate::Begin(const std::string& path, const FileIdentity& expected) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return HresultFromErrno(errno);
  target_ = resolved;
  expected_ = expected;
  Descriptor source(::open(target_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (source.get() < 0) return HresultFromErrno(errno);
  struct stat st {};
  if (::fstat(source.get(), &st) != 0) return HresultFromErrno(errno);
  if (!S_ISREG(st.st_mode)) return HresultFromErrno(EINVAL);
  if (st.st_nlink > 1) return HresultFromErrno(EMLINK);  // a rename would split the links
  if (!(IdentityOf(st) == expected_)) return HresultFromErrno(ESTALE);
  if (::access(target_.c_str(), W_OK) != 0) return HresultFromErrno(errno);
  return CopyOriginal(source.get(), st.st_mode & 07777, st.st_uid, st.st_gid);
}

com::HRESULT FileUpdate::CopyOriginal(int source, mode_t mode, uid_t owner, gid_t group) {
  std::string pattern = Folder(target_) + "/.wmv.XXXXXX";
  Descriptor copy(::mkostemp(pattern.data(), O_CLOEXEC));
  if (copy.get() < 0) return HresultFromErrno(errno);
  copy_ = pattern;
  if (::fchmod(copy.get(), mode) != 0) return HresultFromErrno(errno);
  if (owner != ::geteuid() || group != ::getegid()) (void)!::fchown(copy.get(), owner, group);
  std::vector<char> buffer(1 << 20);
  for (;;) {
    const ssize_t n = ::read(source, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return HresultFromErrno(errno);
    if (n == 0) break;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w =
          ::write(copy.get(), buffer.data() + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) return HresultFromErrno(w < 0 ? errno : EIO);
      done += w;
    }
  }
  if (::close(copy.release()) != 0) return HresultFromErrno(errno);
  return com::S_OK;
}

com::HRESULT FileUpdate::Commit() {
  if (copy_.empty()) return com::E_UNEXPECTED;
  {
    Descriptor copy(::open(copy_.c_str(), O_RDONLY | O_CLOEXEC));
    if (copy.get() < 0 || ::fsync(copy.get()) != 0) return HresultFromErrno(errno);
  }
  const auto now = FileIdentity::Of(target_);
  if (!now || !(*now == expected_)) return HresultFromErrno(ESTALE);  // changed by someone else
  if (::rename(copy_.c_str(), target_.c_str()) != 0) return HresultFromErrno(errno);
  committed_ = true;
  Descriptor folder(::open(Folder(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.get() >= 0) ::fsync(folder.get());
  return com::S_OK;
}

}  // namespace wm
