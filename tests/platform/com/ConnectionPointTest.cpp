#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/com/ConnectionPoint.h"

namespace com {
namespace {

inline constexpr IID IID_IEvents = MakeGuid("{7A3B9C10-0001-4E55-8C21-6D0F00000001}");
inline constexpr IID IID_IOtherEvents = MakeGuid("{7A3B9C10-0002-4E55-8C21-6D0F00000001}");

// An event sink answering IID_IEvents that records what it receives.
class RecordingSink final : public ComObject<RecordingSink, IDispatch, IPropertyNotifySink> {
 public:
  auto Interfaces() {
    return std::array{Expose<IDispatch>(this, IID_IUnknown), Expose<IDispatch>(this, IID_IEvents),
                      Expose<IPropertyNotifySink>(this, IID_IPropertyNotifySink)};
  }
  HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                 UINT*) override {
    ++calls;
    lastId = id;
    lastLcid = lcid;
    lastFlags = flags;
    args.clear();
    for (UINT i = p->cArgs; i-- > 0;) args.push_back(p->rgvarg[i].ulVal);  // back to declaration order
    if (onEvent) onEvent();
    return S_OK;
  }
  HRESULT OnChanged(DISPID id) override {
    changed.push_back(id);
    return S_OK;
  }
  HRESULT OnRequestEdit(DISPID) override { return refuseEdits ? S_FALSE : S_OK; }

