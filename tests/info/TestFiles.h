// Temporary folders, fixture copies and byte helpers for the track information tests.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace info::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the temporary directory, removed with its content.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string FixturePath(const std::string& name);
// Copies a fixture into `dir` and returns the copy's path.
std::string CopyFixture(const TempDir& dir, const std::string& name);

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
Bytes Concat(std::initializer_list<Bytes> parts);
Bytes Text(const std::string& text);
// An ID3v2.3 frame: identifier, 32-bit size, two flag bytes, payload.
Bytes Frame(const std::string& id, const Bytes& payload, std::uint16_t flags = 0);
// An ID3v2.4 frame: identifier, syncsafe size, two flag bytes, payload.
Bytes Frame24(const std::string& id, const Bytes& payload, std::uint16_t flags = 0);
// An ID3v2.2 frame: three-letter identifier, 24-bit size, payload.
Bytes Frame22(const std::string& id, const Bytes& payload);
// An ID3v2 tag header with the standard size of `body` bytes.
Bytes TagHeader(std::uint32_t bodySize, std::uint8_t major = 3, std::uint8_t flags = 0);

// Runs a shell command; its standard output.
std::string RunCommand(const std::string& command);

// `count` MPEG-1 Layer III frames of 128 kbit/s at 44100 Hz, stereo (417 bytes each).
Bytes MpegFrames(int count);

// mutagen's reading of a file: key -> value (see mutagen_tags.py).
std::map<std::string, std::string> MutagenDump(const std::string& path);
// Writes the pictures mutagen finds as dir/mutagen-N.bin; true on success.
bool MutagenPictures(const std::string& path, const std::string& dir);
// mutagen's frames of a file, one line each (see mutagen_tags.py frames).
std::string MutagenFrames(const std::string& path);

}  // namespace info::test
