// The playback graph as the control holds it: the five interfaces of one filter graph, all
// empty until a successful set-up, and the playback state.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/com/ComPtr.h"
#include "platform/media/FilterGraphInterfaces.h"

namespace audioedit {

// Playback state; the state message of a state is state + 4 (AEMSG_State_Stopped,
// AEMSG_State_Paused, AEMSG_State_Running).
enum PlaybackState : std::uint32_t {
  kPlaybackStopped = 0,
  kPlaybackPaused = 1,
  kPlaybackRunning = 2,
};

// Makes a new filter graph and returns its graph builder.
using GraphFactory = std::function<com::HRESULT(media::IGraphBuilder** builder)>;

// The filter graph of the class registry (CLSID_FilterGraph, in-process).
com::HRESULT CreateRegisteredFilterGraph(media::IGraphBuilder** builder);

struct PlaybackGraph {
  com::ComPtr<media::IGraphBuilder> builder;
  com::ComPtr<media::IMediaControl> control;
  com::ComPtr<media::IMediaSeeking> seeking;
  com::ComPtr<media::IMediaEventEx> events;
  com::ComPtr<media::IBasicAudio> audio;

  // Makes the graph and obtains the other four interfaces from its builder, in this order;
  // the first failure ends it with its code.
  com::HRESULT Create(const GraphFactory& factory);
  void Release();
};

}  // namespace audioedit
