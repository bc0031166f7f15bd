#include "launcher/CommandLine.h"

#include "launcher/WizardInterface.h"

namespace launcher {

std::string JoinArguments(int argc, const char* const* argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

WizardRequest ParseCommandLine(std::string_view commandLine) {
  std::size_t i = 0;
  while (i < commandLine.size() && commandLine[i] == ' ') ++i;
  WizardRequest request;
  if (commandLine.size() - i < 2 || commandLine[i] != '-') return request;
  switch (commandLine[i + 1]) {
    case 'l':
    case 'L':
      request.mode = wizard::kModeList;
      break;
    case 'o':
    case 'O':
      request.mode = wizard::kModeOpen;
      break;
    default:
      return request;
  }
  request.method = WizardRequest::Method::kOpen;
  i += 2;
  while (i < commandLine.size() && commandLine[i] == ' ') ++i;
  request.path = commandLine.substr(i);
  return request;
}

}  // namespace launcher
