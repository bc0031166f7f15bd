#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>

#include "info/InfoInterfaces.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComPtr.h"
#include "platform/registry/Activation.h"
#include "platform/registry/Registry.h"
#include "tests/info/TestFiles.h"

namespace info {
namespace {

using ServerFn = com::HRESULT (*)();
constexpr const char* kClsid = "{F9050B08-7436-49BE-9ED7-AF0D620FD88D}";
const std::string kLibrary = std::string(PROJECT_LIB_DIR) + "/libInfo.so";

std::string Value(reg::Registry& registry, const std::string& path, const std::string& name = "") {
  std::string out = "<missing>";
  registry.GetString(path, name, out);
  return out;
}

std::vector<std::string> Subkeys(reg::Registry& registry, const std::string& path) {
  std::vector<std::string> names;
  registry.EnumSubkeys(path, names);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(InfoRegistration, WritesAndRemovesExactlyItsKeysAndActivates) {
  test::TempDir dir;
  const std::string file = dir.File("registry");
  ::setenv("COM_REGISTRY", file.c_str(), 1);
  reg::Registry registry(file);
  ASSERT_TRUE(registry.CreateKey("CLSID\\{00000000-0000-0000-0000-000000000001}").ok());

  void* library = ::dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << ::dlerror();
  auto registerServer = reinterpret_cast<ServerFn>(::dlsym(library, "DllRegisterServer"));
  auto unregisterServer = reinterpret_cast<ServerFn>(::dlsym(library, "DllUnregisterServer"));
  ASSERT_TRUE(registerServer && unregisterServer);
  ASSERT_EQ(registerServer(), com::S_OK);

  const std::string clsidKey = std::string("CLSID\\") + kClsid;
  EXPECT_EQ(Value(registry, "Info.TrackFactory.1"), "TrackFactory Class");
  EXPECT_EQ(Value(registry, "Info.TrackFactory.1\\CLSID"), kClsid);
  EXPECT_EQ(Value(registry, "Info.TrackFactory"), "TrackFactory Class");
  EXPECT_EQ(Value(registry, "Info.TrackFactory\\CLSID"), kClsid);
  EXPECT_EQ(Value(registry, "Info.TrackFactory\\CurVer"), "Info.TrackFactory.1");
  EXPECT_EQ(Value(registry, clsidKey), "TrackFactory Class");
  EXPECT_EQ(Value(registry, clsidKey + "\\ProgID"), "Info.TrackFactory.1");
  EXPECT_EQ(Value(registry, clsidKey + "\\VersionIndependentProgID"), "Info.TrackFactory");
  EXPECT_EQ(Value(registry, clsidKey + "\\Programmable"), "<missing>");  // a key without value
  EXPECT_EQ(Subkeys(registry, clsidKey),
            (std::vector<std::string>{"InprocServer32", "ProgID", "Programmable", "TypeLib", "VersionIndependentProgID"}));
  EXPECT_NE(Value(registry, clsidKey + "\\InprocServer32").find("libInfo.so"), std::string::npos);
  EXPECT_EQ(Value(registry, clsidKey + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(Value(registry, clsidKey + "\\TypeLib"), "{A682850C-3AF2-4F2D-9E1F-511D422FCA01}");

  ASSERT_EQ(com::CoInitialize(nullptr), com::S_OK);
  {
    com::ComPtr<ITrackFactory> factory;
    ASSERT_EQ(com::CoCreateInstance(CLSID_TrackFactory, nullptr, com::CLSCTX_INPROC_SERVER, IID_ITrackFactory,
                                    factory.PutVoid()),
              com::S_OK);
    com::ComPtr<com::IDispatch> object;
    ASSERT_EQ(factory->CreateInstance(efMPEG, object.Put()), com::S_OK);
    auto track = object.As<ITrack>(IID_ITrack);
    ASSERT_TRUE(track);
    com::BOOL loaded = 0;
    ASSERT_EQ(track->Load(com::Bstr::FromUtf8(test::FixturePath("tagged.mp3")).Get(), &loaded), com::S_OK);
    EXPECT_EQ(loaded, com::TRUE);
    auto canUnload = reinterpret_cast<ServerFn>(::dlsym(library, "DllCanUnloadNow"));
    EXPECT_EQ(canUnload(), com::S_FALSE);  // objects are alive
  }
  EXPECT_EQ(reinterpret_cast<ServerFn>(::dlsym(library, "DllCanUnloadNow"))(), com::S_OK);
  com::CoUninitialize();

  ASSERT_EQ(unregisterServer(), com::S_OK);
  const auto top = Subkeys(registry, "");
  EXPECT_EQ(std::count(top.begin(), top.end(), "Info.TrackFactory"), 0);
  EXPECT_EQ(std::count(top.begin(), top.end(), "Info.TrackFactory.1"), 0);
  EXPECT_EQ(Subkeys(registry, "CLSID"), std::vector<std::string>{"{00000000-0000-0000-0000-000000000001}"});
  ::dlclose(library);
  ::unsetenv("COM_REGISTRY");
}

}  // namespace
}  // namespace info
