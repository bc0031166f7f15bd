// The view's read handle on a peak file: opened once by the first full paint after a load,
// kept open for the following paints, closed when a new load begins. A failed open is
// remembered so that later paints do not retry until the handle is closed (released) again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace audioedit::view {

class PeakFileHandle {
 public:
  PeakFileHandle() = default;
  PeakFileHandle(const PeakFileHandle&) = delete;
  PeakFileHandle& operator=(const PeakFileHandle&) = delete;
  ~PeakFileHandle() { Close(); }

  // Opens an existing file for reading. False when it cannot, and from then on until Close.
  bool Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  bool OpenFailed() const { return openFailed_; }
  void Close();

  bool Seek(std::uint64_t offset);
  // Bytes read (0 at the end of the file), or -1 on a read error.
  long Read(void* buffer, std::size_t size);

 private:
  int fd_ = -1;
  bool openFailed_ = false;
};

}  // namespace audioedit::view
