#include "tools/desktop/DividersFile.h"

#include <span>

#include "info/FileReplacer.h"

namespace desktop {

std::string FormatDividers(const std::vector<DividerEntry>& dividers) {
  std::string text;
  for (const DividerEntry& d : dividers)
    text += "divider: " + std::to_string(d.type) + " " + std::to_string(d.frame) + "\n";
  return text;
}

bool WriteDividersFile(const std::string& path, const std::vector<DividerEntry>& dividers,
                       std::string& error) {
  const std::string text = FormatDividers(dividers);
  info::FileReplacer file(path);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (file.Open() && file.Write(std::span(bytes, text.size())) && file.Commit()) return true;
  error = file.error();
  return false;
}

}  // namespace desktop
