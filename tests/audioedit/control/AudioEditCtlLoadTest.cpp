// Loading as a host sees it: the events in their order and from their threads, the results,
// the peak files on disk, cancelling and concurrent loads.
#include <gtest/gtest.h>

#include <chrono>

#include <fstream>

#include "audioedit/control/ControlRecords.h"
#include "platform/com/SafeArray.h"
#include "tests/audioedit/control/ControlTestSupport.h"

namespace audioedit::testing {
namespace {

constexpr win::UINT kTestPing = win::WM_APP + 0x100;

std::vector<Event> WithoutProgress(const std::vector<Event>& events) {
  std::vector<Event> out;
  for (const Event& e : events)
    if (!e.IsProgress()) out.push_back(e);
  return out;
}

TEST(AudioEditCtlLoad, BuildFiresStartProgressResultAndEndFromTheirThreads) {
  Hosted host;
  auto shape = com::MakeObject<CallShapeSink>();
  Connect(*host.control, DIID__IAudioEditCtlEvents, shape.Get());
  ASSERT_EQ(host.Load(Fixture("stereo16.wav")), com::S_OK);
  ASSERT_TRUE(host.RunUntilLoaded());
  const auto events = host.sink->Events();
  // The second sink hears each event after the first; the worker's end wakes the window.
  EXPECT_TRUE(host.window.RunUntil(
      [&] { return shape->CallsAndBad().first == static_cast<int>(events.size()); }));
  EXPECT_EQ(shape->CallsAndBad().second, 0);
  const auto window = std::this_thread::get_id();
  ASSERT_GE(events.size(), 4u);
  EXPECT_TRUE(events[0].IsMsg(AEMSG_StartPeakFile, 0));
  EXPECT_NE(events[0].thread, window);
  ASSERT_TRUE(events[1].IsProgress());
  EXPECT_EQ(events[1].args[0], 1u);
  const Event& result = events[events.size() - 2];
  EXPECT_TRUE(result.IsMsg(AEMSG_PeakError, 0));
  EXPECT_EQ(result.thread, window);
  EXPECT_TRUE(events.back().IsMsg(AEMSG_EndPeakFile, 0));
  EXPECT_NE(events.back().thread, window);
  for (std::size_t i = 1; i + 2 < events.size(); ++i) EXPECT_TRUE(events[i].IsProgress());

  com::INT code = -1;
  host.control->get_ErrorCode(&code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Text(&AudioEditCtl::get_ErrorString, *host.control), "AudioEditCtl: Success");
  com::LONG loaded = 0;
  host.control->get_IsAudioFileLoaded(&loaded);
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(host.AudioFileName(), Fixture("stereo16.wav"));
  EXPECT_EQ(std::filesystem::path(host.PeakFileName()).parent_path(), host.temp.Path());

  AUDIO_INFO info{};
  info.sample_interval = 12345;
  host.control->GetAudioInfo(&info);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.bits, 16);
  EXPECT_EQ(info.freq, 44100u);
  EXPECT_EQ(info.BPS, 4);
  EXPECT_EQ(info.duration, 3200u);
  EXPECT_EQ(info.total_peaks, 3200u * 441 / 10 / 147);
  EXPECT_EQ(info.sample_interval, 12345u);
  EXPECT_EQ(host.control->State().Info().sample_interval, 147u);

  com::LONG count = 0;
  host.control->get_DividerCount(&count);
  EXPECT_EQ(count, 2);
  host.control->InitEnumDividers();
  com::LONG type = 0, more = 0;
  com::ULONG frame = 99;
  host.control->GetNextDivider(&type, &frame, &more);
  EXPECT_EQ(type, DIV_Start);
  EXPECT_EQ(frame, 0u);
  host.control->GetNextDivider(&type, &frame, &more);
  EXPECT_EQ(type, DIV_End);
  EXPECT_EQ(frame, 240u);
  // The load asked for a repaint: handling what is due paints the window.
  host.window.RunPending();
  EXPECT_GT(host.window.PaintCount(), 0u);
  EXPECT_FALSE(host.window.PaintPending());
}

TEST(AudioEditCtlLoad, TotalPeaksCountUpWhileTheFileIsBuilt) {
  Hosted host;
  std::vector<std::uint32_t> seen;  // written on the worker, read after the load
  host.sink->onEvent = [&](const Event& e) {
    if (e.IsProgress()) seen.push_back(host.control->State().Info().total_peaks);
  };
  host.Load(Fixture("stereo16.wav"));
  ASSERT_TRUE(host.RunUntilLoaded());
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{0, 512000 / 4 / 147}));
}

