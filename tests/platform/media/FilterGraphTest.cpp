// The filter graph on the fake sink: it plays in real time, so each test waits for the
// graph's own notifications (with a time limit), never for a fixed time.
#include <gtest/gtest.h>

#include <vector>

#include "platform/com/Bstr.h"
#include "platform/com/ErrorInfo.h"
#include "platform/media/FilterGraph.h"
#include "platform/registry/Activation.h"
#include "platform/window/HeadlessWindow.h"
#include "tests/platform/media/PlaybackTestSupport.h"
#include "tests/platform/media/WavTestData.h"
#include "platform/fileio/PathText.h"
#include "tests/platform/registry/TempDir.h"

namespace {

using namespace media;
using testdata::Fixture;

constexpr win::UINT kNotify = win::WM_APP + 1;
constexpr LONGLONG kUnitsPerSecond = 10'000'000;

struct Message {
  win::UINT msg;
  win::WPARAM wParam;
  win::LPARAM lParam;
};

class RecordingProcedure final : public win::WindowProcedure {
 public:
  win::LRESULT WindowProc(win::UINT msg, win::WPARAM wParam, win::LPARAM lParam) override {
    if (msg == kNotify) messages.push_back({msg, wParam, lParam});
    return 0;
  }
  std::vector<Message> messages;
};

class FilterGraphPlayback : public ::testing::Test {
 protected:
  void SetUp() override {
    testplayback::UseTestSink();
    graph_ = com::MakeObject<FilterGraph>();
    window_.SetProcedure(&procedure_);
  }
  void TearDown() override {
    if (graph_) graph_->SetNotifyWindow(nullptr, 0, 0);
    window_.SetProcedure(nullptr);
  }
  HRESULT Render(const std::string& name) {
    const com::Bstr path = com::Bstr::FromUtf8(Fixture(name));
    return graph_->RenderFile(path.Get(), nullptr);
  }
  LONGLONG Position() {
    LONGLONG position = -1;
    EXPECT_EQ(graph_->GetCurrentPosition(&position), com::S_OK);
    return position;
  }
  // Pumps the window until the graph announced `count` notifications.
  bool WaitForNotifications(std::size_t count) {
    return window_.RunUntil([&] { return procedure_.messages.size() >= count; },
                            std::chrono::seconds(20));
  }

  win::HeadlessWindow window_{100, 100};
  RecordingProcedure procedure_;
  com::ComPtr<FilterGraph> graph_;
};

TEST_F(FilterGraphPlayback, PlaysFromTheSetPositionToTheEndAndAnnouncesIt) {
  ASSERT_EQ(Render("stereo16.wav"), com::S_OK);
  OAFilterState state = -1;
  EXPECT_EQ(graph_->GetState(500, &state), com::S_OK);
  EXPECT_EQ(state, State_Stopped);
  LONGLONG duration = 0;
  ASSERT_EQ(graph_->GetDuration(&duration), com::S_OK);
  EXPECT_NEAR(static_cast<double>(duration), 3.2 * kUnitsPerSecond, 0.01 * kUnitsPerSecond);

  ASSERT_EQ(graph_->SetNotifyWindow(&window_, static_cast<LONG>(kNotify), 77), com::S_OK);
  ASSERT_EQ(graph_->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME), com::S_OK);
  LONGLONG start = 25'000'000;  // 2.5 s
  ASSERT_EQ(graph_->SetPositions(&start, AM_SEEKING_AbsolutePositioning, nullptr,
                                 AM_SEEKING_NoPositioning),
            com::S_OK);
  EXPECT_EQ(Position(), start);  // the position received, before the move has completed
  ASSERT_EQ(graph_->Run(), com::S_OK);
  EXPECT_EQ(graph_->GetState(5000, &state), com::S_OK);
  EXPECT_EQ(state, State_Running);
  const LONGLONG playing = Position();
  EXPECT_GE(playing, start);
  EXPECT_LE(playing, duration);

