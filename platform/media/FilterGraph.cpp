#include "platform/media/FilterGraph.h"

#include <chrono>
#include <cmath>
#include <string_view>
#include <utility>

#include "platform/com/CodePage.h"
#include "platform/com/ErrorInfo.h"
#include "platform/fileio/PathText.h"

namespace media {
namespace {

constexpr LONG kSilentVolume = -10000;
constexpr LONGLONG kNsPerUnit = 100;  // positions count 100-nanosecond units
constexpr std::chrono::seconds kCueTimeout{10};

// Hundredths of a decibel to a linear factor.
double LinearVolume(LONG volume) {
  if (volume <= kSilentVolume) return 0.0;
  return std::pow(10.0, static_cast<double>(volume) / 2000.0);
}

// The file's name as bytes: the wide name carries bytes that are not UTF-8 as the file-name
// mapping's escapes; a name that holds no file name (a stray surrogate) is taken as text.
std::string ByteName(LPCOLESTR file) {
  const std::u16string_view wide(file);
  return fileio::PathFromWide(wide).value_or(com::Utf16ToUtf8(wide));
}

}  // namespace

FilterGraph::FilterGraph(com::ModuleLock* module) : ComObject(module) {}

FilterGraph::~FilterGraph() {
  // No lock held: the framework's threads may still be delivering a last note.
  pipeline_.reset();
}

// --- IGraphBuilder ---

HRESULT FilterGraph::RenderFile(LPCOLESTR file, LPCOLESTR playList) {
  if (file == nullptr) return com::E_POINTER;
  if (playList != nullptr) return com::E_INVALIDARG;
  std::lock_guard lock(callMutex_);
  if (pipeline_) return VFW_E_WRONG_STATE;
  PlaybackPipeline::OpenError error;
  pipeline_ = PlaybackPipeline::Open(
      ByteName(file),
      [this](PlaybackPipeline::Note note, const std::string&) { OnPipelineNote(note); }, error);
  if (!pipeline_) {
    return com::ReportError(IID_IGraphBuilder, u"FilterGraph", com::Utf8ToUtf16(error.text),
                            error.missing ? VFW_E_NOT_FOUND : VFW_E_UNSUPPORTED_STREAM);
  }
  pipeline_->SetVolume(LinearVolume(volume_));
  state_ = State_Stopped;
  return com::S_OK;
}

// --- IMediaControl ---

HRESULT FilterGraph::Run() {
  std::lock_guard lock(callMutex_);
  if (!pipeline_) return VFW_E_WRONG_STATE;
  if (!pipeline_->Play()) return com::E_FAIL;
  state_ = State_Running;
  return com::S_OK;
}

HRESULT FilterGraph::Pause() {
  std::lock_guard lock(callMutex_);
  if (!pipeline_) return VFW_E_WRONG_STATE;
  if (!pipeline_->Pause()) return com::E_FAIL;
  state_ = State_Paused;
  return com::S_OK;
}

HRESULT FilterGraph::Stop() {
  std::lock_guard lock(callMutex_);
  if (!pipeline_) return VFW_E_WRONG_STATE;
  // Stopped is paused and cued: the position stays and can be moved.
  if (!pipeline_->Pause()) return com::E_FAIL;
  state_ = State_Stopped;
  return com::S_OK;
}

HRESULT FilterGraph::GetState(LONG msTimeout, OAFilterState* state) {
  if (state == nullptr) return com::E_POINTER;
  std::lock_guard lock(callMutex_);
  *state = state_;
  if (!pipeline_) return com::S_OK;
  return pipeline_->WaitSettled(std::chrono::milliseconds(msTimeout < 0 ? 0 : msTimeout))
             ? com::S_OK
             : VFW_S_STATE_INTERMEDIATE;
}

HRESULT FilterGraph::StopWhenReady() {
  std::lock_guard lock(callMutex_);
  if (!pipeline_) return VFW_E_WRONG_STATE;
  if (!pipeline_->Pause()) return com::E_FAIL;
  const bool cued = pipeline_->WaitSettled(kCueTimeout);
  state_ = State_Stopped;
  return cued ? com::S_OK : com::S_FALSE;
}

// --- IMediaSeeking ---

HRESULT FilterGraph::SetTimeFormat(const com::GUID* format) {
  if (format == nullptr) return com::E_POINTER;
  return *format == TIME_FORMAT_MEDIA_TIME ? com::S_OK : VFW_E_NO_TIME_FORMAT;
}

bool FilterGraph::PendingMove(LONGLONG& target) {
  std::lock_guard lock(eventMutex_);
  target = moveTarget_;
  return movePending_;
}

HRESULT FilterGraph::GetCurrentPosition(LONGLONG* current) {
  if (current == nullptr) return com::E_POINTER;
  std::lock_guard lock(callMutex_);
  if (!pipeline_) return VFW_E_WRONG_STATE;
  LONGLONG target = 0;
  if (PendingMove(target)) {
    if (!pipeline_->WaitSettled(std::chrono::milliseconds(0))) {
      *current = target;
      return com::S_OK;
    }
    std::lock_guard events(eventMutex_);
    movePending_ = false;
  }
  std::int64_t ns = 0;
  if (!pipeline_->PositionNs(ns)) return com::E_FAIL;
  *current = ns / kNsPerUnit;
  return com::S_OK;
}

HRESULT FilterGraph::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG*,
                                  DWORD stopFlags) {
  const DWORD how = currentFlags & AM_SEEKING_PositioningBitsMask;
  if ((stopFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_NoPositioning)
    return com::E_NOTIMPL;
  if (how == AM_SEEKING_NoPositioning) return com::S_OK;
  if (current == nullptr) return com::E_POINTER;
  if (how != AM_SEEKING_AbsolutePositioning && how != AM_SEEKING_RelativePositioning)
    return com::E_INVALIDARG;
  std::lock_guard lock(callMutex_);
  if (!pipeline_) return VFW_E_WRONG_STATE;
  LONGLONG target = *current;
  if (how == AM_SEEKING_RelativePositioning) {
    std::int64_t ns = 0;
    if (!pipeline_->PositionNs(ns)) return com::E_FAIL;
    target += ns / kNsPerUnit;
  }
  if (target < 0) return com::E_INVALIDARG;
  std::int64_t durationNs = 0;
  if (pipeline_->DurationNs(durationNs) && target > durationNs / kNsPerUnit)
    target = durationNs / kNsPerUnit;
  {
    std::lock_guard events(eventMutex_);
    movePending_ = true;
    moveTarget_ = target;
  }
  if (!pipeline_->Seek(target * kNsPerUnit)) {
    std::lock_guard events(eventMutex_);
    movePending_ = false;
    return com::E_FAIL;
  }
  return com::S_OK;
}

HRESULT FilterGraph::GetDuration(LONGLONG* duration) {
  if (duration == nullptr) return com::E_POINTER;
  std::lock_guard lock(callMutex_);
  if (!pipeline_) return VFW_E_WRONG_STATE;
  std::int64_t ns = 0;
  if (!pipeline_->DurationNs(ns)) return com::E_FAIL;
  *duration = ns / kNsPerUnit;
  return com::S_OK;
}

// --- IMediaEventEx ---

void FilterGraph::OnPipelineNote(PlaybackPipeline::Note note) {
  switch (note) {
    case PlaybackPipeline::Note::kEndOfStream:
      QueueEvent(Event{EC_COMPLETE, com::S_OK, 0});
      break;
    case PlaybackPipeline::Note::kError:
      QueueEvent(Event{EC_ERRORABORT, com::E_FAIL, 0});
      break;
    case PlaybackPipeline::Note::kSettled: {
      std::lock_guard lock(eventMutex_);
      movePending_ = false;
      break;
    }
  }
}

void FilterGraph::QueueEvent(const Event& event) {
  std::lock_guard lock(eventMutex_);
  events_.push_back(event);
  eventArrived_.notify_all();
  // Under the lock: once SetNotifyWindow(null) returned, nothing is posted any more.
  if (notifyWindow_ != nullptr)
    notifyWindow_->PostMessage(static_cast<win::UINT>(notifyMessage_), 0, notifyData_);
}

HRESULT FilterGraph::GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG msTimeout) {
  if (eventCode == nullptr || param1 == nullptr || param2 == nullptr) return com::E_POINTER;
  std::unique_lock lock(eventMutex_);
  auto ready = [this] { return !events_.empty(); };
  if (msTimeout < 0) {
    eventArrived_.wait(lock, ready);
  } else if (!eventArrived_.wait_for(lock, std::chrono::milliseconds(msTimeout), ready)) {
    return com::E_ABORT;
  }
  const Event event = events_.front();
  events_.pop_front();
  *eventCode = event.code;
  *param1 = event.param1;
  *param2 = event.param2;
  return com::S_OK;
}

