// The commands of trackinfo. Each returns the exit status: 0 success, 1 failure (with one
// line on stderr naming the file and the reason), 2 bad usage.
#pragma once

#include <string>
#include <vector>

namespace trackinfo {

class InfoLibrary;

// `show [--json] FILE...`
int Show(InfoLibrary& library, const std::vector<std::string>& args);
// `set FILE eaName=value...`
int Set(InfoLibrary& library, const std::vector<std::string>& args);
// `pictures FILE DIR`
int ExtractPictures(InfoLibrary& library, const std::vector<std::string>& args);
// `edit FILE`: the information dialog; 0 saved, 1 failure, 2 bad usage, 3 cancelled or closed.
int Edit(InfoLibrary& library, const std::vector<std::string>& args);

}  // namespace trackinfo
