#include "mpegaudio/layer3/SubtractiveRandom.h"

#include <cstdlib>

namespace mpegaudio::layer3 {
namespace {

constexpr std::int32_t kModulus = 1000000000;
constexpr std::int32_t kSeedConstant = 161803398;

}  // namespace

void SubtractiveRandom::Seed() {
  std::int32_t mj = std::labs(kSeedConstant - std::labs(seed_)) % kModulus;
  table_[55] = mj;
  std::int32_t mk = 1;
  for (int i = 1; i <= 54; ++i) {
    const int ii = (21 * i) % 55;
    table_[ii] = mk;
    mk = mj - mk;
    if (mk < 0) mk += kModulus;
    mj = table_[ii];
  }
  for (int round = 0; round < 4; ++round) {
    for (int i = 1; i <= 55; ++i) {
      table_[i] -= table_[1 + (i + 30) % 55];
      if (table_[i] < 0) table_[i] += kModulus;
    }
  }
  next_ = 0;
  nextPrime_ = 31;
  seeded_ = true;
}

double SubtractiveRandom::Next() {
  if (!seeded_) Seed();
  if (++next_ == 56) next_ = 1;
  if (++nextPrime_ == 56) nextPrime_ = 1;
  std::int32_t mj = table_[next_] - table_[nextPrime_];
  if (mj < 0) mj += kModulus;
  table_[next_] = mj;
  return mj * 1e-9;
}

}  // namespace mpegaudio::layer3
