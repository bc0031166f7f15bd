// ComPtr<T>: owns one reference to a reference-counted component interface.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "platform/com/Unknown.h"

namespace com {

template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes a new reference on `p`.
  explicit ComPtr(T* p) noexcept : p_(p) { AddRefIfAny(); }
  ComPtr(const ComPtr& other) noexcept : p_(other.p_) { AddRefIfAny(); }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  ComPtr(const ComPtr<U>& other) noexcept : p_(other.Get()) {
    AddRefIfAny();
  }
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  ComPtr(ComPtr<U>&& other) noexcept : p_(other.Detach()) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& other) noexcept {
    ComPtr(other).Swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).Swap(*this);
    return *this;
  }
  ComPtr& operator=(std::nullptr_t) noexcept {
    Reset();
    return *this;
  }

  // Adopts a pointer whose reference the caller already owns.
  static ComPtr Adopt(T* p) noexcept {
    ComPtr r;
    r.p_ = p;
    return r;
  }

  T* Get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  T& operator*() const noexcept { return *p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  void Reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Releases the current pointer and adopts `p` without adding a reference.
  void Attach(T* p) noexcept {
    if (p_ == p) {
      if (p) p->Release();  // already held: keep exactly one reference
      return;
    }
    Reset();
    p_ = p;
  }
  // Gives up ownership without releasing.
  T* Detach() noexcept { return std::exchange(p_, nullptr); }

  // Out-parameter slot: releases what is held and returns the address to be filled.
  T** Put() noexcept {
    Reset();
    return &p_;
  }
  void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }
  T* const* GetAddressOf() const noexcept { return &p_; }

  // Hands an added reference to an out parameter.
  HRESULT CopyTo(T** out) const noexcept {
    if (!out) return E_POINTER;
    *out = p_;
    if (p_) p_->AddRef();
    return S_OK;
  }

  // QueryInterface for `iid` into `out`.
  template <class U>
  HRESULT As(REFIID iid, ComPtr<U>& out) const noexcept {
    if (!p_) {
      out.Reset();
      return E_POINTER;
    }
    return p_->QueryInterface(iid, out.PutVoid());
  }
  // QueryInterface for `iid`; null when the object does not have it.
  template <class U>
  ComPtr<U> As(REFIID iid) const noexcept {
    ComPtr<U> out;
    As(iid, out);
    return out;
  }

  void Swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

  friend bool operator==(const ComPtr& a, const ComPtr& b) noexcept { return a.p_ == b.p_; }
  friend bool operator==(const ComPtr& a, std::nullptr_t) noexcept { return a.p_ == nullptr; }
  friend bool operator==(const ComPtr& a, const T* b) noexcept { return a.p_ == b; }

 private:
  void AddRefIfAny() noexcept {
    if (p_) p_->AddRef();
  }
  T* p_ = nullptr;
};

}  // namespace com
