#include "tools/trackinfo/InfoLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace trackinfo {

namespace {

using GetClassObjectFn = com::HRESULT (*)(com::REFCLSID, com::REFIID, void**);

std::string LibraryPath() {
  if (const char* path = std::getenv("INFO_LIBRARY")) return path;
  char exe[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return "libInfo.so";
  std::string dir(exe, static_cast<std::size_t>(n));
  dir.erase(dir.rfind('/'));
  return dir + "/../lib/libInfo.so";
}

std::string Hex(com::HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

}  // namespace

InfoLibrary::~InfoLibrary() {
  factory_.Reset();
  if (handle_ != nullptr) ::dlclose(handle_);
}

bool InfoLibrary::Open() {
  const std::string path = LibraryPath();
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    error_ = "cannot load the track information library " + path + ": " + ::dlerror();
    return false;
  }
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(::dlsym(handle_, "DllGetClassObject"));
  if (getClassObject == nullptr) {
    error_ = path + " does not export DllGetClassObject";
    return false;
  }
  com::ComPtr<com::IClassFactory> classFactory;
  com::HRESULT hr =
      getClassObject(info::CLSID_TrackFactory, com::IID_IClassFactory, classFactory.PutVoid());
  if (com::SUCCEEDED(hr))
    hr = classFactory->CreateInstance(nullptr, info::IID_ITrackFactory, factory_.PutVoid());
  if (com::FAILED(hr)) {
    error_ = "cannot create the TrackFactory of " + path + " (status " + Hex(hr) + ")";
    return false;
  }
  return true;
}

com::ComPtr<info::ITrack> InfoLibrary::NewMpegTrack() {
  com::ComPtr<com::IDispatch> track;
  if (!factory_ || com::FAILED(factory_->CreateInstance(info::efMPEG, track.Put())) || !track)
    return {};
  return track.As<info::ITrack>(info::IID_ITrack);
}

bool InfoLibrary::IsWindowsMediaName(const std::string& file) {
  std::string extension = file.size() >= 4 ? file.substr(file.size() - 4) : std::string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".wma" || extension == ".wmv";
}

com::ComPtr<info::ITrack> InfoLibrary::NewTrackFor(const std::string& file) {
  const info::EFormat format = IsWindowsMediaName(file) ? info::efWM : info::efMPEG;
  com::ComPtr<com::IDispatch> track;
  if (!factory_ || com::FAILED(factory_->CreateInstance(format, track.Put())) || !track) return {};
  return track.As<info::ITrack>(info::IID_ITrack);
}

}  // namespace trackinfo
