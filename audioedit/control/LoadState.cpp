#include "audioedit/control/LoadState.h"

#include <cstdio>

#include "audioedit/CdFrames.h"
#include "audioedit/Pec.h"

namespace audioedit {

LoadSnapshot LoadState::Snapshot() const {
  std::lock_guard lock(mutex_);
  return LoadSnapshot{info_, audioFileName_, peakFileName_, errorCode_, errorString_, totalFrames_};
}

AUDIO_INFO LoadState::Info() const {
  std::lock_guard lock(mutex_);
  return info_;
}

std::string LoadState::AudioFileName() const {
  std::lock_guard lock(mutex_);
  return audioFileName_;
}

std::string LoadState::PeakFileName() const {
  std::lock_guard lock(mutex_);
  return peakFileName_;
}

std::int32_t LoadState::ErrorCode() const {
  std::lock_guard lock(mutex_);
  return errorCode_;
}

std::string LoadState::ErrorString() const {
  std::lock_guard lock(mutex_);
  return errorString_;
}

std::uint32_t LoadState::TotalFrames() const {
  std::lock_guard lock(mutex_);
  return totalFrames_;
}

bool LoadState::IsAudioFileLoaded() const {
  std::lock_guard lock(mutex_);
  return !peakFileName_.empty() && info_.total_peaks > 0;
}

bool LoadState::HasAudio() const {
  std::lock_guard lock(mutex_);
  return !audioFileName_.empty() && info_.total_peaks > 0;
}

void LoadState::DeleteUnkeptLocked() {
  if (!keep_ && !ownedPeakFile_.empty()) std::remove(ownedPeakFile_.c_str());
  ownedPeakFile_.clear();
}

void LoadState::BeginLoad(bool keepPeakFile) {
  std::lock_guard lock(mutex_);
  DeleteUnkeptLocked();
  keep_ = keepPeakFile;
  audioFileName_.clear();
  peakFileName_.clear();
}

void LoadState::SetInfo(const AUDIO_INFO& info) {
  std::lock_guard lock(mutex_);
  info_ = info;
}

void LoadState::Loaded(const std::string& audioPath, const std::string& peakPath,
                       const AUDIO_INFO& info) {
  std::lock_guard lock(mutex_);
  info_ = info;
  audioFileName_ = audioPath;
  peakFileName_ = peakPath;
  ownedPeakFile_ = peakPath;
  totalFrames_ = audioedit::TotalFrames(info.duration);
}

void LoadState::SetResult(std::int32_t code) {
  std::lock_guard lock(mutex_);
  errorCode_ = code;
  errorString_ = PecMessage(code);
}

void LoadState::ClearNames() {
  std::lock_guard lock(mutex_);
  audioFileName_.clear();
  peakFileName_.clear();
}

void LoadState::Release() {
  std::lock_guard lock(mutex_);
  DeleteUnkeptLocked();
}

}  // namespace audioedit
