// A thin read-only file wrapper: one descriptor, opened for reading, shared with writers.
// Only regular files are opened (a FIFO or a device is refused before it can block).
#pragma once

#include <cstdint>
#include <string>

namespace audioedit {

class InputFile {
 public:
  static constexpr std::uint32_t kInvalid = 0xFFFFFFFFu;

  InputFile() = default;
  ~InputFile() { Close(); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens an existing regular file for reading (a previous one is closed first). On
  // failure Error() gives the reason ("No such file or directory", "Is a directory", ...).
  bool Open(const std::string& path);
  const std::string& Error() const { return error_; }
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  // Low 32 bits of the size; kInvalid when closed.
  std::uint32_t GetSize() const;
  // One read call; false when closed or on a read error.
  bool Read(void* buffer, std::uint32_t size, std::uint32_t& got);
  // Current position; kInvalid when closed.
  std::uint32_t Tell() const;
  // Absolute position from the start; false when closed.
  bool Seek(std::uint32_t position);

 private:
  int fd_ = -1;
  std::string error_;
};

}  // namespace audioedit
