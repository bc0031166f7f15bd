// The filterbank kernels built for AVX2 with FMA (compiled with -mavx2 -mfma; chosen at
// run time only on CPUs that have both).
#define MPEGAUDIO_KERNEL_NAME "avx2-fma"
#define MPEGAUDIO_KERNEL_LANES 8
#include "mpegaudio/layer3/FilterbankKernels.inc"

namespace mpegaudio::layer3 {

const FilterbankKernels& Avx2KernelTable() { return kThisBuild; }

}  // namespace mpegaudio::layer3
