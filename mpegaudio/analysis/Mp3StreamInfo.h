// Stream analysis of MPEG audio: bitrate, channels, sampling rate and duration of a Layer III
// stream from its first bytes, and byte offsets for seeking to a time or a percentage.
// Objects are made by CreateMp3StreamInfo and deleted with Destroy.
#pragma once

#include <cstdint>

#include "mpegaudio/Ssc.h"

namespace mpegaudio {

// The figures of a parsed stream (seven int32, no padding).
struct Mp3StreamProperties {
  std::int32_t bitrate;       // bit/s
  std::int32_t channels;
  std::int32_t samplingRate;  // Hz
  std::int32_t durationMs;
  std::int32_t isVbr;         // 1 for variable bitrate
  std::int32_t hasVbrHeader;  // 1 when the duration came from a VBRI or Xing header
  std::int32_t seekAccurate;  // 1 when offsets are exact (CBR, VBRI table, Xing TOC)
};
static_assert(sizeof(Mp3StreamProperties) == 7 * 4);

class Mp3StreamInfo {
 public:
  // Deletes the object.
  virtual void Destroy() = 0;
  // Analyses the first `length` bytes of a stream whose audio spans `fileSize` bytes.
  // False when no two consecutive matching Layer III headers are found. Offsets returned
  // afterwards count from the first byte of `buffer`; the object keeps no reference to it.
  virtual bool Parse(const std::uint8_t* buffer, std::uint32_t length, std::uint32_t fileSize) = 0;
  virtual const Mp3StreamProperties* GetInfo() = 0;
  // Byte offset of a position given in percent of the duration (clamped to 0..100).
  virtual std::uint32_t PercentToOffset(float percent) = 0;
  // Byte offset of a position in milliseconds (capped at the duration).
  virtual std::uint32_t TimeToOffset(std::uint32_t milliseconds) = 0;
  virtual ~Mp3StreamInfo() = default;
};

// SscBadParameter for a null out-pointer, SscOutOfMemory when allocation fails, else SscOk
// and a new object whose results are all zero.
SSC CreateMp3StreamInfo(Mp3StreamInfo** info);

}  // namespace mpegaudio
