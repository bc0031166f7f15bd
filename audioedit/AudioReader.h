// AudioReader: a source of decoded interleaved PCM with its format and duration.
// One reader per source kind; CreateAudioReader picks it from the file name.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/com/Types.h"

namespace audioedit {

inline constexpr com::WORD WAVE_FORMAT_PCM = 1;

// The platform's audio format record.
struct WAVEFORMATEX {
  com::WORD wFormatTag;
  com::WORD nChannels;
  com::DWORD nSamplesPerSec;
  com::DWORD nAvgBytesPerSec;
  com::WORD nBlockAlign;
  com::WORD wBitsPerSample;
  com::WORD cbSize;
};

class AudioReader {
 public:
  AudioReader() = default;
  AudioReader(const AudioReader&) = delete;
  AudioReader& operator=(const AudioReader&) = delete;
  virtual ~AudioReader() = default;

  // Opens the file (UTF-8 path); an open reader is closed first. False when the file
  // cannot be decoded; the reader is closed then.
  virtual bool Open(const std::string& path) = 0;
  // Releases everything Open acquired. Always true.
  virtual bool Close() = 0;
  // The PCM format of what Read delivers.
  virtual bool GetFormat(WAVEFORMATEX& format) = 0;
  // Copies up to `size` bytes of interleaved PCM into `buffer`; `got` = bytes delivered,
  // 0 at the end of the audio. False on misuse (not open, buffer too small).
  virtual bool Read(void* buffer, std::uint32_t size, std::uint32_t& got) = 0;
  // Length of the audio in milliseconds.
  virtual bool GetDuration(std::uint32_t& milliseconds) = 0;
};

// True when the path's extension (after the last '.' of the last path component) is
// ".mp3" in any letter case.
bool HasMp3Extension(std::string_view path);

// The reader for a path: the MPEG file reader for ".mp3" names, the media stream reader
// for every other name. May return null when a reader kind is unavailable in this build.
std::unique_ptr<AudioReader> CreateAudioReader(const std::string& path);

}  // namespace audioedit
