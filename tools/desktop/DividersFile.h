// The divider list of a closing editor as a file a script can read: one
// `divider: <DivType> <frame>` line per divider, the form `tavolex peaks` prints. The file is
// replaced as a whole (a new file beside it, renamed over it), never written in place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace desktop {

struct DividerEntry {
  std::int32_t type;
  std::uint32_t frame;
};

std::string FormatDividers(const std::vector<DividerEntry>& dividers);
// True when written; else `error` names the file and the reason.
bool WriteDividersFile(const std::string& path, const std::vector<DividerEntry>& dividers,
                       std::string& error);

}  // namespace desktop
