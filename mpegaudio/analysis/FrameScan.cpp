#include "mpegaudio/analysis/FrameScan.h"

#include <cmath>

#include "mpegaudio/FrameSync.h"
#include "mpegaudio/analysis/StreamStatistics.h"
#include "mpegaudio/analysis/VbrHeaders.h"
#include "mpegaudio/analysis/WholeNumbers.h"

namespace mpegaudio {
namespace {

struct FrameStatistics {
  ValueAccumulator channels;
  ValueAccumulator samplingRate;
  ValueAccumulator bitrate;
  ValueAccumulator padding;
  ValueAccumulator protection;
  PeriodDetector frameBytes;
  PeriodDetector bitratePattern;

  void Add(const FrameHeader& h) {
    channels.Add(h.channels);
    samplingRate.Add(h.samplingRate);
    bitrate.Add(h.bitrate);
    padding.Add(h.padding);
    protection.Add(h.protection);
    frameBytes.Add(h.frameSizeBits / 8);
    bitratePattern.Add(h.bitrate);
  }
};

MPEGLAYER3WAVEFORMAT FormatOf(const FrameStatistics& s, std::int64_t averageBitrate) {
  MPEGLAYER3WAVEFORMAT f{};
  f.wfx.wFormatTag = kWaveFormatMpegLayer3;
  f.wfx.nChannels = static_cast<std::uint16_t>(s.channels.Average());
  f.wfx.nSamplesPerSec = static_cast<std::uint32_t>(s.samplingRate.Average());
  f.wfx.nAvgBytesPerSec = static_cast<std::uint32_t>(averageBitrate / 8);
  f.wfx.nBlockAlign = 1;
  f.wfx.wBitsPerSample = 0;
  f.wfx.cbSize = 12;
  f.wID = kMpegLayer3IdMpeg;
  if (s.bitratePattern.Period() == 0) f.fdwFlags |= kMpegLayer3Vbr;
  if (s.bitrate.AllEqual() && !s.padding.AllEqual()) {
    // Constant bitrate with the usual padding rhythm: one frame is one block.
    f.nBlockSize = 1;
    f.nFramesPerBlock = 1;
  } else {
    const int period = s.frameBytes.Period();
    f.nBlockSize = static_cast<std::uint16_t>(period != 0 ? s.frameBytes.BlockSum() : 1);
    f.nFramesPerBlock = static_cast<std::uint16_t>(period != 0 ? period : 1);
    if (s.padding.AllEqual()) {
      f.fdwFlags |= s.padding.First() != 0 ? kMpegLayer3PaddingOn : kMpegLayer3PaddingOff;
    }
  }
  if (s.protection.AllEqual()) {
    f.fdwFlags |= s.protection.First() != 0 ? kMpegLayer3CrcOn : kMpegLayer3CrcOff;
  }
  f.nCodecDelay = 0;
  return f;
}

// Frame and byte counts of a VBRI or Xing header in the first frame (0 when absent).
void VbrCounts(const std::uint8_t* frame, std::size_t available, const FrameHeader& header,
               std::uint32_t& frames, std::uint32_t& bytes) {
  frames = bytes = 0;
  VbriHeader vbri;
  if (ReadVbriFields(frame, available, vbri)) {
    frames = vbri.frames;
    bytes = vbri.bytes;
    return;
  }
  XingHeader xing;
  if (ReadXingHeader(frame, available, header, xing)) {
    frames = xing.frames;
    bytes = xing.bytes;
  }
}

}  // namespace

float FrameDurationMs(std::int32_t samplingRate) {
  if (samplingRate <= 0) return 0.0f;
  const float samples = samplingRate > 24000 ? 1152.0f : 576.0f;
  return samples / static_cast<float>(samplingRate) * 1000.0f;
}

bool ScanFrames(const std::uint8_t* data, std::size_t length, FrameScanResult& result) {
  result = FrameScanResult{};
  if (data == nullptr) length = 0;
  FrameSync sync(data, length);
  FrameStatistics stats;
  for (SSC status = sync.Step(nullptr); status != SscSyncEof; status = sync.Step(nullptr)) {
    if (!SscHasFrame(status)) continue;
    if (result.frameCount == 0) {
      result.firstFrameBitOffset = sync.SkippedBits();
      result.firstHeader = sync.Header();
    }
    ++result.frameCount;
    stats.Add(sync.Header());
    sync.SkipFrame();
  }
  if (result.frameCount == 0) return false;

  const int period = stats.bitratePattern.Period();
  const std::int64_t average =
      period != 0 ? stats.bitratePattern.BlockSum() / period : stats.bitrate.Average();
  result.format = FormatOf(stats, average);
  result.bitrate = static_cast<std::int32_t>(average);

  if (result.firstFrameBitOffset % 8 == 0) {
    const std::size_t start = static_cast<std::size_t>(result.firstFrameBitOffset / 8);
    std::uint32_t frames = 0;
    std::uint32_t bytes = 0;
    VbrCounts(data + start, length - start, result.firstHeader, frames, bytes);
    if (frames != 0 && bytes != 0) {
      const double ms = static_cast<double>(frames) *
                        FrameDurationMs(static_cast<std::int32_t>(result.format.wfx.nSamplesPerSec));
      result.format.fdwFlags |= kMpegLayer3Vbr;
      result.bitrate = FloorToInt32(static_cast<double>(bytes) * 8.0 / (ms * 0.001));
      result.format.wfx.nAvgBytesPerSec = static_cast<std::uint32_t>(result.bitrate / 8);
    }
  }
  return true;
}

}  // namespace mpegaudio
