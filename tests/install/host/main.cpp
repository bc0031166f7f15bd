// Creates the audio edit control and the track factory by ProgID, as any host would, and
// prints one line about each. Exit status 0 when both were created.
#include <cstdio>

#include "audioedit/control/IAudioEditCtl.h"
#include "info/InfoInterfaces.h"
#include "platform/com/ComPtr.h"
#include "platform/registry/Activation.h"

namespace {

template <typename I>
com::HRESULT Create(const char16_t* progId, const com::IID& iid, com::ComPtr<I>& object) {
  com::CLSID clsid{};
  const com::HRESULT hr = com::CLSIDFromProgID(progId, &clsid);
  if (com::FAILED(hr)) return hr;
  return com::CoCreateInstance(clsid, nullptr, com::CLSCTX_INPROC_SERVER, iid, object.PutVoid());
}

int Run() {
  com::ComPtr<audioedit::IAudioEditCtl> control;
  com::HRESULT hr = Create(u"Tavolex.AudioEditCtl", audioedit::IID_IAudioEditCtl, control);
  if (com::FAILED(hr)) {
    std::fprintf(stderr, "tavolex-host: cannot create Tavolex.AudioEditCtl: 0x%08X\n",
                 static_cast<unsigned>(hr));
    return 1;
  }
  com::UINT minSplit = 0;
  control->get_MinSplitFrames(&minSplit);
  std::printf("Tavolex.AudioEditCtl: MinSplitFrames %u\n", minSplit);

  com::ComPtr<info::ITrackFactory> factory;
  hr = Create(u"Info.TrackFactory", info::IID_ITrackFactory, factory);
  if (com::FAILED(hr)) {
    std::fprintf(stderr, "tavolex-host: cannot create Info.TrackFactory: 0x%08X\n",
                 static_cast<unsigned>(hr));
    return 1;
  }
  std::printf("Info.TrackFactory: created\n");
  return 0;
}

}  // namespace

int main() {
  if (com::FAILED(com::CoInitialize(nullptr))) return 1;
  const int status = Run();
  com::CoUninitialize();
  return status;
}
