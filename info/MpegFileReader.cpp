#include "info/MpegFileReader.h"

namespace info {

bool MpegFileReader::Open(const std::string& path) {
  Close();
  return file_.Read(path) && Open(file_.bytes());
}

bool MpegFileReader::Open(std::span<const std::uint8_t> file) {
  if (file.empty()) {
    Close();
    return false;
  }
  scanner_.Init(file);
  if (!scanner_.Scan()) {
    Close();
    return false;
  }
  open_ = true;
  return true;
}

void MpegFileReader::Close() {
  scanner_.Init({});
  open_ = false;
}

void MpegFileReader::GetFormat(int& channels, int& samplingRate) const {
  channels = scanner_.isStereo() ? 2 : 1;
  samplingRate = scanner_.samplingRate();
}

}  // namespace info
