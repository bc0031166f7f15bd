#include "platform/com/ConnectionPoint.h"

#include <algorithm>

#include "platform/com/Enumerator.h"
#include "platform/com/Variant.h"

namespace com {
namespace {

using Connection = std::pair<DWORD, ComPtr<IUnknown>>;

CONNECTDATA HandConnection(const Connection& c) {
  if (c.second) c.second->AddRef();
  return {c.second.Get(), c.first};
}

IConnectionPoint* HandPoint(const ComPtr<IConnectionPoint>& p) {
  if (p) p->AddRef();
  return p.Get();
}

using ConnectionEnumerator =
    Enumerator<IEnumConnections, IID_IEnumConnections, CONNECTDATA, Connection, HandConnection>;
using PointEnumerator = Enumerator<IEnumConnectionPoints, IID_IEnumConnectionPoints,
                                   IConnectionPoint*, ComPtr<IConnectionPoint>, HandPoint>;

}  // namespace

ConnectionPoint::ConnectionPoint(REFIID iid, IConnectionPointContainer* container)
    : iid_(iid), container_(container) {}

HRESULT ConnectionPoint::GetConnectionInterface(IID* pIID) {
  if (!pIID) return E_POINTER;
  *pIID = iid_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** ppCPC) {
  if (!ppCPC) return E_POINTER;
  std::lock_guard lock(mutex_);
  *ppCPC = container_;
  if (!container_) return E_UNEXPECTED;
  container_->AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* pUnkSink, DWORD* pdwCookie) {
  if (pdwCookie) *pdwCookie = 0;
  if (!pUnkSink || !pdwCookie) return E_POINTER;
  void* sink = nullptr;
  if (FAILED(pUnkSink->QueryInterface(iid_, &sink)) || !sink) return CONNECT_E_CANNOTCONNECT;
  auto held = ComPtr<IUnknown>::Adopt(static_cast<IUnknown*>(sink));
  std::lock_guard lock(mutex_);
  if (nextCookie_ == 0) return CONNECT_E_ADVISELIMIT;  // cookies ran out
  *pdwCookie = nextCookie_++;
  sinks_.emplace_back(*pdwCookie, std::move(held));
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD dwCookie) {
  ComPtr<IUnknown> released;  // released after the lock is let go
  std::lock_guard lock(mutex_);
  auto it = std::find_if(sinks_.begin(), sinks_.end(),
                         [dwCookie](const auto& c) { return c.first == dwCookie; });
  if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
  released = std::move(it->second);
  sinks_.erase(it);
  return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** ppEnum) {
  if (!ppEnum) return E_POINTER;
  std::shared_ptr<const ConnectionEnumerator::Items> items;
  {
    std::lock_guard lock(mutex_);
    items = std::make_shared<const ConnectionEnumerator::Items>(sinks_);
  }
  *ppEnum = MakeObject<ConnectionEnumerator>(std::move(items)).Detach();
  return *ppEnum ? S_OK : E_OUTOFMEMORY;
}

void ConnectionPoint::DetachContainer() {
  std::lock_guard lock(mutex_);
  container_ = nullptr;
}

std::vector<ComPtr<IUnknown>> ConnectionPoint::Sinks() const {
  std::lock_guard lock(mutex_);
  std::vector<ComPtr<IUnknown>> snapshot;
  snapshot.reserve(sinks_.size());
  for (const auto& c : sinks_) snapshot.push_back(c.second);
  return snapshot;
}

std::size_t ConnectionPoint::FireEvent(DISPID id, std::span<const VARIANT> args) const {
  const auto sinks = Sinks();
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());  // callers pass the last first
  std::size_t called = 0;
  for (const auto& sink : sinks) {
    // A point of a dispatch interface holds IDispatch pointers.
    auto* target = reinterpret_cast<IDispatch*>(sink.Get());
    DISPPARAMS params;
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    Variant result;
    target->Invoke(id, GUID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.Raw(),
                   nullptr, nullptr);
    ++called;
  }
  return called;
}

std::size_t ConnectionPoint::FireEvent(DISPID id, std::initializer_list<ULONG> args) const {
  std::vector<VARIANT> values(args.size());
  std::size_t k = 0;
  for (ULONG a : args) {
    VariantInit(&values[k]);
    values[k].vt = VT_UI4;
    values[k++].ulVal = a;
  }
  return FireEvent(id, std::span<const VARIANT>(values));
}

void ConnectionPoint::NotifyChanged(DISPID id) const {
  for (const auto& sink : Sinks()) reinterpret_cast<IPropertyNotifySink*>(sink.Get())->OnChanged(id);
}

HRESULT ConnectionPoint::RequestEdit(DISPID id) const {
  for (const auto& sink : Sinks()) {
    if (reinterpret_cast<IPropertyNotifySink*>(sink.Get())->OnRequestEdit(id) == S_FALSE)
      return S_FALSE;
  }
  return S_OK;
}

ConnectionPointSet::ConnectionPointSet(IConnectionPointContainer* container,
                                       std::initializer_list<IID> iids) {
  for (const IID& iid : iids) points_.push_back(MakeObject<ConnectionPoint>(iid, container));
}

ConnectionPointSet::~ConnectionPointSet() {
  for (const auto& p : points_)
    if (p) p->DetachContainer();
}

ConnectionPoint* ConnectionPointSet::Get(REFIID iid) const {
  for (const auto& p : points_)
    if (p && p->Iid() == iid) return p.Get();
  return nullptr;
}

HRESULT ConnectionPointSet::Find(REFIID iid, IConnectionPoint** out) const {
  if (!out) return E_POINTER;
  *out = Get(iid);
  if (!*out) return CONNECT_E_NOCONNECTION;
  (*out)->AddRef();
  return S_OK;
}

HRESULT ConnectionPointSet::Enum(IEnumConnectionPoints** out) const {
  if (!out) return E_POINTER;
  auto items = std::make_shared<PointEnumerator::Items>();
  for (const auto& p : points_) items->push_back(ComPtr<IConnectionPoint>(p));
  *out = MakeObject<PointEnumerator>(std::move(items)).Detach();
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace com
