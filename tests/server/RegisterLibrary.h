// Registers a component server library into a given registry file through its own
// DllRegisterServer, as regsvr would, and unloads it again.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/com/Types.h"

namespace testutil {

inline void RegisterLibrary(const std::string& library, const std::filesystem::path& registry) {
  ::setenv("COM_REGISTRY", registry.c_str(), 1);
  void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << ::dlerror();
  auto reg = reinterpret_cast<com::HRESULT (*)()>(::dlsym(handle, "DllRegisterServer"));
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(reg(), com::S_OK);
  ::dlclose(handle);
}

}  // namespace testutil
