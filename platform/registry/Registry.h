// The class registry: a key tree kept in one text file (format in RegistryText.h).
//
// The file is `$COM_REGISTRY` when that is set and not empty, else
// `$XDG_CONFIG_HOME/comreg/registry`, else `~/.config/comreg/registry`. A missing file is an
// empty registry. Every change is a read-modify-write under an exclusive lock on
// "<file>.lock"; the new content goes to a fresh file in the same directory, is flushed to
// disk and renamed over the old one, so readers (who take no lock) always see a complete
// registry, and concurrent writers never lose each other's changes. A change that would give
// a file the reader refuses (deeper than kMaxKeyDepth, larger than kMaxRegistryFileSize) is
// refused before anything is written. The next writer removes the temporary files of writers
// that were killed before their rename. Files that are not regular files (FIFOs, devices)
// are refused without waiting on them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry/RegistryKey.h"
#include "platform/registry/RegistryStatus.h"

namespace reg {

inline constexpr std::size_t kMaxRegistryFileSize = std::size_t{64} << 20;

class Registry {
 public:
  explicit Registry(std::filesystem::path file) : file_(std::move(file)) {}

  // The file named by the environment, as described above.
  static std::filesystem::path DefaultPath();
  static Registry FromEnvironment() { return Registry(DefaultPath()); }

  const std::filesystem::path& Path() const { return file_; }

  // Loads the whole tree into `root` (an empty key). REGDB_E_READREGDB with file and line
  // when the file is unreadable, corrupt or truncated.
  Status Read(Key& root) const;

  // Runs `change` on the current tree under the lock and writes the result when `change`
  // succeeds. Nothing is written when it fails; its status is returned.
  Status Update(const std::function<Status(Key& root)>& change);

  // Single operations; paths are relative to the classes root ("CLSID\{...}\InprocServer32").
  // Value name "" is the default value.
  Status CreateKey(std::string_view path);
  Status SetValue(std::string_view path, std::string_view name, Value value);
  Status GetValue(std::string_view path, std::string_view name, Value& out) const;
  Status GetString(std::string_view path, std::string_view name, std::string& out) const;
  Status DeleteValue(std::string_view path, std::string_view name);
  Status DeleteKey(std::string_view path, bool subtree);
  Status EnumSubkeys(std::string_view path, std::vector<std::string>& names) const;
  Status EnumValues(std::string_view path,
                    std::vector<std::pair<std::string, Value>>& values) const;

 private:
  Status WriteAtomically(const Key& root) const;
  Status ReadKey(std::string_view path, const std::function<Status(const Key&)>& use) const;

  std::filesystem::path file_;
};

// REGDB_E_KEYMISSING status naming the key and the file.
Status MissingKey(std::string_view path, const std::filesystem::path& file);

}  // namespace reg
