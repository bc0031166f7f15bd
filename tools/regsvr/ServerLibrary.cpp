#include "tools/regsvr/ServerLibrary.h"

#include <dlfcn.h>

namespace regsvr {

ServerLibrary::~ServerLibrary() {
  if (handle_ != nullptr) ::dlclose(handle_);
}

bool ServerLibrary::Load(const std::string& path, std::string& error) {
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = ::dlerror();
    error = "cannot load " + path + ": " + (why ? why : "unknown error");
    return false;
  }
  path_ = path;
  return true;
}

bool ServerLibrary::Call(const char* name, com::HRESULT& hr, std::string& error) {
  using Export = com::HRESULT (*)();
  const auto fn = reinterpret_cast<Export>(::dlsym(handle_, name));
  if (fn == nullptr) {
    error = path_ + " has no " + name + " export";
    return false;
  }
  hr = fn();
  return true;
}

}  // namespace regsvr
