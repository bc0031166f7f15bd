#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "server/ComModule.h"
#include "tests/server/TestThing.h"

namespace {

using namespace com;
using testserver::CLSID_TestThing;
using testserver::ITestThing;

class Thing final : public ComObject<Thing, ITestThing> {
 public:
  explicit Thing(ModuleLock* module) : ComObject(module) {}
  auto Interfaces() {
    return std::array{Expose<ITestThing>(this, IID_IUnknown),
                      Expose<ITestThing>(this, testserver::IID_ITestThing)};
  }
  HRESULT Answer(LONG* value) override {
    *value = 7;
    return S_OK;
  }
};

constexpr CLSID kNoFactoryClass = MakeGuid("{00000000-1111-2222-3333-444444444444}");
constexpr server::ClassEntry kClasses[] = {
    {&CLSID_TestThing, &server::CreateObject<Thing>},
    {&kNoFactoryClass, nullptr},
};

class Module : public ::testing::Test {
 protected:
  server::ComModule module_{{.classes = kClasses}};
};

TEST_F(Module, GetClassObjectStatusesAlwaysLeaveOutputNullOnFailure) {
  EXPECT_EQ(module_.GetClassObject(CLSID_TestThing, IID_IClassFactory, nullptr), E_POINTER);
  void* out = &out;
  EXPECT_EQ(module_.GetClassObject(testserver::IID_ITestThing, IID_IClassFactory, &out),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(module_.GetClassObject(kNoFactoryClass, IID_IClassFactory, &out),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(out, nullptr);
  out = &out;
  EXPECT_EQ(module_.GetClassObject(CLSID_TestThing, testserver::IID_ITestThing, &out),
            E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  module_.Terminate();
  out = &out;
  EXPECT_EQ(module_.GetClassObject(CLSID_TestThing, IID_IClassFactory, &out), E_UNEXPECTED);
  EXPECT_EQ(out, nullptr);
}

TEST_F(Module, FactoryIsMadeOnceAndKept) {
  ComPtr<IClassFactory> a, b;
  ASSERT_EQ(module_.GetClassObject(CLSID_TestThing, IID_IClassFactory, a.PutVoid()), S_OK);
  ASSERT_EQ(module_.GetClassObject(CLSID_TestThing, IID_IUnknown, b.PutVoid()), S_OK);
  EXPECT_EQ(static_cast<IUnknown*>(a.Get()), static_cast<IUnknown*>(b.Get()));
  a.Reset();
  b.Reset();
  ASSERT_EQ(module_.GetClassObject(CLSID_TestThing, IID_IClassFactory, b.PutVoid()), S_OK);
  ComPtr<ITestThing> thing;
  ASSERT_EQ(b->CreateInstance(nullptr, testserver::IID_ITestThing, thing.PutVoid()), S_OK);
  LONG v = 0;
  EXPECT_EQ(thing->Answer(&v), S_OK);
  EXPECT_EQ(v, 7);
}

TEST_F(Module, CanUnloadOnlyWithoutObjectsFactoryReferencesOrServerLocks) {
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(module_.GetClassObject(CLSID_TestThing, IID_IClassFactory, factory.PutVoid()), S_OK);
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);  // a handed-out factory reference
  ComPtr<ITestThing> one, two;
  ASSERT_EQ(factory->CreateInstance(nullptr, testserver::IID_ITestThing, one.PutVoid()), S_OK);
  ASSERT_EQ(factory->CreateInstance(nullptr, testserver::IID_ITestThing, two.PutVoid()), S_OK);
  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  factory.Reset();
  EXPECT_EQ(module_.LockCount(), 3);
  one.Reset();
  two.Reset();
  EXPECT_EQ(module_.CanUnloadNow(), S_FALSE);  // the server lock
  ASSERT_EQ(module_.GetClassObject(CLSID_TestThing, IID_IClassFactory, factory.PutVoid()), S_OK);
  EXPECT_EQ(factory->LockServer(FALSE), S_OK);
  factory.Reset();
  EXPECT_EQ(module_.LockCount(), 0);
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

TEST_F(Module, FactoryRefusesAggregationAndNullOutput) {
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(module_.GetClassObject(CLSID_TestThing, IID_IClassFactory, factory.PutVoid()), S_OK);
  void* out = &out;
  EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
  factory.Reset();
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

TEST_F(Module, ConcurrentFirstRequestsGetTheSameFactory) {
  IUnknown* seen[2] = {};
  auto request = [this](IUnknown** out) {
    for (int i = 0; i < 50; ++i) {
      ComPtr<IUnknown> factory;
      ASSERT_EQ(module_.GetClassObject(CLSID_TestThing, IID_IUnknown, factory.PutVoid()), S_OK);
      if (*out == nullptr) *out = factory.Get();
      EXPECT_EQ(*out, factory.Get());
    }
  };
  std::thread a(request, &seen[0]);
  std::thread b(request, &seen[1]);
  a.join();
  b.join();
  EXPECT_EQ(seen[0], seen[1]);
  EXPECT_EQ(module_.CanUnloadNow(), S_OK);
}

}  // namespace
