#include "audioedit/PeakFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "audioedit/PeakHeader.h"
#include "audioedit/PeakSampler.h"
#include "platform/fileio/InputOpen.h"

namespace audioedit {
namespace {

// Largest sample the readers may deliver, in bytes.
constexpr std::uint16_t kMaxSourceSampleBytes = 4;

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size, off_t at = -1) {
  while (size > 0) {
    const ssize_t n = at < 0 ? ::write(fd, data, size) : ::pwrite(fd, data, size, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
    if (at >= 0) at += n;
  }
  return true;
}

// Reads up to `size` bytes; -1 on a read error, else the count (short at the end).
ssize_t ReadUpTo(int fd, std::uint8_t* data, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, data + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

bool OlderThan(const struct stat& a, const struct stat& b) {
  if (a.st_mtim.tv_sec != b.st_mtim.tv_sec) return a.st_mtim.tv_sec < b.st_mtim.tv_sec;
  return a.st_mtim.tv_nsec < b.st_mtim.tv_nsec;
}

}  // namespace

// The peak file being built: created atomically under a unique name, removed again unless
// the build completes.
class PeakFile::Output {
 public:
  explicit Output(const std::string& directory) {
    std::string pattern = directory;
    if (pattern.empty() || pattern.back() != '/') pattern += '/';
    pattern += "wepXXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ >= 0) path_ = name.data();
  }
  ~Output() { Discard(); }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  bool Append(const std::uint8_t* data, std::size_t size) { return WriteAll(fd_, data, size); }
  // The first header is appended; the final one overwrites it in place.
  bool AppendHeader(const AUDIO_INFO& info) {
    const PeakHeaderBytes header = EncodePeakHeader(info);
    return Append(header.data(), header.size());
  }
  bool RewriteHeader(const AUDIO_INFO& info) {
    const PeakHeaderBytes header = EncodePeakHeader(info);
    return WriteAll(fd_, header.data(), header.size(), 0);
  }
  // Closes the finished file; false (and the file removed) when the close reports an error.
  bool Commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) == 0) return true;
    ::unlink(path_.c_str());
    return false;
  }
  void Discard() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
    ::unlink(path_.c_str());
  }

 private:
  int fd_ = -1;
  std::string path_;
};

PeakFile::PeakFile(PeakBuildEvents* events)
    : events_(events != nullptr ? events : &noEvents_),
      readerFactory_([](const std::string& path) { return CreateAudioReader(path); }) {}

PeakFile::~PeakFile() { CloseReader(); }

void PeakFile::CloseReader() {
  if (reader_) reader_->Close();
  reader_.reset();
}

std::string PeakFile::TempDirectory() const {
  if (!tempDirectory_.empty()) return tempDirectory_;
  const char* env = std::getenv("TMPDIR");
  return env != nullptr && env[0] != '\0' ? env : "/tmp";
}

PEC PeakFile::OpenAudio() {
  CloseReader();
  reader_ = readerFactory_(audioPath_);
  WAVEFORMATEX format{};
  if (!reader_ || !reader_->Open(audioPath_) || !reader_->GetFormat(format)) {
    CloseReader();
    return PEC_UnknownAudioFormat;
  }
  const std::uint16_t sampleBytes = format.wBitsPerSample / 8;
  const std::uint32_t recordBytes =
      std::uint32_t{PeakSampler::RecordBytesPerSample(sampleBytes)} * format.nChannels;
  if (format.nChannels == 0 || format.wBitsPerSample % 8 != 0 || sampleBytes == 0 ||
      sampleBytes > kMaxSourceSampleBytes || recordBytes > UINT16_MAX) {
    CloseReader();
    return PEC_UnknownAudioFormat;
  }
  format_ = format;
  info_.channels = format.nChannels;
  info_.bits = static_cast<std::uint16_t>(PeakSampler::RecordBytesPerSample(sampleBytes) * 8);
  info_.freq = format.nSamplesPerSec;
  info_.blockalign = format.nBlockAlign;
  info_.duration = 0;
  reader_->GetDuration(info_.duration);
  info_.BPS = static_cast<std::uint16_t>(recordBytes);
  return PEC_Success;
}

