// Plays one media file through the media framework's playback element, to the audio sink
// that TAVOLEX_AUDIO_SINK describes (a launch description such as "fakesink sync=true";
// default "autoaudiosink"). Only the audio of the file is played.
//
// Threads: the methods may be called from any thread, one at a time. The listener is called
// on the framework's threads; it must not call back into the pipeline.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace media {

class PlaybackPipeline {
 public:
  enum class Note {
    kEndOfStream,  // the sink played the last sample
    kError,        // playback failed; the text says why
    kSettled,      // a state change or a seek has completed
  };
  using Listener = std::function<void(Note note, const std::string& text)>;

  ~PlaybackPipeline();
  PlaybackPipeline(const PlaybackPipeline&) = delete;
  PlaybackPipeline& operator=(const PlaybackPipeline&) = delete;

  // The sink description in use: TAVOLEX_AUDIO_SINK when set and not empty, else
  // "autoaudiosink".
  static std::string SinkDescription();

  struct OpenError {
    bool missing = false;  // no regular file of that name
    std::string text;      // one line naming the file and the reason
  };
  // Opens `path` (bytes of a file name, used as they are) and waits until the pipeline is
  // paused at the start, ready to play. Null with `error` filled in on failure.
  static std::unique_ptr<PlaybackPipeline> Open(const std::string& path, Listener listener,
                                                OpenError& error);

  bool Play();
  bool Pause();
  // True when no state change or seek is under way (after waiting up to `timeout`).
  bool WaitSettled(std::chrono::milliseconds timeout);
  // Moves to `ns` nanoseconds from the start; completes asynchronously (kSettled).
  bool Seek(std::int64_t ns);
  bool PositionNs(std::int64_t& ns) const;
  bool DurationNs(std::int64_t& ns) const;
  // Linear volume, 0 (silent) to 1 (unchanged).
  void SetVolume(double linear);

 private:
  struct Parts;
  explicit PlaybackPipeline(std::unique_ptr<Parts> parts);

  std::unique_ptr<Parts> parts_;
};

}  // namespace media
