// Disc texts for a CUE sheet from an MPEG file's tags, read through the track information
// library as any host reads them: by ProgID through the class registry. TITLE comes from
// the album, PERFORMER from the lead artist. Empty texts when the library is not
// registered, the file is not an MPEG file or has no such tags, or a text cannot stand in
// a CUE sheet.
#pragma once

#include <string>

#include "audioedit/cue/CueSheet.h"

namespace tavolex_cli {

audioedit::cue::CueText TagTexts(const std::string& audio);

}  // namespace tavolex_cli
