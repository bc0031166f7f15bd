#include "tools/trackinfo/Commands.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string_view>

#include "info/AttributeFrameMap.h"
#include "platform/com/CodePage.h"
#include "platform/com/Stream.h"
#include "platform/com/Variant.h"
#include "tools/trackinfo/InfoLibrary.h"

namespace trackinfo {

namespace {

using info::ITrack;

int Fail(const std::string& message) {
  std::cerr << "trackinfo: " << message << "\n";
  return 1;
}

// Loads `file` into a new track; null (with a message) when that is impossible.
com::ComPtr<ITrack> LoadTrack(InfoLibrary& library, const std::string& file, bool& loaded) {
  com::ComPtr<ITrack> track = library.NewTrackFor(file);
  if (!track) return track;
  com::Bstr location = com::Bstr::FromUtf8(file);
  com::BOOL ok = com::FALSE;
  track->Load(location.Get(), &ok);
  loaded = ok == com::TRUE;
  return track;
}

std::string Printable(std::u16string_view text) {
  std::string out;
  const std::string utf8 = com::Utf16ToUtf8(text);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    if (utf8[i] == '\r' || utf8[i] == '\n') out += "\\n";
    else out += utf8[i];
  }
  return out;
}

com::ComPtr<info::IPictures> PicturesOf(ITrack& track) {
  com::Variant value;
  if (com::FAILED(track.get_Attribute(info::eaPictures, value.Put())) || value.Type() != com::VT_DISPATCH ||
      value.Get().pdispVal == nullptr)
    return {};
  return com::ComPtr<com::IDispatch>(value.Get().pdispVal).As<info::IPictures>(info::IID_IPictures);
}

void PrintAttributes(ITrack& track) {
  for (const info::AttributeFrameRow& row : info::AttributeFrameMap()) {
    com::Variant value;
    if (com::FAILED(track.get_Attribute(row.attribute, value.Put()))) continue;
    const com::VARIANT& v = value.Get();
    if (row.attribute == info::eaPictures) {
      com::LONG count = 0;
      if (auto pictures = PicturesOf(track)) pictures->get_Count(&count);
      std::printf("%s: %d\n", std::string(row.name).c_str(), count);
    } else if (v.vt == com::VT_BSTR) {
      std::printf("%s: %s\n", std::string(row.name).c_str(),
                  Printable({v.bstrVal ? v.bstrVal : u"", com::SysStringLen(v.bstrVal)}).c_str());
    } else if (v.vt != com::VT_EMPTY) {
      com::Variant number = value.Copy();
      if (com::SUCCEEDED(number.ChangeType(com::VT_BSTR)))
        std::printf("%s: %s\n", std::string(row.name).c_str(),
                    com::Utf16ToUtf8({number.Get().bstrVal, com::SysStringLen(number.Get().bstrVal)}).c_str());
    }
  }
}

}  // namespace

int Show(InfoLibrary& library, const std::vector<std::string>& files) {
  int status = 0;
  for (const std::string& file : files) {
    bool loaded = false;
    com::ComPtr<ITrack> track = LoadTrack(library, file, loaded);
    if (!track) return Fail("the library gave no MPEG track");
    if (!loaded) {
      status = Fail("cannot read the tags of " + file + " (missing, unreadable or shorter than 128 bytes)");
      continue;
    }
    if (files.size() > 1) std::printf("# %s\n", file.c_str());
    PrintAttributes(*track);
  }
  return status;
}

int Set(InfoLibrary& library, const std::string& file, const std::vector<std::string>& assignments) {
  std::vector<std::pair<int, std::string>> values;
  for (const std::string& assignment : assignments) {
    const auto equals = assignment.find('=');
    const int attribute = info::AttributeByName(assignment.substr(0, equals));
    if (equals == std::string::npos || attribute < 0) {
      std::cerr << "trackinfo: '" << assignment << "' is not eaName=value with a known attribute name\n";
      return 2;
    }
    values.emplace_back(attribute, assignment.substr(equals + 1));
  }
  bool loaded = false;
  com::ComPtr<ITrack> track = LoadTrack(library, file, loaded);
  if (!track) return Fail("the library gave no MPEG track");
  for (const auto& [attribute, text] : values) {
    com::Variant value = com::Variant::FromBstr(com::Bstr::FromUtf8(text));
    track->put_Attribute(static_cast<info::EAttribute>(attribute), value.Get());
  }
  com::Bstr location = com::Bstr::FromUtf8(file);
  com::BOOL saved = com::FALSE;
  track->Save(location.Get(), &saved);
  if (saved != com::TRUE) return Fail("cannot save the tags into " + file + " (not writable, or no room beside it)");
  return 0;
}

int ExtractPictures(InfoLibrary& library, const std::string& file, const std::string& dir) {
  bool loaded = false;
  com::ComPtr<ITrack> track = LoadTrack(library, file, loaded);
  if (!track) return Fail("the library gave no MPEG track");
  if (!loaded) return Fail("cannot read the tags of " + file);
  com::ComPtr<info::IPictures> pictures = PicturesOf(*track);
  com::LONG count = 0;
  if (pictures) pictures->get_Count(&count);
  for (com::LONG i = 0; i < count; ++i) {
    com::ComPtr<com::IUnknown> item;
    if (com::FAILED(pictures->get_ItemData(i, item.Put()))) return Fail("cannot get picture " + std::to_string(i + 1));
    auto stream = item.As<com::IStream>(com::IID_IStream);
    if (!stream) return Fail("picture " + std::to_string(i + 1) + " of " + file + " is not a stream");
    const std::string out = dir + "/picture-" + std::to_string(i + 1) + ".bin";
    std::ofstream target(out, std::ios::binary | std::ios::trunc);
    char buffer[65536];
    com::ULONG n = 0;
    while (com::SUCCEEDED(stream->Read(buffer, sizeof buffer, &n)) && n > 0) target.write(buffer, n);
    if (!target.flush()) return Fail("cannot write " + out);
    std::printf("%s\n", out.c_str());
  }
  return 0;
}

}  // namespace trackinfo
