// Error concealment: a history of correctly received long-block granules per channel, and
// the substitution of a granule that cannot be decoded (bad CRC, missing main data) by
// noise shaped like the recent spectrum.
#pragma once

#include <cstdint>

#include "mpegaudio/layer3/BandLayout.h"
#include "mpegaudio/layer3/Layer3Types.h"
#include "mpegaudio/layer3/SubtractiveRandom.h"

namespace mpegaudio::layer3 {

class ConcealmentHistory {
 public:
  static constexpr int kEntries = 4;
  static constexpr std::uint32_t kInitialSignRegister = 1044180;

  void Reset();
  // Stores a granule decoded from good data (short-block granules are not kept).
  void Store(const float spectrum[kLines], const GranuleInfo& g);
  // Replaces `spectrum` and `g` by a concealed granule.
  void Conceal(const BandLayout& bands, float spectrum[kLines], GranuleInfo& g);

 private:
  void ComputeBandEnergies(const BandLayout& bands);
  float NextSign();

  struct Entry {
    float lines[kLines];
    GranuleInfo info;
  };
  Entry entries_[kEntries] = {};
  int writeIndex_ = 0;
  bool energiesComputed_ = false;
  float bandEnergy_[kLongBands] = {};
  float average_[kLines] = {};
  std::uint32_t signRegister_ = kInitialSignRegister;
  SubtractiveRandom random_{42};
};

}  // namespace mpegaudio::layer3
