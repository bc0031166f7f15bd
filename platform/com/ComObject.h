// ComObject: the base of every reference-counted component object of the system.
//
//   class Track final : public com::ComObject<Track, ITrack> {
//    public:
//     auto Interfaces() {
//       return std::array{com::Expose<ITrack>(this, IID_IUnknown),
//                         com::Expose<ITrack>(this, IID_IDispatch),
//                         com::Expose<ITrack>(this, IID_ITrack)};
//     }
//     ...
//   };
//   com::ComPtr<Track> t = com::MakeObject<Track>(args...);
//
// The object lists its interfaces once, in Interfaces(); QueryInterface walks that list. The
// first entry should answer IID_IUnknown, so that every query for IUnknown gives the same
// pointer. The reference count is atomic; the object deletes itself when it reaches zero.
#pragma once

#include <array>
#include <atomic>
#include <new>
#include <utility>

#include "platform/com/ComPtr.h"

namespace com {

// Counts live objects of a component server, so that it can tell whether it may be unloaded.
// The server passes its counter to the objects it makes; each object locks it once for its
// whole life.
class ModuleLock {
 public:
  virtual void Lock() noexcept = 0;
  virtual void Unlock() noexcept = 0;

 protected:
  ~ModuleLock() = default;
};

// One answer of QueryInterface.
struct InterfaceEntry {
  const IID* iid;
  void* pointer;
};

// The entry for interface I of `self`, answered for `iid` (I itself or one of its bases).
template <class I, class T>
InterfaceEntry Expose(T* self, REFIID iid) {
  return {&iid, static_cast<void*>(static_cast<I*>(self))};
}

template <class Derived, class... Bases>
class ComObject : public Bases... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    for (const InterfaceEntry& e : static_cast<Derived*>(this)->Interfaces()) {
      if (*e.iid == riid) {
        *ppv = e.pointer;
        AddRef();
        return S_OK;
      }
    }
    return E_NOINTERFACE;
  }

  ULONG AddRef() override { return refs_.fetch_add(1, std::memory_order_relaxed) + 1; }

  ULONG Release() override {
    const ULONG left = refs_.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete static_cast<Derived*>(this);
    return left;
  }

 protected:
  explicit ComObject(ModuleLock* module = nullptr) noexcept : module_(module) {
    if (module_) module_->Lock();
  }
  ~ComObject() {
    if (module_) module_->Unlock();
  }

 private:
  std::atomic<ULONG> refs_{0};
  ModuleLock* module_;
};

// Makes a new object holding one reference (the returned pointer's); null when out of memory.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
  return ComPtr<T>(new (std::nothrow) T(std::forward<Args>(args)...));
}

}  // namespace com
