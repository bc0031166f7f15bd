// In-memory key tree of the class registry. Key and value names compare without regard to
// ASCII case, as the platform's registry does, and keep the case in which they were first
// written. A key's default value is the value whose name is empty.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace reg {

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

 private:
  std::string name_;
  ValueMap values_;
  SubkeyMap subkeys_;
};

}  // namespace reg
