// tavolex cue AUDIO [--divider KIND:FRAME ...] [--out FILE] [--strict] [--title TEXT]
//                   [--performer TEXT]
//
// Writes the track layout of AUDIO as a CUE sheet: to stdout, or with --out to a new file
// beside FILE that is renamed over it once complete. KIND is start, end, split or index;
// without a start the layout starts at frame 0, without an end it ends with the audio. The
// disc's TITLE and PERFORMER come from --title and --performer, else from an MPEG file's album
// and lead artist tags when the track information library is registered. The
// warnings (audio after the end, the audio CD limits) go to stderr, one line each; with
// --strict any warning makes the exit status 1 (the sheet is written all the same).
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "audioedit/AudioReader.h"
#include "audioedit/cue/CueSheetWriter.h"
#include "audioedit/cue/RedBookCheck.h"
#include "platform/fileio/OutputFile.h"
#include "tools/tavolex/Commands.h"
#include "tools/tavolex/CueFiles.h"
#include "tools/tavolex/CueTags.h"

namespace tavolex_cli {
namespace {

constexpr const char* kCueUsage =
    "usage: tavolex cue AUDIO [--divider KIND:FRAME ...] [--out FILE] [--strict]\n"
    "                         [--title TEXT] [--performer TEXT]\n"
    "Writes the track layout of AUDIO as a CUE sheet (to stdout without --out). KIND is start,\n"
    "end, split or index; FRAME counts CD frames (75 per second). Without a start divider the\n"
    "layout starts at frame 0, without an end divider it ends with the audio. Warnings go to\n"
    "stderr; with --strict any warning makes the exit status 1.\n"
    "Exit status: 0 written, 1 failure or (--strict) warnings, 2 bad usage.\n";

struct CueOptions {
  std::string audio;
  std::string out;
  bool strict = false;
  std::vector<audioedit::DIVIDER> dividers;
  audioedit::cue::CueText disc;
};

int CueUsage(const std::string& why) {
  std::fprintf(stderr, "tavolex cue: %s\n%s", why.c_str(), kCueUsage);
  return 2;
}

// Nothing when the options are complete, else the exit status to end with.
std::optional<int> ParseCueOptions(std::span<char*> args, CueOptions& o) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--help" || arg == "-h") {
      std::fputs(kCueUsage, stdout);
      return 0;
    } else if (arg == "--version") {
      std::printf("tavolex cue %s\n", TAVOLEX_VERSION);
      return 0;
    } else if (arg == "--strict") {
      o.strict = true;
    } else if (arg == "--divider" && hasValue) {
      while (i + 1 < args.size() && !std::string_view(args[i + 1]).starts_with("--")) {
        const auto d = ParseDividerOption(args[++i]);
        if (!d)
          return CueUsage("bad --divider '" + std::string(args[i]) +
                          "' (start|end|split|index:FRAME)");
        o.dividers.push_back(*d);
      }
    } else if ((arg == "--out" || arg == "--title" || arg == "--performer") && hasValue) {
      std::string& target = arg == "--out"     ? o.out
                            : arg == "--title" ? o.disc.title
                                               : o.disc.performer;
      target = args[++i];
    } else if (!arg.starts_with("-") && o.audio.empty()) {
      o.audio = std::string(arg);
    } else {
      return CueUsage("unexpected argument '" + std::string(arg) + "'");
    }
  }
  if (o.audio.empty()) return CueUsage("no audio file given");
  return std::nullopt;
}

// The audio file's name as the sheet gives it: relative to the sheet's folder when the sheet
// is a file, else as given.
std::string SheetFileName(const std::string& audio, const std::string& out) {
  if (out.empty()) return audio;
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path a = fs::absolute(audio, ec).lexically_normal();
  const fs::path folder = fs::absolute(out, ec).lexically_normal().parent_path();
  const fs::path relative = a.lexically_relative(folder);
  return ec || relative.empty() ? audio : relative.string();
}

// True when the existing file reads as text with a FILE or TRACK line: a sheet to replace.
bool LooksLikeCueSheet(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  bool sheet = false;
  for (std::size_t bytes = 0; std::getline(in, line) && bytes < (1u << 20);
       bytes += line.size() + 1) {
    if (line.find('\0') != std::string::npos) return false;
    const std::size_t first = line.find_first_not_of(" \t\xEF\xBB\xBF");
    if (first == std::string::npos) continue;
    std::string word = line.substr(first, 6);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (word.starts_with("FILE ") || word.starts_with("TRACK ")) sheet = true;
  }
  return sheet;
}

