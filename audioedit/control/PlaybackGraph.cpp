#include "audioedit/control/PlaybackGraph.h"

#include "platform/registry/Activation.h"

namespace audioedit {

com::HRESULT CreateRegisteredFilterGraph(media::IGraphBuilder** builder) {
  return com::CoCreateInstance(media::CLSID_FilterGraph, nullptr, com::CLSCTX_INPROC_SERVER,
                               media::IID_IGraphBuilder, reinterpret_cast<void**>(builder));
}

com::HRESULT PlaybackGraph::Create(const GraphFactory& factory) {
  com::HRESULT hr = factory ? factory(builder.Put()) : com::E_UNEXPECTED;
  if (com::SUCCEEDED(hr) && !builder) hr = com::E_NOINTERFACE;
  if (com::SUCCEEDED(hr)) hr = builder->QueryInterface(media::IID_IMediaControl, control.PutVoid());
  if (com::SUCCEEDED(hr)) hr = builder->QueryInterface(media::IID_IMediaSeeking, seeking.PutVoid());
  if (com::SUCCEEDED(hr)) hr = builder->QueryInterface(media::IID_IMediaEventEx, events.PutVoid());
  if (com::SUCCEEDED(hr)) hr = builder->QueryInterface(media::IID_IBasicAudio, audio.PutVoid());
  return hr;
}

void PlaybackGraph::Release() {
  control.Reset();
  seeking.Reset();
  builder.Reset();
  audio.Reset();
  events.Reset();
}

}  // namespace audioedit
