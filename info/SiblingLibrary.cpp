#include "info/SiblingLibrary.h"

#include <dlfcn.h>

#include <string>

#include "server/ModulePath.h"

namespace info {

void* OpenSiblingLibrary(const char* name, const void* anchor, int flags) {
  const std::string self = server::ModulePath(anchor);
  const auto slash = self.rfind('/');
  if (slash != std::string::npos) {
    const std::string folder = self.substr(0, slash + 1);
    for (const std::string& candidate : {folder + name, folder + "../lib/" + name})
      if (void* handle = ::dlopen(candidate.c_str(), flags)) return handle;
  }
  return ::dlopen(name, flags);
}

}  // namespace info
