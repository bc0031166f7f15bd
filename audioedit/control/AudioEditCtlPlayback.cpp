// The members of AudioEditCtl that belong to playback: play, pause and stop, the playback
// graph of a loaded file, its position timer and its notifications.
//
// The graph is built on the window thread when a load's result is handed over (or on the
// loading worker when there is no window) and used only there afterwards; the graph hands
// its events over with the posted WM_AE_GRAPHNOTIFY and the position is polled by the
// window's timer, so playback needs no lock of its own.
//
// A set-up that fails at any step (also when the file cannot be rendered) leaves no graph:
// AudioPlay then answers E_NOINTERFACE, AudioPause and AudioStop S_OK, and the reason is
// kept for the host (PlaybackSetUpError).
#include <cstdio>
#include <utility>

#include "audioedit/Pec.h"
#include "audioedit/control/AudioEditCtl.h"
#include "audioedit/control/ControlMessages.h"
#include "audioedit/control/ControlView.h"
#include "platform/com/Bstr.h"
#include "platform/com/CodePage.h"
#include "platform/com/ErrorInfo.h"
#include "platform/fileio/PathText.h"

namespace audioedit {
namespace {

constexpr com::LONG kGetStateTimeoutMs = 500;
constexpr com::LONGLONG kUnitsPerMs = 10000;  // graph positions count 100 ns

// The graph position of a CD frame: whole milliseconds, then 100-nanosecond units.
com::LONGLONG FramePosition(std::uint32_t frame) {
  return static_cast<com::LONGLONG>(std::uint64_t{frame} * 1000 / 75) * kUnitsPerMs;
}

std::string HexStatus(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

// The description a failed call left on this thread, or its status.
std::string FailureText(HRESULT hr) {
  com::ComPtr<com::IErrorInfo> info;
  com::Bstr description;
  if (com::GetErrorInfo(0, info.Put()) == com::S_OK && info &&
      info->GetDescription(description.Put()) == com::S_OK && !description.ToUtf8().empty())
    return description.ToUtf8();
  return "status " + HexStatus(hr);
}

}  // namespace

void AudioEditCtl::SetGraphFactory(GraphFactory factory) { graphFactory_ = std::move(factory); }

// --- set-up and teardown ---

void AudioEditCtl::SetUpPlayback() {
  TearDownPlayback();
  playbackSetUp_ = BuildGraph(Port());
  if (com::FAILED(playbackSetUp_)) TearDownPlayback();
}

HRESULT AudioEditCtl::BuildGraph(win::WindowPort* port) {
  playbackSetUpError_.clear();
  HRESULT hr = graph_.Create(graphFactory_);
  if (com::FAILED(hr)) {
    playbackSetUpError_ = "the filter graph cannot be created (" + HexStatus(hr) +
                          "); is libFilterGraph.so registered (regsvr --register-all)?";
    return hr;
  }
  if (!graph_.builder || !graph_.events) {
    playbackSetUpError_ = "the filter graph lacks an interface playback needs";
    return com::E_NOINTERFACE;
  }
  const std::u16string name = fileio::PathToWide(state_.AudioFileName());
  hr = graph_.builder->RenderFile(name.c_str(), nullptr);
  if (com::FAILED(hr)) {
    playbackSetUpError_ = FailureText(hr);
    return hr;
  }
  graph_.events->SetNotifyWindow(port, static_cast<com::LONG>(WM_AE_GRAPHNOTIFY), 0);
  playState_ = kPlaybackStopped;
  return com::S_OK;
}

void AudioEditCtl::TearDownPlayback() {
  if (graph_.events) {
    graph_.events->SetNotifyWindow(nullptr, 0, 0);
    graph_.events.Reset();
  }
  KillPositionTimer();
  if (graph_.control && playState_ != kPlaybackStopped && com::SUCCEEDED(graph_.control->Stop()))
    playState_ = kPlaybackStopped;
  graph_.Release();
  playState_ = kPlaybackStopped;  // without a graph nothing plays, even if Stop failed
}

// --- the position timer ---

void AudioEditCtl::StartPositionTimer() {
  KillPositionTimer();
  win::WindowPort* port = Port();
  if (!port) return;
  timerPort_ = port;
  positionTimer_ = port->SetTimer(kPlaybackTimerId, kPlaybackTimerPeriodMs);
}

// On the window the timer was set on: a window being detached is still there.
void AudioEditCtl::KillPositionTimer() {
  if (positionTimer_ != 0 && timerPort_) timerPort_->KillTimer(positionTimer_);
  positionTimer_ = 0;
  timerPort_ = nullptr;
}

void AudioEditCtl::OnPositionTimer() {
  com::LONGLONG position = 0;
  if (!graph_.seeking || com::FAILED(graph_.seeking->GetCurrentPosition(&position))) return;
  const auto ms = static_cast<std::uint32_t>(position / kUnitsPerMs);
  FireAudioEditMsg(AEMSG_CurrentTimeMs, ms);
  const auto frame = static_cast<std::uint32_t>(std::uint64_t{ms} * 75 / 1000);
  dividers_.ShowCurrentMark(frame);
  // Keep the mark in view: a page further once it leaves the view on either side.
  view::WaveView& wave = view_->Wave();
  const std::uint64_t column = wave.Mapping().AbsoluteColumnOfFrame(frame);
  const std::int64_t first = wave.ScrollPosition();
  const std::int64_t last = first + wave.Layout().Right();
  if (static_cast<std::int64_t>(column) >= first && static_cast<std::int64_t>(column) <= last) {
    view_->RedrawDividers();
  } else {
    wave.ScrollToColumn(column, false);
  }
}

// --- the graph's events ---

void AudioEditCtl::OnGraphEvents() {
  if (!graph_.events) return;
  com::LONG code = 0;
  media::LONG_PTR param1 = 0;
  media::LONG_PTR param2 = 0;
  // The graph may go away while an event is handled (a host reloading from the event).
  const com::ComPtr<media::IMediaEventEx> events = graph_.events;
  while (com::SUCCEEDED(events->GetEvent(&code, &param1, &param2, 0))) {
    // A failure while playing ends playback as the end of the stream does, so the host is
    // not left believing the file still plays.
    if (code == media::EC_COMPLETE || code == media::EC_ERRORABORT) {
      AudioStop();
      FireAudioEditMsg(AEMSG_State_Stopped, 0);
      FireAudioEditMsg(AEMSG_UpdateDividers, 0);
    }
    events->FreeEventParams(code, param1, param2);
  }
}

win::LRESULT AudioEditCtl::PlaybackMessage(win::UINT msg, win::WPARAM wParam, win::LPARAM,
                                           bool& handled) {
  handled = false;
  if (msg == win::WM_TIMER && wParam == kPlaybackTimerId) {
    handled = true;
    OnPositionTimer();
  } else if (msg == WM_AE_GRAPHNOTIFY) {
    handled = true;
    OnGraphEvents();
  }
  return 0;
}

// --- play, pause, stop ---

HRESULT AudioEditCtl::AudioPlay() {
  if (!state_.IsAudioFileLoaded()) return com::S_FALSE;
  com::LONGLONG start = FramePosition(dividers_.CurrentFrameValue());
  if (graph_.seeking) {
    graph_.seeking->SetTimeFormat(&media::TIME_FORMAT_MEDIA_TIME);
    graph_.seeking->SetPositions(&start, media::AM_SEEKING_AbsolutePositioning, nullptr,
                                 media::AM_SEEKING_NoPositioning);
  }
  if (!graph_.control) {
    StartPositionTimer();
    return com::E_NOINTERFACE;
  }
  const HRESULT hr = graph_.control->Run();
  if (com::SUCCEEDED(hr)) playState_ = kPlaybackRunning;
  StartPositionTimer();
  return hr;
}

HRESULT AudioEditCtl::AudioPause() {
  if (!state_.IsAudioFileLoaded()) return com::S_FALSE;
  if (playState_ == kPlaybackPaused) {
    const HRESULT hr = graph_.control ? graph_.control->Run() : com::E_NOINTERFACE;
    if (com::SUCCEEDED(hr)) playState_ = kPlaybackRunning;
    StartPositionTimer();
    return hr;
  }
  if (playState_ == kPlaybackRunning) {
    KillPositionTimer();
    const HRESULT hr = graph_.control ? graph_.control->Pause() : com::E_NOINTERFACE;
    if (com::SUCCEEDED(hr)) playState_ = kPlaybackPaused;
    return hr;
  }
  return com::S_OK;
}

HRESULT AudioEditCtl::AudioStop() {
  if (!state_.IsAudioFileLoaded()) return com::S_FALSE;
  KillPositionTimer();
  if (graph_.control && playState_ != kPlaybackStopped && com::SUCCEEDED(graph_.control->Stop()))
    playState_ = kPlaybackStopped;
  if (!graph_.control || !graph_.seeking) return com::S_OK;
  media::OAFilterState state = 0;
  graph_.control->GetState(kGetStateTimeoutMs, &state);
  com::LONGLONG zero = 0;
  graph_.seeking->SetPositions(&zero, media::AM_SEEKING_AbsolutePositioning, nullptr,
                               media::AM_SEEKING_NoPositioning);
  const HRESULT hr = graph_.control->StopWhenReady();
  dividers_.put_CurrentFrame(0);
  dividers_.HideCurrentMark();
  view_->RedrawDividers();
  return hr;
}

}  // namespace audioedit
