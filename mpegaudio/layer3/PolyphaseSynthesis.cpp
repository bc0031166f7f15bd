#include "mpegaudio/layer3/PolyphaseSynthesis.h"

#include <cstring>

#include "mpegaudio/layer3/DerivedTables.h"
#include "mpegaudio/layer3/FilterbankKernels.h"

namespace mpegaudio::layer3 {

void PolyphaseSynthesis::Reset() {
  std::memset(history_, 0, sizeof history_);
  slot_ = 0;
}

void PolyphaseSynthesis::Run(const float* const subbands[], int channels, float* const pcm[]) {
  ChosenKernels().synthesize(subbands, channels, pcm, history_, slot_,
                             DerivedTables::Get().synthesisWindow, TransformConstants::Get());
}

}  // namespace mpegaudio::layer3
