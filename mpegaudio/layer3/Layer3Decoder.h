// Decoding of one synchronised Layer III frame, from the header to PCM: side information
// and CRC, the bit reservoir, then either the granule pipeline (scalefactors, Huffman,
// requantisation, stereo, reordering, alias reduction, hybrid filterbank, synthesis) or
// concealment of the whole frame. Persistent state lives in Layer3State, per-frame
// scratch in Layer3Scratch; nothing is allocated per frame.
#pragma once

#include <cstdint>

#include "mpegaudio/FrameHeader.h"
#include "mpegaudio/InputBitBuffer.h"
#include "mpegaudio/Ssc.h"
#include "mpegaudio/layer3/Concealment.h"
#include "mpegaudio/layer3/Layer3Types.h"
#include "mpegaudio/layer3/MainDataReservoir.h"
#include "mpegaudio/layer3/PcmWriter.h"
#include "mpegaudio/layer3/PolyphaseSynthesis.h"

namespace mpegaudio::layer3 {

struct OutputOptions {
  int downsampleShift = 0;
  bool eightBit = false;
  bool mono = false;
};

struct ChannelState {
  float overlap[kSubbands][kSlots];
  ScaleFactors scaleFactors;
  ConcealmentHistory history;
};

struct Layer3State {
  MainDataReservoir reservoir;
  ChannelState channel[2];
  PolyphaseSynthesis synthesis;
};

struct Layer3Scratch {
  SideInfo side;
  alignas(32) float spectrum[2][kLines];
  alignas(32) float pcm[2][kLines];
};

class Layer3Decoder {
 public:
  explicit Layer3Decoder(const OutputOptions& options);
  Layer3Decoder(const Layer3Decoder&) = delete;
  Layer3Decoder& operator=(const Layer3Decoder&) = delete;

  // Clears the reservoir, overlaps, synthesis histories and concealment histories.
  void ResetDecodingState();
  // Decodes the frame whose header starts at the input's read position (the whole frame
  // is buffered) into `out` and consumes exactly the frame. Returns SscOk, SscNoMainData
  // or SscCrcError; a full frame of samples is written in every case.
  SSC DecodeFrame(InputBitBuffer& in, const FrameHeader& header, SampleFormat format, void* out);

  int OutputChannels(const FrameHeader& header) const {
    return options_.mono ? 1 : header.channels;
  }
  // Bytes one frame takes in the given format.
  std::uint32_t FrameBytes(const FrameHeader& header, SampleFormat format) const;

  // Pipeline stages, in decode order (public for tests).
  bool ReadSideInfo(InputBitBuffer& in, const FrameContext& ctx, std::uint32_t headerWord,
                    std::uint32_t crcWord);
  bool GatherMainData(InputBitBuffer& in, const FrameContext& ctx);
  void DecodeGranules(const FrameContext& ctx, PcmWriter& writer);
  void ConcealFrame(const FrameContext& ctx, PcmWriter& writer);
  const SideInfo& Side() const { return scratch_.side; }

 private:
  void DecodeChannel(BitReader& bits, const FrameContext& ctx, int gr, int ch);
  void FinishGranule(const FrameContext& ctx, int gr, bool concealed, PcmWriter& writer);

  OutputOptions options_;
  Layer3State state_;
  Layer3Scratch scratch_;
};

}  // namespace mpegaudio::layer3
