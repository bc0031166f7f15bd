// `tavolex peaks`, `render` and `decode` stopped by SIGINT, SIGTERM or SIGHUP in the middle
// of a long load: the load is cancelled, no file is left in the temporary folder or beside
// the output, and the exit status is 128 + the signal number. The signal is sent once the
// work is seen under way; every wait has a deadline.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/tools/ToolProcess.h"

namespace {

constexpr int kDeadlineMs = 60000;

class TavolexSignals : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(dir_ / "tmp");
    // An hour of audio: the clip joined many times.
    std::ofstream out(song_, std::ios::binary);
    const std::string clip = tooltest::ReadAll(TEST_DATA_DIR "/tools/clip.mp3");
    for (int i = 0; i < 1800; ++i) out << clip;
  }

  // Starts the tool with stdout on a pipe; returns its pid and the pipe's read end.
  pid_t Start(const std::vector<std::string>& args, int& readEnd) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
    const std::string tmpdir = "TMPDIR=" + (dir_ / "tmp");
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(fds[1], STDOUT_FILENO);
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, STDERR_FILENO);
      std::vector<char*> argv;
      std::vector<std::string> all = {tooltest::kTavolex};
      all.insert(all.end(), args.begin(), args.end());
      for (std::string& a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      std::vector<char*> env = {const_cast<char*>(tmpdir.c_str()), nullptr};
      ::execve(argv[0], argv.data(), env.data());
      ::_exit(127);
    }
    ::close(fds[1]);
    readEnd = fds[0];
    return pid;
  }

  // Reads the tool's output until `marker` shows (true) or the output ends or the deadline
  // passes (false).
  static bool WaitForOutput(int fd, const std::string& marker) {
    std::string seen;
    bool any = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDeadlineMs);
    while (!(marker.empty() ? any : seen.find(marker) != std::string::npos)) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd p{fd, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
      char buffer[4096];
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n <= 0) return false;
      any = true;
      seen.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
  }

  // The exit status of the child, waited for with a deadline; -1 when it did not exit
  // normally in time (it is killed then).
  static int WaitForExit(pid_t pid) {
    const int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
      pollfd p{pidfd, POLLIN, 0};
      const int ready = ::poll(&p, 1, kDeadlineMs);
      ::close(pidfd);
      if (ready <= 0) ::kill(pid, SIGKILL);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Runs the tool and signals it once its work is under way: once `marker` shows on its
  // output, or (without a marker) once a file is created in `folder` (the peak file of a
  // load, the new file of a decode). The exit status.
  int StopDuringWork(const std::vector<std::string>& args, int signal, const std::string& marker,
                     const std::string& folder = "") {
    int out = -1;
    if (!folder.empty()) {
      watch_ = ::inotify_init1(IN_CLOEXEC);
      if (watch_ >= 0) ::inotify_add_watch(watch_, folder.c_str(), IN_CREATE);
    }
    const pid_t pid = Start(args, out);
    if (pid < 0) return -2;
    const bool started =
        folder.empty() ? WaitForOutput(out, marker) : watch_ >= 0 && WaitForOutput(watch_, "");
    ::kill(pid, started ? signal : SIGKILL);
    const int status = WaitForExit(pid);
    ::close(out);
    return started ? status : -3;
  }

  void TearDown() override {
    if (watch_ >= 0) ::close(watch_);
  }

  tooltest::TempDir dir_;
  std::string song_ = dir_ / "long.mp3";
  int watch_ = -1;
};

TEST_F(TavolexSignals, PeaksStopsCleanlyOnEachSignal) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    EXPECT_EQ(StopDuringWork({"peaks", song_, "--keep"}, signal, "event: PeakFileProgress"),
              128 + signal)
        << signal;
    EXPECT_TRUE(std::filesystem::is_empty(dir_ / "tmp")) << signal;
  }
}

TEST_F(TavolexSignals, RenderStopsCleanlyAndWritesNoPicture) {
  const std::string png = dir_ / "out.png";
  // render shows no progress on a pipe: it is signalled once its peak file exists.
  EXPECT_EQ(StopDuringWork({"render", song_, "--png", png}, SIGTERM, "", dir_ / "tmp"),
            128 + SIGTERM);
  EXPECT_TRUE(std::filesystem::is_empty(dir_ / "tmp"));
  EXPECT_FALSE(std::filesystem::exists(png));
  EXPECT_EQ(tooltest::Entries(dir_.Path()), 2u);  // long.mp3 and tmp
}

TEST_F(TavolexSignals, DecodeStopsCleanlyAndLeavesTheOutputAlone) {
  const std::string wav = dir_ / "out.wav";
  std::ofstream(wav) << "precious";
  EXPECT_EQ(StopDuringWork({"decode", song_, wav}, SIGINT, "", dir_.Path().string()), 128 + SIGINT);
  EXPECT_EQ(tooltest::ReadAll(wav), "precious");
  EXPECT_EQ(tooltest::Entries(dir_.Path()), 3u);  // long.mp3, tmp and out.wav: no new file left
}

}  // namespace
