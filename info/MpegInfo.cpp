#include "info/MpegInfo.h"

#include <cstdio>

#include "info/MpegFileReader.h"

namespace info {

bool MpegInfo::Load(const std::string& path) {
  FileSnapshot file;
  return file.Read(path) && Load(file.bytes());
}

bool MpegInfo::Load(std::span<const std::uint8_t> file) {
  MpegFileReader reader;
  if (!reader.Open(file)) return false;
  reader.GetFormat(channels, samplingRate);
  const MpegFrameScanner& scanner = reader.scanner();
  bitrate = static_cast<std::int32_t>(scanner.averageBitrate());
  durationMs = static_cast<std::int32_t>(scanner.durationMs());
  frames = static_cast<std::int32_t>(scanner.framesWalked());
  reader.Close();
  return true;
}

std::string MpegInfo::StatisticsText() const {
  char text[256];
  std::snprintf(text, sizeof text,
                "Mode: %s\r\nBitrate: %d bps\r\nFrequency: %d Hz\r\nFrames: %ld\r\n"
                "Duration: %ld.%03ld secs\r\n",
                channels == 2 ? "Stereo" : "Mono", bitrate, samplingRate, static_cast<long>(frames),
                static_cast<long>(durationMs / 1000), static_cast<long>(durationMs % 1000));
  return text;
}

}  // namespace info
