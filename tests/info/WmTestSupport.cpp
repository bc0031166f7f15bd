#include "tests/info/WmTestSupport.h"

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

namespace info::test {

std::string WmaFixture(const std::string& name) {
  return std::string(TEST_DATA_DIR) + "/wma/" + name;
}

std::string CopyWma(const TempDir& dir, const std::string& name) {
  const std::string copy = dir.File(name);
  std::filesystem::copy_file(WmaFixture(name), copy,
                             std::filesystem::copy_options::overwrite_existing);
  return copy;
}

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

CommandRun Run(const std::string& command) {
  CommandRun run;
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::map<std::string, std::string> MutagenAsf(const std::string& path) {
  const std::string script =
      "import sys\n"
      "from mutagen.asf import ASF\n"
      "for name, values in ASF(sys.argv[1]).tags.as_dict().items():\n"
      "    v = values[0]\n"
      "    print(name + '\\t' + type(v).__name__ + ':' + (v.value.hex() if isinstance(v.value, "
      "bytes) else str(v.value)))\n";
  const CommandRun run = Run("/usr/bin/python3 -c " + Quoted(script) + " " + Quoted(path));
  std::map<std::string, std::string> values;
  std::size_t start = 0;
  while (start < run.out.size()) {
    std::size_t end = run.out.find('\n', start);
    if (end == std::string::npos) end = run.out.size();
    const std::string line = run.out.substr(start, end - start);
    const auto tab = line.find('\t');
    if (tab != std::string::npos) values[line.substr(0, tab)] = line.substr(tab + 1);
    start = end + 1;
  }
  return values;
}

std::string FfprobeTitle(const std::string& path) {
  std::string out =
      Run("ffprobe -v error -show_entries format_tags=title -of default=nw=1:nk=1 " + Quoted(path))
          .out;
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

bool FfmpegDecodes(const std::string& path) {
  return Run("ffmpeg -v error -xerror -i " + Quoted(path) + " -f null - && echo decoded").out ==
         "decoded\n";
}

}  // namespace info::test
