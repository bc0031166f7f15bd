// `tavolex decode [--float] IN OUT`: decodes an MPEG audio file frame by frame with the
// system's own decoder, to a 16-bit WAV file or to raw little-endian 32-bit floats.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "mpegaudio/Mp3Decoder.h"
#include "tools/tavolex/Commands.h"

namespace tavolex_cli {
namespace {

using mpegaudio::Mp3Decoder;
using mpegaudio::SSC;

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f != nullptr) std::fclose(f);
  }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

struct DecoderDeleter {
  void operator()(Mp3Decoder* d) const {
    if (d != nullptr) d->Destroy();
  }
};

class FileSource final : public mpegaudio::Mp3Source {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}
  std::int32_t Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t& got) override {
    got = static_cast<std::uint32_t>(std::fread(buffer, 1, count, file_));
    return 0;
  }
  bool IsEof() override { return std::feof(file_) != 0 || std::ferror(file_) != 0; }

 private:
  std::FILE* file_;
};

void PutLe(std::uint8_t* p, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

bool WriteWavHeader(std::FILE* f, int channels, int rate, std::uint32_t dataBytes) {
  std::uint8_t h[44];
  std::memcpy(h, "RIFF", 4);
  PutLe(h + 4, 36 + dataBytes, 4);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  PutLe(h + 16, 16, 4);
  PutLe(h + 20, 1, 2);
  PutLe(h + 22, static_cast<std::uint32_t>(channels), 2);
  PutLe(h + 24, static_cast<std::uint32_t>(rate), 4);
  PutLe(h + 28, static_cast<std::uint32_t>(rate * channels * 2), 4);
  PutLe(h + 32, static_cast<std::uint32_t>(channels * 2), 2);
  PutLe(h + 34, 16, 2);
  std::memcpy(h + 36, "data", 4);
  PutLe(h + 40, dataBytes, 4);
  return std::fseek(f, 0, SEEK_SET) == 0 && std::fwrite(h, 1, sizeof h, f) == sizeof h;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "tavolex decode: %s\n", message.c_str());
  return 1;
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
  const std::string inPath = argv[arg];
  const std::string outPath = argv[arg + 1];
  File in(std::fopen(inPath.c_str(), "rb"));
  if (!in) return Fail("cannot open '" + inPath + "': " + std::strerror(errno));
  File out(std::fopen(outPath.c_str(), "wb"));
  if (!out) return Fail("cannot create '" + outPath + "': " + std::strerror(errno));

  Mp3Decoder* raw = nullptr;
  if (mpegaudio::CreateMp3Decoder(&raw) != mpegaudio::SscOk) return Fail("out of memory");
  std::unique_ptr<Mp3Decoder, DecoderDeleter> decoder(raw);
  FileSource source(in.get());
  decoder->SetSource(&source);

  // 16-bit frames fit in 4608 bytes; float frames take twice that.
  alignas(4) std::uint8_t buffer[2 * mpegaudio::kMaxFrameBytes16];
  if (!asFloat && !WriteWavHeader(out.get(), 1, 8000, 0)) {
    return Fail("cannot write '" + outPath + "'");
  }
  std::uint64_t dataBytes = 0;
  int channels = 0;
  int rate = 0;
  while (!decoder->IsEndOfStream()) {
    std::uint32_t written = 0;
    const SSC status =
        asFloat ? decoder->DecodeFrameFloat(reinterpret_cast<float*>(buffer), sizeof buffer, written)
                : decoder->DecodeFrame(buffer, mpegaudio::kMaxFrameBytes16, written);
    if (mpegaudio::SscIsError(status)) {
      return Fail("'" + inPath + "': " + mpegaudio::SscText(status));
    }
    if (written == 0) continue;
    if (channels == 0) {
      channels = decoder->GetFrameProperties()->outputChannels;
      rate = decoder->GetFrameProperties()->outputSamplingRate;
    }
    if (std::fwrite(buffer, 1, written, out.get()) != written) {
      return Fail("cannot write '" + outPath + "'");
    }
    dataBytes += written;
  }
  if (std::ferror(in.get())) return Fail("cannot read '" + inPath + "'");
  if (channels == 0) return Fail("'" + inPath + "': no MPEG Layer III audio found");
  if (!asFloat && !WriteWavHeader(out.get(), channels, rate, static_cast<std::uint32_t>(dataBytes))) {
    return Fail("cannot write '" + outPath + "'");
  }
  if (std::fflush(out.get()) != 0) return Fail("cannot write '" + outPath + "'");
  return 0;
}

}  // namespace tavolex_cli
