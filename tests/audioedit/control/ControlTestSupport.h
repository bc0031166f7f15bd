// Helpers of the control tests: an event sink that records what a host would see, a
// per-test temporary directory for peak files, and the fixture paths.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "audioedit/Pec.h"
#include "audioedit/control/AudioEditCtl.h"
#include "audioedit/control/ControlEventSink.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/com/ConnectionInterfaces.h"
#include "platform/window/HeadlessWindow.h"

namespace audioedit::testing {

inline std::string Fixture(const char* name) { return std::string(TEST_DATA_DIR "/audio/") + name; }

struct Event {
  com::DISPID id;
  std::vector<com::ULONG> args;
  std::thread::id thread;

  bool IsMsg(std::uint32_t msg) const { return id == DISPID_AudioEditMsg && args.at(0) == msg; }
  bool IsMsg(std::uint32_t msg, std::uint32_t param) const {
    return IsMsg(msg) && args.at(1) == param;
  }
  bool IsProgress() const { return id == DISPID_PeakFileProgress; }
};

// Records every event with its thread; `onEvent` runs after the
// recording (on the firing thread), then every window in `wake` is woken.
class EventSink final : public ControlEventSink<EventSink> {
 public:
  void OnControlEvent(com::DISPID id, std::span<const com::ULONG> args) {
    const Event event{id, std::vector<com::ULONG>(args.begin(), args.end()),
                      std::this_thread::get_id()};
    std::function<void(const Event&)> hook;
    {
      std::lock_guard lock(mutex_);
      events_.push_back(event);
      hook = onEvent;
    }
    if (hook) hook(event);
    for (win::WindowPort* window : wake) window->Wake();
  }

  std::vector<Event> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }
  bool Has(std::uint32_t msg) const {
    for (const Event& e : Events())
      if (e.IsMsg(msg)) return true;
    return false;
  }
  // Set before the load starts.
  std::function<void(const Event&)> onEvent;
  std::vector<win::WindowPort*> wake;

 private:
  mutable std::mutex mutex_;
  std::vector<Event> events_;
};

// Checks how events are called: one Invoke with DISPATCH_METHOD and VT_UI4 arguments.
class CallShapeSink final : public com::ComObject<CallShapeSink, com::IDispatch> {
 public:
  auto Interfaces() {
    return std::array{com::Expose<com::IDispatch>(this, com::IID_IUnknown),
                      com::Expose<com::IDispatch>(this, DIID__IAudioEditCtlEvents)};
  }
  com::HRESULT GetTypeInfoCount(com::UINT*) override { return com::E_NOTIMPL; }
  com::HRESULT GetTypeInfo(com::UINT, com::LCID, com::ITypeInfo**) override { return com::E_NOTIMPL; }
  com::HRESULT GetIDsOfNames(com::REFIID, com::LPOLESTR*, com::UINT, com::LCID,
                             com::DISPID*) override {
    return com::E_NOTIMPL;
  }
  com::HRESULT Invoke(com::DISPID, com::REFIID, com::LCID, com::WORD flags, com::DISPPARAMS* params,
                      com::VARIANT*, com::EXCEPINFO*, com::UINT*) override {
    bool ok = flags == com::DISPATCH_METHOD && params && params->cNamedArgs == 0;
    for (com::UINT k = 0; ok && k < params->cArgs; ++k) ok = params->rgvarg[k].vt == com::VT_UI4;
    std::lock_guard lock(mutex_);
    ++calls_;
    bad_ += ok ? 0 : 1;
    return com::S_OK;
  }
  std::pair<int, int> CallsAndBad() const {
    std::lock_guard lock(mutex_);
    return {calls_, bad_};
  }

 private:
  mutable std::mutex mutex_;
  int calls_ = 0;
  int bad_ = 0;
};

inline com::DWORD Connect(AudioEditCtl& control, com::REFIID iid, com::IUnknown* sink) {
  com::ComPtr<com::IConnectionPoint> point;
  EXPECT_EQ(control.FindConnectionPoint(iid, point.Put()), com::S_OK);
  com::DWORD cookie = 0;
  EXPECT_EQ(point->Advise(sink, &cookie), com::S_OK);
  return cookie;
}

// A fresh directory for the peak files of one test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ctltestXXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.push_back(entry.path().string());
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline std::string Text(com::HRESULT (AudioEditCtl::*get)(com::BSTR*), AudioEditCtl& control) {
  com::Bstr value;
  EXPECT_EQ((control.*get)(value.Put()), com::S_OK);
  EXPECT_NE(value.Get(), nullptr);  // empty, never null
  return value.ToUtf8();
}

// A control on a headless window with an event sink, peak files in a temporary directory.
struct Hosted {
  Hosted() : control(com::MakeObject<AudioEditCtl>()), sink(com::MakeObject<EventSink>()) {
    control->Create(window);
    control->SetTempDirectory(temp.Path().string());
    sink->wake.push_back(&window);
    Connect(*control, DIID__IAudioEditCtlEvents, sink.Get());
  }
  ~Hosted() {
    if (control) control->Destroy();
  }
  com::HRESULT Load(const std::string& audio, com::LONG interval = 0, const std::string& peak = {},
                    bool keep = false) {
    com::Bstr a = com::Bstr::FromUtf8(audio);
    com::Bstr p = com::Bstr::FromUtf8(peak);
    return control->LoadAudioFile(a.Get(), interval, peak.empty() ? nullptr : p.Get(), keep ? 1 : 0);
  }
  // Pumps until the `count`-th AEMSG_PeakError or AEMSG_EndPeakFile after a success.
  bool RunUntilLoaded(std::size_t count = 1) {
    return window.RunUntil([&] { return FinishedLoads() >= count; }, std::chrono::seconds(60));
  }
  std::size_t FinishedLoads() const {
    std::size_t done = 0;
    for (const Event& e : sink->Events())
      if (e.IsMsg(AEMSG_EndPeakFile) || (e.IsMsg(AEMSG_PeakError) && e.args[1] != 0)) ++done;
    return done;
  }
  std::string PeakFileName() { return Text(&AudioEditCtl::get_PeakFileName, *control); }
  std::string AudioFileName() { return Text(&AudioEditCtl::get_AudioFileName, *control); }

  TempDir temp;
  win::HeadlessWindow window{800, 200};
  com::ComPtr<AudioEditCtl> control;
  com::ComPtr<EventSink> sink;
};

}  // namespace audioedit::testing
