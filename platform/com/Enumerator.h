// A generic enumerator over a fixed snapshot of items (IEnumConnections,
// IEnumConnectionPoints and the like). Clones share the snapshot and copy the position.
#pragma once

#include <memory>
#include <vector>

#include "platform/com/ComObject.h"

namespace com {

// Policy: `Stored` is what the snapshot keeps, Hand(stored) what a caller receives (with a
// reference added where the item holds one).
template <class IEnum, const IID& Iid, class Item, class Stored, Item (*Hand)(const Stored&)>
class Enumerator final : public ComObject<Enumerator<IEnum, Iid, Item, Stored, Hand>, IEnum> {
 public:
  using Items = std::vector<Stored>;

  explicit Enumerator(std::shared_ptr<const Items> items, std::size_t position = 0)
      : items_(std::move(items)), position_(position) {}

  auto Interfaces() {
    return std::array{Expose<IEnum>(this, IID_IUnknown), Expose<IEnum>(this, Iid)};
  }

  HRESULT Next(ULONG count, Item* out, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && position_ < items_->size(); ++n) out[n] = Hand((*items_)[position_++]);
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG count) override {
    const std::size_t left = items_->size() - position_;
    if (count > left) {
      position_ = items_->size();
      return S_FALSE;
    }
    position_ += count;
    return S_OK;
  }
  HRESULT Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT Clone(IEnum** out) override {
    if (!out) return E_POINTER;
    *out = MakeObject<Enumerator>(items_, position_).Detach();
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 private:
  std::shared_ptr<const Items> items_;
  std::size_t position_;
};

}  // namespace com