TEST(AudioEditCtlLoad, AcceptedKeptPeakFileIsReusedWithoutProgress) {
  Hosted host;
  host.Load(Fixture("stereo16.wav"), 0, {}, true);
  ASSERT_TRUE(host.RunUntilLoaded());
  const std::string kept = host.PeakFileName();
  host.Load(Fixture("stereo16.wav"), 0, kept, true);
  ASSERT_TRUE(host.RunUntilLoaded(2));
  auto events = host.sink->Events();
  std::size_t firstEnd = 0;
  while (!events[firstEnd].IsMsg(AEMSG_EndPeakFile)) ++firstEnd;
  events.erase(events.begin(), events.begin() + static_cast<long>(firstEnd) + 1);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(events[0].IsMsg(AEMSG_PeakError, 0));
  EXPECT_TRUE(events[1].IsMsg(AEMSG_EndPeakFile));
  EXPECT_EQ(host.PeakFileName(), kept);
  EXPECT_EQ(host.temp.Files().size(), 1u);
  host.control->Destroy();
  host.control = nullptr;
  EXPECT_TRUE(std::filesystem::exists(kept));  // kept files survive the control
}

TEST(AudioEditCtlLoad, AcceptedFileLoadFiresOnlyResultAndEnd) {
  Hosted builder;
  builder.Load(Fixture("mono8.wav"), 0, {}, true);
  ASSERT_TRUE(builder.RunUntilLoaded());
  const std::string kept = builder.PeakFileName();
  Hosted host;
  host.Load(Fixture("mono8.wav"), 0, kept, true);
  ASSERT_TRUE(host.RunUntilLoaded());
  const auto events = host.sink->Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(events[0].IsMsg(AEMSG_PeakError, 0));
  EXPECT_TRUE(events[1].IsMsg(AEMSG_EndPeakFile, 0));
  EXPECT_EQ(host.PeakFileName(), kept);
}

TEST(AudioEditCtlLoad, MismatchingPeakFileIsReplacedByANewOne) {
  Hosted host;
  host.Load(Fixture("mono8.wav"), 0, {}, true);
  ASSERT_TRUE(host.RunUntilLoaded());
  const std::string other = host.PeakFileName();
  host.Load(Fixture("stereo16.wav"), 0, other, false);
  ASSERT_TRUE(host.RunUntilLoaded(2));
  EXPECT_NE(host.PeakFileName(), other);
  EXPECT_FALSE(host.PeakFileName().empty());
  EXPECT_TRUE(host.sink->Events().back().IsMsg(AEMSG_EndPeakFile));
  com::INT code = -1;
  host.control->get_ErrorCode(&code);
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(std::filesystem::exists(other));
}

TEST(AudioEditCtlLoad, PeakFileOlderThanItsAudioIsRebuilt) {
  Hosted host;
  const auto audio = host.temp.Path() / "copy.wav";
  std::filesystem::copy_file(Fixture("mono8.wav"), audio);
  host.Load(audio.string(), 0, {}, true);
  ASSERT_TRUE(host.RunUntilLoaded());
  const std::string kept = host.PeakFileName();
  std::filesystem::last_write_time(
      audio, std::filesystem::last_write_time(kept) + std::chrono::seconds(10));
  host.Load(audio.string(), 0, kept, true);
  ASSERT_TRUE(host.RunUntilLoaded(2));
  EXPECT_NE(host.PeakFileName(), kept);
  const auto events = host.sink->Events();
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [](const Event& e) { return e.IsMsg(AEMSG_StartPeakFile); }),
            2);
  com::INT code = -1;
  host.control->get_ErrorCode(&code);
  EXPECT_EQ(code, 0);
}

