// A whole regular file mapped read-only into memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace info {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile() { Close(); }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps `path` (closing what was open). An empty file opens with no bytes. Fails for
  // anything that is not a regular file; error() then holds the system's reason.
  bool Open(const std::string& path);
  void Close();

  bool is_open() const { return open_; }
  std::span<const std::uint8_t> bytes() const { return {data_, size_}; }
  std::size_t size() const { return size_; }
  int error() const { return error_; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  bool open_ = false;
  int error_ = 0;
};

}  // namespace info
