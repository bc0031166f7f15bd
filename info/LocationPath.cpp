#include "info/LocationPath.h"

#include "info/TextCodec.h"
#include "platform/fileio/PathText.h"

namespace info {

std::u16string LocationFromPath(std::string_view path) { return fileio::PathToWide(path); }

std::string PathFromLocation(std::u16string_view location) {
  if (std::optional<std::string> path = fileio::PathFromWide(location)) return *std::move(path);
  // Not made from a file name (an unpaired surrogate no name can hold): read it as text.
  return WideToUtf8(location);
}

}  // namespace info
