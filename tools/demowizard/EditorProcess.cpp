#include "tools/demowizard/EditorProcess.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

extern char** environ;

namespace demowizard {
namespace {

constexpr const char* kEditorName = "tavolex-desktop";

const char* Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

}  // namespace

std::string EditorProgram(const std::filesystem::path& libraryDir) {
  if (const char* editor = Environment("DEMOWIZARD_EDITOR")) return editor;
  const std::filesystem::path beside = libraryDir.parent_path() / "bin" / kEditorName;
  if (!libraryDir.empty() && ::access(beside.c_str(), X_OK) == 0) return beside.string();
  return kEditorName;
}

bool RunEditor(const std::string& program, const std::string& file, std::string& error) {
  std::vector<std::string> args{program, file};
  if (const char* screenshot = Environment("DEMOWIZARD_SCREENSHOT")) {
    args.emplace_back("--screenshot");
    args.emplace_back(screenshot);
  }
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  pid_t pid = -1;
  // A program name without a slash is looked up on PATH, as a shell would, but without one.
  const int rc = program.find('/') == std::string::npos
                     ? ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ)
                     : ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (rc != 0) {
    error = "cannot start the editor " + program + ": " + std::strerror(rc);
    return false;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      error = "lost the editor " + program + ": " + std::strerror(errno);
      return false;
    }
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  error = "the editor " + program +
          (WIFEXITED(status) ? " exited with status " + std::to_string(WEXITSTATUS(status))
                             : " was ended by signal " + std::to_string(WTERMSIG(status)));
  return false;
}

}  // namespace demowizard
