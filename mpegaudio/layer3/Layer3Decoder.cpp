#include "mpegaudio/layer3/Layer3Decoder.h"

#include <algorithm>
#include <cstring>

#include "mpegaudio/layer3/BandLayout.h"
#include "mpegaudio/layer3/HuffmanDecoder.h"
#include "mpegaudio/layer3/HybridFilterbank.h"
#include "mpegaudio/layer3/Requantizer.h"
#include "mpegaudio/layer3/ScaleFactorReader.h"
#include "mpegaudio/layer3/SideInfo.h"
#include "mpegaudio/layer3/ReorderAndAlias.h"
#include "mpegaudio/layer3/StereoProcessor.h"

namespace mpegaudio::layer3 {

Layer3Decoder::Layer3Decoder(const OutputOptions& options) : options_(options) {
  options_.downsampleShift = std::clamp(options_.downsampleShift, 0, 2);
  ResetDecodingState();
}

void Layer3Decoder::ResetDecodingState() {
  state_.reservoir.Clear();
  for (ChannelState& ch : state_.channel) {
    std::memset(ch.overlap, 0, sizeof ch.overlap);
    ch.scaleFactors = ScaleFactors{};
    ch.history.Reset();
  }
  state_.synthesis.Reset();
}

std::uint32_t Layer3Decoder::FrameBytes(const FrameHeader& header, SampleFormat format) const {
  const auto samples = static_cast<std::uint32_t>(header.SamplesPerFrame());
  const auto bytes = samples * static_cast<std::uint32_t>(OutputChannels(header)) *
                     static_cast<std::uint32_t>(PcmWriter::BytesPerSample(format));
  return bytes >> options_.downsampleShift;
}

bool Layer3Decoder::ReadSideInfo(InputBitBuffer& in, const FrameContext& ctx,
                                 std::uint32_t headerWord, std::uint32_t crcWord) {
  std::uint8_t bytes[kMaxSideInfoBytes];
  in.ReadBytes(bytes, static_cast<std::size_t>(ctx.sideInfoBytes));
  ParseSideInfo(bytes, ctx, scratch_.side);
  if (!ctx.protection) return true;
  if (SideInfoCrc(headerWord, bytes, ctx.sideInfoBytes) == crcWord) return true;
  scratch_.side = SideInfo{};  // main_data_begin and every granule cleared
  return false;
}

bool Layer3Decoder::GatherMainData(InputBitBuffer& in, const FrameContext& ctx) {
  const int own = ctx.frameSizeBits / 8 - ctx.bitsBeforeSideInfo / 8 - ctx.sideInfoBytes;
  const int count = std::clamp(own, 0, MainDataReservoir::kCapacity);
  std::uint8_t* dest = state_.reservoir.PrepareAppend(count);
  in.ReadBytes(dest, static_cast<std::size_t>(count));
  return state_.reservoir.CommitAppend(count, scratch_.side.mainDataBegin);
}

void Layer3Decoder::DecodeChannel(BitReader& bits, const FrameContext& ctx, int gr, int ch) {
  GranuleInfo& g = scratch_.side.granule[gr][ch];
  ScaleFactors& sf = state_.channel[ch].scaleFactors;
  const BandLayout bands = BandLayout::ForTable(ctx.bandTable);
  const std::uint32_t end = bits.Position() + static_cast<std::uint32_t>(g.part23Length);
  if (ctx.mpeg1) {
    ReadScaleFactorsMpeg1(bits, scratch_.side.scfsi[ch], gr, g, sf);
  } else {
    ReadScaleFactorsMpeg2(bits, ctx.IntensityStereo() && ch == 1, g, sf);
  }
  BandGains gains;
  ComputeBandGains(g, sf, bands, MixedSplitFor(ctx.mpeg1, ctx.bandTable), gains);
  g.nonZeroLines = DecodeSpectrum(bits, end, g, bands, ctx.mpeg1, gains, scratch_.spectrum[ch]);
}

void Layer3Decoder::FinishGranule(const FrameContext& ctx, int gr, bool concealed,
                                  PcmWriter& writer) {
  const BandLayout bands = BandLayout::ForTable(ctx.bandTable);
  const MixedSplit split = MixedSplitFor(ctx.mpeg1, ctx.bandTable);
  const int outChannels = options_.mono ? 1 : ctx.channels;
  const int subbandCap = kSubbands >> options_.downsampleShift;
  const int longSubbandsInMixed = ctx.Is8kHz() ? 4 : 2;
  for (int ch = 0; ch < outChannels; ++ch) {
    GranuleInfo& g = scratch_.side.granule[gr][ch];
    float* spectrum = scratch_.spectrum[ch];
    ChannelState& state = state_.channel[ch];
    if (concealed) {
      state.history.Conceal(bands, spectrum, g);
    } else {
      ReorderShortBlocks(spectrum, g, bands, split);
      ReduceAliases(spectrum, g, ctx.Is8kHz());
      state.history.Store(spectrum, g);
    }
    g.nonZeroSubbands = NonZeroSubbands(g.nonZeroLines);
    const int limit = std::min(subbandCap, g.nonZeroSubbands + 1);
    HybridFilterbank(spectrum, state.overlap, g, limit, longSubbandsInMixed);
  }
  const float* subbands[2] = {scratch_.spectrum[0], scratch_.spectrum[1]};
  float* pcm[2] = {scratch_.pcm[0], scratch_.pcm[1]};
  state_.synthesis.Run(subbands, outChannels, pcm);
  writer.Write(pcm, kLines);
}

void Layer3Decoder::DecodeGranules(const FrameContext& ctx, PcmWriter& writer) {
  BitReader bits = state_.reservoir.ReaderForFrame();
  const BandLayout bands = BandLayout::ForTable(ctx.bandTable);
  const MixedSplit split = MixedSplitFor(ctx.mpeg1, ctx.bandTable);
  for (int gr = 0; gr < ctx.granules; ++gr) {
    for (int ch = 0; ch < ctx.channels; ++ch) DecodeChannel(bits, ctx, gr, ch);
    if (ctx.channels == 2) {
      GranuleInfo& left = scratch_.side.granule[gr][0];
      GranuleInfo& right = scratch_.side.granule[gr][1];
      FindLastBands(scratch_.spectrum[0], bands, split, left);
      FindLastBands(scratch_.spectrum[1], bands, split, right);
      const StereoInput in{ctx, bands, split, state_.channel[1].scaleFactors};
      ProcessStereo(in, scratch_.spectrum[0], scratch_.spectrum[1], left, right);
      if (options_.mono) DownmixToLeft(scratch_.spectrum[0], scratch_.spectrum[1], left.nonZeroLines);
    }
    FinishGranule(ctx, gr, false, writer);
  }
}

void Layer3Decoder::ConcealFrame(const FrameContext& ctx, PcmWriter& writer) {
  for (int gr = 0; gr < ctx.granules; ++gr) FinishGranule(ctx, gr, true, writer);
}

SSC Layer3Decoder::DecodeFrame(InputBitBuffer& in, const FrameHeader& header, SampleFormat format,
                               void* out) {
  const FrameContext ctx = FrameContext::FromHeader(header);
  in.SetMark();
  const std::uint32_t headerWord = in.ReadBits(32);
  const std::uint32_t crcWord = ctx.protection ? in.ReadBits(16) : 0;
  const bool crcGood = ReadSideInfo(in, ctx, headerWord, crcWord);
  const bool complete = GatherMainData(in, ctx);
  PcmWriter writer(out, format, OutputChannels(header), options_.downsampleShift);
  if (crcGood && complete) {
    DecodeGranules(ctx, writer);
  } else {
    ConcealFrame(ctx, writer);
  }
  const auto frameBits = static_cast<std::uint32_t>(header.frameSizeBits);
  if (in.BitsSinceMark() < frameBits) in.SkipBits(frameBits - in.BitsSinceMark());
  if (!crcGood) {
    state_.reservoir.Clear();
    return SscCrcError;
  }
  return complete ? SscOk : SscNoMainData;
}

}  // namespace mpegaudio::layer3
