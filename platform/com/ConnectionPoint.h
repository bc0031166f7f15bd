// The connection point of one outgoing interface, and the set of them an event source keeps.
//
// Sinks are kept in the order they connected. Firing takes a snapshot of the sinks first,
// so a sink may connect or disconnect (itself or another) while an event is delivered, and
// events may be fired from any thread.
#pragma once

#include <initializer_list>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include "platform/com/ComObject.h"
#include "platform/com/ConnectionInterfaces.h"

namespace com {

class ConnectionPoint final : public ComObject<ConnectionPoint, IConnectionPoint> {
 public:
  // `container` is the event source that owns this point; it is not referenced, and calls
  // DetachContainer() before it goes away.
  ConnectionPoint(REFIID iid, IConnectionPointContainer* container);

  auto Interfaces() {
    return std::array{Expose<IConnectionPoint>(this, IID_IUnknown),
                      Expose<IConnectionPoint>(this, IID_IConnectionPoint)};
  }

  HRESULT GetConnectionInterface(IID* pIID) override;
  HRESULT GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
  // Connects a sink that answers the point's interface; cookies start at 1.
  HRESULT Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
  HRESULT Unadvise(DWORD dwCookie) override;
  HRESULT EnumConnections(IEnumConnections** ppEnum) override;

  const IID& Iid() const { return iid_; }
  void DetachContainer();
  // The sinks connected now, each as the point's interface.
  std::vector<ComPtr<IUnknown>> Sinks() const;

  // For points of dispatch interfaces: calls member `id` of every sink, one Invoke each with
  // DISPATCH_METHOD and the user-default locale. `args` are in declaration order. Returns
  // the number of sinks called.
  std::size_t FireEvent(DISPID id, std::span<const VARIANT> args) const;
  // The same with every argument an unsigned 32-bit value.
  std::size_t FireEvent(DISPID id, std::initializer_list<ULONG> args) const;

  // For points of IPropertyNotifySink: tells every sink that property `id` changed.
  void NotifyChanged(DISPID id) const;
  // Asks every sink whether property `id` may change: S_FALSE when one refuses.
  HRESULT RequestEdit(DISPID id) const;

 private:
  const IID iid_;
  mutable std::mutex mutex_;
  IConnectionPointContainer* container_;
  std::vector<std::pair<DWORD, ComPtr<IUnknown>>> sinks_;
  DWORD nextCookie_ = 1;
};

// The connection points of one event source, for its IConnectionPointContainer methods.
class ConnectionPointSet {
 public:
  ConnectionPointSet(IConnectionPointContainer* container, std::initializer_list<IID> iids);
  ~ConnectionPointSet();
  ConnectionPointSet(const ConnectionPointSet&) = delete;
  ConnectionPointSet& operator=(const ConnectionPointSet&) = delete;

  // The point of `iid`, or null.
  ConnectionPoint* Get(REFIID iid) const;
  HRESULT Find(REFIID iid, IConnectionPoint** out) const;
  HRESULT Enum(IEnumConnectionPoints** out) const;

 private:
  std::vector<ComPtr<ConnectionPoint>> points_;
};

}  // namespace com
