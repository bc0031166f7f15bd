// A CUE sheet for one audio file: the file's name and kind, optional titles and performers
// for the disc and its tracks, and the track layout.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "audioedit/cue/CueLayout.h"

namespace audioedit::cue {

enum class CueFileType { Wave, Mp3 };

struct CueText {
  std::string title;      // empty: no TITLE line
  std::string performer;  // empty: no PERFORMER line
};

struct CueSheet {
  std::string fileName;
  CueFileType fileType = CueFileType::Wave;
  CueText disc;
  std::vector<CueText> trackTexts;  // by track; tracks past its end have none
  CueLayout layout;
};

// The line that records an end divider before the end of the audio: "REM END mm:ss:ff",
// followed by this note.
inline constexpr const char* kEndRemark = "REM END";
inline constexpr const char* kEndRemarkNote = "audio after this point is not part of the layout";

// True when the text can stand between double quotes in a CUE sheet: no '"', no control
// characters.
constexpr bool IsCueText(std::string_view text) {
  for (const char c : text)
    if (c == '"' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  return true;
}

}  // namespace audioedit::cue