TEST(AudioEditCtlLoad, UnkeptPeakFilesGoAtTheNextLoadAndWithTheControl) {
  Hosted host;
  host.Load(Fixture("mono8.wav"));
  ASSERT_TRUE(host.RunUntilLoaded());
  const std::string first = host.PeakFileName();
  ASSERT_TRUE(std::filesystem::exists(first));
  // Loading the current unkept file again deletes it first: a new one is built.
  host.Load(Fixture("mono8.wav"), 0, first, false);
  ASSERT_TRUE(host.RunUntilLoaded(2));
  EXPECT_FALSE(std::filesystem::exists(first));
  const std::string second = host.PeakFileName();
  EXPECT_NE(second, first);
  ASSERT_TRUE(std::filesystem::exists(second));
  host.control->Destroy();
  host.control = nullptr;
  EXPECT_FALSE(std::filesystem::exists(second));
  EXPECT_TRUE(host.temp.Files().empty());
}

TEST(AudioEditCtlLoad, MissingAudioFileFailsWithUnknownFormat) {
  Hosted host;
  host.Load(Fixture("no-such-file.wav"));
  ASSERT_TRUE(host.RunUntilLoaded());
  const auto events = host.sink->Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_TRUE(events[0].IsMsg(AEMSG_PeakError, PEC_UnknownAudioFormat));
  com::INT code = 0;
  host.control->get_ErrorCode(&code);
  EXPECT_EQ(code, 4);
  EXPECT_EQ(Text(&AudioEditCtl::get_ErrorString, *host.control), "Unknown audio format.");
  EXPECT_EQ(host.AudioFileName(), "");
  EXPECT_EQ(host.PeakFileName(), "");
  EXPECT_TRUE(host.temp.Files().empty());
}

TEST(AudioEditCtlLoad, AudioWithoutAnyPeakRecordFailsAndLeavesNoFile) {
  Hosted host;
  host.Load(Fixture("short16.wav"));  // 100 frames, fewer than one interval
  ASSERT_TRUE(host.RunUntilLoaded());
  EXPECT_TRUE(host.sink->Events().back().IsMsg(AEMSG_PeakError, PEC_UnknownAudioFormat));
  com::LONG loaded = 1;
  host.control->get_IsAudioFileLoaded(&loaded);
  EXPECT_EQ(loaded, 0);
  EXPECT_EQ(host.control->ZoomIn(), com::S_FALSE);
  EXPECT_TRUE(host.temp.Files().empty());
}

TEST(AudioEditCtlLoad, NegativeIntervalMeansTheDefault) {
  Hosted host;
  host.Load(Fixture("mono8.wav"), -5);
  ASSERT_TRUE(host.RunUntilLoaded());
  EXPECT_EQ(host.control->State().Info().sample_interval, 147u);
  EXPECT_EQ(host.control->State().Info().total_peaks, 2400u * 2205 / 100 / 147);
}

TEST(AudioEditCtlLoad, CancelWithoutLoadFiresNothing) {
  Hosted host;
  EXPECT_EQ(host.control->CancelLoading(), com::S_OK);
  host.window.RunPending();
  EXPECT_TRUE(host.sink->Events().empty());
}

TEST(AudioEditCtlLoad, CancelAfterAFinishedLoadEmptiesTheNamesOnce) {
  Hosted host;
  host.Load(Fixture("mono8.wav"));
  ASSERT_TRUE(host.RunUntilLoaded());
  const std::string peak = host.PeakFileName();
  host.control->CancelLoading();
  EXPECT_TRUE(host.sink->Events().back().IsMsg(AEMSG_PeakError, PEC_LoadingCanceled));
  EXPECT_EQ(host.PeakFileName(), "");
  EXPECT_EQ(host.AudioFileName(), "");
  com::INT code = -1;
  host.control->get_ErrorCode(&code);
  EXPECT_EQ(code, 0);  // unchanged
  const auto before = host.sink->Events().size();
  host.control->CancelLoading();  // nothing kept any more
  EXPECT_EQ(host.sink->Events().size(), before);
  // The emptied names do not orphan the unkept file: it goes with the control.
  ASSERT_TRUE(std::filesystem::exists(peak));
  host.control->Destroy();
  host.control = nullptr;
  EXPECT_FALSE(std::filesystem::exists(peak));
}

