#include "info/MpegTrack.h"

#include <sys/stat.h>

#include "info/AttributeFrameMap.h"
#include "info/LocationPath.h"
#include "info/MpegInfo.h"
#include "info/Pictures.h"
#include "info/TagSet.h"
#include "platform/com/ErrorInfo.h"
#include "platform/com/Stream.h"

namespace info {

namespace {

std::u16string_view View(com::BSTR text) { return {text ? text : u"", com::SysStringLen(text)}; }

com::Variant TextVariant(std::u16string_view text) { return com::Variant::FromString(text); }

}  // namespace

com::HRESULT MpegTrack::get_AttributeSupported(EAttribute attribute, com::BOOL* supported) {
  if (supported == nullptr) return com::E_POINTER;
  *supported = FrameOfAttribute(attribute).empty() ? com::FALSE : com::TRUE;
  return attribute >= eaBegin && attribute <= eaEnd ? com::S_OK : com::E_INVALIDARG;
}

void MpegTrack::Report(const std::string& message) {
  error_ = message;
  com::SetErrorInfo(
      0, com::CreateErrorInfo(IID_ITrack, u"Info.Track", LocationFromPath(message)).Get());
}

com::HRESULT MpegTrack::Load(com::BSTR location, com::BOOL* loaded) {
  if (loaded == nullptr) return com::E_POINTER;
  com::SetErrorInfo(0, nullptr);
  attributes().Clear();
  pictures_.clear();
  loadedPath_.reset();
  loadedTexts_.clear();
  attributes().Set(eaLocation, com::Variant::FromString(View(location)));
  *loaded = com::FALSE;
  const std::string path = PathFromLocation(View(location));
  FileSnapshot file;
  if (!file.Read(path)) {
    Report("cannot read " + path + ": " + file.error());
    return com::S_OK;
  }
  TagSet tags;
  if (!tags.Parse(file.bytes())) {
    Report("cannot read the tags of " + path +
           ": it is shorter than 128 bytes and has no ID3v2 tag");
    return com::S_OK;
  }
  StoreStreamFigures(file.bytes());
  StoreTexts(tags);
  StorePictures(tags);
  loadedPath_ = path;
  loadedIdentity_ = file.identity();
  *loaded = com::TRUE;
  return com::S_OK;
}

void MpegTrack::StoreStreamFigures(std::span<const std::uint8_t> file) {
  MpegInfo mpeg;
  if (!mpeg.Load(file)) return;
  attributes().Set(eaStatistics,
                   com::Variant::FromBstr(com::Bstr::FromAnsi(mpeg.StatisticsText())));
  attributes().Set(eaChannels, com::Variant::FromLong(mpeg.channels));
  attributes().Set(eaBitrate, com::Variant::FromLong(mpeg.bitrate));
  attributes().Set(eaFrequency, com::Variant::FromLong(mpeg.samplingRate));
  attributes().Set(eaDuration, com::Variant::FromLong(mpeg.durationMs));
}

void MpegTrack::StoreTexts(const TagSet& tags) {
  for (const AttributeFrameRow& row : AttributeFrameMap()) {
    if (row.frame.empty()) continue;
    const auto text = tags.FrameText(row.frame);
    if (!text || text->empty()) continue;
    attributes().Set(row.attribute, TextVariant(*text));
    loadedTexts_[row.attribute] = *text;
  }
}

void MpegTrack::StorePictures(const TagSet& tags) {
  for (const Id3v2Frame& frame : tags.v2.Frames()) {
    if (frame.id() != "APIC") continue;
    const auto data = frame.pictureData();
    pictures_.push_back({std::make_shared<std::vector<std::uint8_t>>(data.begin(), data.end()),
                         static_cast<std::uint32_t>(data.size())});
  }
  if (pictures_.empty()) return;
  com::ComPtr<Pictures> collection = com::MakeObject<Pictures>(module());
  if (!collection) return;
  for (const PictureRecord& record : pictures_)
    if (auto stream = com::CreateStreamOnSharedBlock(record.data)) collection->Add(stream.Get());
  attributes().Set(eaPictures,
                   com::Variant::FromDispatch(static_cast<IPictures*>(collection.Get())));
}

com::HRESULT MpegTrack::Save(com::BSTR location, com::BOOL* saved) {
  if (saved == nullptr) return com::E_POINTER;
  com::SetErrorInfo(0, nullptr);
  *saved = com::FALSE;
  const std::string path = PathFromLocation(View(location));
  const bool sameFile = loadedPath_ && *loadedPath_ == path;
  // The texts to write: those the host changed since Load (every text for another file).
  std::vector<std::pair<int, std::u16string>> changes;
  for (const AttributeFrameRow& row : AttributeFrameMap()) {
    if (row.frame.empty()) continue;
    const com::VARIANT* value = attributes().Find(row.attribute);
    if (value == nullptr || value->vt != com::VT_BSTR) continue;
    const std::u16string text(View(value->bstrVal));
    const auto loaded = loadedTexts_.find(row.attribute);
    const std::u16string before =
        sameFile && loaded != loadedTexts_.end() ? loaded->second : std::u16string();
    if (sameFile && text == before) continue;
    if (!sameFile && text.empty()) continue;
    changes.emplace_back(row.attribute, text);
  }
  std::string error;
  const bool ok = TagSet::Update(
      path, sameFile ? std::optional<FileIdentity>(loadedIdentity_) : std::nullopt,
      [&changes](TagSet& tags) {
        for (const auto& [attribute, text] : changes)
          if (!tags.SetFrameText(FrameOfAttribute(attribute), text)) return false;
        return true;
      },
      error);
  if (!ok) {
    Report(error);
    return com::S_OK;
  }
  // The track now describes the saved file: a later Save of the same track continues from it.
  struct stat st {};
  if (sameFile && ::stat(path.c_str(), &st) == 0) {
    loadedIdentity_ = {st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
    for (const auto& [attribute, text] : changes) loadedTexts_[attribute] = text;
  }
  error_.clear();
  *saved = com::TRUE;
  return com::S_OK;
}

}  // namespace info
