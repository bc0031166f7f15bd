// A component server library loaded to call its registration exports.
#pragma once

#include <string>

#include "platform/com/Types.h"

namespace regsvr {

class ServerLibrary {
 public:
  ServerLibrary() = default;
  ~ServerLibrary();
  ServerLibrary(const ServerLibrary&) = delete;
  ServerLibrary& operator=(const ServerLibrary&) = delete;

  // Loads the library (RTLD_NOW | RTLD_LOCAL). On failure returns false and sets `error`.
  bool Load(const std::string& path, std::string& error);

  // Calls the export `name` (DllRegisterServer, DllUnregisterServer). On a missing export
  // returns false and sets `error`; otherwise stores the export's status in `hr`.
  bool Call(const char* name, com::HRESULT& hr, std::string& error);

 private:
  void* handle_ = nullptr;
  std::string path_;
};

}  // namespace regsvr
