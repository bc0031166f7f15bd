// Windows Media fixtures and independent readers (mutagen, ffprobe, ffmpeg) for the tests.
#pragma once

#include <map>
#include <string>

#include "tests/info/TestFiles.h"

namespace info::test {

std::string WmaFixture(const std::string& name);
// Copies a Windows Media fixture into `dir` and returns the copy's path.
std::string CopyWma(const TempDir& dir, const std::string& name);

struct CommandRun {
  int status = -1;
  std::string out;
};
// Runs a shell command; stdout is captured, stderr dropped.
CommandRun Run(const std::string& command);
std::string Quoted(const std::string& text);

// mutagen's reading of an ASF file: name -> "Type:value" of the first value under that name.
std::map<std::string, std::string> MutagenAsf(const std::string& path);
// ffprobe's reading of the title tag.
std::string FfprobeTitle(const std::string& path);
// Whether ffmpeg decodes the whole audio without an error.
bool FfmpegDecodes(const std::string& path);

}  // namespace info::test
