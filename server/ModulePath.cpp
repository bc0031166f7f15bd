#include "server/ModulePath.h"

#include <dlfcn.h>

#include <filesystem>

namespace server {

std::string ModulePath(const void* address) {
  Dl_info info{};
  if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr || *info.dli_fname == '\0')
    return {};
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::absolute(info.dli_fname, ec);
  return ec ? std::string(info.dli_fname) : path.lexically_normal().string();
}

}  // namespace server
