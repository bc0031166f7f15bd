// An exclusive advisory lock (flock) on a lock file, held for the object's lifetime. Writers
// of the registry take it around read-modify-write so that they serialise across threads and
// processes; each lock opens its own file description, so two threads of one process also
// exclude each other.
#pragma once

#include <filesystem>

#include "platform/registry/RegistryStatus.h"

namespace reg {

class FileLock {
 public:
  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Blocks until the lock is held. Fails (REGDB_E_WRITEREGDB) when the lock file cannot be
  // opened or created.
  Status Acquire(const std::filesystem::path& lockFile);

 private:
  int fd_ = -1;
};

}  // namespace reg
