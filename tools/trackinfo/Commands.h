// The commands of trackinfo. Each returns the exit status: 0 success, 1 failure (with one
// line on stderr), 2 bad usage.
#pragma once

#include <string>
#include <vector>

namespace trackinfo {

class InfoLibrary;

int Show(InfoLibrary& library, const std::vector<std::string>& files);
int Set(InfoLibrary& library, const std::string& file, const std::vector<std::string>& assignments);
int ExtractPictures(InfoLibrary& library, const std::string& file, const std::string& dir);
// Opens the information dialog; 0 saved, 1 failure, 3 cancelled or closed.
int Edit(InfoLibrary& library, const std::string& file);

}  // namespace trackinfo
