#include "tools/desktop/DividersFile.h"

#include "platform/fileio/OutputFile.h"

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
  fileio::OutputFile file(path);
  if (file.Open() && file.Write(text.data(), text.size()) && file.Commit()) return true;
  error = file.Error();
  return false;
}

}  // namespace desktop
