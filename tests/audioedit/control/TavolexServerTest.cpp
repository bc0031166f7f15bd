// The Tavolex library as a component server: exact registry keys on registration and their
// removal, and a working control through CoCreateInstance.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <condition_variable>
#include <set>

#include "platform/registry/Activation.h"
#include "platform/registry/Registry.h"
#include "tests/audioedit/control/ControlTestSupport.h"

namespace audioedit::testing {
namespace {

const std::string kLibrary = PROJECT_LIB_DIR "/libTavolex.so";

// Every key and value as "path" or "path|name=value" lines.
void Flatten(const reg::Key& key, const std::string& path, std::set<std::string>& out) {
  out.insert(path);
  for (const auto& [name, value] : key.Values()) {
    const std::string text = std::holds_alternative<std::string>(value)
                                 ? std::get<std::string>(value)
                                 : std::to_string(std::get<std::uint32_t>(value));
    out.insert(path + "|" + name + "=" + text);
  }
  for (const auto& [name, sub] : key.Subkeys())
    Flatten(*sub, path.empty() ? name : path + "\\" + name, out);
}

std::set<std::string> Contents(const std::filesystem::path& file) {
  reg::Key root;
  EXPECT_TRUE(reg::Registry(file).Read(root).ok());
  std::set<std::string> lines;
  Flatten(root, "", lines);
  lines.erase("");
  return lines;
}

std::set<std::string> Below(const std::set<std::string>& lines, const std::string& prefix) {
  std::set<std::string> out;
  for (const auto& line : lines)
    if (line.rfind(prefix, 0) == 0) out.insert(line);
  return out;
}

class TavolexServer : public ::testing::Test {
 protected:
  void SetUp() override {
    registry_ = temp_.Path() / "registry";
    ::setenv("COM_REGISTRY", registry_.c_str(), 1);
    handle_ = ::dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle_, nullptr) << ::dlerror();
  }
  void TearDown() override {
    if (handle_) ::dlclose(handle_);
    ::unsetenv("COM_REGISTRY");
  }
  com::HRESULT CallExport(const char* name) {
    auto fn = reinterpret_cast<com::HRESULT (*)()>(::dlsym(handle_, name));
    EXPECT_NE(fn, nullptr) << name;
    return fn ? fn() : com::E_FAIL;
  }

