// The filter graph: plays one media file through PlaybackPipeline behind the graph's
// playback interfaces. libFilterGraph.so serves it under CLSID_FilterGraph.
//
// Behaviour in the terms of the interfaces:
// - RenderFile prepares the file and leaves the graph stopped at the start; a second
//   RenderFile on the same graph answers VFW_E_WRONG_STATE. A failure leaves error
//   information (the file and the reason) on the calling thread.
// - Stop keeps the position (the graph stays cued there); Run plays from the position last
//   set. Run and Pause answer S_OK once the framework accepted the request; GetState waits
//   for the transition.
// - A position set with SetPositions is what GetCurrentPosition reports until the move has
//   completed; positions beyond the end are taken as the end. Only TIME_FORMAT_MEDIA_TIME
//   exists, and a stop position cannot be set.
// - The end of the stream queues EC_COMPLETE, a playback failure EC_ERRORABORT.
// - IBasicAudio offers the volume; the balance answers E_NOTIMPL.
//
// Threads: any thread may call; calls are serialised. The framework's threads only queue
// events and post the notification, under a lock of their own that no call holds while it
// waits for the framework.
#pragma once

#include <array>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/com/ComObject.h"
#include "platform/media/FilterGraphInterfaces.h"
#include "platform/media/PlaybackPipeline.h"

namespace media {

class FilterGraph final : public com::ComObject<FilterGraph, IGraphBuilder, IMediaControl,
                                                IMediaSeeking, IMediaEventEx, IBasicAudio> {
 public:
  explicit FilterGraph(com::ModuleLock* module = nullptr);
  ~FilterGraph();

  auto Interfaces() {
    return std::array{com::Expose<IGraphBuilder>(this, com::IID_IUnknown),
                      com::Expose<IGraphBuilder>(this, IID_IGraphBuilder),
                      com::Expose<IMediaControl>(this, IID_IMediaControl),
                      com::Expose<IMediaSeeking>(this, IID_IMediaSeeking),
                      com::Expose<IMediaEventEx>(this, IID_IMediaEventEx),
                      com::Expose<IBasicAudio>(this, IID_IBasicAudio)};
  }

  // IGraphBuilder
  HRESULT RenderFile(LPCOLESTR file, LPCOLESTR playList) override;
  // IMediaControl
  HRESULT Run() override;
  HRESULT Pause() override;
  HRESULT Stop() override;
  HRESULT GetState(LONG msTimeout, OAFilterState* state) override;
  HRESULT StopWhenReady() override;
  // IMediaSeeking
  HRESULT SetTimeFormat(const com::GUID* format) override;
  HRESULT GetCurrentPosition(LONGLONG* current) override;
  HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                       DWORD stopFlags) override;
  HRESULT GetDuration(LONGLONG* duration) override;
  // IMediaEventEx
  HRESULT GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG msTimeout) override;
  HRESULT FreeEventParams(LONG eventCode, LONG_PTR param1, LONG_PTR param2) override;
  HRESULT SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData) override;
  // IBasicAudio
  HRESULT put_Volume(LONG volume) override;
  HRESULT get_Volume(LONG* volume) override;
  HRESULT put_Balance(LONG balance) override;
  HRESULT get_Balance(LONG* balance) override;

 private:
  struct Event {
    LONG code;
    LONG_PTR param1;
    LONG_PTR param2;
  };
  void OnPipelineNote(PlaybackPipeline::Note note);
  void QueueEvent(const Event& event);
  bool PendingMove(LONGLONG& target);

  // Serialises the calls; the framework's threads never take it.
  mutable std::mutex callMutex_;
  std::unique_ptr<PlaybackPipeline> pipeline_;
  OAFilterState state_ = State_Stopped;
  LONG volume_ = 0;

  // Events, notification and the move under way; taken by the framework's threads.
  mutable std::mutex eventMutex_;
  std::condition_variable eventArrived_;
  std::deque<Event> events_;
  OAHWND notifyWindow_ = nullptr;
  LONG notifyMessage_ = 0;
  LONG_PTR notifyData_ = 0;
  bool movePending_ = false;
  LONGLONG moveTarget_ = 0;
};

}  // namespace media
