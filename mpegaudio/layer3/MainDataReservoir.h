// The bit reservoir (ISO/IEC 11172-3 2.4.3.4.2): up to 2048 bytes of main data from the
// current and earlier frames. A frame's main data begins main_data_begin bytes before the
// data that arrived with the frame itself. Kept linear (oldest byte first) so that the
// Huffman decoder can read it with a plain BitReader.
#pragma once

#include <cstdint>

#include "mpegaudio/layer3/BitReader.h"

namespace mpegaudio::layer3 {

class MainDataReservoir {
 public:
  static constexpr int kCapacity = 2048;

  // Appends a frame's own main data (dropping the oldest bytes when there is no room) and
  // reports whether the frame's main data is complete: `mainDataBegin` bytes were held
  // before it. When it is, ReaderForFrame() starts at the frame's first main-data bit.
  bool AppendFrame(const std::uint8_t* bytes, int count, int mainDataBegin);
  // A reader over the current frame's main data, as placed by the last AppendFrame.
  BitReader ReaderForFrame() const;
  // Writable room for `count` bytes to be appended with CommitFrame; used when the bytes
  // come from a bit stream rather than a byte array.
  std::uint8_t* PrepareAppend(int count);
  bool CommitAppend(int count, int mainDataBegin);
  void Clear() { size_ = 0; frameStart_ = 0; }
  int Size() const { return size_; }

 private:
  std::uint8_t data_[kCapacity + BitReader::kPaddingBytes] = {};
  int size_ = 0;
  int frameStart_ = 0;  // byte where the current frame's main data starts
  int heldBefore_ = 0;
};

}  // namespace mpegaudio::layer3
