#include "info/SiblingLibrary.h"

#include <dlfcn.h>

#include <string>

#include "server/ModulePath.h"

namespace info {

void* OpenSiblingLibrary(const char* name, const void* anchor, int flags) {
  const std::string self = server::ModulePath(anchor);
  const auto slash = self.rfind('/');
  if (slash != std::string::npos) {
    if (void* handle = ::dlopen((self.substr(0, slash + 1) + name).c_str(), flags)) return handle;
  }
  return ::dlopen(name, flags);
}

}  // namespace info
