#include "platform/registry/Registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/registry/FileLock.h"
#include "platform/registry/QuotedString.h"
#include "platform/registry/RegistryText.h"

namespace reg {
namespace {

// A writer's new content goes to "<file>.tmp-XXXXXX" until it is renamed over the file.
constexpr std::string_view kTempInfix = ".tmp-";
constexpr std::size_t kTempSuffixLength = 6;  // mkstemp's XXXXXX

Status IoError(com::HRESULT hr, const std::string& what, const std::filesystem::path& file,
               int err) {
  return Status::Fail(hr, what + " " + file.string() + ": " + std::strerror(err));
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

Status TooLarge(const std::filesystem::path& file) {
  return Status::Fail(com::REGDB_E_READREGDB,
                      "registry file " + file.string() + " is larger than 64 MiB");
}

// Removes the temporary files that writers killed before their rename left behind. Runs under
// the writers' lock, so no live writer owns such a file.
void RemoveStaleTemporaries(const std::filesystem::path& dir, const std::string& fileName) {
  const std::string prefix = fileName + std::string(kTempInfix);
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() != prefix.size() + kTempSuffixLength || !name.starts_with(prefix)) continue;
    std::error_code typeError;
    if (it->is_regular_file(typeError) && !it->is_symlink(typeError)) ::unlink(it->path().c_str());
  }
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::filesystem::path Registry::DefaultPath() {
  if (const char* env = std::getenv("COM_REGISTRY"); env != nullptr && *env != '\0') return env;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/')
    return std::filesystem::path(xdg) / "comreg" / "registry";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr && *home != '\0' ? home : "/") / ".config" /
         "comreg" / "registry";
}

Status Registry::Read(Key& root) const {
  // O_NONBLOCK: opening a FIFO or a device must not wait; such files are refused below.
  Fd fd(::open(file_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) return Status::Ok();
    return IoError(com::REGDB_E_READREGDB, "cannot open registry file", file_, errno);
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0)
    return IoError(com::REGDB_E_READREGDB, "cannot read registry file", file_, errno);
  if (!S_ISREG(st.st_mode))
    return Status::Fail(com::REGDB_E_READREGDB,
                        "registry file " + file_.string() + " is not a regular file");
  if (static_cast<std::uint64_t>(st.st_size) > kMaxRegistryFileSize) return TooLarge(file_);
  std::string text;
  char buf[65536];
  while (true) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return IoError(com::REGDB_E_READREGDB, "cannot read registry file", file_, errno);
    }
    if (n == 0) break;
    text.append(buf, static_cast<std::size_t>(n));
    if (text.size() > kMaxRegistryFileSize) return TooLarge(file_);
  }
  return ParseRegistryText(text, file_.string(), root);
}

Status Registry::WriteAtomically(const Key& root) const {
  // Nothing is written that the reader would refuse: such a change fails instead.
  if (root.Depth() > kMaxKeyDepth)
    return Status::Fail(com::REGDB_E_WRITEREGDB,
                        "change refused: keys would be nested deeper than " +
                            std::to_string(kMaxKeyDepth) + " levels in " + file_.string());
  std::string text;
  if (!FormatRegistryText(root, kMaxRegistryFileSize, text))
    return Status::Fail(com::REGDB_E_WRITEREGDB, "change refused: registry file " + file_.string() +
                                                     " would be larger than 64 MiB");
  const std::filesystem::path dir = file_.parent_path().empty() ? "." : file_.parent_path();
  RemoveStaleTemporaries(dir, file_.filename().string());
  std::string tmp =
      (dir / (file_.filename().string() + std::string(kTempInfix) + "XXXXXX")).string();
  Fd fd(::mkstemp(tmp.data()));
  if (fd.get() < 0)
    return IoError(com::REGDB_E_WRITEREGDB, "cannot create a file next to", file_, errno);
  const auto fail = [&](const char* what) {
    const int err = errno;
    ::unlink(tmp.c_str());
    return IoError(com::REGDB_E_WRITEREGDB, what, file_, err);
  };
  if (::fchmod(fd.get(), 0644) != 0) return fail("cannot set permissions for");
  if (!WriteAll(fd.get(), text)) return fail("cannot write registry file");
  if (::fsync(fd.get()) != 0) return fail("cannot flush registry file");
  if (::close(fd.release()) != 0) return fail("cannot write registry file");
  if (::rename(tmp.c_str(), file_.c_str()) != 0) return fail("cannot replace registry file");
  Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dirFd.get() >= 0) ::fsync(dirFd.get());  // best effort: the rename itself is done
  return Status::Ok();
}