  ASSERT_TRUE(WaitForNotifications(1)) << "no end of stream within 20 s";
  EXPECT_EQ(procedure_.messages[0].wParam, 0u);
  EXPECT_EQ(procedure_.messages[0].lParam, 77);
  LONG code = 0;
  LONG_PTR p1 = -1, p2 = -1;
  ASSERT_EQ(graph_->GetEvent(&code, &p1, &p2, 0), com::S_OK);
  EXPECT_EQ(code, EC_COMPLETE);
  EXPECT_EQ(graph_->FreeEventParams(code, p1, p2), com::S_OK);
  EXPECT_EQ(graph_->GetEvent(&code, &p1, &p2, 0), com::E_ABORT);  // none left
}

TEST_F(FilterGraphPlayback, PauseStopAndRewindKeepTheirStates) {
  ASSERT_EQ(Render("short16.wav"), com::S_OK);
  OAFilterState state = -1;
  ASSERT_EQ(graph_->Run(), com::S_OK);
  EXPECT_EQ(graph_->GetState(5000, &state), com::S_OK);
  EXPECT_EQ(state, State_Running);
  ASSERT_EQ(graph_->Pause(), com::S_OK);
  EXPECT_EQ(graph_->GetState(5000, &state), com::S_OK);
  EXPECT_EQ(state, State_Paused);
  const LONGLONG paused = Position();
  EXPECT_EQ(Position(), paused);  // paused: the position stands still
  ASSERT_EQ(graph_->Stop(), com::S_OK);
  EXPECT_EQ(graph_->GetState(5000, &state), com::S_OK);
  EXPECT_EQ(state, State_Stopped);

  LONGLONG zero = 0;
  ASSERT_EQ(graph_->SetPositions(&zero, AM_SEEKING_AbsolutePositioning, nullptr,
                                 AM_SEEKING_NoPositioning),
            com::S_OK);
  EXPECT_EQ(graph_->StopWhenReady(), com::S_OK);
  EXPECT_EQ(Position(), 0);
  EXPECT_EQ(graph_->GetState(0, &state), com::S_OK);
  EXPECT_EQ(state, State_Stopped);
}

TEST_F(FilterGraphPlayback, SeekingRefusesWhatItCannotDoAndStopsAtTheEnd) {
  ASSERT_EQ(Render("mono8.wav"), com::S_OK);
  const com::GUID other = com::MakeGuid("{00000000-0000-0000-0000-000000000001}");
  EXPECT_EQ(graph_->SetTimeFormat(&other), VFW_E_NO_TIME_FORMAT);
  LONGLONG position = 10'000'000;
  EXPECT_EQ(graph_->SetPositions(&position, AM_SEEKING_AbsolutePositioning, &position,
                                 AM_SEEKING_AbsolutePositioning),
            com::E_NOTIMPL);
  LONGLONG negative = -1;
  EXPECT_EQ(graph_->SetPositions(&negative, AM_SEEKING_AbsolutePositioning, nullptr,
                                 AM_SEEKING_NoPositioning),
            com::E_INVALIDARG);
  LONGLONG duration = 0;
  ASSERT_EQ(graph_->GetDuration(&duration), com::S_OK);
  LONGLONG hour = 36'000'000'000;
  ASSERT_EQ(graph_->SetPositions(&hour, AM_SEEKING_AbsolutePositioning, nullptr,
                                 AM_SEEKING_NoPositioning),
            com::S_OK);
  EXPECT_EQ(Position(), duration);
}

