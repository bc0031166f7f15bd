#include "info/Id3v2Tag.h"

#include <algorithm>

#include "info/MappedFile.h"
#include "info/TagFileWriter.h"
#include "info/TagLayout.h"

namespace info {

namespace {

constexpr std::uint32_t kMaxSize = (1u << 28) - 1;

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bitsPerByte) {
  const std::uint32_t mask = (1u << bitsPerByte) - 1;
  for (int shift = 3 * bitsPerByte; shift >= 0; shift -= bitsPerByte)
    out.push_back(static_cast<std::uint8_t>((value >> shift) & mask));
}

}  // namespace

void Id3v2Tag::Clear() {
  present = false;
  size = 0;
  frames_.clear();
  unreadFrames_.clear();
}

bool Id3v2Tag::Read(const std::string& path) {
  Clear();
  MappedFile file;
  if (!file.Open(path)) return false;
  return Parse(file.bytes());
}

bool Id3v2Tag::Parse(std::span<const std::uint8_t> file) {
  Clear();
  const auto header = ParseId3v2Header(file);
  if (!header || header->size == 0) return false;
  present = true;
  size = header->size;
  const std::size_t stop =
      WalkId3v2Frames(file, Id3v2Header::kSize + std::size_t{header->size},
                      [this](const Id3v2RawFrame& raw) { frames_.emplace_back(raw.id, raw.payload); });
  // Frames after one the walk cannot read (an identifier of another version, a size past
  // the tag) are kept as they are, so that rewriting the tag does not lose them. Only an
  // ID3v2.3 tag's bytes can be carried into the ID3v2.3 tag written back.
  const std::size_t end = LocateAudio(file).begin;
  if (header->major == 3 && stop < end && file[stop] != 0) {
    std::size_t last = end;
    while (last > stop && file[last - 1] == 0) --last;  // padding
    unreadFrames_.assign(file.begin() + static_cast<std::ptrdiff_t>(stop), file.begin() + static_cast<std::ptrdiff_t>(last));
  }
  return true;
}

int Id3v2Tag::Find(std::string_view id) const {
  const auto it = std::find_if(frames_.begin(), frames_.end(),
                               [id](const Id3v2Frame& frame) { return frame.id() == id; });
  return it == frames_.end() ? -1 : static_cast<int>(it - frames_.begin());
}

std::optional<std::vector<std::uint8_t>> Id3v2Tag::Render() const {
  std::uint64_t body = unreadFrames_.size();
  for (const Id3v2Frame& frame : frames_)
    if (frame.size() > 0) body += 10 + std::uint64_t{frame.size()};
  if (body > kMaxSize) return std::nullopt;
  std::vector<std::uint8_t> out;
  if (body == 0) return out;
  out.reserve(Id3v2Header::kSize + body);
  out.insert(out.end(), {'I', 'D', '3', 3, 0, 0});
  PutBigEndian(out, static_cast<std::uint32_t>(body), 7);
  for (const Id3v2Frame& frame : frames_) {
    if (frame.size() == 0) continue;
    out.insert(out.end(), frame.id().begin(), frame.id().end());
    PutBigEndian(out, frame.size(), 8);
    out.insert(out.end(), {0, 0});
    out.insert(out.end(), frame.payload().begin(), frame.payload().end());
  }
  out.insert(out.end(), unreadFrames_.begin(), unreadFrames_.end());
  return out;
}

bool Id3v2Tag::Write(const std::string& path) {
  const auto bytes = Render();
  return bytes && TagFileWriter(path).Replace(*bytes, std::nullopt);
}

}  // namespace info
