// Data shared by the stages of Layer III decoding (ISO/IEC 11172-3 2.4.1.7, 2.4.2.7;
// ISO/IEC 13818-3 for the low sampling frequencies).
#pragma once

#include <cstdint>

#include "mpegaudio/FrameHeader.h"

namespace mpegaudio::layer3 {

inline constexpr int kLines = 576;
inline constexpr int kSubbands = 32;
inline constexpr int kSlots = 18;
inline constexpr int kLongBands = 22;
inline constexpr int kShortBands = 13;

// Per-frame facts taken from the header.
struct FrameContext {
  int channels = 0;
  int bandTable = 0;         // version * 3 + sampling-rate index
  int frameSizeBits = 0;
  int mode = 0;
  int modeExtension = 0;
  int bitsBeforeSideInfo = 32;  // 48 with a CRC word
  bool mpeg1 = true;
  bool protection = false;
  int granules = 2;
  int sideInfoBytes = 32;

  static FrameContext FromHeader(const FrameHeader& header);
  bool IntensityStereo() const { return mode == 1 && (modeExtension & 1) != 0; }
  bool MidSideStereo() const { return mode == 1 && (modeExtension & 2) != 0; }
  // MPEG-2.5 at 8000 Hz, whose mixed blocks hold four long subbands.
  bool Is8kHz() const { return bandTable == 8; }
};

struct GranuleInfo {
  int part23Length = 0;
  int bigValues = 0;
  int globalGain = 0;
  int scalefacCompress = 0;
  int windowSwitching = 0;
  int blockType = 0;
  int mixedBlock = 0;
  int tableSelect[3] = {0, 0, 0};
  int subblockGain[3] = {0, 0, 0};
  int region0Count = 0;
  int region1Count = 0;
  int preflag = 0;
  int scalefacScale = 0;
  int count1Table = 0;
  // Derived while decoding.
  int nonZeroLines = 0;       // lines up to and including the last non-zero one
  int lastLongBand = -1;      // last long band holding a non-zero line
  int lastShortBand[3] = {-1, -1, -1};
  int nonZeroSubbands = 0;
  int intensityScale = 0;     // MPEG-2 intensity stereo

  bool ShortBlocks() const { return windowSwitching && blockType == 2; }
  bool PureShort() const { return ShortBlocks() && !mixedBlock; }
};

struct SideInfo {
  int mainDataBegin = 0;
  int privateBits = 0;
  int scfsi[2][4] = {};
  GranuleInfo granule[2][2];  // [granule][channel]
};

struct ScaleFactors {
  std::uint8_t longBand[kLongBands] = {};
  std::uint8_t shortBand[kShortBands][3] = {};
  // The value that forbids intensity stereo in a band.
  std::uint8_t illegalLong[kLongBands] = {};
  std::uint8_t illegalShort[kShortBands] = {};
};

}  // namespace mpegaudio::layer3
