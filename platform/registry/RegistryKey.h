// In-memory key tree of the class registry. Key and value names compare without regard to
// ASCII case, as the platform's registry does, and keep the case in which they were first
// written. A key's default value is the value whose name is empty.
//
// Nothing here recurses over the tree: walking, copying, comparing and freeing keep their own
// stack, so a tree of any depth is handled without exhausting the thread's stack. How deep a
// stored registry may be is the file's rule (kMaxKeyDepth), checked when it is read and
// before it is written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace reg {

// Levels of keys below the classes root that a registry file may hold.
inline constexpr std::size_t kMaxKeyDepth = 512;

// REG_SZ text (UTF-8) or a REG_DWORD number.
using Value = std::variant<std::string, std::uint32_t>;

struct CaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};

bool EqualNoCase(std::string_view a, std::string_view b);

// Splits "A\B\C" into its names. Returns false when a name is empty (also for "A\\B" or a
// leading/trailing backslash); the empty path gives no names and is valid.
bool SplitKeyPath(std::string_view path, std::vector<std::string_view>& names);

class Key {
 public:
  using ValueMap = std::map<std::string, Value, CaseLess>;
  using SubkeyMap = std::map<std::string, std::unique_ptr<Key>, CaseLess>;

  Key() = default;
  explicit Key(std::string name) : name_(std::move(name)) {}
  ~Key();
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  const std::string& Name() const { return name_; }

  // Keys below this one by relative path ("" is this key). Null when absent or malformed.
  Key* Find(std::string_view path);
  const Key* Find(std::string_view path) const;
  // Opens the key, creating the missing ones on the way. Null for a malformed path.
  Key* Create(std::string_view path);
  // Deletes a key below this one. Without `subtree`, a key that has subkeys stays.
  enum class RemoveResult { kRemoved, kMissing, kHasSubkeys, kBadPath };
  RemoveResult Remove(std::string_view path, bool subtree);

  void SetValue(std::string_view name, Value value);
  const Value* GetValue(std::string_view name) const;
  bool DeleteValue(std::string_view name);

  const ValueMap& Values() const { return values_; }
  const SubkeyMap& Subkeys() const { return subkeys_; }
  bool Empty() const { return values_.empty() && subkeys_.empty(); }

  std::unique_ptr<Key> Clone() const;
  // Same names (case included), values and subkeys throughout.
  bool SameAs(const Key& other) const;
  // Levels below this key: 0 without subkeys, 1 with subkeys that have none, and so on.
  std::size_t Depth() const;

 private:
  std::string name_;
  ValueMap values_;
  SubkeyMap subkeys_;
};

// Calls visit(key, depth) for every key below `root`, parents before their subkeys and
// siblings in name order; depth is 1 for the subkeys of `root`. The tree must not change
// during the walk.
template <class Visit>
void WalkKeys(const Key& root, Visit&& visit) {
  using Iterator = Key::SubkeyMap::const_iterator;
  std::vector<std::pair<Iterator, Iterator>> stack;
  stack.emplace_back(root.Subkeys().begin(), root.Subkeys().end());
  while (!stack.empty()) {
    auto& [next, end] = stack.back();
    if (next == end) {
      stack.pop_back();
      continue;
    }
    const Key& key = *next->second;
    ++next;
    visit(key, stack.size());
    stack.emplace_back(key.Subkeys().begin(), key.Subkeys().end());
  }
}

}  // namespace reg
