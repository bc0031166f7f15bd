// Where `tavolex decode` writes: a 16-bit PCM WAV file or raw 32-bit floats, through a new
// file beside the target that replaces it only when the decode succeeded. A WAV file's size
// fields are 32 bits: audio that would take more than kMaxWavDataBytes is refused before
// any byte past the limit is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/fileio/OutputFile.h"

namespace tavolex_cli {

// The RIFF size field counts the 36 header bytes after it as well as the data.
inline constexpr std::uint64_t kMaxWavDataBytes = 0xFFFFFFFFull - 36;

class DecodeOutput {
 public:
  // `maxDataBytes` is the format's limit; tests pass a smaller one.
  DecodeOutput(std::string path, bool wav, std::uint64_t maxDataBytes = kMaxWavDataBytes);

  // Creates the new file (with a placeholder WAV header). False with Error() set.
  bool Open();
  // Sets the layout the WAV header states; call before Commit.
  void SetLayout(int channels, int rate) {
    channels_ = channels;
    rate_ = rate;
  }
  bool Append(const std::uint8_t* data, std::size_t size);
  // Completes the header and replaces the target.
  bool Commit();
  // Removes the new file; the target stays as it was.
  void Discard() { file_.Discard(); }

  const std::string& Error() const { return error_; }

 private:
  // The placeholder is appended at Open; the final header overwrites it in place.
  bool WriteWavHeader(std::uint32_t dataBytes, bool inPlace);
  bool FileFailed();

  std::string path_;
  fileio::OutputFile file_;
  bool wav_;
  std::uint64_t maxDataBytes_;
  std::uint64_t dataBytes_ = 0;
  int channels_ = 1;
  int rate_ = 8000;
  std::string error_;
};

}  // namespace tavolex_cli
