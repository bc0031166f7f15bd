// A peak file: the 28-byte AUDIO_INFO header followed by one PCM sample frame out of every
// `sample_interval` frames of the decoded audio. One PeakFile serves one load: it checks
// an existing peak file against its audio file, or builds a new one in the temporary
// directory, and fills the AUDIO_INFO record of the load on the way.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "audioedit/AudioInfo.h"
#include "audioedit/AudioReader.h"
#include "audioedit/PeakBuildEvents.h"
#include "audioedit/Pec.h"

namespace audioedit {

class PeakFile {
 public:
  static constexpr std::uint32_t kDecodeChunkBytes = 512000;
  static constexpr std::uint32_t kWriteBatchBytes = 256000;
  static constexpr std::int32_t kDefaultSampleInterval = 147;

  using ReaderFactory = std::function<std::unique_ptr<AudioReader>(const std::string& path)>;

  // `events` may be null (no events, never cancelled).
  explicit PeakFile(PeakBuildEvents* events = nullptr);
  ~PeakFile();
  PeakFile(const PeakFile&) = delete;
  PeakFile& operator=(const PeakFile&) = delete;

  // Opens a reader for AudioPath() and fills the format fields and duration of Info().
  // Leaves total_peaks and sample_interval alone. PEC_UnknownAudioFormat when the file
  // cannot be decoded or has a sample layout records cannot be made of.
  PEC OpenAudio();

  // Whether `peakPath` may be used for `audioPath`. On success Info() holds the audio's
  // format and the header's total_peaks and sample_interval.
  PEC Validate(const std::string& audioPath, const std::string& peakPath);

  // Builds a new peak file "wepXXXXXX" in the temporary directory. On success PeakPath()
  // names it and Info() is complete. On cancellation or failure nothing is left on disk.
  PEC Build(const std::string& audioPath, std::int32_t sampleInterval);

  const AUDIO_INFO& Info() const { return info_; }
  const std::string& AudioPath() const { return audioPath_; }
  const std::string& PeakPath() const { return peakPath_; }

  // Seams: how readers are made (default: CreateAudioReader) and where new peak files go
  // (default: $TMPDIR, else /tmp).
  void SetReaderFactory(ReaderFactory factory) { readerFactory_ = std::move(factory); }
  void SetTempDirectory(std::string directory) { tempDirectory_ = std::move(directory); }

  // The interval a request for `requested` frames per record is built with: any value
  // below 1 means the default of 147.
  static std::int32_t EffectiveSampleInterval(std::int32_t requested) {
    return requested < 1 ? kDefaultSampleInterval : requested;
  }

 private:
  class Output;
  PEC WriteRecords(Output& out, std::uint32_t interval);
  void CloseReader();
  std::string TempDirectory() const;

  PeakBuildEvents* events_;
  PeakBuildEvents noEvents_;
  ReaderFactory readerFactory_;
  std::string tempDirectory_;
  std::unique_ptr<AudioReader> reader_;
  WAVEFORMATEX format_{};
  AUDIO_INFO info_{};
  std::string audioPath_;
  std::string peakPath_;
};

}  // namespace audioedit
