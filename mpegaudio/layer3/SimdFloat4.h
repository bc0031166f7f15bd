// Four floats processed together (GCC/Clang vector extension; plain code on targets
// without SIMD). The transforms are written once as templates over the sample type and
// run either on float (the reference path, kept under test) or on Float4 (four
// independent transforms at once).
#pragma once

namespace mpegaudio::layer3 {

using Float4 = float __attribute__((vector_size(16)));

}  // namespace mpegaudio::layer3
