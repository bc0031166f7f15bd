#include "audioedit/control/AudioLoader.h"

#include <cstdio>

#include "audioedit/PeakFile.h"

namespace audioedit {
namespace {

// Passes the build's events on and publishes the figures counted so far before each, so
// that a host sees total_peaks count up while the file is built.
class PublishingEvents final : public PeakBuildEvents {
 public:
  PublishingEvents(PeakBuildEvents& inner, LoadState& state) : inner_(inner), state_(state) {}
  void Watch(const PeakFile& file) { file_ = &file; }
  void OnStartPeakFile() override {
    Publish();
    inner_.OnStartPeakFile();
  }
  void OnPeakFileProgress(std::uint32_t progress) override {
    Publish();
    inner_.OnPeakFileProgress(progress);
  }
  bool IsCancelRequested() override { return inner_.IsCancelRequested(); }

 private:
  void Publish() {
    if (file_) state_.SetInfo(file_->Info());
  }
  PeakBuildEvents& inner_;
  LoadState& state_;
  const PeakFile* file_ = nullptr;
};

}  // namespace

bool AudioLoader::Accepts(PeakFile& file, const LoadRequest& request, std::uint32_t interval) {
  if (request.peakPath.empty()) return false;
  if (file.Validate(request.audioPath, request.peakPath) != PEC_Success) return false;
  return file.Info().total_peaks > 0 && file.Info().sample_interval == interval;
}

PEC AudioLoader::Run(const LoadRequest& request) {
  state_.BeginLoad(request.keepPeakFile);
  const auto interval =
      static_cast<std::uint32_t>(PeakFile::EffectiveSampleInterval(request.sampleInterval));

  PublishingEvents events(events_, state_);
  PeakFile file(&events);
  events.Watch(file);
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
