// A track's attribute values: attribute number -> VARIANT, each entry owning its copy.
#pragma once

#include <cstdint>
#include <map>

#include "platform/com/Variant.h"

namespace info {

class AttributeMap {
 public:
  AttributeMap() = default;
  AttributeMap(const AttributeMap&) = delete;
  AttributeMap& operator=(const AttributeMap&) = delete;

  // Stores a copy of `value`, replacing an earlier entry.
  com::HRESULT Set(std::int32_t attribute, const com::VARIANT& value);
  void Set(std::int32_t attribute, com::Variant value) { entries_[attribute] = std::move(value); }
  // The stored value, or null when the attribute has no entry.
  const com::VARIANT* Find(std::int32_t attribute) const;
  bool Empty() const { return entries_.empty(); }
  void Clear() { entries_.clear(); }
  const std::map<std::int32_t, com::Variant>& Entries() const { return entries_; }

 private:
  std::map<std::int32_t, com::Variant> entries_;
};

}  // namespace info
