// Helpers of the playback tests: the test sink that plays in real time without a sound
// device, and libFilterGraph.so registered in a temporary class registry.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/com/Types.h"

namespace testplayback {

inline constexpr const char* kTestSink = "fakesink sync=true";
inline const std::string kFilterGraphLibrary = PROJECT_LIB_DIR "/libFilterGraph.so";

// Plays to the fake sink (in real time, no sound device needed).
inline void UseTestSink() { ::setenv("TAVOLEX_AUDIO_SINK", kTestSink, 1); }

// $COM_REGISTRY names `registry`, with the filter graph registered in it, for the lifetime
// of this object.
class RegisteredFilterGraph {
 public:
  explicit RegisteredFilterGraph(const std::filesystem::path& registry) {
    ::setenv("COM_REGISTRY", registry.c_str(), 1);
    handle_ = ::dlopen(kFilterGraphLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) return;
    auto registerServer =
        reinterpret_cast<com::HRESULT (*)()>(::dlsym(handle_, "DllRegisterServer"));
    registered_ = registerServer != nullptr && registerServer() == com::S_OK;
  }
  ~RegisteredFilterGraph() {
    if (handle_ != nullptr) ::dlclose(handle_);
    ::unsetenv("COM_REGISTRY");
  }
  RegisteredFilterGraph(const RegisteredFilterGraph&) = delete;
  RegisteredFilterGraph& operator=(const RegisteredFilterGraph&) = delete;

  bool Registered() const { return registered_; }

 private:
  void* handle_ = nullptr;
  bool registered_ = false;
};

}  // namespace testplayback
