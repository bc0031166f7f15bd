// A filter graph that records every call the control makes on it, answers with what the
// test set, and lets the test queue the end of the stream.
#pragma once

#include <array>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/com/CodePage.h"
#include "platform/com/ComObject.h"
#include "platform/media/FilterGraphInterfaces.h"

namespace audioedit::testing {

class RecordingGraph final
    : public com::ComObject<RecordingGraph, media::IGraphBuilder, media::IMediaControl,
                            media::IMediaSeeking, media::IMediaEventEx, media::IBasicAudio> {
 public:
  auto Interfaces() {
    return std::array{com::Expose<media::IGraphBuilder>(this, com::IID_IUnknown),
                      com::Expose<media::IGraphBuilder>(this, media::IID_IGraphBuilder),
                      com::Expose<media::IMediaControl>(this, media::IID_IMediaControl),
                      com::Expose<media::IMediaSeeking>(this, media::IID_IMediaSeeking),
                      com::Expose<media::IMediaEventEx>(this, media::IID_IMediaEventEx),
                      com::Expose<media::IBasicAudio>(this, media::IID_IBasicAudio)};
  }

  // --- what the test sets ---
  com::HRESULT renderResult = com::S_OK;
  com::HRESULT runResult = com::S_OK;
  com::LONGLONG position = 0;     // what GetCurrentPosition answers
  std::set<std::string> missing;  // interface names QueryInterface refuses

  // Queues the end of the stream and notifies the window, as the graph does.
  void Complete() {
    win::WindowPort* window = nullptr;
    com::LONG message = 0;
    {
      std::lock_guard lock(mutex_);
      completes_ += 1;
      window = window_;
      message = message_;
    }
    if (window) window->PostMessage(static_cast<win::UINT>(message), 0, 0);
  }

  std::vector<std::string> Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  void ClearCalls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
  }
  bool HasCall(const std::string& call) const {
    for (const std::string& c : Calls())
      if (c == call) return true;
    return false;
  }
  win::WindowPort* NotifyWindow() const {
    std::lock_guard lock(mutex_);
    return window_;
  }
  // References held by others than the test's one.
  com::ULONG OtherReferences() {
    AddRef();
    return Release() - 1;
  }

  com::HRESULT QueryInterface(com::REFIID riid, void** ppv) override {
    static const std::array<std::pair<const com::IID*, const char*>, 4> kNames = {{
        {&media::IID_IMediaControl, "IMediaControl"},
        {&media::IID_IMediaSeeking, "IMediaSeeking"},
        {&media::IID_IMediaEventEx, "IMediaEventEx"},
        {&media::IID_IBasicAudio, "IBasicAudio"},
    }};
    for (const auto& [iid, name] : kNames) {
      if (*iid != riid) continue;
      Record(std::string("QueryInterface ") + name);
      if (missing.count(name) != 0) {
        if (ppv) *ppv = nullptr;
        return com::E_NOINTERFACE;
      }
    }
    return ComObject::QueryInterface(riid, ppv);
  }

  // IGraphBuilder
  com::HRESULT RenderFile(com::LPCOLESTR file, com::LPCOLESTR playList) override {
    Record("RenderFile " + com::Utf16ToUtf8(file) + (playList ? " +list" : ""));
    return renderResult;
  }
  // IMediaControl
  com::HRESULT Run() override { return Record("Run"), runResult; }
  com::HRESULT Pause() override { return Record("Pause"), com::S_OK; }
  com::HRESULT Stop() override { return Record("Stop"), com::S_OK; }
  com::HRESULT GetState(com::LONG timeout, media::OAFilterState* state) override {
    Record("GetState " + std::to_string(timeout));
    if (state) *state = media::State_Stopped;
    return com::S_OK;
  }
  com::HRESULT StopWhenReady() override { return Record("StopWhenReady"), com::S_OK; }
  // IMediaSeeking
  com::HRESULT SetTimeFormat(const com::GUID* format) override {
    Record(format && *format == media::TIME_FORMAT_MEDIA_TIME ? "SetTimeFormat media time"
                                                              : "SetTimeFormat other");
    return com::S_OK;
  }
  com::HRESULT GetCurrentPosition(com::LONGLONG* current) override {
    std::lock_guard lock(mutex_);
    *current = position;
    return com::S_OK;
  }
  com::HRESULT SetPositions(com::LONGLONG* current, com::DWORD currentFlags, com::LONGLONG* stop,
                            com::DWORD stopFlags) override {
    Record("SetPositions " + (current ? std::to_string(*current) : std::string("null")) + " " +
           std::to_string(currentFlags) + " " + (stop ? "stop" : "null") + " " +
           std::to_string(stopFlags));
    return com::S_OK;
  }
  com::HRESULT GetDuration(com::LONGLONG* duration) override {
    *duration = 0;
    return com::E_NOTIMPL;
  }
  // IMediaEventEx
  com::HRESULT GetEvent(com::LONG* code, media::LONG_PTR* p1, media::LONG_PTR* p2,
                        com::LONG) override {
    std::lock_guard lock(mutex_);
    if (completes_ == 0) return com::E_ABORT;
    completes_ -= 1;
    *code = media::EC_COMPLETE;
    *p1 = 0;
    *p2 = 0;
    return com::S_OK;
  }
  com::HRESULT FreeEventParams(com::LONG code, media::LONG_PTR, media::LONG_PTR) override {
    return Record("FreeEventParams " + std::to_string(code)), com::S_OK;
  }
  com::HRESULT SetNotifyWindow(media::OAHWND window, com::LONG message,
                               media::LONG_PTR data) override {
    Record(window ? "SetNotifyWindow window " + std::to_string(message) + " " + std::to_string(data)
                  : "SetNotifyWindow none " + std::to_string(message) + " " + std::to_string(data));
    std::lock_guard lock(mutex_);
    window_ = window;
    message_ = message;
    return com::S_OK;
  }
  // IBasicAudio
  com::HRESULT put_Volume(com::LONG) override { return Record("put_Volume"), com::S_OK; }
  com::HRESULT get_Volume(com::LONG*) override { return Record("get_Volume"), com::S_OK; }
  com::HRESULT put_Balance(com::LONG) override { return Record("put_Balance"), com::S_OK; }
  com::HRESULT get_Balance(com::LONG*) override { return Record("get_Balance"), com::S_OK; }

 private:
  void Record(const std::string& call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(call);
  }

  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  win::WindowPort* window_ = nullptr;
  com::LONG message_ = 0;
  int completes_ = 0;
};

}  // namespace audioedit::testing
