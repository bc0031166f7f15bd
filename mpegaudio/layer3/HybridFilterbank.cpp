#include "mpegaudio/layer3/HybridFilterbank.h"

#include "mpegaudio/layer3/DerivedTables.h"
#include "mpegaudio/layer3/FilterbankKernels.h"

namespace mpegaudio::layer3 {

void HybridFilterbank(float spectrum[kLines], float overlap[kSubbands][kSlots],
                      const GranuleInfo& g, int subbandLimit, int longSubbandsInMixed) {
  ChosenKernels().hybrid(spectrum, overlap, g, subbandLimit, longSubbandsInMixed,
                         DerivedTables::Get().imdctWindow, TransformConstants::Get());
}

}  // namespace mpegaudio::layer3
