#include "mpegaudio/analysis/Mp3StreamInfoImpl.h"

#include <cmath>
#include <new>

#include "mpegaudio/analysis/WholeNumbers.h"

namespace mpegaudio {

SSC CreateMp3StreamInfo(Mp3StreamInfo** info) {
  if (info == nullptr) return SscBadParameter;
  *info = new (std::nothrow) Mp3StreamInfoImpl();
  return *info == nullptr ? SscOutOfMemory : SscOk;
}

void Mp3StreamInfoImpl::Destroy() { delete this; }

void Mp3StreamInfoImpl::Clear() {
  properties_ = Mp3StreamProperties{};
  format_ = MPEGLAYER3WAVEFORMAT{};
  fileSize_ = 0;
  firstFrameBitOffset_ = 0;
  frameMs_ = 0.0f;
  hasVbri_ = hasXing_ = false;
  vbri_ = VbriHeader{};
  xing_ = XingHeader{};
}

bool Mp3StreamInfoImpl::Parse(const std::uint8_t* buffer, std::uint32_t length,
                              std::uint32_t fileSize) {
  Clear();
  fileSize_ = fileSize;
  FrameScanResult scan;
  if (!ScanFrames(buffer, buffer == nullptr ? 0 : length, scan)) return false;

  format_ = scan.format;
  firstFrameBitOffset_ = scan.firstFrameBitOffset;
  properties_.bitrate = scan.bitrate;
  properties_.channels = format_.wfx.nChannels;
  properties_.samplingRate = static_cast<std::int32_t>(format_.wfx.nSamplesPerSec);
  properties_.isVbr = (format_.fdwFlags & kMpegLayer3Vbr) != 0 ? 1 : 0;
  properties_.seekAccurate = properties_.isVbr == 0 ? 1 : 0;
  properties_.hasVbrHeader = 0;
  if (fileSize > 0 && properties_.bitrate > 0) {
    properties_.durationMs =
        FloorToInt32(fileSize / (properties_.bitrate * 0.125) * 1000.0);
  }

  const auto start = static_cast<std::size_t>(firstFrameBitOffset_ / 8);
  const std::uint8_t* frame = buffer + start;
  const std::size_t available = length - start;
  frameMs_ = FrameDurationMs(properties_.samplingRate);
  if (ReadVbriHeader(frame, available, vbri_)) {
    hasVbri_ = true;
    ApplyVbri();
  } else if (ReadXingHeader(frame, available, scan.firstHeader, xing_)) {
    hasXing_ = true;
    ApplyXing();
  }
  return true;
}

void Mp3StreamInfoImpl::ApplyVbri() {
  fileSize_ = vbri_.bytes;
  const double total = static_cast<double>(vbri_.frames) * frameMs_;
  if (total > 0) properties_.bitrate = FloorToInt32(vbri_.bytes * 8.0 / (total * 0.001));
  properties_.durationMs = FloorToInt32(total);
  properties_.isVbr = properties_.hasVbrHeader = properties_.seekAccurate = 1;
  format_.wfx.nAvgBytesPerSec = static_cast<std::uint32_t>(properties_.bitrate / 8);
}

void Mp3StreamInfoImpl::ApplyXing() {
  if (xing_.flags & XingHeader::kBytes) fileSize_ = xing_.bytes;
  if (xing_.flags & XingHeader::kFrames) {
    const double total = static_cast<double>(xing_.frames) * frameMs_;
    if (total > 0) properties_.bitrate = FloorToInt32(fileSize_ * 8.0 / (total * 0.001));
    properties_.durationMs = FloorToInt32(total);
    format_.wfx.nAvgBytesPerSec = static_cast<std::uint32_t>(properties_.bitrate / 8);
  }
  properties_.isVbr = properties_.hasVbrHeader = 1;
  properties_.seekAccurate = HasToc() ? 1 : 0;
}

std::uint32_t Mp3StreamInfoImpl::PercentToOffset(float percent) {
  if (std::isnan(percent) || percent < 0.0f) percent = 0.0f;
  if (percent > 100.0f) percent = 100.0f;
  if (fileSize_ == 0) return 0;  // every offset is capped at the size
  if (HasToc()) {
    const int i = percent >= 99.0f ? 99 : static_cast<int>(percent);
    const double a = xing_.toc[static_cast<std::size_t>(i)];
    const double b = i == 99 ? 256.0 : xing_.toc[static_cast<std::size_t>(i) + 1];
    const double point = a + (static_cast<double>(percent) - i) * (b - a);
    return FloorToUint32(point * fileSize_ / 256.0, fileSize_);
  }
  const double ms = std::floor(static_cast<double>(percent) * 0.01 * properties_.durationMs);
  return TimeToOffset(static_cast<std::uint32_t>(ms));
}

std::uint32_t Mp3StreamInfoImpl::TimeToOffset(std::uint32_t milliseconds) {
  const auto duration = static_cast<std::uint32_t>(properties_.durationMs);
  if (milliseconds > duration) milliseconds = duration;
  if (fileSize_ == 0) return 0;
  if (HasToc()) {
    const float percent =
        duration == 0 ? 0.0f : static_cast<float>(milliseconds) / static_cast<float>(duration) * 100.0f;
    return PercentToOffset(percent);
  }
  const double frame = frameMs_ > 0.0f ? static_cast<float>(milliseconds) / frameMs_ : 0.0;
  if (hasVbri_ && vbri_.framesPerEntry != 0) return VbriTableOffset(frame);
  if (format_.nBlockSize > 1 && format_.nFramesPerBlock > 0) {
    const double blocks = std::floor(frame / format_.nFramesPerBlock);
    return FloorToUint32(format_.nBlockSize * blocks, fileSize_);
  }
  return FloorToUint32(properties_.bitrate * 0.125 * milliseconds * 0.001, fileSize_);
}

std::uint32_t Mp3StreamInfoImpl::VbriTableOffset(double frame) const {
  const double perEntry = vbri_.framesPerEntry;
  std::size_t i = static_cast<std::size_t>(FloorToUint32(frame / perEntry, vbri_.entryCount));
  const double x0 = static_cast<double>(i) * perEntry;
  const double y0 = vbri_.offsets[i];
  double x1 = x0 + perEntry;
  double y1 = 0;
  if (i == vbri_.entryCount) {
    x1 = vbri_.frames;
    y1 = fileSize_;
  } else {
    y1 = vbri_.offsets[i + 1];
  }
  const double offset = x1 == x0 ? y0 : y0 + (frame - x0) * (y1 - y0) / (x1 - x0);
  return FloorToUint32(offset, fileSize_);
}

}  // namespace mpegaudio