TEST_F(FilterGraphPlayback, RenderFailuresNameTheFileAndTheReason) {
  const std::string missing = Fixture("no-such-file.wav");
  const com::Bstr missingName = com::Bstr::FromUtf8(missing);
  EXPECT_EQ(graph_->RenderFile(missingName.Get(), nullptr), VFW_E_NOT_FOUND);
  com::ComPtr<com::IErrorInfo> info;
  ASSERT_EQ(com::GetErrorInfo(0, info.Put()), com::S_OK);
  com::Bstr text;
  ASSERT_EQ(info->GetDescription(text.Put()), com::S_OK);
  EXPECT_NE(text.ToUtf8().find(missing), std::string::npos) << text.ToUtf8();

  EXPECT_EQ(Render("notaudio.wav"), VFW_E_UNSUPPORTED_STREAM);
  EXPECT_EQ(graph_->Run(), VFW_E_WRONG_STATE);  // nothing was rendered
  ASSERT_EQ(Render("stereo16.wav"), com::S_OK);
  EXPECT_EQ(Render("stereo16.wav"), VFW_E_WRONG_STATE);  // one file per graph
}

// A file name is bytes: one that is not UTF-8 reaches the graph through the file-name
// mapping of wide strings and names the same file.
TEST_F(FilterGraphPlayback, ANameThatIsNotUtf8IsRenderedByItsBytes) {
  testutil::TempDir dir;
  const std::string odd = (dir.path() / "caf\xe9 \xff.wav").string();
  std::filesystem::copy_file(Fixture("stereo16.wav"), odd);
  const std::u16string wide = fileio::PathToWide(odd);
  const com::Bstr name(wide);
  EXPECT_EQ(graph_->RenderFile(name.Get(), nullptr), com::S_OK);
}

TEST_F(FilterGraphPlayback, AnUnusableSinkFailsTheRender) {
  ::setenv("TAVOLEX_AUDIO_SINK", "no-such-sink-element", 1);
  EXPECT_EQ(Render("stereo16.wav"), VFW_E_UNSUPPORTED_STREAM);
  com::ComPtr<com::IErrorInfo> info;
  ASSERT_EQ(com::GetErrorInfo(0, info.Put()), com::S_OK);
  com::Bstr text;
  ASSERT_EQ(info->GetDescription(text.Put()), com::S_OK);
  EXPECT_NE(text.ToUtf8().find("no-such-sink-element"), std::string::npos) << text.ToUtf8();
}

TEST_F(FilterGraphPlayback, VolumeIsKeptInHundredthsOfADecibel) {
  EXPECT_EQ(graph_->put_Volume(-600), com::S_OK);  // before a file: applied at RenderFile
  ASSERT_EQ(Render("stereo16.wav"), com::S_OK);
  LONG volume = 0;
  EXPECT_EQ(graph_->get_Volume(&volume), com::S_OK);
  EXPECT_EQ(volume, -600);
  EXPECT_EQ(graph_->put_Volume(1), com::E_INVALIDARG);
  EXPECT_EQ(graph_->put_Volume(-10001), com::E_INVALIDARG);
  EXPECT_EQ(graph_->put_Balance(0), com::E_NOTIMPL);
}

TEST(FilterGraphServer, IsCreatedThroughTheClassRegistryWithAllFiveInterfaces) {
  testutil::TempDir dir;
  testplayback::RegisteredFilterGraph registration(dir / "registry");
  ASSERT_TRUE(registration.Registered());
  ASSERT_TRUE(com::SUCCEEDED(com::CoInitializeEx(nullptr, com::COINIT_APARTMENTTHREADED)));
  {
    com::ComPtr<IGraphBuilder> builder;
    ASSERT_EQ(com::CoCreateInstance(CLSID_FilterGraph, nullptr, com::CLSCTX_INPROC_SERVER,
                                    IID_IGraphBuilder, builder.PutVoid()),
              com::S_OK);
    for (const com::IID* iid :
         {&IID_IMediaControl, &IID_IMediaSeeking, &IID_IMediaEventEx, &IID_IBasicAudio}) {
      com::ComPtr<com::IUnknown> part;
      EXPECT_EQ(builder->QueryInterface(*iid, part.PutVoid()), com::S_OK);
    }
  }
  com::CoUninitialize();
}

}  // namespace
