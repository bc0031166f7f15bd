#include "audioedit/PeakHeader.h"

namespace audioedit {
namespace {

void Put16(PeakHeaderBytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(PeakHeaderBytes& b, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
std::uint16_t Get16(const PeakHeaderBytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t Get32(const PeakHeaderBytes& b, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v |= std::uint32_t{b[at + i]} << (8 * i);
  return v;
}

}  // namespace

PeakHeaderBytes EncodePeakHeader(const AUDIO_INFO& info) {
  PeakHeaderBytes b{};
  Put16(b, offsetof(AUDIO_INFO, channels), info.channels);
  Put16(b, offsetof(AUDIO_INFO, bits), info.bits);
  Put32(b, offsetof(AUDIO_INFO, freq), info.freq);
  Put16(b, offsetof(AUDIO_INFO, blockalign), info.blockalign);
  Put32(b, offsetof(AUDIO_INFO, duration), info.duration);
  Put16(b, offsetof(AUDIO_INFO, BPS), info.BPS);
  Put32(b, offsetof(AUDIO_INFO, total_peaks), info.total_peaks);
  Put32(b, offsetof(AUDIO_INFO, sample_interval), info.sample_interval);
  return b;
}

AUDIO_INFO DecodePeakHeader(const PeakHeaderBytes& b) {
  AUDIO_INFO info{};
  info.channels = Get16(b, offsetof(AUDIO_INFO, channels));
  info.bits = Get16(b, offsetof(AUDIO_INFO, bits));
  info.freq = Get32(b, offsetof(AUDIO_INFO, freq));
  info.blockalign = Get16(b, offsetof(AUDIO_INFO, blockalign));
  info.duration = Get32(b, offsetof(AUDIO_INFO, duration));
  info.BPS = Get16(b, offsetof(AUDIO_INFO, BPS));
  info.total_peaks = Get32(b, offsetof(AUDIO_INFO, total_peaks));
  info.sample_interval = Get32(b, offsetof(AUDIO_INFO, sample_interval));
  return info;
}

bool SameAudioFormat(const AUDIO_INFO& a, const AUDIO_INFO& b) {
  return a.bits == b.bits && a.blockalign == b.blockalign && a.BPS == b.BPS &&
         a.channels == b.channels && a.duration == b.duration && a.freq == b.freq;
}

}  // namespace audioedit
