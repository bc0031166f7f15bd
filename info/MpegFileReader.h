// An MPEG audio file mapped read-only as a whole, with its frames scanned.
#pragma once

#include <string>

#include "info/MappedFile.h"
#include "info/MpegFrameScanner.h"

namespace info {

class MpegFileReader {
 public:
  MpegFileReader() = default;
  MpegFileReader(const MpegFileReader&) = delete;
  MpegFileReader& operator=(const MpegFileReader&) = delete;

  // Maps `path` and scans it; false (and closed) when it cannot be mapped or holds no
  // usable frames. Closes what was open first.
  bool Open(const std::string& path);
  void Close();
  bool is_open() const { return open_; }

  void GetFormat(int& channels, int& samplingRate) const;
  const MpegFrameScanner& scanner() const { return scanner_; }

 private:
  MappedFile file_;
  MpegFrameScanner scanner_;
  bool open_ = false;
};

}  // namespace info
