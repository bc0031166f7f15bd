#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "platform/com/ComPtr.h"
#include "platform/registry/Activation.h"
#include "platform/registry/Registry.h"
#include "tests/platform/registry/TempDir.h"
#include "tests/server/RegisterLibrary.h"
#include "tests/server/TestThing.h"

namespace {

using namespace com;
using testserver::ITestThing;

const std::string kLibrary = PROJECT_LIB_DIR "/libTestServer.so";
const std::string kClassKey = "CLSID\\" + GuidToString(testserver::CLSID_TestThing);

class Activation : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("COM_REGISTRY", (dir_ / "registry").c_str(), 1); }

  void RegisterServer() { testutil::RegisterLibrary(kLibrary, dir_ / "registry"); }

  static bool LibraryLoaded() {
    void* handle = ::dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) ::dlclose(handle);
    return handle != nullptr;
  }

  testutil::TempDir dir_;
};

TEST_F(Activation, ApartmentsAreCountedPerThread) {
  ComPtr<IUnknown> object;
  EXPECT_EQ(CoCreateInstance(testserver::CLSID_TestThing, nullptr, CLSCTX_ALL, IID_IUnknown,
                             object.PutVoid()),
            CO_E_NOTINITIALIZED);
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
  CoUninitialize();
  OleUninitialize();
  CoUninitialize();  // one too many does nothing
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  CoUninitialize();
}

TEST_F(Activation, CreatesRegisteredClassByProgIdAndUnloadsWhenUnused) {
  RegisterServer();
  ASSERT_EQ(OleInitialize(nullptr), S_OK);
  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(testserver::kProgId, &clsid), S_OK);
  EXPECT_EQ(clsid, testserver::CLSID_TestThing);

  ComPtr<ITestThing> thing;
  ASSERT_EQ(
      CoCreateInstance(clsid, nullptr, CLSCTX_ALL, testserver::IID_ITestThing, thing.PutVoid()),
      S_OK);
  LONG answer = 0;
  EXPECT_EQ(thing->Answer(&answer), S_OK);
  EXPECT_EQ(answer, 42);
  EXPECT_EQ(LoadedServerLibraryCount(), 1u);

  CoFreeUnusedLibraries();  // a live object keeps its library
  EXPECT_TRUE(LibraryLoaded());
  thing.Reset();
  CoFreeUnusedLibraries();
  EXPECT_EQ(LoadedServerLibraryCount(), 0u);
  EXPECT_FALSE(LibraryLoaded());
  OleUninitialize();
}

TEST_F(Activation, HeldClassFactoryKeepsLibraryAndLastUninitializeUnloads) {
  RegisterServer();
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(CoGetClassObject(testserver::CLSID_TestThing, CLSCTX_INPROC_SERVER, nullptr,
                             IID_IClassFactory, factory.PutVoid()),
            S_OK);
  CoFreeUnusedLibraries();
  EXPECT_TRUE(LibraryLoaded());
  ComPtr<IUnknown> object;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, object.PutVoid()), S_OK);
  factory.Reset();
  CoFreeUnusedLibraries();
  EXPECT_TRUE(LibraryLoaded());
  object.Reset();
  CoUninitialize();
  EXPECT_FALSE(LibraryLoaded());
}

TEST_F(Activation, FailuresLeaveTheOutputNull) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  void* out = &out;
  EXPECT_EQ(CoCreateInstance(testserver::CLSID_TestThing, nullptr, CLSCTX_ALL, IID_IUnknown, &out),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(out, nullptr);
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(u"Not.Registered", &clsid), CO_E_CLASSSTRING);
  EXPECT_EQ(CLSIDFromProgID(nullptr, &clsid), E_INVALIDARG);

  RegisterServer();
  out = &out;
  EXPECT_EQ(CoCreateInstance(testserver::CLSID_TestThing, nullptr, CLSCTX_LOCAL_SERVER,
                             IID_IUnknown, &out),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(
      CoCreateInstance(testserver::CLSID_TestThing, nullptr, CLSCTX_ALL, IID_IClassFactory, &out),
      E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(CoCreateInstance(testserver::CLSID_TestThing, reinterpret_cast<IUnknown*>(&out),
                             CLSCTX_ALL, IID_IUnknown, &out),
            CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);

  reg::Registry registry = reg::Registry::FromEnvironment();
  const std::string server = kClassKey + "\\InprocServer32";
  ASSERT_TRUE(registry.SetValue(server, "", (dir_ / "missing.so").string()).ok());
  out = &out;
  EXPECT_EQ(CoCreateInstance(testserver::CLSID_TestThing, nullptr, CLSCTX_ALL, IID_IUnknown, &out),
            CO_E_DLLNOTFOUND);
  EXPECT_EQ(out, nullptr);
  std::ofstream(dir_ / "notalibrary.so") << "text";
  ASSERT_TRUE(registry.SetValue(server, "", (dir_ / "notalibrary.so").string()).ok());
  EXPECT_EQ(CoCreateInstance(testserver::CLSID_TestThing, nullptr, CLSCTX_ALL, IID_IUnknown, &out),
            CO_E_ERRORINDLL);

  std::ofstream(dir_ / "registry") << "garbage";
  EXPECT_EQ(CoCreateInstance(testserver::CLSID_TestThing, nullptr, CLSCTX_ALL, IID_IUnknown, &out),
            REGDB_E_READREGDB);
  EXPECT_EQ(CLSIDFromProgID(testserver::kProgId, &clsid), CO_E_CLASSSTRING);
  CoUninitialize();
}

}  // namespace
