// What a control knows about its loaded audio: AUDIO_INFO, the file names, the result of the
// last load, the length in CD frames and the peak file it owns. The loading worker writes it
// while the window thread reads it, so every access takes the lock; readers get copies.
//
// Ownership of the peak file: the file of a successful load (built, or passed in by the
// host) belongs to the control. Unless that load asked to keep it, it is deleted when the
// next load starts and when the control goes away, also after a cancel has emptied the
// names.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "audioedit/AudioInfo.h"

namespace audioedit {

// Everything a reader may need of one load, taken under one lock.
struct LoadSnapshot {
  AUDIO_INFO info{};
  std::string audioFileName;
  std::string peakFileName;
  std::int32_t errorCode = 0;
  std::string errorString;
  std::uint32_t totalFrames = 0;
};

class LoadState {
 public:
  LoadState() = default;
  LoadState(const LoadState&) = delete;
  LoadState& operator=(const LoadState&) = delete;

  // All fields at once: use this where several must come from the same load.
  LoadSnapshot Snapshot() const;
  AUDIO_INFO Info() const;
  std::string AudioFileName() const;
  std::string PeakFileName() const;
  std::int32_t ErrorCode() const;
  std::string ErrorString() const;
  std::uint32_t TotalFrames() const;
  // The peak file name is set and there are peak records.
  bool IsAudioFileLoaded() const;
  // The audio file name is set and there are peak records.
  bool HasAudio() const;

  // Start of a load (worker): deletes the previous load's peak file unless it was kept,
  // takes the new keep flag and empties the names.
  void BeginLoad(bool keepPeakFile);
  // During a build: the figures counted so far.
  void SetInfo(const AUDIO_INFO& info);
  // A load that succeeded: names, figures and length.
  void Loaded(const std::string& audioPath, const std::string& peakPath, const AUDIO_INFO& info);
  // The result of a finished load: ErrorCode and its message.
  void SetResult(std::int32_t code);
  // Cancel: the control shows no file any more (the owned peak file stays owned).
  void ClearNames();
  // The control goes away: deletes the owned peak file unless it was kept.
  void Release();

 private:
  void DeleteUnkeptLocked();

  mutable std::mutex mutex_;
  AUDIO_INFO info_{};
  std::string audioFileName_;
  std::string peakFileName_;
  std::int32_t errorCode_ = 0;
  std::string errorString_;
  std::uint32_t totalFrames_ = 0;
  bool keep_ = false;
  std::string ownedPeakFile_;
};

}  // namespace audioedit
