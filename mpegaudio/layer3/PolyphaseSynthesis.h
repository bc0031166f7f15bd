// The polyphase synthesis filterbank of ISO/IEC 11172-3 Annex A: per time slot, the 32
// subband samples are matrixed (as a fast 32-point DCT) into a 16-slot history, and each
// output sample is the windowed sum of 16 history values with D[i].
#pragma once

#include "mpegaudio/layer3/Layer3Types.h"

namespace mpegaudio::layer3 {

// out[k] = sum over n of in[n] * cos((2n + 1) * k * pi / 64), k = 0..31 (Lee's factorisation).
void Dct32(const float in[32], float out[32]);

class PolyphaseSynthesis {
 public:
  static constexpr int kMaxChannels = 2;

  void Reset();
  // Synthesises 18 slots for each channel from `subbands[ch]` (32 subbands x 18 samples,
  // subband-major) into `pcm[ch]` (576 samples at 16-bit scale, not rounded).
  void Run(const float* const subbands[], int channels, float* const pcm[]);

 private:
  // Per channel and slot: the 64 matrixed values V[0..63] the window needs.
  alignas(32) float history_[kMaxChannels][16][64] = {};
  int slot_ = 0;  // slot of the newest values; steps down before each time slot
};

}  // namespace mpegaudio::layer3
