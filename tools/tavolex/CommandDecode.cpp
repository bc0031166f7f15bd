// `tavolex decode [--float] IN OUT`: decodes an MPEG audio file frame by frame with the
// system's own decoder, to a 16-bit WAV file or to raw little-endian 32-bit floats.
// The output keeps the first frame's channel count and rate (StreamLayout); OUT is written
// beside itself and replaced only when the decode succeeded.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "audioedit/mp3/StreamLayout.h"
#include "mpegaudio/Mp3Decoder.h"
#include "mpegaudio/analysis/AudioBounds.h"
#include "platform/fileio/InputOpen.h"
#include "tools/tavolex/Commands.h"
#include "tools/tavolex/DecodeOutput.h"
#include "tools/tavolex/SignalWatcher.h"

namespace tavolex_cli {
namespace {

using mpegaudio::Mp3Decoder;
using mpegaudio::SSC;

struct DecoderDeleter {
  void operator()(Mp3Decoder* d) const {
    if (d != nullptr) d->Destroy();
  }
};

// The input file as the decoder's source; counts the bytes it hands over.
class FileSource final : public mpegaudio::Mp3Source, public mpegaudio::ByteReader {
 public:
  explicit FileSource(int fd) : fd_(fd) {}
  std::int32_t Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
    got = 0;
    ssize_t n = 0;
    do {
      n = ::read(fd_, buffer, count);
    } while (n < 0 && errno == EINTR);
    if (n < 0) {
      error_ = errno;
      eof_ = true;
      return 0;
    }
    if (n == 0) eof_ = true;
    got = static_cast<std::uint32_t>(n);
    fed_ += got;
    return 0;
  }
  bool IsEof() override { return eof_; }
  std::size_t ReadAt(std::uint32_t offset, std::uint8_t* buffer, std::size_t count) override {
    const ssize_t n = ::pread(fd_, buffer, count, static_cast<off_t>(offset));
    return n < 0 ? 0 : static_cast<std::size_t>(n);
  }
  std::uint64_t Fed() const { return fed_; }
  int Error() const { return error_; }

 private:
  int fd_;
  bool eof_ = false;
  int error_ = 0;
  std::uint64_t fed_ = 0;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "tavolex decode: %s\n", message.c_str());
  return 1;
}

// Leading ID3v2 tags are searched through like any bytes, but do not count against the
// stretch without a frame.
std::uint64_t LeadingTagBytes(FileSource& source, int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return 0;
  const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  return mpegaudio::FindAudioBounds(
             source, static_cast<std::uint32_t>(std::min<std::uint64_t>(size, 0xFFFFFFFFu)))
      .start;
}

}  // namespace

int RunDecode(int argc, char** argv) {
  bool asFloat = false;
  int arg = 1;
  if (arg < argc && std::strcmp(argv[arg], "--float") == 0) {
    asFloat = true;
    ++arg;
  }
  if (argc - arg != 2) {
    std::fprintf(stderr, "usage: tavolex decode [--float] IN OUT\n");
    return 2;
  }
  const SignalWatcher signals;
  const std::string inPath = argv[arg];
  const std::string outPath = argv[arg + 1];
  std::string reason;
  const fileio::UniqueFd in = fileio::OpenRegularInput(inPath, &reason);
  if (!in.IsOpen()) return Fail("cannot open '" + inPath + "': " + reason);
  if (fileio::IsSameFile(in.Get(), outPath)) {
    return Fail("'" + inPath + "' and '" + outPath +
                "' are the same file; not overwriting the input");
  }

  Mp3Decoder* raw = nullptr;
  if (mpegaudio::CreateMp3Decoder(&raw) != mpegaudio::SscOk) return Fail("out of memory");
  std::unique_ptr<Mp3Decoder, DecoderDeleter> decoder(raw);
  FileSource source(in.Get());
  const std::uint64_t searchAllowance =
      LeadingTagBytes(source, in.Get()) + audioedit::kMaxBytesWithoutFrame;
  decoder->SetSource(&source);

  DecodeOutput out(outPath, !asFloat);
  if (!out.Open()) return Fail(out.Error());
  // 16-bit frames fit in 4608 bytes; float frames take twice that. A mono frame written
  // to two channels takes twice its size, which still fits.
  alignas(4) std::uint8_t buffer[2 * mpegaudio::kMaxFrameBytes16];
  audioedit::StreamLayout layout;
  std::uint64_t fedAtLastFrame = 0;
  while (!decoder->IsEndOfStream()) {
    if (signals.Received() != 0) {
      out.Discard();
      return signals.ExitStatus();
    }
    std::uint32_t written = 0;
    const SSC status = asFloat ? decoder->DecodeFrameFloat(reinterpret_cast<float*>(buffer),
                                                           sizeof buffer, written)
                               : decoder->DecodeFrame(buffer, mpegaudio::kMaxFrameBytes16, written);
    if (mpegaudio::SscIsError(status)) {
      return Fail("'" + inPath + "': " + mpegaudio::SscText(status));
    }
    if (written == 0) {
      const std::uint64_t allowance =
          layout.IsFixed() ? audioedit::kMaxBytesWithoutFrame : searchAllowance;
      if (source.Fed() - fedAtLastFrame > allowance) break;  // no more audio in reach
      continue;
    }
    fedAtLastFrame = source.Fed();
    const mpegaudio::Mp3FrameProperties* frame = decoder->GetFrameProperties();
    const std::optional<std::size_t> bytes =
        asFloat
            ? layout.ConformFloat(buffer, written, frame->outputChannels, frame->outputSamplingRate)
            : layout.Conform16(buffer, written, frame->outputChannels, frame->outputSamplingRate);
    if (!bytes) break;  // the rate changed: the stream ends here
    if (!out.Append(buffer, *bytes)) return Fail(out.Error());
  }
  if (source.Error() != 0)
    return Fail("cannot read '" + inPath + "': " + std::strerror(source.Error()));
  if (!layout.IsFixed()) return Fail("'" + inPath + "': no MPEG Layer III audio found");
  out.SetLayout(layout.Channels(), layout.Rate());
  if (signals.Received() != 0) return signals.ExitStatus();
  if (!out.Commit()) return Fail(out.Error());
  return 0;
}

}  // namespace tavolex_cli
