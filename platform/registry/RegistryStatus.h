// Outcome of a registry operation: a status code in the component runtime's convention and,
// on failure, one line for a person saying what went wrong and with which file.
#pragma once

#include <string>
#include <utility>

#include "platform/com/Types.h"

namespace reg {

struct Status {
  com::HRESULT code = com::S_OK;
  std::string message;

  bool ok() const { return com::SUCCEEDED(code); }
  static Status Ok() { return {}; }
  static Status Fail(com::HRESULT hr, std::string text) { return {hr, std::move(text)}; }
};

}  // namespace reg
