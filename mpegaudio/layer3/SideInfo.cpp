#include "mpegaudio/layer3/SideInfo.h"

#include "mpegaudio/layer3/BitReader.h"
#include "mpegaudio/layer3/Crc16.h"

namespace mpegaudio::layer3 {
namespace {

void SilenceGranule(GranuleInfo& g) {
  g.bigValues = 0;
  g.part23Length = 0;
  g.scalefacCompress = 0;
}

void ReadGranule(BitReader& bits, bool mpeg1, GranuleInfo& g) {
  g = GranuleInfo{};
  g.part23Length = static_cast<int>(bits.Read(12));
  g.bigValues = static_cast<int>(bits.Read(9));
  g.globalGain = static_cast<int>(bits.Read(8));
  g.scalefacCompress = static_cast<int>(bits.Read(mpeg1 ? 4 : 9));
  g.windowSwitching = static_cast<int>(bits.Read(1));
  if (g.windowSwitching) {
    g.blockType = static_cast<int>(bits.Read(2));
    g.mixedBlock = static_cast<int>(bits.Read(1));
    for (int r = 0; r < 2; ++r) g.tableSelect[r] = static_cast<int>(bits.Read(5));
    for (int w = 0; w < 3; ++w) g.subblockGain[w] = static_cast<int>(bits.Read(3));
    g.region0Count = (g.blockType == 2 && !g.mixedBlock) ? 8 : 7;
    g.region1Count = 20 - g.region0Count;
    g.tableSelect[2] = 0;
  } else {
    for (int r = 0; r < 3; ++r) g.tableSelect[r] = static_cast<int>(bits.Read(5));
    g.region0Count = static_cast<int>(bits.Read(4));
    g.region1Count = static_cast<int>(bits.Read(3));
  }
  if (mpeg1) g.preflag = static_cast<int>(bits.Read(1));
  g.scalefacScale = static_cast<int>(bits.Read(1));
  g.count1Table = static_cast<int>(bits.Read(1));

  if (g.bigValues > 288) SilenceGranule(g);
  if (g.windowSwitching && g.blockType == 0) SilenceGranule(g);
}

}  // namespace

void ParseSideInfo(const std::uint8_t* bytes, const FrameContext& ctx, SideInfo& side) {
  // The side information is at most 32 bytes; the reader needs padding after it.
  std::uint8_t padded[kMaxSideInfoBytes + BitReader::kPaddingBytes] = {};
  for (int i = 0; i < ctx.sideInfoBytes && i < kMaxSideInfoBytes; ++i) padded[i] = bytes[i];
  BitReader bits(padded, 0, static_cast<std::uint32_t>(ctx.sideInfoBytes * 8));
  side = SideInfo{};
  if (ctx.mpeg1) {
    side.mainDataBegin = static_cast<int>(bits.Read(9));
    side.privateBits = static_cast<int>(bits.Read(ctx.channels == 1 ? 5 : 3));
    for (int ch = 0; ch < ctx.channels; ++ch) {
      for (int group = 0; group < 4; ++group) side.scfsi[ch][group] = static_cast<int>(bits.Read(1));
    }
  } else {
    side.mainDataBegin = static_cast<int>(bits.Read(8));
    side.privateBits = static_cast<int>(bits.Read(ctx.channels == 1 ? 1 : 2));
  }
  for (int gr = 0; gr < ctx.granules; ++gr) {
    for (int ch = 0; ch < ctx.channels; ++ch) ReadGranule(bits, ctx.mpeg1, side.granule[gr][ch]);
  }
}

std::uint16_t SideInfoCrc(std::uint32_t headerWord, const std::uint8_t* bytes, int count) {
  Crc16 crc;
  crc.AddByte(static_cast<std::uint8_t>(headerWord >> 8));
  crc.AddByte(static_cast<std::uint8_t>(headerWord));
  crc.AddBytes(bytes, static_cast<std::size_t>(count));
  return crc.Value();
}

}  // namespace mpegaudio::layer3
