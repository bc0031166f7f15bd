#include "info/Id3v2Tag.h"

#include <algorithm>
#include <cctype>

#include "info/Id3FrameTable.h"
#include "info/TagLayout.h"

namespace info {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::uint32_t kMaxSize = (1u << 28) - 1;
constexpr std::size_t kPadding = 1024;

// ID3v2.3 frame format flags (second flag byte).
constexpr std::uint16_t kV3Compressed = 0x0080;
constexpr std::uint16_t kV3Encrypted = 0x0040;
constexpr std::uint16_t kV3Grouped = 0x0020;
// ID3v2.4 frame format flags.
constexpr std::uint16_t kV4Grouped = 0x0040;
constexpr std::uint16_t kV4Compressed = 0x0008;
constexpr std::uint16_t kV4Encrypted = 0x0004;
constexpr std::uint16_t kV4Unsync = 0x0002;
constexpr std::uint16_t kV4DataLength = 0x0001;

std::size_t HeaderSize(int major) { return major == 2 ? 6 : 10; }

bool AllZero(Bytes bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

// An ID3v2.2 picture's content in the ID3v2.3 layout: the three-letter image format becomes
// a MIME type.
std::vector<std::uint8_t> PictureOfV22(Bytes content) {
  if (content.size() < 4) return {content.begin(), content.end()};
  std::string format(content.begin() + 1, content.begin() + 4);
  for (char& c : format) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string mime = format == "jpg"   ? "image/jpeg"
                           : format == "-->" ? "-->"
                                             : "image/" + format;
  std::vector<std::uint8_t> out{content[0]};
  out.insert(out.end(), mime.begin(), mime.end());
  out.push_back(0);
  out.insert(out.end(), content.begin() + 4, content.end());
  return out;
}

}  // namespace

void Id3v2Tag::Clear() {
  present = false;
  major = 0;
  flags = 0;
  frames_.clear();
  unreadFrames_.clear();
  problem_.clear();
}

bool Id3v2Tag::Parse(Bytes file) {
  Clear();
  const auto header = ParseId3v2Header(file);
  if (!header) return false;
  present = true;
  major = header->major;
  flags = header->flags;
  const AudioSpan span = LocateAudio(file);
  problem_ = span.problem;
  if (major < 2 || major > 4) {
    problem_ = "its ID3v2 tag has the unknown version 2." + std::to_string(major);
    return true;
  }
  if (major == 2 && (flags & id3flag::kExtendedHeader)) {
    problem_ = "its ID3v2.2 tag is compressed";
    return true;
  }
  const std::size_t bodyEnd = std::max(span.tagBodyEnd, Id3v2Header::kSize);
  Bytes body =
      file.subspan(Id3v2Header::kSize, std::min(bodyEnd, file.size()) - Id3v2Header::kSize);
  const bool tagUnsync = (flags & id3flag::kUnsynchronisation) != 0;
  std::vector<std::uint8_t> resynced;
  if (tagUnsync && major < 4) {
    resynced = RemoveUnsync(body);
    body = resynced;
  }
  if (major > 2 && (flags & id3flag::kExtendedHeader)) {
    std::size_t skip = 0;
    if (body.size() >= 4)
      skip = major == 3 ? 4 + std::size_t{BigEndian32(body.data())} : Syncsafe32(body.data());
    if (body.size() < 4 || skip < 6 || skip > body.size()) {
      if (problem_.empty()) problem_ = "its ID3v2 extended header is damaged";
      return true;
    }
    body = body.subspan(skip);
  }
  ReadFrames(body, tagUnsync && major == 4);
  return true;
}

// The size of the frame at `at`. ID3v2.4 sizes are syncsafe, but some taggers wrote plain
// numbers: the plain reading is taken when only it lands on another frame, padding or the end.
std::size_t Id3v2Tag::FrameSize(Bytes body, std::size_t at) const {
  const std::uint8_t* p = body.data() + at + (major == 2 ? 3 : 4);
  if (major == 2) return (std::size_t{p[0]} << 16) | (std::size_t{p[1]} << 8) | p[2];
  const std::size_t plain = BigEndian32(p);
  if (major == 3) return plain;
  const std::size_t safe = Syncsafe32(p);
  // True when a frame of `size` is followed by the end, padding or a whole frame header.
  const auto landsWell = [&](std::size_t size) {
    if (size > body.size() - at - 10) return false;
    const std::size_t next = at + 10 + size;
    if (next == body.size() || body[next] == 0) return true;
    return next + 10 <= body.size() &&
           IsFrameId({reinterpret_cast<const char*>(body.data() + next), 4}) &&
           Syncsafe32(body.data() + next + 4) <= body.size() - next - 10;
  };
  const bool safeValid = ((p[0] | p[1] | p[2] | p[3]) & 0x80) == 0;
  if (safeValid && (safe == plain || landsWell(safe))) return safe;
  if (landsWell(plain)) return plain;
  return safeValid ? safe : plain;
}

void Id3v2Tag::ReadFrames(Bytes body, bool tagUnsync) {
  const std::size_t headerSize = HeaderSize(major);
  std::size_t p = 0;
  while (p + headerSize <= body.size() && body[p] != 0) {
    const std::string_view id(reinterpret_cast<const char*>(body.data() + p), major == 2 ? 3 : 4);
    if (!IsFrameId(id, id.size())) break;
    const std::size_t size = FrameSize(body, p);
    if (size > body.size() - p - headerSize) {
      if (problem_.empty())
        problem_ = "its ID3v2 frame " + std::string(id) + " runs past the end of the tag";
      return;
    }
    const std::uint16_t frameFlags =
        major == 2 ? 0 : static_cast<std::uint16_t>(body[p + 8] << 8 | body[p + 9]);
    if (!AddFrame(id, frameFlags, body.subspan(p + headerSize, size), tagUnsync)) return;
    p += headerSize + size;
  }
  if (p >= body.size()) return;
  Bytes rest = body.subspan(p);
  if (AllZero(rest)) return;  // padding
  // Bytes the walk cannot read are kept as they are for a tag written in its own version.
  if (major == 2) {
    if (problem_.empty()) problem_ = "its ID3v2.2 tag holds bytes that are not frames";
    return;
  }
  std::size_t last = rest.size();
  while (last > 0 && rest[last - 1] == 0) --last;
  unreadFrames_.assign(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(last));
}

bool Id3v2Tag::AddFrame(std::string_view id, std::uint16_t frameFlags, Bytes data, bool tagUnsync) {
  if (major == 2) {
    const std::string_view v23 = V23IdOfV22(id);
    if (v23.empty()) {
      if (problem_.empty())
        problem_ = "its ID3v2.2 frame " + std::string(id) + " has no ID3v2.3 form";
      frames_.emplace_back(id, 0, std::vector<std::uint8_t>(data.begin(), data.end()),
                           std::vector<std::uint8_t>(data.begin(), data.end()), false);
      return true;
    }
    Id3v2Frame frame(v23, 0, {}, {}, true);
    frame.Convert(v23, v23 == "APIC" ? PictureOfV22(data)
                                     : std::vector<std::uint8_t>(data.begin(), data.end()));
    frames_.push_back(std::move(frame));
    return true;
  }
  Bytes content = data;
  bool readable = true;
  std::vector<std::uint8_t> resynced;
  if (major == 3) {
    const std::size_t extra = ((frameFlags & kV3Compressed) ? 4 : 0) +
                              ((frameFlags & kV3Encrypted) ? 1 : 0) +
                              ((frameFlags & kV3Grouped) ? 1 : 0);
    readable = (frameFlags & (kV3Compressed | kV3Encrypted)) == 0;
    content = content.subspan(std::min(extra, content.size()));
  } else {
    const std::size_t extra = ((frameFlags & kV4Grouped) ? 1 : 0) +
                              ((frameFlags & kV4Encrypted) ? 1 : 0) +
                              ((frameFlags & kV4DataLength) ? 4 : 0);
    readable = (frameFlags & (kV4Compressed | kV4Encrypted)) == 0;
    content = content.subspan(std::min(extra, content.size()));
    if (tagUnsync || (frameFlags & kV4Unsync)) {
      resynced = RemoveUnsync(content);
      content = resynced;
    }
  }
  frames_.emplace_back(id, frameFlags, std::vector<std::uint8_t>(data.begin(), data.end()),
                       std::vector<std::uint8_t>(content.begin(), content.end()), readable);
  return true;
}

int Id3v2Tag::Find(std::string_view id) const {
  const auto it = std::find_if(frames_.begin(), frames_.end(),
                               [id](const Id3v2Frame& frame) { return frame.id() == id; });
  return it == frames_.end() ? -1 : static_cast<int>(it - frames_.begin());
}

std::optional<std::vector<std::uint8_t>> Id3v2Tag::Render(std::size_t room) const {
  if (!problem_.empty()) return std::nullopt;
  const int out = OutputMajor();
  const bool keepUnsync = out == 4 && major == 4 && (flags & id3flag::kUnsynchronisation) != 0;
  const bool footer = out == 4 && major == 4 && (flags & id3flag::kFooter) != 0;
  std::vector<std::uint8_t> body;
  for (const Id3v2Frame& frame : frames_) {
    if (frame.id().size() != 4) return std::nullopt;
    std::vector<std::uint8_t> unsynced;
    Bytes stored = frame.stored();
    std::uint16_t frameFlags = frame.flags();
    if (stored.empty()) continue;
    if (keepUnsync && frame.modified()) {
      unsynced = ApplyUnsync(stored);
      stored = unsynced;
      frameFlags |= kV4Unsync;
    }
    if (stored.size() > kMaxSize) return std::nullopt;
    body.insert(body.end(), frame.id().begin(), frame.id().end());
    if (out == 4)
      PutSyncsafe32(body, static_cast<std::uint32_t>(stored.size()));
    else
      PutBigEndian32(body, static_cast<std::uint32_t>(stored.size()));
    body.push_back(static_cast<std::uint8_t>(frameFlags >> 8));
    body.push_back(static_cast<std::uint8_t>(frameFlags & 0xFF));
    body.insert(body.end(), stored.begin(), stored.end());
  }
  body.insert(body.end(), unreadFrames_.begin(), unreadFrames_.end());
  if (body.empty()) return std::vector<std::uint8_t>{};
  if (!footer) {
    const std::size_t total = Id3v2Header::kSize + body.size();
    body.resize(body.size() + (total <= room ? room - total : kPadding), 0);
  }
  if (body.size() > kMaxSize) return std::nullopt;
  const std::uint8_t outFlags = static_cast<std::uint8_t>(
      (keepUnsync ? id3flag::kUnsynchronisation : 0) | (footer ? id3flag::kFooter : 0));
  std::vector<std::uint8_t> tag{'I', 'D', '3', static_cast<std::uint8_t>(out), 0, outFlags};
  PutSyncsafe32(tag, static_cast<std::uint32_t>(body.size()));
  tag.reserve(tag.size() + body.size() + (footer ? Id3v2Header::kSize : 0));
  tag.insert(tag.end(), body.begin(), body.end());
  if (footer) {
    const std::vector<std::uint8_t> header(tag.begin(), tag.begin() + Id3v2Header::kSize);
    tag.insert(tag.end(), {'3', 'D', 'I'});
    tag.insert(tag.end(), header.begin() + 3, header.end());
  }
  return tag;
}

}  // namespace info
