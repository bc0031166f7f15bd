// Status codes of the MPEG audio decoder. The two top bits classify a code:
// 00 success, 01 information (a frame was produced, with a remark),
// 10 warning (no frame was produced this call), 11 error.
#pragma once

#include <cstdint>

namespace mpegaudio {

using SSC = std::uint32_t;

inline constexpr SSC SscOk = 0x00000000u;
inline constexpr SSC SscBadParameter = 0xC0000001u;
inline constexpr SSC SscOutOfMemory = 0xC0000002u;
inline constexpr SSC SscInvalidHandle = 0xC0000003u;
inline constexpr SSC SscIoError = 0x80010001u;
inline constexpr SSC SscIoOpenFailed = 0x80010002u;
inline constexpr SSC SscIoCloseFailed = 0x80010003u;
inline constexpr SSC SscIoReadError = 0x80010004u;
inline constexpr SSC SscCrcError = 0x41010001u;
inline constexpr SSC SscNoMainData = 0x41010002u;
inline constexpr SSC SscDecoderError = 0xC1010001u;
inline constexpr SSC SscWrongLayer = 0xC1010002u;
inline constexpr SSC SscBufferTooSmall = 0xC1010003u;
inline constexpr SSC SscSyncSearched = 0x81010001u;
inline constexpr SSC SscSyncLost = 0x81010002u;
inline constexpr SSC SscSyncNeedData = 0x81010003u;
inline constexpr SSC SscSyncEof = 0x81010004u;

constexpr bool SscIsSuccess(SSC s) { return (s >> 30) == 0; }
constexpr bool SscIsInfo(SSC s) { return (s >> 30) == 1; }
constexpr bool SscIsWarning(SSC s) { return (s >> 30) == 2; }
constexpr bool SscIsError(SSC s) { return (s >> 30) == 3; }
// True for the statuses after which a frame is available (success or information).
constexpr bool SscHasFrame(SSC s) { return (s >> 30) <= 1; }

// The fixed English text of a status ("(Mp3Ssc) unknown SSC" for codes without one).
const char* SscText(SSC s);

}  // namespace mpegaudio
