// Runs a command-line tool as a process for the tool tests: through the shell with its
// output captured, always under `timeout`, so that a hang fails the test instead of
// holding it (the timeout's status 124 never equals an expected one).
#pragma once

#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace tooltest {

inline const std::string kTavolex = PROJECT_BIN_DIR "/tavolex";

struct Result {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Quotes one word for the shell.
inline std::string Quote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A private folder for one test, removed at the end.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tooltestXXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Runs `shellCommand` (already quoted) with stdout and stderr captured in `scratch`.
inline Result Run(const std::string& shellCommand, const TempDir& scratch, int seconds = 60) {
  const std::string out = scratch / ".run.out";
  const std::string err = scratch / ".run.err";
  const std::string command = "timeout -s KILL " + std::to_string(seconds) + " sh -c " +
                              Quote(shellCommand) + " >" + Quote(out) + " 2>" + Quote(err);
  const int status = std::system(command.c_str());
  Result result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadAll(out);
  result.err = ReadAll(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return result;
}

// Entries of a folder, the runner's own capture files left out.
inline std::size_t Entries(const std::filesystem::path& dir) {
  std::size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.path().filename().string().rfind(".run.", 0) != 0) ++n;
  return n;
}

}  // namespace tooltest
