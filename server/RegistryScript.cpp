#include "server/RegistryScript.h"

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/registry/QuotedString.h"

namespace server {
namespace {

enum class KeyFlag { kNormal, kReplace, kKeep };

struct ScriptKey {
  std::string name;
  std::optional<std::string> defaultValue;
  std::vector<std::pair<std::string, std::string>> values;
  KeyFlag flag = KeyFlag::kNormal;
  std::vector<std::unique_ptr<ScriptKey>> children;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void SkipBlanks(std::string_view line, std::size_t& pos) {
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
}

class ScriptParser {
 public:
  explicit ScriptParser(std::span<const Replacement> replacements) : replacements_(replacements) {}

  reg::Status Parse(std::string_view script, ScriptKey& root) {
    stack_ = {{-1, &root}};
    std::size_t lineNo = 0;
    for (std::size_t start = 0; start <= script.size();) {
      std::size_t end = script.find('\n', start);
      if (end == std::string_view::npos) end = script.size();
      const std::string_view line = script.substr(start, end - start);
      start = end + 1;
      ++lineNo;
      if (std::string problem = Line(line); !problem.empty())
        return reg::Status::Fail(com::E_UNEXPECTED, "registration script line " +
                                                        std::to_string(lineNo) + ": " + problem);
    }
    return reg::Status::Ok();
  }

 private:
  std::string Line(std::string_view line) {
    std::size_t pos = 0;
    SkipBlanks(line, pos);
    if (pos == line.size() || line[pos] == '#') return {};
    const int indent = static_cast<int>(pos);
    while (stack_.back().first >= indent) stack_.pop_back();
    ScriptKey* parent = stack_.back().second;
    const bool isValue = line[pos] == '@';
    if (isValue) ++pos;
    std::string name;
    if (std::string problem = Text(line, pos, false, name); !problem.empty()) return problem;
    SkipBlanks(line, pos);
    std::optional<std::string> value;
    if (pos < line.size() && line[pos] == '=') {
      ++pos;
      SkipBlanks(line, pos);
      value.emplace();
      if (std::string problem = Text(line, pos, true, *value); !problem.empty()) return problem;
    }
    if (isValue) {
      if (stack_.size() == 1) return "value outside a key";
      if (!value) return "value without '='";
      parent->values.emplace_back(std::move(name), std::move(*value));
      return Rest(line, pos);
    }
    if (name.empty() || name.find('\\') != std::string::npos)
      return "key name is empty or contains a backslash";
    auto key = std::make_unique<ScriptKey>();
    key->name = std::move(name);
    key->defaultValue = std::move(value);
    if (std::string problem = Flag(line, pos, key->flag); !problem.empty()) return problem;
    stack_.emplace_back(indent, key.get());
    parent->children.push_back(std::move(key));
    return {};
  }

  // A quoted string, or a bare word (names only), with the replacements applied.
  std::string Text(std::string_view line, std::size_t& pos, bool quotedOnly, std::string& out) {
    std::string raw;
    if (pos < line.size() && line[pos] == '"') {
      if (std::string problem = reg::ReadQuoted(line, pos, raw); !problem.empty()) return problem;
    } else if (quotedOnly) {
      return "a value must be a quoted string";
    } else {
      const std::size_t start = pos;
      while (pos < line.size() && !IsBlank(line[pos]) && line[pos] != '=') ++pos;
      raw = line.substr(start, pos - start);
    }
    return Replace(raw, out);
  }

  std::string Replace(std::string_view raw, std::string& out) const {
    out.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '%') {
        out += raw[i];
        continue;
      }
      const std::size_t close = raw.find('%', i + 1);
      if (close == std::string_view::npos) return "unmatched '%'";
      const std::string_view name = raw.substr(i + 1, close - i - 1);
      i = close;
      if (name.empty()) {
        out += '%';
        continue;
      }
      const Replacement* found = nullptr;
      for (const Replacement& r : replacements_)
        if (r.name == name) found = &r;
      if (found == nullptr) return "unknown replacement %" + std::string(name) + "%";
      out += found->value;
    }
    return {};
  }

  static std::string Flag(std::string_view line, std::size_t& pos, KeyFlag& flag) {
    SkipBlanks(line, pos);
    const std::string_view rest = line.substr(pos);
    if (rest.starts_with("[replace]")) {
      flag = KeyFlag::kReplace;
      pos += 9;
    } else if (rest.starts_with("[keep]")) {
      flag = KeyFlag::kKeep;
      pos += 6;
    }
    return Rest(line, pos);
  }

  static std::string Rest(std::string_view line, std::size_t pos) {
    SkipBlanks(line, pos);
    return pos == line.size() ? std::string()
                              : "unexpected text '" + std::string(line.substr(pos)) + "'";
  }

  std::span<const Replacement> replacements_;
  std::vector<std::pair<int, ScriptKey*>> stack_;
};

void Register(reg::Key& parent, const ScriptKey& item) {
  if (item.flag == KeyFlag::kReplace) parent.Remove(item.name, true);
  reg::Key* key = parent.Create(item.name);
  if (item.defaultValue) key->SetValue("", *item.defaultValue);
  for (const auto& [name, value] : item.values) key->SetValue(name, value);
  for (const auto& child : item.children) Register(*key, *child);
}

void Unregister(reg::Key& parent, const ScriptKey& item) {
  reg::Key* key = parent.Find(item.name);
  if (key == nullptr) return;
  if (item.flag == KeyFlag::kReplace) {
    parent.Remove(item.name, true);
    return;
  }
  for (const auto& child : item.children) Unregister(*key, *child);
  if (item.flag == KeyFlag::kKeep) return;
  // The script's own values go; the key goes too unless something else is left in it.
  if (item.defaultValue) key->DeleteValue("");
  for (const auto& entry : item.values) key->DeleteValue(entry.first);
  if (key->Empty()) parent.Remove(item.name, false);
}

}  // namespace

reg::Status ApplyRegistryScript(reg::Key& tree, std::string_view script,
                                std::span<const Replacement> replacements, ScriptMode mode) {
  ScriptKey root;
  if (reg::Status s = ScriptParser(replacements).Parse(script, root); !s.ok()) return s;
  for (const auto& item : root.children) {
    if (mode == ScriptMode::kRegister)
      Register(tree, *item);
    else
      Unregister(tree, *item);
  }
  return reg::Status::Ok();
}

reg::Status RunRegistryScript(reg::Registry& registry, std::string_view script,
                              std::span<const Replacement> replacements, ScriptMode mode) {
  return registry.Update(
      [&](reg::Key& tree) { return ApplyRegistryScript(tree, script, replacements, mode); });
}

}  // namespace server