Status Registry::Update(const std::function<Status(Key& root)>& change) {
  const std::filesystem::path dir = file_.parent_path();
  std::error_code ec;
  if (!dir.empty() && !std::filesystem::is_directory(dir, ec)) {
    std::filesystem::create_directories(dir, ec);
    if (ec)
      return Status::Fail(com::REGDB_E_WRITEREGDB, "cannot create directory " + dir.string() +
                                                       " for registry file " + file_.string() +
                                                       ": " + ec.message());
  }
  FileLock lock;
  if (Status s = lock.Acquire(file_.string() + ".lock"); !s.ok()) return s;
  Key root;
  if (Status s = Read(root); !s.ok()) return s;
  if (Status s = change(root); !s.ok()) return s;
  return WriteAtomically(root);
}

Status MissingKey(std::string_view path, const std::filesystem::path& file) {
  return Status::Fail(com::REGDB_E_KEYMISSING,
                      "key '" + std::string(path) + "' not found in " + file.string());
}

Status Registry::ReadKey(std::string_view path,
                         const std::function<Status(const Key&)>& use) const {
  Key root;
  if (Status s = Read(root); !s.ok()) return s;
  const Key* key = root.Find(path);
  if (key == nullptr) return MissingKey(path, file_);
  return use(*key);
}

Status Registry::CreateKey(std::string_view path) {
  return Update([&](Key& root) {
    if (path.empty() || root.Create(path) == nullptr)
      return Status::Fail(com::E_INVALIDARG, "bad key path '" + Excerpt(path) + "'");
    return Status::Ok();
  });
}

Status Registry::SetValue(std::string_view path, std::string_view name, Value value) {
  return Update([&](Key& root) {
    Key* key = path.empty() ? nullptr : root.Create(path);
    if (key == nullptr)
      return Status::Fail(com::E_INVALIDARG, "bad key path '" + Excerpt(path) + "'");
    key->SetValue(name, std::move(value));
    return Status::Ok();
  });
}

Status Registry::GetValue(std::string_view path, std::string_view name, Value& out) const {
  return ReadKey(path, [&](const Key& key) {
    const Value* value = key.GetValue(name);
    if (value == nullptr)
      return Status::Fail(com::REGDB_E_KEYMISSING, "value '" + std::string(name) + "' of key '" +
                                                       std::string(path) + "' not found in " +
                                                       file_.string());
    out = *value;
    return Status::Ok();
  });
}

Status Registry::GetString(std::string_view path, std::string_view name, std::string& out) const {
  Value value;
  if (Status s = GetValue(path, name, value); !s.ok()) return s;
  const auto* text = std::get_if<std::string>(&value);
  if (text == nullptr)
    return Status::Fail(com::REGDB_E_READREGDB, "value '" + std::string(name) + "' of key '" +
                                                    std::string(path) + "' in " + file_.string() +
                                                    " is not a string");
  out = *text;
  return Status::Ok();
}

Status Registry::DeleteValue(std::string_view path, std::string_view name) {
  return Update([&](Key& root) {
    Key* key = root.Find(path);
    if (key == nullptr) return MissingKey(path, file_);
    if (!key->DeleteValue(name))
      return Status::Fail(com::REGDB_E_KEYMISSING, "value '" + std::string(name) + "' of key '" +
                                                       std::string(path) + "' not found in " +
                                                       file_.string());
    return Status::Ok();
  });
}

Status Registry::DeleteKey(std::string_view path, bool subtree) {
  return Update([&](Key& root) {
    switch (root.Remove(path, subtree)) {
      case Key::RemoveResult::kRemoved:
        return Status::Ok();
      case Key::RemoveResult::kMissing:
        return MissingKey(path, file_);
      case Key::RemoveResult::kHasSubkeys:
        return Status::Fail(com::E_ACCESSDENIED,
                            "key '" + std::string(path) + "' has subkeys in " + file_.string());
      case Key::RemoveResult::kBadPath:
        break;
    }
    return Status::Fail(com::E_INVALIDARG, "bad key path '" + Excerpt(path) + "'");
  });
}

Status Registry::EnumSubkeys(std::string_view path, std::vector<std::string>& names) const {
  return ReadKey(path, [&](const Key& key) {
    names.clear();
    for (const auto& entry : key.Subkeys()) names.push_back(entry.first);
    return Status::Ok();
  });
}

Status Registry::EnumValues(std::string_view path,
                            std::vector<std::pair<std::string, Value>>& values) const {
  return ReadKey(path, [&](const Key& key) {
    values.assign(key.Values().begin(), key.Values().end());
    return Status::Ok();
  });
}

}  // namespace reg
