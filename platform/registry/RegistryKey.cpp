#include "platform/registry/RegistryKey.h"

#include <algorithm>

namespace reg {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool CaseLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
  });
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Lower(x) == Lower(y); });
}

bool SplitKeyPath(std::string_view path, std::vector<std::string_view>& names) {
  names.clear();
  if (path.empty()) return true;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find('\\', start);
    const std::string_view name =
        path.substr(start, end == std::string_view::npos ? path.npos : end - start);
    if (name.empty()) return false;
    names.push_back(name);
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

const Key* Key::Find(std::string_view path) const {
  std::vector<std::string_view> names;
  if (!SplitKeyPath(path, names)) return nullptr;
  const Key* key = this;
  for (std::string_view name : names) {
    const auto it = key->subkeys_.find(name);
    if (it == key->subkeys_.end()) return nullptr;
    key = it->second.get();
  }
  return key;
}

Key* Key::Find(std::string_view path) {
  return const_cast<Key*>(static_cast<const Key*>(this)->Find(path));
}

Key* Key::Create(std::string_view path) {
  std::vector<std::string_view> names;
  if (!SplitKeyPath(path, names)) return nullptr;
  Key* key = this;
  for (std::string_view name : names) {
    auto it = key->subkeys_.find(name);
    if (it == key->subkeys_.end())
      it = key->subkeys_.emplace(std::string(name), std::make_unique<Key>(std::string(name))).first;
    key = it->second.get();
  }
  return key;
}

Key::RemoveResult Key::Remove(std::string_view path, bool subtree) {
  std::vector<std::string_view> names;
  if (!SplitKeyPath(path, names) || names.empty()) return RemoveResult::kBadPath;
  const std::string_view last = names.back();
  names.pop_back();
  Key* parent = this;
  for (std::string_view name : names) {
    const auto it = parent->subkeys_.find(name);
    if (it == parent->subkeys_.end()) return RemoveResult::kMissing;
    parent = it->second.get();
  }
  const auto it = parent->subkeys_.find(last);
  if (it == parent->subkeys_.end()) return RemoveResult::kMissing;
  if (!subtree && !it->second->subkeys_.empty()) return RemoveResult::kHasSubkeys;
  parent->subkeys_.erase(it);
  return RemoveResult::kRemoved;
}

void Key::SetValue(std::string_view name, Value value) {
  const auto it = values_.find(name);
  if (it != values_.end())
    it->second = std::move(value);
  else
    values_.emplace(std::string(name), std::move(value));
}

const Value* Key::GetValue(std::string_view name) const {
  const auto it = values_.find(name);
  return it == values_.end() ? nullptr : &it->second;
}

bool Key::DeleteValue(std::string_view name) {
  const auto it = values_.find(name);
  if (it == values_.end()) return false;
  values_.erase(it);
  return true;
}

Key::~Key() {
  // Subkeys are detached level by level so that no destructor below runs with subkeys left.
  std::vector<std::unique_ptr<Key>> pending;
  for (auto& entry : subkeys_) pending.push_back(std::move(entry.second));
  subkeys_.clear();
  while (!pending.empty()) {
    std::unique_ptr<Key> key = std::move(pending.back());
    pending.pop_back();
    for (auto& entry : key->subkeys_) pending.push_back(std::move(entry.second));
    key->subkeys_.clear();
  }
}

std::unique_ptr<Key> Key::Clone() const {
  auto copy = std::make_unique<Key>(name_);
  copy->values_ = values_;
  std::vector<std::pair<const Key*, Key*>> pending{{this, copy.get()}};
  while (!pending.empty()) {
    const auto [from, to] = pending.back();
    pending.pop_back();
    for (const auto& [name, sub] : from->subkeys_) {
      auto made = std::make_unique<Key>(sub->name_);
      made->values_ = sub->values_;
      pending.emplace_back(sub.get(), made.get());
      to->subkeys_.emplace(name, std::move(made));
    }
  }
  return copy;
}

bool Key::SameAs(const Key& other) const {
  std::vector<std::pair<const Key*, const Key*>> pending{{this, &other}};
  while (!pending.empty()) {
    const auto [a, b] = pending.back();
    pending.pop_back();
    if (a->name_ != b->name_ || a->values_.size() != b->values_.size() ||
        a->subkeys_.size() != b->subkeys_.size())
      return false;
    for (auto x = a->values_.begin(), y = b->values_.begin(); x != a->values_.end(); ++x, ++y)
      if (x->first != y->first || x->second != y->second) return false;
    for (auto x = a->subkeys_.begin(), y = b->subkeys_.begin(); x != a->subkeys_.end(); ++x, ++y)
      pending.emplace_back(x->second.get(), y->second.get());
  }
  return true;
}

std::size_t Key::Depth() const {
  std::size_t deepest = 0;
  WalkKeys(*this, [&](const Key&, std::size_t depth) { deepest = std::max(deepest, depth); });
  return deepest;
}

}  // namespace reg
