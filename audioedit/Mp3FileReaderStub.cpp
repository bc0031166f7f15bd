// Stand-in until the MPEG file reader is part of the build: no reader, so ".mp3" files
// fail to load with PEC_UnknownAudioFormat.
#include "audioedit/Mp3FileReader.h"

namespace audioedit {

std::unique_ptr<AudioReader> CreateMp3FileReader() { return nullptr; }

}  // namespace audioedit
