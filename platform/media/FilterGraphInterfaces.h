// The playback interfaces of the filter graph, the component that plays a media file:
// IGraphBuilder builds the playback chain for a file, IMediaControl runs, pauses and stops
// it, IMediaSeeking sets and reads the position, IMediaEventEx hands out the graph's events
// and tells a window when some are queued, IBasicAudio sets the volume.
//
// Positions are counted in 100-nanosecond units (TIME_FORMAT_MEDIA_TIME). The graph is
// created through the class registry under CLSID_FilterGraph (libFilterGraph.so).
#pragma once

#include <cstdint>

#include "platform/com/Unknown.h"
#include "platform/window/WindowPort.h"

namespace media {

using com::DWORD;
using com::HRESULT;
using com::LONG;
using com::LONGLONG;
using com::LPCOLESTR;

inline constexpr com::CLSID CLSID_FilterGraph =
    com::MakeGuid("{E436EBB3-524F-11CE-9F53-0020AF0BA770}");
inline constexpr com::IID IID_IGraphBuilder =
    com::MakeGuid("{56A868A9-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr com::IID IID_IMediaControl =
    com::MakeGuid("{56A868B1-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr com::IID IID_IMediaSeeking =
    com::MakeGuid("{36B73880-C2C8-11CF-8B46-00805F6CEF60}");
inline constexpr com::IID IID_IMediaEventEx =
    com::MakeGuid("{56A868C0-0AD4-11CE-B03A-0020AF0BA770}");
inline constexpr com::IID IID_IBasicAudio = com::MakeGuid("{56A868B3-0AD4-11CE-B03A-0020AF0BA770}");
// Positions in 100-nanosecond units.
inline constexpr com::GUID TIME_FORMAT_MEDIA_TIME =
    com::MakeGuid("{7B785574-8C82-11CF-BC0C-00AA00AC74F6}");

// The window the graph notifies, and the pointer-sized values of events.
using OAHWND = win::WindowPort*;
using LONG_PTR = std::intptr_t;

// States of IMediaControl::GetState.
using OAFilterState = LONG;
inline constexpr OAFilterState State_Stopped = 0;
inline constexpr OAFilterState State_Paused = 1;
inline constexpr OAFilterState State_Running = 2;

// Event codes of IMediaEventEx::GetEvent.
inline constexpr LONG EC_COMPLETE = 0x01;    // the end of the stream was played
inline constexpr LONG EC_ERRORABORT = 0x03;  // playback stopped on an error; param1 the status

// Flags of IMediaSeeking::SetPositions.
inline constexpr DWORD AM_SEEKING_NoPositioning = 0x0;
inline constexpr DWORD AM_SEEKING_AbsolutePositioning = 0x1;
inline constexpr DWORD AM_SEEKING_RelativePositioning = 0x2;
inline constexpr DWORD AM_SEEKING_PositioningBitsMask = 0x3;

// Results beyond the runtime's own.
inline constexpr HRESULT VFW_S_STATE_INTERMEDIATE = com::MakeHresult(0x00040237);
inline constexpr HRESULT VFW_E_NOT_FOUND = com::MakeHresult(0x80040216);
inline constexpr HRESULT VFW_E_CANNOT_RENDER = com::MakeHresult(0x80040218);
inline constexpr HRESULT VFW_E_UNSUPPORTED_STREAM = com::MakeHresult(0x8004022F);
inline constexpr HRESULT VFW_E_WRONG_STATE = com::MakeHresult(0x80040227);
inline constexpr HRESULT VFW_E_NO_TIME_FORMAT = com::MakeHresult(0x80040257);

class IGraphBuilder : public com::IUnknown {
 public:
  // Builds the whole playback chain for `file`; the graph is then stopped at the start.
  // `playList` must be null.
  virtual HRESULT RenderFile(LPCOLESTR file, LPCOLESTR playList) = 0;

 protected:
  ~IGraphBuilder() = default;
};

class IMediaControl : public com::IUnknown {
 public:
  virtual HRESULT Run() = 0;
  virtual HRESULT Pause() = 0;
  virtual HRESULT Stop() = 0;
  // Waits up to msTimeout for a state change under way; VFW_S_STATE_INTERMEDIATE when it
  // is still going on.
  virtual HRESULT GetState(LONG msTimeout, OAFilterState* state) = 0;
  // Lets the graph cue its data at the current position, then stops it.
  virtual HRESULT StopWhenReady() = 0;

 protected:
  ~IMediaControl() = default;
};

class IMediaSeeking : public com::IUnknown {
 public:
  virtual HRESULT SetTimeFormat(const com::GUID* format) = 0;
  virtual HRESULT GetCurrentPosition(LONGLONG* current) = 0;
  virtual HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                               DWORD stopFlags) = 0;
  virtual HRESULT GetDuration(LONGLONG* duration) = 0;

 protected:
  ~IMediaSeeking() = default;
};

class IMediaEventEx : public com::IUnknown {
 public:
  // The next queued event; E_ABORT when none arrives within msTimeout (negative: no limit).
  virtual HRESULT GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG msTimeout) = 0;
  virtual HRESULT FreeEventParams(LONG eventCode, LONG_PTR param1, LONG_PTR param2) = 0;
  // From now on `message` (wParam 0, lParam `instanceData`) is posted to `window` whenever
  // an event is queued; a null window stops the notifications, and once this returns no
  // further message is posted.
  virtual HRESULT SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData) = 0;

 protected:
  ~IMediaEventEx() = default;
};

class IBasicAudio : public com::IUnknown {
 public:
  // Volume in hundredths of a decibel, -10000 (silence) to 0 (full volume).
  virtual HRESULT put_Volume(LONG volume) = 0;
  virtual HRESULT get_Volume(LONG* volume) = 0;
  virtual HRESULT put_Balance(LONG balance) = 0;
  virtual HRESULT get_Balance(LONG* balance) = 0;

 protected:
  ~IBasicAudio() = default;
};

}  // namespace media
