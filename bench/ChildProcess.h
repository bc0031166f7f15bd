// Runs a command as a child process for the benchmarks that compare this project's tools with
// a peer program in the same run.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

namespace bench_support {

struct ChildCost {
  double cpuSeconds = 0;  // user + system time of the child
  long maxRssKb = 0;      // its peak resident memory
  int status = -1;        // wait status; -1 when it could not be started

  bool Succeeded() const { return status == 0; }
};

// Runs args (found on PATH when not a path; stdout and stderr on /dev/null) and waits for it.
inline ChildCost RunChild(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  ChildCost cost;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    struct rusage usage {};
    int status = 0;
    if (wait4(pid, &status, 0, &usage) == pid) {
      cost.cpuSeconds =
          static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
          static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
      cost.maxRssKb = usage.ru_maxrss;
      cost.status = status;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
  return cost;
}

}  // namespace bench_support