  std::atomic<int> calls{0};
  DISPID lastId = 0;
  LCID lastLcid = 0;
  WORD lastFlags = 0;
  std::vector<ULONG> args;
  std::vector<DISPID> changed;
  bool refuseEdits = false;
  std::function<void()> onEvent;
};

// An event source with two outgoing interfaces.
class Source final : public ComObject<Source, IConnectionPointContainer> {
 public:
  auto Interfaces() {
    return std::array{Expose<IConnectionPointContainer>(this, IID_IUnknown),
                      Expose<IConnectionPointContainer>(this, IID_IConnectionPointContainer)};
  }
  HRESULT EnumConnectionPoints(IEnumConnectionPoints** e) override { return points.Enum(e); }
  HRESULT FindConnectionPoint(REFIID iid, IConnectionPoint** cp) override {
    return points.Find(iid, cp);
  }
  ConnectionPointSet points{this, {IID_IEvents, IID_IPropertyNotifySink}};
};

TEST(ConnectionPoint, AdviseFireUnadvise) {
  ComPtr<Source> source = MakeObject<Source>();
  ComPtr<IConnectionPoint> cp;
  ASSERT_EQ(source->FindConnectionPoint(IID_IEvents, cp.Put()), S_OK);
  EXPECT_EQ(source->FindConnectionPoint(IID_IOtherEvents, cp.Put()), CONNECT_E_NOCONNECTION);
  ASSERT_EQ(source->FindConnectionPoint(IID_IEvents, cp.Put()), S_OK);
  IID iid;
  ASSERT_EQ(cp->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(iid, IID_IEvents);
  ComPtr<IConnectionPointContainer> back;
  ASSERT_EQ(cp->GetConnectionPointContainer(back.Put()), S_OK);
  EXPECT_EQ(back.Get(), static_cast<IConnectionPointContainer*>(source.Get()));

  ComPtr<RecordingSink> a = MakeObject<RecordingSink>();
  ComPtr<RecordingSink> b = MakeObject<RecordingSink>();
  DWORD ca = 0, cb = 0;
  ASSERT_EQ(cp->Advise(static_cast<IDispatch*>(a.Get()), &ca), S_OK);
  ASSERT_EQ(cp->Advise(static_cast<IDispatch*>(b.Get()), &cb), S_OK);
  EXPECT_NE(ca, 0u);
  EXPECT_NE(ca, cb);

  EXPECT_EQ(source->points.Get(IID_IEvents)->FireEvent(4, {3u, 0xFFFFFFFFu}), 2u);
  EXPECT_EQ(a->calls, 1);
  EXPECT_EQ(a->lastId, 4);
  EXPECT_EQ(a->lastFlags, DISPATCH_METHOD);
  EXPECT_EQ(a->lastLcid, LOCALE_USER_DEFAULT);
  EXPECT_EQ(a->args, (std::vector<ULONG>{3u, 0xFFFFFFFFu}));
  EXPECT_EQ(b->calls, 1);

  EXPECT_EQ(cp->Unadvise(ca), S_OK);
  EXPECT_EQ(cp->Unadvise(ca), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(source->points.Get(IID_IEvents)->FireEvent(1, {50u}), 1u);
  EXPECT_EQ(a->calls, 1);
  EXPECT_EQ(b->calls, 2);
  EXPECT_EQ(cp->Unadvise(cb), S_OK);
}

TEST(ConnectionPoint, RefusesSinksWithoutTheInterface) {
  ComPtr<ConnectionPoint> cp = MakeObject<ConnectionPoint>(IID_IOtherEvents, nullptr);
  ComPtr<RecordingSink> sink = MakeObject<RecordingSink>();
  DWORD cookie = 5;
  EXPECT_EQ(cp->Advise(static_cast<IDispatch*>(sink.Get()), &cookie), CONNECT_E_CANNOTCONNECT);
  EXPECT_EQ(cookie, 0u);
  EXPECT_EQ(cp->Advise(nullptr, &cookie), E_POINTER);
  ComPtr<IConnectionPointContainer> none;
  EXPECT_EQ(cp->GetConnectionPointContainer(none.Put()), E_UNEXPECTED);
}

TEST(ConnectionPoint, SinkMayUnadviseDuringTheEvent) {
  ComPtr<Source> source = MakeObject<Source>();
  ConnectionPoint* cp = source->points.Get(IID_IEvents);
  ComPtr<RecordingSink> first = MakeObject<RecordingSink>();
  ComPtr<RecordingSink> second = MakeObject<RecordingSink>();
  DWORD c1 = 0, c2 = 0;
  ASSERT_EQ(cp->Advise(static_cast<IDispatch*>(first.Get()), &c1), S_OK);
  ASSERT_EQ(cp->Advise(static_cast<IDispatch*>(second.Get()), &c2), S_OK);
  first->onEvent = [&] { EXPECT_EQ(cp->Unadvise(c1), S_OK); };
  second->onEvent = [&] { EXPECT_EQ(cp->Unadvise(c2), S_OK); };
  EXPECT_EQ(cp->FireEvent(1, {7u}), 2u);
  EXPECT_EQ(first->calls, 1);
  EXPECT_EQ(second->calls, 1);
  EXPECT_TRUE(cp->Sinks().empty());
  EXPECT_EQ(cp->FireEvent(1, {8u}), 0u);
}

TEST(ConnectionPoint, EnumeratesConnectionsAndPoints) {
  ComPtr<Source> source = MakeObject<Source>();
  ConnectionPoint* cp = source->points.Get(IID_IEvents);
  ComPtr<RecordingSink> sinks[3] = {MakeObject<RecordingSink>(), MakeObject<RecordingSink>(),
                                    MakeObject<RecordingSink>()};
  DWORD cookies[3];
  for (int i = 0; i < 3; ++i) cp->Advise(static_cast<IDispatch*>(sinks[i].Get()), &cookies[i]);

  ComPtr<IEnumConnections> e;
  ASSERT_EQ(cp->EnumConnections(e.Put()), S_OK);
  CONNECTDATA got[4];
  ULONG fetched = 0;
  EXPECT_EQ(e->Next(4, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 3u);
  for (ULONG i = 0; i < fetched; ++i) {
    EXPECT_EQ(got[i].dwCookie, cookies[i]);
    got[i].pUnk->Release();
  }
  EXPECT_EQ(e->Reset(), S_OK);
  EXPECT_EQ(e->Skip(2), S_OK);
  ComPtr<IEnumConnections> clone;
  ASSERT_EQ(e->Clone(clone.Put()), S_OK);
  ASSERT_EQ(clone->Next(1, got, nullptr), S_OK);
  EXPECT_EQ(got[0].dwCookie, cookies[2]);
  got[0].pUnk->Release();
  EXPECT_EQ(clone->Skip(1), S_FALSE);
  EXPECT_EQ(e->Next(2, got, nullptr), E_POINTER);

  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(source->EnumConnectionPoints(points.Put()), S_OK);
  IConnectionPoint* p[2] = {};
  ASSERT_EQ(points->Next(2, p, &fetched), S_OK);
  IID iid;
  p[1]->GetConnectionInterface(&iid);
  EXPECT_EQ(iid, IID_IPropertyNotifySink);
  p[0]->Release();
  p[1]->Release();
}

TEST(ConnectionPoint, PropertyNotifications) {
  ComPtr<Source> source = MakeObject<Source>();
  ConnectionPoint* cp = source->points.Get(IID_IPropertyNotifySink);
  ComPtr<RecordingSink> sink = MakeObject<RecordingSink>();
  DWORD cookie = 0;
  ASSERT_EQ(cp->Advise(static_cast<IDispatch*>(sink.Get()), &cookie), S_OK);
  cp->NotifyChanged(-501);
  EXPECT_EQ(sink->changed, std::vector<DISPID>{-501});
  EXPECT_EQ(cp->RequestEdit(-501), S_OK);
  sink->refuseEdits = true;
  EXPECT_EQ(cp->RequestEdit(-501), S_FALSE);
}

TEST(ConnectionPoint, PointOutlivingItsContainerForgetsIt) {
  ComPtr<IConnectionPoint> cp;
  {
    ComPtr<Source> source = MakeObject<Source>();
    ASSERT_EQ(source->FindConnectionPoint(IID_IEvents, cp.Put()), S_OK);
  }
  ComPtr<IConnectionPointContainer> none;
  EXPECT_EQ(cp->GetConnectionPointContainer(none.Put()), E_UNEXPECTED);
}

TEST(ConnectionPoint, FiringFromAWorkerWhileSinksComeAndGo) {
  ComPtr<Source> source = MakeObject<Source>();
  ConnectionPoint* cp = source->points.Get(IID_IEvents);
  ComPtr<RecordingSink> steady = MakeObject<RecordingSink>();
  DWORD cookie = 0;
  ASSERT_EQ(cp->Advise(static_cast<IDispatch*>(steady.Get()), &cookie), S_OK);
  std::thread worker([cp] {
    for (ULONG i = 0; i < 2000; ++i) cp->FireEvent(1, {i});
  });
  for (int i = 0; i < 500; ++i) {
    ComPtr<RecordingSink> passing = MakeObject<RecordingSink>();
    DWORD c = 0;
    ASSERT_EQ(cp->Advise(static_cast<IDispatch*>(passing.Get()), &c), S_OK);
    ASSERT_EQ(cp->Unadvise(c), S_OK);
  }
  worker.join();
  EXPECT_EQ(steady->calls, 2000);
}

}  // namespace
}  // namespace com
