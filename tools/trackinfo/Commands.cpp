#include "tools/trackinfo/Commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string_view>

#include "info/AttributeFrameMap.h"
#include "info/LocationPath.h"
#include "info/TextCodec.h"
#include "platform/com/ErrorInfo.h"
#include "platform/com/Stream.h"
#include "platform/com/Variant.h"
#include "tools/trackinfo/InfoLibrary.h"
#include "tools/trackinfo/JsonText.h"

namespace trackinfo {

namespace {

using info::ITrack;

constexpr int kSaveAttempts = 50;

int Fail(const std::string& message) {
  std::cerr << "trackinfo: " << message << "\n";
  return 1;
}

int BadUsage(const std::string& message) {
  std::cerr << "trackinfo: " << message << "\n";
  return 2;
}

std::u16string_view View(com::BSTR text) { return {text ? text : u"", com::SysStringLen(text)}; }

// The reason the library left for its last failure, as the bytes it names files with.
std::string LibraryReason(const std::string& fallback) {
  com::ComPtr<com::IErrorInfo> info;
  if (com::GetErrorInfo(0, info.Put()) != com::S_OK || !info) return fallback;
  com::BSTR description = nullptr;
  if (com::FAILED(info->GetDescription(&description)) || description == nullptr) return fallback;
  const std::string reason = info::PathFromLocation(View(description));
  com::SysFreeString(description);
  return reason.empty() ? fallback : reason;
}

com::Bstr Location(const std::string& file) { return com::Bstr(info::LocationFromPath(file)); }

// Loads `file` into a new track; null after printing why when that is impossible.
com::ComPtr<ITrack> LoadTrack(InfoLibrary& library, const std::string& file) {
  com::ComPtr<ITrack> track = library.NewTrackFor(file);
  if (!track) {
    Fail("the library gave no track for " + file);
    return {};
  }
  com::BOOL ok = com::FALSE;
  track->Load(Location(file).Get(), &ok);
  if (ok != com::TRUE) {
    Fail(LibraryReason("cannot read the tags of " + file));
    return {};
  }
  return track;
}

std::string Printable(std::u16string_view text) {
  std::string out;
  const std::string utf8 = info::WideToUtf8(text);
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    if (utf8[i] == '\r' || utf8[i] == '\n')
      out += "\\n";
    else
      out += utf8[i];
  }
  return out;
}

com::ComPtr<info::IPictures> PicturesOf(ITrack& track) {
  com::Variant value;
  if (com::FAILED(track.get_Attribute(info::eaPictures, value.Put())) ||
      value.Type() != com::VT_DISPATCH || value.Get().pdispVal == nullptr)
    return {};
  return com::ComPtr<com::IDispatch>(value.Get().pdispVal).As<info::IPictures>(info::IID_IPictures);
}

// One attribute's value: its text, or its number (`number` set) as decimal text.
struct Value {
  std::u16string text;
  bool number = false;
};

std::vector<std::pair<std::string_view, Value>> Attributes(ITrack& track) {
  std::vector<std::pair<std::string_view, Value>> out;
  for (const info::AttributeFrameRow& row : info::AttributeFrameMap()) {
    com::Variant value;
    if (com::FAILED(track.get_Attribute(row.attribute, value.Put()))) continue;
    const com::VARIANT& v = value.Get();
    if (row.attribute == info::eaPictures) {
      if (v.vt != com::VT_DISPATCH) continue;
      com::LONG count = 0;
      if (auto pictures = PicturesOf(track)) pictures->get_Count(&count);
      out.push_back({row.name, {info::Utf8ToWide(std::to_string(count)), true}});
    } else if (v.vt == com::VT_BSTR) {
      out.push_back({row.name, {std::u16string(View(v.bstrVal)), false}});
    } else if (v.vt != com::VT_EMPTY) {
      com::Variant number = value.Copy();
      if (com::SUCCEEDED(number.ChangeType(com::VT_BSTR)))
        out.push_back({row.name, {std::u16string(View(number.Get().bstrVal)), true}});
    }
  }
  return out;
}

void PrintText(ITrack& track) {
  for (const auto& [name, value] : Attributes(track)) {
    // The location is the file name: printed as its bytes.
    const std::string text =
        name == "eaLocation" ? info::PathFromLocation(value.text) : Printable(value.text);
    std::printf("%s: %s\n", std::string(name).c_str(), text.c_str());
  }
}

void PrintJson(const std::string& file, ITrack& track, bool first) {
  std::string out = first ? "\n  {" : ",\n  {";
  out += "\"file\": " + JsonString(info::LocationFromPath(file));
  for (const auto& [name, value] : Attributes(track)) {
    out += ", " + JsonString(info::Utf8ToWide(name)) + ": ";
    out += value.number ? info::WideToUtf8(value.text) : JsonString(value.text);
  }
  out += "}";
  std::fputs(out.c_str(), stdout);
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const info::Utf8Step step = info::ReadUtf8(text, i);
    if (step.length == 0) return false;
    i += step.length;
  }
  return true;
}

bool IsRetryable(const std::string& reason) {
  return reason.find("since it was read") != std::string::npos ||
         reason.find("while it was being saved") != std::string::npos;
}

