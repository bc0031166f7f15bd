// The decoder's vector-heavy stages (hybrid filterbank, polyphase synthesis) are built once
// for the x86-64 baseline (SSE2) and, on x86-64, once more for AVX2 with FMA; a table of
// function pointers picks one build per process from the CPU's features. Other targets
// build the same code with whatever vectors the compiler offers.
#pragma once

#include "mpegaudio/layer3/Layer3Types.h"
#include "mpegaudio/layer3/TransformConstants.h"

namespace mpegaudio::layer3 {

struct FilterbankKernels {
  // See HybridFilterbank(); `windows` are the IMDCT windows of block types 0..3.
  void (*hybrid)(float spectrum[kLines], float overlap[kSubbands][kSlots], const GranuleInfo& g,
                 int subbandLimit, int longSubbandsInMixed, const float (*windows)[36],
                 const TransformConstants& k);
  // 18 slots of synthesis per channel (see PolyphaseSynthesis::Run); `history` is
  // [channel][16][64], `slot` the newest history slot, `window` D[i].
  void (*synthesize)(const float* const subbands[], int channels, float* const pcm[],
                     float (*history)[16][64], int& slot, const float* window,
                     const TransformConstants& k);
  const char* name;
};

const FilterbankKernels& BaselineKernels();
// The AVX2/FMA build, or nullptr when it is not built or the CPU lacks AVX2 or FMA.
const FilterbankKernels* Avx2Kernels();
// The fastest build the CPU runs, chosen on first use.
const FilterbankKernels& ChosenKernels();

}  // namespace mpegaudio::layer3