// The worker blocks inside its first progress event until the window thread handles a
// message it sends; the window thread does so only inside CancelLoading.
TEST(AudioEditCtlLoad, CancelledBuildRemovesItsFileAndReportsEight) {
  Hosted host;
  host.sink->onEvent = [&](const Event& e) {
    if (e.IsProgress() && e.args[0] == 1) host.window.SendMessage(kTestPing, 0, 0);
  };
  host.Load(Fixture("stereo16.wav"));
  host.window.WaitForIncomingSend();
  EXPECT_EQ(host.control->CancelLoading(), com::S_OK);
  const auto events = host.sink->Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_TRUE(events[0].IsMsg(AEMSG_StartPeakFile));
  EXPECT_TRUE(events[1].IsProgress());
  EXPECT_TRUE(events[2].IsMsg(AEMSG_PeakError, PEC_LoadingCanceled));
  EXPECT_EQ(events[2].thread, std::this_thread::get_id());
  EXPECT_EQ(host.AudioFileName(), "");
  EXPECT_EQ(host.PeakFileName(), "");
  EXPECT_TRUE(host.temp.Files().empty());
  AUDIO_INFO info{};
  host.control->GetAudioInfo(&info);
  EXPECT_EQ(info.total_peaks, 0u);
}

TEST(AudioEditCtlLoad, CancelWhileTheWorkerHandsItsResultOver) {
  Hosted host;
  host.Load(Fixture("mono8.wav"));
  host.window.WaitForIncomingSend();  // the worker waits in WM_AE_LOADRESULT
  EXPECT_EQ(host.control->CancelLoading(), com::S_OK);
  host.window.RunPending();
  const auto events = WithoutProgress(host.sink->Events());
  ASSERT_EQ(events.size(), 2u);
  EXPECT_TRUE(events[0].IsMsg(AEMSG_StartPeakFile));
  EXPECT_TRUE(events[1].IsMsg(AEMSG_PeakError, PEC_LoadingCanceled));
  EXPECT_EQ(host.PeakFileName(), "");
  com::LONG count = -1;
  host.control->get_DividerCount(&count);
  EXPECT_EQ(count, 0);
}

TEST(AudioEditCtlLoad, SecondLoadOnTheSameControlRunsAfterTheFirst) {
  Hosted host;
  host.Load(Fixture("stereo16.wav"));
  host.Load(Fixture("mono8.wav"));
  ASSERT_TRUE(host.RunUntilLoaded(2));
  const auto events = WithoutProgress(host.sink->Events());
  ASSERT_EQ(events.size(), 6u);
  for (std::size_t load = 0; load < 2; ++load) {
    EXPECT_TRUE(events[3 * load].IsMsg(AEMSG_StartPeakFile));
    EXPECT_TRUE(events[3 * load + 1].IsMsg(AEMSG_PeakError, 0));
    EXPECT_TRUE(events[3 * load + 2].IsMsg(AEMSG_EndPeakFile));
  }
  EXPECT_EQ(host.AudioFileName(), Fixture("mono8.wav"));
  EXPECT_EQ(host.temp.Files().size(), 1u);  // the first, unkept, went with the second load
}

// Cancels at whatever point the loads have reached: every cancel ends with AEMSG_PeakError 8
// and no names, nothing deadlocks, and no peak file outlives the control.
TEST(AudioEditCtlLoad, LoadsCancelledAtAnyPointLeaveNothingBehind) {
  Hosted host;
  for (int round = 0; round < 12; ++round) {
    host.Load(Fixture(round % 2 ? "mono8.wav" : "stereo16.wav"));
    if (round % 3 == 1) host.Load(Fixture("mono8.wav"));
    if (round % 4 == 2) host.window.RunPending();
    ASSERT_EQ(host.control->CancelLoading(), com::S_OK);
    EXPECT_TRUE(host.sink->Events().back().IsMsg(AEMSG_PeakError, PEC_LoadingCanceled));
    EXPECT_EQ(host.AudioFileName(), "");
    EXPECT_EQ(host.PeakFileName(), "");
    EXPECT_LE(host.temp.Files().size(), 1u);  // at most the owned file of a finished load
  }
  host.window.RunPending();
  host.control->Destroy();
  host.control = nullptr;
  EXPECT_TRUE(host.temp.Files().empty());
}

