#include "mpegaudio/layer3/Concealment.h"

#include <cmath>
#include <cstring>

namespace mpegaudio::layer3 {

void ConcealmentHistory::Reset() {
  std::memset(static_cast<void*>(entries_), 0, sizeof entries_);
  for (Entry& e : entries_) e.info = GranuleInfo{};
  writeIndex_ = 0;
  energiesComputed_ = false;
  std::memset(bandEnergy_, 0, sizeof bandEnergy_);
  std::memset(average_, 0, sizeof average_);
  signRegister_ = kInitialSignRegister;
  random_.Reseed(42);
}

void ConcealmentHistory::Store(const float spectrum[kLines], const GranuleInfo& g) {
  if (g.blockType == 2) return;
  Entry& e = entries_[writeIndex_];
  std::memcpy(e.lines, spectrum, sizeof e.lines);
  e.lines[0] = 0.0f;
  e.info = g;
  writeIndex_ = (writeIndex_ + 1) % kEntries;
  energiesComputed_ = false;
}

void ConcealmentHistory::ComputeBandEnergies(const BandLayout& bands) {
  const float* recent[3];
  for (int k = 0; k < 3; ++k) recent[k] = entries_[(writeIndex_ + kEntries - 1 - k) % kEntries].lines;
  for (int i = 0; i < kLines; ++i) {
    average_[i] = (std::fabs(recent[0][i]) + std::fabs(recent[1][i]) + std::fabs(recent[2][i])) *
                  (1.0f / 3.0f);
  }
  for (int b = 0; b < kLongBands; ++b) {
    double energy = 0.0;
    for (int i = bands.LongStart(b); i < bands.LongStart(b + 1); ++i) {
      energy += static_cast<double>(average_[i]) * average_[i];
    }
    bandEnergy_[b] = static_cast<float>(energy);
  }
  energiesComputed_ = true;
}

float ConcealmentHistory::NextSign() {
  if (signRegister_ & 0x80000000u) {
    signRegister_ = ((signRegister_ ^ 9u) << 1) | 1u;
    return 1.0f;
  }
  signRegister_ <<= 1;
  return -1.0f;
}

void ConcealmentHistory::Conceal(const BandLayout& bands, float spectrum[kLines], GranuleInfo& g) {
  if (!energiesComputed_) ComputeBandEnergies(bands);
  g = entries_[(writeIndex_ + kEntries - 1) % kEntries].info;
  for (int b = 0; b < kLongBands; ++b) {
    const int begin = bands.LongStart(b);
    const int end = bands.LongStart(b + 1);
    if (!(bandEnergy_[b] > 0.0f)) {
      std::memset(spectrum + begin, 0, sizeof(float) * static_cast<std::size_t>(end - begin));
      continue;
    }
    double sum = 0.0;
    for (int i = begin; i < end; ++i) {
      spectrum[i] = b == 0 ? average_[i] * NextSign() : static_cast<float>(random_.Next() - 0.5);
      sum += static_cast<double>(spectrum[i]) * spectrum[i];
    }
    if (sum > 0.0) {
      const auto scale = static_cast<float>(std::sqrt(bandEnergy_[b] / sum));
      for (int i = begin; i < end; ++i) spectrum[i] *= scale;
    }
  }
  const int top = bands.LongStart(kLongBands);
  if (top < kLines) std::memset(spectrum + top, 0, sizeof(float) * static_cast<std::size_t>(kLines - top));
  g.nonZeroLines = top;
  g.lastLongBand = kLongBands;
}

}  // namespace mpegaudio::layer3
