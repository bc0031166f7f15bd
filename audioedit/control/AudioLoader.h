// The loading steps a worker runs for one request: forget the previous file, accept the
// given peak file or build a new one, and publish the result in the control's LoadState.
// The hand-over to the window thread, the dividers and the events around it are the
// control's.
//
// Decisions of this loader:
// - A peak file whose header has no records, or whose records were taken with another
//   interval than the one requested, is not accepted: a new one is built (the view maps
//   positions with the requested interval, so the records must have been taken with it).
// - A load that yields no peak record at all (audio shorter than one interval) fails with
//   PEC_UnknownAudioFormat; the useless peak file it built is deleted. Nothing later ever
//   sees total_peaks 0 together with file names.
// - An interval below 1 means the default 147 (PeakFile::EffectiveSampleInterval), and
//   AUDIO_INFO.sample_interval reports the interval actually used.
#pragma once

#include <string>
#include <utility>

#include "audioedit/PeakBuildEvents.h"
#include "audioedit/Pec.h"
#include "audioedit/control/LoadRequest.h"
#include "audioedit/control/LoadState.h"

namespace audioedit {

class PeakFile;

class AudioLoader {
 public:
  // `events` receives the build's events and answers its cancel polls; `state` is the
  // control's.
  AudioLoader(PeakBuildEvents& events, LoadState& state) : events_(events), state_(state) {}
  AudioLoader(const AudioLoader&) = delete;
  AudioLoader& operator=(const AudioLoader&) = delete;

  // PEC_Success, PEC_UnknownAudioFormat, PEC_CannotCreatePeakFile, or PEC_LoadingCanceled
  // when the build noticed a cancel (its partial file is gone, AUDIO_INFO is zero).
  PEC Run(const LoadRequest& request);

  // Where new peak files go (empty: the user's temporary directory).
  void SetTempDirectory(std::string directory) { tempDirectory_ = std::move(directory); }

 private:
  bool Accepts(PeakFile& file, const LoadRequest& request, std::uint32_t interval);

  PeakBuildEvents& events_;
  LoadState& state_;
  std::string tempDirectory_;
};

}  // namespace audioedit
