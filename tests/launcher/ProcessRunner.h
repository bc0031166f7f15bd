// Runs a program of the build as a child process with extra environment variables and
// returns its exit status and what it wrote. Every wait has a timeout: a child still running
// then is killed and reported as timed out, so a hang fails the test instead of stalling it.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace testutil {

using Environment = std::vector<std::pair<std::string, std::string>>;

inline constexpr std::chrono::seconds kProcessTimeout{120};

struct ProcessResult {
  int exitCode = -1;  // -1 when the child did not exit normally
  bool timedOut = false;
  std::string out;
  std::string err;
};

inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// One started child whose stdout and stderr go to two files.
class ChildProcess {
 public:
  // `outFile` and `errFile` receive the child's stdout and stderr.
  ChildProcess(const std::vector<std::string>& args, const Environment& env,
               std::filesystem::path outFile, std::filesystem::path errFile)
      : outFile_(std::move(outFile)), errFile_(std::move(errFile)) {
    std::vector<std::string> envText;
    for (char** e = environ; *e != nullptr; ++e) {
      const std::string entry = *e;
      bool overridden = false;
      for (const auto& [name, value] : env) overridden |= entry.rfind(name + "=", 0) == 0;
      if (!overridden) envText.push_back(entry);
    }
    for (const auto& [name, value] : env) envText.push_back(name + "=" + value);
    std::vector<char*> envp, argv;
    for (auto& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> argCopy = args;
    for (auto& a : argCopy) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (pid_ < 0) startError_ = "cannot start " + args[0];
  }
  ~ChildProcess() {
    if (pid_ > 0) Wait(std::chrono::seconds(0));
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Waits up to `timeout` for the child to end; kills it when it is still running then.
  ProcessResult Wait(std::chrono::milliseconds timeout = kProcessTimeout) {
    ProcessResult result;
    if (pid_ < 0) {
      result.err = startError_;
      return result;
    }
    if (!EndsWithin(timeout)) {
      ::kill(pid_, SIGKILL);
      result.timedOut = true;
    }
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (WIFEXITED(status) && !result.timedOut) result.exitCode = WEXITSTATUS(status);
    result.out = ReadWholeFile(outFile_);
    result.err = ReadWholeFile(errFile_);
    return result;
  }

 private:
  // Whether the child ends within `timeout`, told by its process descriptor becoming readable.
  bool EndsWithin(std::chrono::milliseconds timeout) const {
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    if (pidfd < 0) return true;  // no descriptor: the plain wait below has to do
    pollfd ready{pidfd, POLLIN, 0};
    int rc;
    do {
      rc = ::poll(&ready, 1, static_cast<int>(timeout.count()));
    } while (rc < 0 && errno == EINTR);
    ::close(pidfd);
    return rc > 0;
  }

  pid_t pid_ = -1;
  std::string startError_;
  std::filesystem::path outFile_;
  std::filesystem::path errFile_;
};

// `scratch` is a directory for the captured output.
inline ProcessResult RunProcess(const std::vector<std::string>& args, const Environment& env,
                                const std::filesystem::path& scratch,
                                std::chrono::milliseconds timeout = kProcessTimeout) {
  ChildProcess child(args, env, scratch / "child.out", scratch / "child.err");
  return child.Wait(timeout);
}

}  // namespace testutil