// Writes `bytes` to `path` through a temporary file in the same folder renamed on success.
bool WriteFileAtomically(const std::string& path, std::span<const char> bytes, std::string& error) {
  const auto slash = path.rfind('/');
  std::string temp =
      (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) + "/.ti-XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    error = "cannot create a temporary file for " + path + ": " + std::strerror(errno);
    return false;
  }
  bool ok = ::fchmod(fd, 0644) == 0;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  const int code = errno;
  ok = ::close(fd) == 0 && ok;
  if (ok && ::rename(temp.c_str(), path.c_str()) == 0) return true;
  error = "cannot write " + path + ": " + std::strerror(ok ? errno : code);
  ::unlink(temp.c_str());
  return false;
}

}  // namespace

int Show(InfoLibrary& library, const std::vector<std::string>& args) {
  bool json = false;
  std::vector<std::string> files;
  for (const std::string& arg : args) {
    if (arg == "--json")
      json = true;
    else
      files.push_back(arg);
  }
  if (files.empty()) return BadUsage("show needs at least one FILE");
  int status = 0;
  bool first = true;
  if (json) std::fputs("[", stdout);
  for (const std::string& file : files) {
    com::ComPtr<ITrack> track = LoadTrack(library, file);
    if (!track) {
      status = 1;
      continue;
    }
    if (json) {
      PrintJson(file, *track, first);
    } else {
      if (files.size() > 1) std::printf("# %s\n", file.c_str());
      PrintText(*track);
    }
    first = false;
  }
  if (json) std::fputs(first ? "]\n" : "\n]\n", stdout);
  return status;
}

// Whether the tags of `file`'s kind keep `attribute` as text: an ID3 frame for MPEG files, a
// named attribute for Windows Media files. Pictures and the stream's figures never are.
bool Writable(InfoLibrary& library, const std::string& file, int attribute) {
  if (attribute == info::eaPictures) return false;
  if (!InfoLibrary::IsWindowsMediaName(file)) return !info::FrameOfAttribute(attribute).empty();
  const com::ComPtr<ITrack> track = library.NewTrackFor(file);
  com::BOOL supported = com::FALSE;
  return track &&
         com::SUCCEEDED(
             track->get_AttributeSupported(static_cast<info::EAttribute>(attribute), &supported)) &&
         supported == com::TRUE;
}

int Set(InfoLibrary& library, const std::vector<std::string>& args) {
  if (args.size() < 2) return BadUsage("set needs FILE and at least one eaName=value");
  const std::string& file = args[0];
  std::vector<std::pair<int, std::string>> values;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& assignment = args[i];
    const auto equals = assignment.find('=');
    const std::string name = assignment.substr(0, equals);
    const int attribute = info::AttributeByName(name);
    if (equals == std::string::npos || attribute < 0)
      return BadUsage("'" + assignment + "' is not eaName=value with a known attribute name");
    if (!Writable(library, file, attribute))
      return BadUsage(name + " cannot be written: it is not kept in a tag");
    const std::string text = assignment.substr(equals + 1);
    if (!IsValidUtf8(text)) return BadUsage("the value of " + name + " is not UTF-8 text");
    values.emplace_back(attribute, text);
  }
  // Load, change and save; when another program saved the file in between, start again
  // from what it wrote (the library refuses to overwrite it).
  for (int attempt = 1;; ++attempt) {
    com::ComPtr<ITrack> track = LoadTrack(library, file);
    if (!track) return 1;
    for (const auto& [attribute, text] : values) {
      com::Variant value = com::Variant::FromString(info::Utf8ToWide(text));
      track->put_Attribute(static_cast<info::EAttribute>(attribute), value.Get());
    }
    com::BOOL saved = com::FALSE;
    track->Save(Location(file).Get(), &saved);
    if (saved == com::TRUE) return 0;
    const std::string reason = LibraryReason("cannot save the tags into " + file);
    if (!IsRetryable(reason) || attempt == kSaveAttempts) return Fail(reason);
  }
}

int ExtractPictures(InfoLibrary& library, const std::vector<std::string>& args) {
  if (args.size() != 2) return BadUsage("pictures needs FILE and DIR");
  const std::string& file = args[0];
  const std::string& dir = args[1];
  com::ComPtr<ITrack> track = LoadTrack(library, file);
  if (!track) return 1;
  com::ComPtr<info::IPictures> pictures = PicturesOf(*track);
  com::LONG count = 0;
  if (pictures) pictures->get_Count(&count);
  for (com::LONG i = 0; i < count; ++i) {
    com::ComPtr<com::IUnknown> item;
    if (com::FAILED(pictures->get_ItemData(i, item.Put())))
      return Fail("cannot get picture " + std::to_string(i + 1) + " of " + file);
    auto stream = item.As<com::IStream>(com::IID_IStream);
    if (!stream)
      return Fail("picture " + std::to_string(i + 1) + " of " + file + " is not a stream");
    std::vector<char> bytes;
    char buffer[65536];
    com::ULONG n = 0;
    while (com::SUCCEEDED(stream->Read(buffer, sizeof buffer, &n)) && n > 0)
      bytes.insert(bytes.end(), buffer, buffer + n);
    const std::string out = dir + "/picture-" + std::to_string(i + 1) + ".bin";
    std::string error;
    if (!WriteFileAtomically(out, bytes, error)) return Fail(error);
    std::printf("%s\n", out.c_str());
  }
  return 0;
}

}  // namespace trackinfo
