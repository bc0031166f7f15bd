#include "tools/regsvr/RegistryPrinter.h"

#include <cstdio>

#include "platform/registry/QuotedString.h"

namespace regsvr {
namespace {

bool NeedsQuotes(const std::string& name) {
  if (name.empty() || name.front() == '@' || name.front() == '"' || name.front() == '#')
    return true;
  for (char c : name)
    if (static_cast<unsigned char>(c) <= ' ' || c == '=' || c == '%' || c == 0x7F) return true;
  return false;
}

std::string ValueText(const reg::Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return reg::Quote(*text);
  char buf[24];
  std::snprintf(buf, sizeof buf, "dword:0x%08X",
                static_cast<unsigned>(std::get<std::uint32_t>(value)));
  return buf;
}

}  // namespace

std::string PrintRegistry(const reg::Key& root) {
  std::string out;
  reg::WalkKeys(root, [&](const reg::Key& key, std::size_t depth) {
    const std::string indent((depth - 1) * 2, ' ');
    const std::string& name = key.Name();
    out += indent;
    out += NeedsQuotes(name) ? reg::Quote(name) : name;
    if (const reg::Value* def = key.GetValue("")) out += " = " + ValueText(*def);
    out += '\n';
    for (const auto& [valueName, value] : key.Values()) {
      if (valueName.empty()) continue;
      out += indent + "  @" + (NeedsQuotes(valueName) ? reg::Quote(valueName) : valueName) + " = " +
             ValueText(value) + "\n";
    }
  });
  return out;
}

}  // namespace regsvr
