#include "info/MpegTrack.h"

#include "info/AttributeFrameMap.h"
#include "info/MpegInfo.h"
#include "info/Pictures.h"
#include "info/TagSet.h"
#include "platform/com/CodePage.h"
#include "platform/com/Stream.h"

namespace info {

namespace {

std::u16string_view View(com::BSTR text) { return {text ? text : u"", com::SysStringLen(text)}; }

}  // namespace

com::HRESULT MpegTrack::get_AttributeSupported(EAttribute attribute, com::BOOL* supported) {
  if (supported == nullptr) return com::E_POINTER;
  *supported = FrameOfAttribute(attribute).empty() ? com::FALSE : com::TRUE;
  return attribute >= eaBegin && attribute <= eaEnd ? com::S_OK : com::E_INVALIDARG;
}

com::HRESULT MpegTrack::Load(com::BSTR location, com::BOOL* loaded) {
  if (loaded == nullptr) return com::E_POINTER;
  attributes().Clear();
  pictures_.clear();
  attributes().Set(eaLocation, com::Variant::FromString(View(location)));
  *loaded = com::FALSE;
  const std::string path = com::Utf16ToUtf8(View(location));
  TagSet tags;
  if (!tags.Read(path)) return com::S_OK;
  StoreStreamFigures(path);
  StoreTexts(tags);
  StorePictures(tags);
  *loaded = com::TRUE;
  return com::S_OK;
}

void MpegTrack::StoreStreamFigures(const std::string& path) {
  MpegInfo mpeg;
  if (!mpeg.Load(path)) return;
  attributes().Set(eaStatistics, com::Variant::FromBstr(com::Bstr::FromAnsi(mpeg.StatisticsText())));
  attributes().Set(eaChannels, com::Variant::FromLong(mpeg.channels));
  attributes().Set(eaBitrate, com::Variant::FromLong(mpeg.bitrate));
  attributes().Set(eaFrequency, com::Variant::FromLong(mpeg.samplingRate));
  attributes().Set(eaDuration, com::Variant::FromLong(mpeg.durationMs));
}

void MpegTrack::StoreTexts(const TagSet& tags) {
  for (const AttributeFrameRow& row : AttributeFrameMap()) {
    if (row.frame.empty()) continue;
    const auto text = tags.FrameText(row.frame);
    if (text && !text->empty()) attributes().Set(row.attribute, com::Variant::FromBstr(com::Bstr::FromAnsi(*text)));
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
  attributes().Set(eaPictures, com::Variant::FromDispatch(static_cast<IPictures*>(collection.Get())));
}

com::HRESULT MpegTrack::Save(com::BSTR location, com::BOOL* saved) {
  if (saved == nullptr) return com::E_POINTER;
  const std::string path = com::Utf16ToUtf8(View(location));
  TagSet tags;
  tags.Read(path);  // a missing file is created with just the tags
  for (const AttributeFrameRow& row : AttributeFrameMap()) {
    if (row.frame.empty()) continue;
    const com::VARIANT* value = attributes().Find(row.attribute);
    if (value == nullptr || value->vt != com::VT_BSTR) continue;
    tags.SetFrameText(row.frame, com::Utf16ToAnsi(View(value->bstrVal)));
  }
  const bool ok = tags.Write(path);
  saveError_ = ok ? std::string() : tags.error();
  *saved = ok ? com::TRUE : com::FALSE;
  return com::S_OK;
}

}  // namespace info