// Writes the sheet beside `out` and renames it over `out`. Refuses to replace the audio
// itself or a file that is not a CUE sheet.
bool WriteSheetFile(const std::string& out, const std::string& audio, const std::string& text,
                    std::string& error) {
  struct stat target = {};
  struct stat source = {};
  const bool existed = ::stat(out.c_str(), &target) == 0;
  if (existed) {
    if (::stat(audio.c_str(), &source) == 0 && target.st_dev == source.st_dev &&
        target.st_ino == source.st_ino) {
      error = "'" + out + "' is the audio file itself; not replaced";
      return false;
    }
    if (S_ISREG(target.st_mode) && !LooksLikeCueSheet(out)) {
      error = "'" + out + "' exists and is not a CUE sheet; not replaced";
      return false;
    }
  }
  fileio::OutputFile file(out);
  if (!file.Open() || !file.Write(text.data(), text.size())) {
    error = file.Error();
    return false;
  }
  // Someone else wrote or replaced the file meanwhile: their version stays.
  struct stat now = {};
  const bool exists = ::stat(out.c_str(), &now) == 0;
  if (exists != existed ||
      (existed && (now.st_ino != target.st_ino || now.st_size != target.st_size ||
                   now.st_mtim.tv_sec != target.st_mtim.tv_sec ||
                   now.st_mtim.tv_nsec != target.st_mtim.tv_nsec))) {
    error = "'" + out + "' changed while the sheet was written; not replaced";
    return false;
  }
  if (!file.Commit()) {
    error = file.Error();
    return false;
  }
  return true;
}

// The layout the options describe, with the start and end filled in when missing.
std::vector<audioedit::DIVIDER> LayoutDividers(std::vector<audioedit::DIVIDER> dividers,
                                               std::uint32_t totalFrames) {
  auto has = [&](audioedit::DivType type) {
    return std::any_of(dividers.begin(), dividers.end(),
                       [&](const audioedit::DIVIDER& d) { return d.type == type; });
  };
  if (!has(audioedit::DIV_Start)) dividers.push_back({audioedit::DIV_Start, 0, 0});
  if (!has(audioedit::DIV_End)) dividers.push_back({audioedit::DIV_End, 0, totalFrames});
  return dividers;
}

}  // namespace

int RunCue(int argc, char** argv) {
  CueOptions options;
  if (const auto status = ParseCueOptions({argv, static_cast<std::size_t>(argc)}, options))
    return *status;
  std::string error;
  const auto totalFrames = AudioLengthFrames(options.audio, error);
  if (!totalFrames) {
    std::fprintf(stderr, "tavolex cue: %s\n", error.c_str());
    return 1;
  }
  const auto dividers = LayoutDividers(options.dividers, *totalFrames);
  audioedit::cue::CueLayoutResult built = audioedit::cue::BuildCueLayout(dividers);
  if (!built.layout) {
    std::fprintf(stderr, "tavolex cue: %s\n", built.error.c_str());
    return 1;
  }
  audioedit::cue::CueSheet sheet;
  sheet.fileName = SheetFileName(options.audio, options.out);
  sheet.fileType = audioedit::HasMp3Extension(options.audio) ? audioedit::cue::CueFileType::Mp3
                                                             : audioedit::cue::CueFileType::Wave;
  sheet.disc = options.disc;
  if (sheet.disc.title.empty() && sheet.disc.performer.empty())
    sheet.disc = TagTexts(options.audio);
  sheet.layout = std::move(*built.layout);
  audioedit::cue::CueWriteResult written = audioedit::cue::WriteCueSheet(sheet, *totalFrames);
  if (!written.ok) {
    std::fprintf(stderr, "tavolex cue: %s\n", written.error.c_str());
    return 1;
  }
  for (const auto& finding : audioedit::cue::CheckRedBook(sheet.layout))
    written.warnings.push_back(finding.message);
  if (options.out.empty()) {
    std::fputs(written.text.c_str(), stdout);
    if (std::fflush(stdout) != 0) {
      std::fprintf(stderr, "tavolex cue: cannot write the sheet to stdout\n");
      return 1;
    }
  } else if (!WriteSheetFile(options.out, options.audio, written.text, error)) {
    std::fprintf(stderr, "tavolex cue: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& warning : written.warnings)
    std::fprintf(stderr, "tavolex cue: warning: %s\n", warning.c_str());
  return options.strict && !written.warnings.empty() ? 1 : 0;
}

}  // namespace tavolex_cli
