// An MPEG audio file read as a whole, with its frames scanned.
#pragma once

#include <string>

#include "info/FileSnapshot.h"
#include "info/MpegFrameScanner.h"

namespace info {

class MpegFileReader {
 public:
  MpegFileReader() = default;
  MpegFileReader(const MpegFileReader&) = delete;
  MpegFileReader& operator=(const MpegFileReader&) = delete;

  // Reads `path` and scans it; false (and closed) when it cannot be read or holds no
  // usable frames. Closes what was open first.
  bool Open(const std::string& path);
  // Scans bytes the caller keeps alive while the reader is open.
  bool Open(std::span<const std::uint8_t> file);
  void Close();
  bool is_open() const { return open_; }

  void GetFormat(int& channels, int& samplingRate) const;
  const MpegFrameScanner& scanner() const { return scanner_; }

 private:
  FileSnapshot file_;
  MpegFrameScanner scanner_;
  bool open_ = false;
};

}  // namespace info