TEST(AudioEditCtlLoad, TwoControlsLoadAtOnceEachWithItsOwnResult) {
  struct Outcome {
    std::string audio;
    std::vector<Event> events;
  };
  auto run = [](const char* file, Outcome& out) {
    Hosted host;
    host.Load(Fixture(file));
    ASSERT_TRUE(host.RunUntilLoaded());
    out.audio = host.AudioFileName();
    out.events = WithoutProgress(host.sink->Events());
  };
  Outcome a, b;
  std::thread first([&] { run("stereo16.wav", a); });
  std::thread second([&] { run("mono8.wav", b); });
  first.join();
  second.join();
  EXPECT_EQ(a.audio, Fixture("stereo16.wav"));
  EXPECT_EQ(b.audio, Fixture("mono8.wav"));
  for (const Outcome* o : {&a, &b}) {
    ASSERT_EQ(o->events.size(), 3u);
    EXPECT_TRUE(o->events[1].IsMsg(AEMSG_PeakError, 0));
  }
}

TEST(AudioEditCtlLoad, WithoutAWindowTheWorkerHandsOverItself) {
  TempDir temp;
  auto control = com::MakeObject<AudioEditCtl>();
  control->SetTempDirectory(temp.Path().string());
  auto sink = com::MakeObject<EventSink>();
  Connect(*control, DIID__IAudioEditCtlEvents, sink.Get());
  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  sink->onEvent = [&](const Event& e) {
    if (!e.IsMsg(AEMSG_EndPeakFile)) return;
    std::lock_guard lock(mutex);
    done = true;
    ended.notify_all();
  };
  com::Bstr audio = com::Bstr::FromUtf8(Fixture("mono8.wav"));
  control->LoadAudioFile(audio.Get(), 0, nullptr, 0);
  {
    std::unique_lock lock(mutex);
    ASSERT_TRUE(ended.wait_for(lock, std::chrono::seconds(60), [&] { return done; }));
  }
  const auto events = WithoutProgress(sink->Events());
  ASSERT_EQ(events.size(), 3u);
  EXPECT_TRUE(events[1].IsMsg(AEMSG_PeakError, 0));
  EXPECT_NE(events[1].thread, std::this_thread::get_id());
  com::LONG loaded = 0;
  control->get_IsAudioFileLoaded(&loaded);
  EXPECT_EQ(loaded, 1);
}

com::SafeArrayPtr DividerArray(const std::vector<DIVIDER>& dividers) {
  com::SafeArrayPtr array(com::SafeArrayCreateVectorEx(
      com::VT_RECORD, 0, static_cast<com::ULONG>(dividers.size()),
      com::RecordInfoOf<DIVIDER>()));
  for (com::LONG i = 0; i < static_cast<com::LONG>(dividers.size()); ++i) {
    DIVIDER d = dividers[static_cast<std::size_t>(i)];
    com::SafeArrayPutElement(array.get(), &i, &d);
  }
  return array;
}

TEST(AudioEditCtlLoad, DividerArrayIsCopiedAndInstalledAfterTheLoad) {
  Hosted host;
  com::Bstr audio = com::Bstr::FromUtf8(Fixture("stereo16.wav"));
  {
    auto array = DividerArray({{DIV_Start, 0, 10}, {DIV_Split, 0, 100}, {DIV_End, 0, 200}});
    host.control->LoadAudioFileDividers(audio.Get(), 0, nullptr, 0, array.get());
  }  // the caller's array is gone before the worker installs
  ASSERT_TRUE(host.RunUntilLoaded());
  com::LONG count = 0;
  host.control->get_DividerCount(&count);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(host.control->Dividers().Dividers().front().frame, 10u);
  EXPECT_EQ(host.control->Dividers().Dividers().back().frame, 200u);

  auto single = DividerArray({{DIV_Split, 0, 100}});
  host.control->LoadAudioFileDividers(audio.Get(), 0, nullptr, 0, single.get());
  ASSERT_TRUE(host.RunUntilLoaded(2));
  EXPECT_EQ(host.control->Dividers().Dividers().back().frame, 240u);  // the default pair

  com::SafeArrayPtr numbers(com::SafeArrayCreateVector(com::VT_I4, 0, 6));
  host.control->LoadAudioFileDividers(audio.Get(), 0, nullptr, 0, numbers.get());
  ASSERT_TRUE(host.RunUntilLoaded(3));
  host.control->get_DividerCount(&count);
  EXPECT_EQ(count, 2);
}

}  // namespace
}  // namespace audioedit::testing
