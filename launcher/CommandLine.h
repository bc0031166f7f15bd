// What the launcher's command line asks of the wizard.
//
// The command line is the text after the program name. On this platform the program gets
// argv, so the text is rebuilt by joining the arguments with single spaces: an argument that
// itself holds spaces or quotes keeps them ("-L  x" as one argument keeps both spaces).
//
// After the leading spaces (character 32 only), "-l"/"-L" asks the wizard to open a path in
// mode 0 and "-o"/"-O" in mode 1; anything else, an empty command line included, starts the
// wizard. The path is the rest of the text after the option and the spaces that follow it,
// unchanged: quotes and trailing blanks stay part of it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/com/Types.h"

namespace launcher {

// The wizard receives the path in a buffer of this size, terminating zero included.
inline constexpr std::size_t kPathBufferSize = 1024;

struct WizardRequest {
  enum class Method { kStart, kOpen };
  Method method = Method::kStart;
  com::LONG mode = 0;
  std::string path;
};

std::string JoinArguments(int argc, const char* const* argv);

WizardRequest ParseCommandLine(std::string_view commandLine);

}  // namespace launcher
