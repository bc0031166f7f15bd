#include "info/TagSet.h"

#include <array>

#include "info/TagFileWriter.h"
#include "info/TextCodec.h"

namespace info {

namespace {

struct FallbackField {
  std::string_view frame;
  std::string Id3v1Tag::*field;
  std::size_t length;
};

constexpr std::array<FallbackField, 6> kFallback = {{
    {"COMM", &Id3v1Tag::comment, Id3v1Tag::kTextLength},
    {"TALB", &Id3v1Tag::album, Id3v1Tag::kTextLength},
    {"TCON", &Id3v1Tag::genre, Id3v1Tag::kGenreLength},
    {"TIT2", &Id3v1Tag::title, Id3v1Tag::kTextLength},
    {"TPE1", &Id3v1Tag::artist, Id3v1Tag::kTextLength},
    {"TYER", &Id3v1Tag::year, Id3v1Tag::kYearLength},
}};

const FallbackField* FallbackOf(std::string_view id) {
  for (const FallbackField& row : kFallback)
    if (row.frame == id) return &row;
  return nullptr;
}

std::string Latin1Bytes(std::u16string_view text) {
  const std::vector<std::uint8_t> bytes = EncodeText(encoding::kLatin1, text);
  return std::string(bytes.begin(), bytes.end());
}

std::u16string FromLatin1(std::string_view text) {
  return DecodeText(encoding::kLatin1,
                    {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

bool HasDescriptionRule(std::string_view id) {
  return id == "COMM" || id == "USLT" || id == "TXXX" || id == "WXXX";
}

}  // namespace

bool TagSet::Parse(std::span<const std::uint8_t> file) {
  v1.Clear();
  v2.Clear();
  v1Changed_ = false;
  v2Changed_ = false;
  audio_ = LocateAudio(file);
  const bool haveV2 = v2.Parse(file);
  hadId3v2_ = haveV2;
  const bool haveV1 = file.size() >= Id3v1Tag::kSize;
  if (haveV1 && audio_.end + Id3v1Tag::kSize == file.size()) v1.Parse(file.last<Id3v1Tag::kSize>());
  return haveV1 || haveV2;
}

bool TagSet::Read(const std::string& path) {
  FileSnapshot file;
  if (!file.Read(path)) {
    error_ = "cannot read " + path + ": " + file.error();
    v1.Clear();
    v2.Clear();
    return false;
  }
  if (!Parse(file.bytes())) {
    error_ =
        "cannot read the tags of " + path + ": it is shorter than 128 bytes and has no ID3v2 tag";
    return false;
  }
  return true;
}

std::string_view TagSet::FrameIdFor(std::string_view id) const {
  if (v2.OutputMajor() == 4 && id == "TYER") return "TDRC";  // the recording time replaced the year
  return id;
}

int TagSet::AttributeFrame(std::string_view id) const {
  id = FrameIdFor(id);
  const auto& frames = v2.Frames();
  int first = -1;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (frames[i].id() != id) continue;
    if (id == "PRIV") {
      if (frames[i].Text()) return static_cast<int>(i);  // only a private frame without owner
      continue;
    }
    if (!HasDescriptionRule(id) || frames[i].Description().empty()) return static_cast<int>(i);
    if (first < 0) first = static_cast<int>(i);
  }
  return first;
}

std::optional<std::u16string> TagSet::FrameText(std::string_view id) const {
  if (v2.present) {
    const int index = AttributeFrame(id);
    if (index >= 0) return v2.Frames()[static_cast<std::size_t>(index)].Text();
  }
  if (v1.present)
    if (const FallbackField* row = FallbackOf(id)) return FromLatin1(v1.*(row->field));
  return std::nullopt;
}

bool TagSet::SetFrameText(std::string_view id, std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));
  auto& frames = v2.Frames();
  const int index = AttributeFrame(id);
  if (text.empty()) {
    if (index >= 0) frames.erase(frames.begin() + index);
  } else if (index >= 0) {
    if (!frames[static_cast<std::size_t>(index)].SetText(text, v2.OutputMajor())) {
      error_ = "the " + std::string(FrameIdFor(id)) +
               " frame cannot hold this text (characters outside ISO-8859-1)";
      return false;
    }
  } else {
    Id3v2Frame frame(FrameIdFor(id));
    if (!frame.SetText(text, v2.OutputMajor())) {
      error_ = "a " + std::string(FrameIdFor(id)) + " frame cannot be written from a text";
      return false;
    }
    frames.push_back(std::move(frame));
  }
  if (const FallbackField* row = FallbackOf(id)) {
    const std::string bytes = Latin1Bytes(text);
    if (id == "TCON")
      v1.SetGenre(bytes.substr(0, row->length));
    else
      v1.*(row->field) = bytes.substr(0, row->length);
    v1Changed_ = true;  // the ID3v1 tag present keeps its other fields
  }
  v2.present = true;
  v2Changed_ = true;
  return true;
}

std::optional<std::vector<std::uint8_t>> TagSet::RenderId3v2() const {
  return v2.Render(audio_.begin);
}

std::optional<Id3v1Tag::Block> TagSet::RenderId3v1() {
  if (!v1Changed_) return std::nullopt;
  if (!v1.present) {
    // A file without an ID3v1 tag gets one only when it had no ID3v2 tag either; then the
    // ID3v1 tag repeats the six texts of the ID3v2 frames.
    if (hadId3v2_) return std::nullopt;
    for (const FallbackField& row : kFallback) {
      const int index = AttributeFrame(row.frame);
      if (index < 0) continue;
      const auto text = v2.Frames()[static_cast<std::size_t>(index)].Text();
      if (!text) continue;
      const std::string bytes = Latin1Bytes(*text).substr(0, row.length);
      if (row.frame == "TCON")
        v1.SetGenre(bytes);
      else
        v1.*(row.field) = bytes;
    }
  }
  v1.present = true;
  return v1.Render();
}

std::string TagSet::SaveProblem() const { return v2.saveProblem(); }

bool TagSet::Update(const std::string& path, const std::optional<FileIdentity>& expected,
                    const std::function<bool(TagSet&)>& change, std::string& error) {
  TagFileWriter file(path);
  if (!file.Open(expected)) {
    error = file.error();
    return false;
  }
  TagSet tags;
  tags.Parse(file.bytes());
  std::string problem = tags.SaveProblem();
  if (problem.empty()) problem = MpegAudioProblem(file.bytes(), tags.audio_);
  if (!problem.empty()) {
    error = "cannot save " + path + ": " + problem;
    return false;
  }
  if (!change(tags)) {
    error = "cannot save " + path + ": " + tags.error();
    return false;
  }
  auto head = tags.RenderId3v2();
  if (!tags.v2Changed_)
    head = std::vector<std::uint8_t>(
        file.bytes().begin(),
        file.bytes().begin() + static_cast<std::ptrdiff_t>(tags.audio_.begin));
  if (!head) {
    error = "cannot save " + path + ": the ID3v2 tag would exceed 256 MB";
    return false;
  }
  const auto tail = tags.RenderId3v1();
  std::optional<std::span<const std::uint8_t>> tailBytes;
  if (tail) tailBytes = std::span<const std::uint8_t>(*tail);
  if (!file.Replace(std::span<const std::uint8_t>(*head), tailBytes)) {
    error = file.error();
    return false;
  }
  return true;
}

}  // namespace info
