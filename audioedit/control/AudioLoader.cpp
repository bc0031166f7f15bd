#include "audioedit/control/AudioLoader.h"

#include <cstdio>

#include "audioedit/PeakFile.h"

namespace audioedit {

bool AudioLoader::Accepts(PeakFile& file, const LoadRequest& request, std::uint32_t interval) {
  if (request.peakPath.empty()) return false;
  if (file.Validate(request.audioPath, request.peakPath) != PEC_Success) return false;
  return file.Info().total_peaks > 0 && file.Info().sample_interval == interval;
}

PEC AudioLoader::Run(const LoadRequest& request) {
  state_.BeginLoad(request.keepPeakFile);
  const auto interval =
      static_cast<std::uint32_t>(PeakFile::EffectiveSampleInterval(request.sampleInterval));

  PeakFile file(&events_);
  if (!tempDirectory_.empty()) file.SetTempDirectory(tempDirectory_);
  if (!Accepts(file, request, interval)) {
    const PEC built = file.Build(request.audioPath, request.sampleInterval);
    if (built != PEC_Success) {
      state_.SetInfo(file.Info());
      return built;
    }
    if (file.Info().total_peaks == 0) {
      std::remove(file.PeakPath().c_str());
      state_.SetInfo(file.Info());
      return PEC_UnknownAudioFormat;
    }
  }
  AUDIO_INFO info = file.Info();
  info.sample_interval = interval;
  state_.Loaded(file.AudioPath(), file.PeakPath(), info);
  return PEC_Success;
}

}  // namespace audioedit
