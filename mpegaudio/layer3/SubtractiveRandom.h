// Knuth's subtractive random generator in its published form known as ran3 (Numerical
// Recipes): modulus 10^9, seed constant 161803398, 55 entries filled with index step 21
// and stirred four times, read indices 31 apart. Values are uniform in [0, 1).
#pragma once

#include <cstdint>

namespace mpegaudio::layer3 {

class SubtractiveRandom {
 public:
  explicit SubtractiveRandom(std::int32_t seed = 42) : seed_(seed) {}
  // Seeds again at the next use.
  void Reseed(std::int32_t seed) {
    seed_ = seed;
    seeded_ = false;
  }
  double Next();

 private:
  void Seed();

  std::int32_t seed_;
  bool seeded_ = false;
  std::int32_t table_[56] = {};
  int next_ = 0;
  int nextPrime_ = 0;
};

}  // namespace mpegaudio::layer3