PEC PeakFile::Validate(const std::string& audioPath, const std::string& peakPath) {
  // Only regular files: a FIFO or a device named as peak file is not waited on but
  // treated as no peak file, so a new one is built.
  const fileio::UniqueFd peak = fileio::OpenRegularInput(peakPath);
  if (!peak.IsOpen()) return PEC_PeakFileNotFound;
  struct stat audioStat {};
  {
    const fileio::UniqueFd audio = fileio::OpenRegularInput(audioPath);
    if (!audio.IsOpen() || ::fstat(audio.Get(), &audioStat) != 0) return PEC_AudioFileNotFound;
  }
  audioPath_ = audioPath;
  peakPath_ = peakPath;
  struct stat peakStat {};
  if (::fstat(peak.Get(), &peakStat) != 0) return PEC_CannotReadPeakFile;
  if (OlderThan(peakStat, audioStat)) return PEC_PeakFileIsOld;
  PeakHeaderBytes bytes{};
  const ssize_t got = ReadUpTo(peak.Get(), bytes.data(), bytes.size());
  if (got < 0) return PEC_CannotReadPeakFile;
  if (static_cast<std::size_t>(got) < bytes.size()) return PEC_PeakFileIsInvalid;
  const AUDIO_INFO header = DecodePeakHeader(bytes);

  info_ = AUDIO_INFO{};
  const PEC opened = OpenAudio();
  CloseReader();
  if (opened != PEC_Success || !SameAudioFormat(header, info_)) return PEC_PeakFileIsInvalid;
  // A build that never finished leaves interval 0 in its header; a header claiming more
  // records than the file holds would send the view past the end.
  const std::uint64_t needed = kPeakHeaderSize + std::uint64_t{header.total_peaks} * header.BPS;
  if (header.sample_interval == 0 || static_cast<std::uint64_t>(peakStat.st_size) < needed)
    return PEC_PeakFileIsInvalid;
  info_.sample_interval = header.sample_interval;
  info_.total_peaks = header.total_peaks;
  return PEC_Success;
}

PEC PeakFile::Build(const std::string& audioPath, std::int32_t sampleInterval) {
  info_ = AUDIO_INFO{};
  audioPath_ = audioPath;
  peakPath_.clear();
  const PEC opened = OpenAudio();
  if (opened != PEC_Success) return opened;

  Output out(TempDirectory());
  if (!out.IsOpen()) {
    CloseReader();
    return PEC_CannotCreatePeakFile;
  }
  peakPath_ = out.Path();
  events_->OnStartPeakFile();
  const std::uint32_t interval =
      static_cast<std::uint32_t>(EffectiveSampleInterval(sampleInterval));
  const PEC written =
      out.AppendHeader(info_) ? WriteRecords(out, interval) : PEC_CannotCreatePeakFile;
  CloseReader();
  if (written == PEC_Success) {
    info_.sample_interval = interval;
    if (out.RewriteHeader(info_) && out.Commit()) return PEC_Success;
  }
  out.Discard();
  peakPath_.clear();
  if (written == PEC_LoadingCanceled) {
    info_ = AUDIO_INFO{};
    return PEC_LoadingCanceled;
  }
  info_.total_peaks = 0;
  info_.sample_interval = 0;
  return PEC_CannotCreatePeakFile;
}

// Decodes the whole audio and appends its records; PEC_LoadingCanceled when the owner
// asked to stop, PEC_CannotCreatePeakFile when a write failed.
PEC PeakFile::WriteRecords(Output& out, std::uint32_t interval) {
  const std::uint16_t sampleBytes = format_.wBitsPerSample / 8;
  const std::uint64_t frameBytes = std::uint64_t{sampleBytes} * format_.nChannels;
  // Progress counts whole seconds only; under a second there is nothing to divide by.
  const std::uint64_t expected = std::uint64_t{info_.duration / 1000} * frameBytes * info_.freq;
  PeakSampler sampler(
      format_.nChannels, sampleBytes, interval, kWriteBatchBytes,
      [&out](const std::uint8_t* data, std::size_t size) { return out.Append(data, size); });
  std::vector<std::uint8_t> chunk(kDecodeChunkBytes);
  std::uint64_t processed = 0;
  for (;;) {
    std::uint32_t got = 0;
    if (!reader_->Read(chunk.data(), kDecodeChunkBytes, got) || got == 0) break;
    if (events_->IsCancelRequested()) return PEC_LoadingCanceled;
    const std::uint64_t progress =
        expected != 0 ? 1 + 100 * processed / expected : (processed == 0 ? 1 : 100);
    events_->OnPeakFileProgress(
        static_cast<std::uint32_t>(std::min<std::uint64_t>(progress, UINT32_MAX)));
    processed += got;
    if (!sampler.Feed(chunk.data(), got)) return PEC_CannotCreatePeakFile;
    info_.total_peaks = sampler.Records();
  }
  if (!sampler.Finish()) return PEC_CannotCreatePeakFile;
  info_.total_peaks = sampler.Records();
  return PEC_Success;
}

}  // namespace audioedit
