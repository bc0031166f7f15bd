// The Mp3StreamInfo made by CreateMp3StreamInfo: a frame scan of the buffer, then the
// figures from a VBRI or Xing header when the first frame carries one, and seek offsets
// from the VBR header's table, the constant block layout or the bitrate.
#pragma once

#include <cstdint>

#include "mpegaudio/analysis/FrameScan.h"
#include "mpegaudio/analysis/Mp3StreamInfo.h"
#include "mpegaudio/analysis/VbrHeaders.h"

namespace mpegaudio {

class Mp3StreamInfoImpl final : public Mp3StreamInfo {
 public:
  Mp3StreamInfoImpl() = default;
  Mp3StreamInfoImpl(const Mp3StreamInfoImpl&) = delete;
  Mp3StreamInfoImpl& operator=(const Mp3StreamInfoImpl&) = delete;

  void Destroy() override;
  bool Parse(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t fileSize) override;
  const Mp3StreamProperties* GetInfo() override { return &properties_; }
  std::uint32_t PercentToOffset(float percent) override;
  std::uint32_t TimeToOffset(std::uint32_t milliseconds) override;

  // Details for tests and diagnostics.
  const MPEGLAYER3WAVEFORMAT& Format() const { return format_; }
  std::uint32_t FileSize() const { return fileSize_; }
  std::uint64_t FirstFrameBitOffset() const { return firstFrameBitOffset_; }
  float FrameMs() const { return frameMs_; }
  bool HasVbri() const { return hasVbri_; }
  bool HasXing() const { return hasXing_; }
  const VbriHeader& Vbri() const { return vbri_; }
  const XingHeader& Xing() const { return xing_; }

 private:
  void Clear();
  void ApplyVbri();
  void ApplyXing();
  bool HasToc() const { return hasXing_ && (xing_.flags & XingHeader::kToc) != 0; }
  std::uint32_t VbriTableOffset(double frame) const;

  Mp3StreamProperties properties_{};
  MPEGLAYER3WAVEFORMAT format_{};
  std::uint32_t fileSize_ = 0;
  std::uint64_t firstFrameBitOffset_ = 0;
  float frameMs_ = 0.0f;
  bool hasVbri_ = false;
  bool hasXing_ = false;
  VbriHeader vbri_;
  XingHeader xing_;
};

}  // namespace mpegaudio
