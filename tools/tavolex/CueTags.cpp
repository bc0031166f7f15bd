#include "tools/tavolex/CueTags.h"

#include "audioedit/AudioReader.h"
#include "info/InfoInterfaces.h"
#include "platform/com/Bstr.h"
#include "platform/com/CodePage.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Variant.h"
#include "platform/fileio/PathText.h"
#include "platform/registry/Activation.h"

namespace tavolex_cli {
namespace {

std::string Text(info::ITrack& track, info::EAttribute attribute) {
  com::Variant value;
  if (com::FAILED(track.get_Attribute(attribute, value.Put())) || value.Type() != com::VT_BSTR ||
      value.Get().bstrVal == nullptr)
    return {};
  const com::BSTR text = value.Get().bstrVal;
  std::string utf8 = com::Utf16ToUtf8(std::u16string_view(text, com::SysStringLen(text)));
  return audioedit::cue::IsCueText(utf8) ? utf8 : std::string{};
}

audioedit::cue::CueText ReadTags(const std::string& audio) {
  com::CLSID clsid{};
  com::ComPtr<info::ITrackFactory> factory;
  if (com::FAILED(com::CLSIDFromProgID(u"Info.TrackFactory", &clsid)) ||
      com::FAILED(com::CoCreateInstance(clsid, nullptr, com::CLSCTX_INPROC_SERVER,
                                        info::IID_ITrackFactory, factory.PutVoid())))
    return {};
  com::ComPtr<com::IDispatch> object;
  com::ComPtr<info::ITrack> track;
  if (com::FAILED(factory->CreateInstance(info::efMPEG, object.Put())) || !object ||
      com::FAILED(object->QueryInterface(info::IID_ITrack, track.PutVoid())))
    return {};
  const com::Bstr location(fileio::PathToWide(audio));  // the name's bytes, kept
  com::BOOL loaded = com::FALSE;
  if (com::FAILED(track->Load(location.Get(), &loaded)) || loaded != com::TRUE) return {};
  return {Text(*track, info::eaAlbum), Text(*track, info::eaLeadArtist)};
}

}  // namespace

audioedit::cue::CueText TagTexts(const std::string& audio) {
  if (!audioedit::HasMp3Extension(audio)) return {};
  const com::ApartmentScope apartment;
  if (!apartment.Ok()) return {};
  return ReadTags(audio);  // every object is released in there, inside the apartment
}

}  // namespace tavolex_cli
