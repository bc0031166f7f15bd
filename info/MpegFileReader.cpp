#include "info/MpegFileReader.h"

namespace info {

bool MpegFileReader::Open(const std::string& path) {
  Close();
  if (!file_.Open(path) || file_.size() == 0) {
    Close();
    return false;
  }
  scanner_.Init(file_.bytes());
  if (!scanner_.Scan()) {
    Close();
    return false;
  }
  open_ = true;
  return true;
}

void MpegFileReader::Close() {
  scanner_.Init({});
  file_.Close();
  open_ = false;
}

void MpegFileReader::GetFormat(int& channels, int& samplingRate) const {
  channels = scanner_.isStereo() ? 2 : 1;
  samplingRate = scanner_.samplingRate();
}

}  // namespace info