  TempDir temp_;
  std::filesystem::path registry_;
  void* handle_ = nullptr;
};

TEST_F(TavolexServer, RegistrationWritesTheControlKeysAndRemovesThemAgain) {
  ASSERT_EQ(CallExport("DllRegisterServer"), com::S_OK);
  const auto lines = Contents(registry_);
  const std::string clsid = "CLSID\\{F0884FF2-F827-4F03-8791-293AB03D2455}";
  const std::string appid = "{33C6FEDB-3380-4884-8331-ACC9F20115DB}";
  const std::set<std::string> expectedClass = {
      clsid,
      clsid + "|=AudioEditCtl Class",
      clsid + "|AppID=" + appid,
      clsid + "\\Control",
      clsid + "\\InprocServer32",
      clsid + "\\InprocServer32|=" + kLibrary,
      clsid + "\\InprocServer32|ThreadingModel=Apartment",
      clsid + "\\MiscStatus",
      clsid + "\\MiscStatus|=0",
      clsid + "\\MiscStatus\\1",
      clsid + "\\MiscStatus\\1|=131473",
      clsid + "\\ProgID",
      clsid + "\\ProgID|=Tavolex.AudioEditCtl.1",
      clsid + "\\Programmable",
      clsid + "\\ToolboxBitmap32",
      clsid + "\\ToolboxBitmap32|=" + kLibrary + ", 102",
      clsid + "\\TypeLib",
      clsid + "\\TypeLib|={7F7CB5A0-6B78-4B5B-9E36-BA3CA85BB7CB}",
      clsid + "\\Version",
      clsid + "\\Version|=1.0",
      clsid + "\\VersionIndependentProgID",
      clsid + "\\VersionIndependentProgID|=Tavolex.AudioEditCtl",
  };
  EXPECT_EQ(Below(lines, clsid), expectedClass);
  const std::set<std::string> expectedProgIds = {
      "Tavolex.AudioEditCtl",
      "Tavolex.AudioEditCtl|=AudioEditCtl Class",
      "Tavolex.AudioEditCtl\\CLSID",
      "Tavolex.AudioEditCtl\\CLSID|={F0884FF2-F827-4F03-8791-293AB03D2455}",
      "Tavolex.AudioEditCtl\\CurVer",
      "Tavolex.AudioEditCtl\\CurVer|=Tavolex.AudioEditCtl.1",
      "Tavolex.AudioEditCtl.1",
      "Tavolex.AudioEditCtl.1|=AudioEditCtl Class",
      "Tavolex.AudioEditCtl.1\\CLSID",
      "Tavolex.AudioEditCtl.1\\CLSID|={F0884FF2-F827-4F03-8791-293AB03D2455}",
  };
  EXPECT_EQ(Below(lines, "Tavolex."), expectedProgIds);
  const std::set<std::string> expectedAppId = {
      "AppID",
      "AppID\\" + appid,
      "AppID\\" + appid + "|=Tavolex",
      "AppID\\Tavolex.DLL",
      "AppID\\Tavolex.DLL|AppID=" + appid,
  };
  EXPECT_EQ(Below(lines, "AppID"), expectedAppId);
  EXPECT_TRUE(lines.count("TypeLib\\{7F7CB5A0-6B78-4B5B-9E36-BA3CA85BB7CB}\\1.0|=Tavolex 1.0 Type Library"));
  EXPECT_TRUE(lines.count("Interface\\{44D4279C-37BA-4D8E-B281-715CB2E71090}|=IAudioEditCtl"));

  ASSERT_EQ(CallExport("DllUnregisterServer"), com::S_OK);
  const std::set<std::string> left = {"AppID", "CLSID", "Interface", "TypeLib"};
  EXPECT_EQ(Contents(registry_), left);
}

TEST_F(TavolexServer, CoCreateInstanceGivesAWorkingControl) {
  ASSERT_EQ(CallExport("DllRegisterServer"), com::S_OK);
  ASSERT_TRUE(com::SUCCEEDED(com::CoInitializeEx(nullptr, com::COINIT_APARTMENTTHREADED)));
  {
    com::ComPtr<IAudioEditCtl> control;
    ASSERT_EQ(com::CoCreateInstance(CLSID_AudioEditCtl, nullptr, com::CLSCTX_INPROC_SERVER,
                                    IID_IAudioEditCtl, control.PutVoid()),
              com::S_OK);
    com::UINT frames = 0;
    control->get_MinSplitFrames(&frames);
    EXPECT_EQ(frames, 75u);

    auto container = control.As<com::IConnectionPointContainer>(com::IID_IConnectionPointContainer);
    ASSERT_TRUE(container);
    com::ComPtr<com::IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(DIID__IAudioEditCtlEvents, point.Put()), com::S_OK);
    win::HeadlessWindow window(400, 100);
    auto sink = com::MakeObject<EventSink>();
    sink->wake.push_back(&window);
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    sink->onEvent = [&](const Event& e) {
      if (!e.IsMsg(AEMSG_EndPeakFile) && !e.IsMsg(AEMSG_PeakError)) return;
      std::lock_guard lock(mutex);
      done = e.IsMsg(AEMSG_EndPeakFile) || e.args[1] != 0;
      ended.notify_all();
    };
    com::DWORD cookie = 0;
    ASSERT_EQ(point->Advise(sink.Get(), &cookie), com::S_OK);
    com::Bstr audio = com::Bstr::FromUtf8(Fixture("mono8.wav"));
    ASSERT_EQ(control->LoadAudioFile(audio.Get(), 0, nullptr, 0), com::S_OK);
    {
      std::unique_lock lock(mutex);
      ASSERT_TRUE(ended.wait_for(lock, std::chrono::seconds(60), [&] { return done; }));
    }
    com::LONG loaded = 0;
    control->get_IsAudioFileLoaded(&loaded);
    EXPECT_EQ(loaded, 1);

    // With a window attached by interface, the result comes from the window thread.
    auto attach = control.As<IAudioEditWindow>(IID_IAudioEditWindow);
    ASSERT_TRUE(attach);
    ASSERT_EQ(attach->AttachWindow(&window), com::S_OK);
    const std::size_t before = sink->Events().size();
    ASSERT_EQ(control->LoadAudioFile(audio.Get(), 0, nullptr, 0), com::S_OK);
    ASSERT_TRUE(window.RunUntil([&] {
      const auto events = sink->Events();
      return events.size() > before && events.back().IsMsg(AEMSG_EndPeakFile);
    }));
    for (std::size_t i = before; i < sink->Events().size(); ++i) {
      const Event e = sink->Events()[i];
      if (e.IsMsg(AEMSG_PeakError)) {
        EXPECT_EQ(e.thread, std::this_thread::get_id());
      }
    }
    // The load asked for a repaint: handling what is due paints the window.
    window.RunPending();
    EXPECT_GT(window.PaintCount(), 0u);
    EXPECT_FALSE(window.PaintPending());
    attach->AttachWindow(nullptr);
    point->Unadvise(cookie);
  }
  com::CoUninitialize();
}

}  // namespace
}  // namespace audioedit::testing