HRESULT FilterGraph::FreeEventParams(LONG, LONG_PTR, LONG_PTR) {
  return com::S_OK;  // no event carries anything to free
}

HRESULT FilterGraph::SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData) {
  std::lock_guard lock(eventMutex_);
  notifyWindow_ = window;
  notifyMessage_ = message;
  notifyData_ = instanceData;
  // Events already waiting are announced at once.
  if (notifyWindow_ != nullptr && !events_.empty())
    notifyWindow_->PostMessage(static_cast<win::UINT>(notifyMessage_), 0, notifyData_);
  return com::S_OK;
}

// --- IBasicAudio ---

HRESULT FilterGraph::put_Volume(LONG volume) {
  if (volume < kSilentVolume || volume > 0) return com::E_INVALIDARG;
  std::lock_guard lock(callMutex_);
  volume_ = volume;
  if (pipeline_) pipeline_->SetVolume(LinearVolume(volume));
  return com::S_OK;
}

HRESULT FilterGraph::get_Volume(LONG* volume) {
  if (volume == nullptr) return com::E_POINTER;
  std::lock_guard lock(callMutex_);
  *volume = volume_;
  return com::S_OK;
}

HRESULT FilterGraph::put_Balance(LONG) { return com::E_NOTIMPL; }

HRESULT FilterGraph::get_Balance(LONG* balance) {
  if (balance != nullptr) *balance = 0;
  return com::E_NOTIMPL;
}

}  // namespace media
