// Load result codes (PEC) with their fixed messages, and the codes of the AudioEditMsg event.
#pragma once

#include <cstdint>

namespace audioedit {

enum PEC : std::int32_t {
  PEC_Success = 0,
  PEC_PeakFileNotFound = 1,
  PEC_AudioFileNotFound = 2,
  PEC_CannotCreatePeakFile = 3,
  PEC_UnknownAudioFormat = 4,
  PEC_PeakFileIsOld = 5,
  PEC_CannotReadPeakFile = 6,
  PEC_PeakFileIsInvalid = 7,
  PEC_LoadingCanceled = 8,
};

// The message shown as ErrorString for a load result; any value outside the table gives
// "AudioEditCtl: Unknown error code".
constexpr const char* PecMessage(std::int32_t code) {
  // clang-format off
  constexpr const char* kMessages[] = {
      "AudioEditCtl: Success",
      "Peak file not found.",
      "Audio file not found.",
      "Cannot create peak file.",
      "Unknown audio format.",
      "The peak is older than the audio file.",
      "Cannot read peak file.",
      "Invalid peak file.",
      "Loading has been canceled.",
  };
  // clang-format on
  constexpr std::int32_t kCount = sizeof(kMessages) / sizeof(kMessages[0]);
  if (code < 0 || code >= kCount) return "AudioEditCtl: Unknown error code";
  return kMessages[code];
}

// First argument of the AudioEditMsg event.
enum AEMSG : std::uint32_t {
  AEMSG_StartPeakFile = 1,
  AEMSG_EndPeakFile = 2,
  AEMSG_UpdateDividers = 3,
  AEMSG_State_Stopped = 4,
  AEMSG_State_Paused = 5,
  AEMSG_State_Running = 6,
  AEMSG_CurrentTimeMs = 7,
  AEMSG_PeakError = 8,
};

}  // namespace audioedit
