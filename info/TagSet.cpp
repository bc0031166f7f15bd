#include "info/TagSet.h"

#include <array>
#include <cerrno>
#include <cstring>

#include "info/MappedFile.h"
#include "info/TagFileWriter.h"

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

}  // namespace

bool TagSet::Read(const std::string& path) {
  v1.Clear();
  v2.Clear();
  MappedFile file;
  if (!file.Open(path)) {
    error_ = "cannot read " + path + ": " + std::strerror(file.error());
    return false;
  }
  const bool haveV1 = file.size() >= Id3v1Tag::kSize;
  if (haveV1) v1.Parse(file.bytes().last<Id3v1Tag::kSize>());
  const bool haveV2 = v2.Parse(file.bytes());
  return haveV1 || haveV2;
}

std::optional<std::string> TagSet::FrameText(std::string_view id) const {
  if (v2.present) {
    const int index = v2.Find(id);
    if (index >= 0) return v2.Frames()[static_cast<std::size_t>(index)].Text();
  }
  if (v1.present)
    if (const FallbackField* row = FallbackOf(id)) return v1.*(row->field);
  return std::nullopt;
}

void TagSet::CopyToId3v1(std::string_view id, std::string_view text) {
  if (const FallbackField* row = FallbackOf(id))
    v1.*(row->field) = std::string(text.substr(0, row->length));
  v1.present = true;
}

void TagSet::SetFrameText(std::string_view id, std::string_view text) {
  text = text.substr(0, text.find('\0'));
  auto& frames = v2.Frames();
  const int index = v2.Find(id);
  if (text.empty()) {
    if (index >= 0) frames.erase(frames.begin() + index);
  } else if (index >= 0) {
    frames[static_cast<std::size_t>(index)].SetText(text);
  } else if (auto frame = Id3v2Frame::Create(id, text)) {
    frames.push_back(std::move(*frame));
  }
  CopyToId3v1(id, text);
  v2.present = true;
}

bool TagSet::Write(const std::string& path) {
  for (const FallbackField& row : kFallback) {
    const int index = v2.Find(row.frame);
    if (index < 0) continue;
    if (const auto text = v2.Frames()[static_cast<std::size_t>(index)].Text())
      CopyToId3v1(row.frame, *text);
  }
  v1.present = true;
  const Id3v1Tag::Block tail = v1.Render();
  const auto head = v2.Render();
  if (!head) {
    error_ = "cannot write " + path + ": the ID3v2 tag would exceed 256 MB";
    return false;
  }
  TagFileWriter writer(path);
  if (!writer.Replace(*head, tail)) {
    error_ = writer.error();
    return false;
  }
  return true;
}

}  // namespace info
