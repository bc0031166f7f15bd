#include "audioedit/cue/CueSheetReader.h"

#include <vector>

#include "audioedit/cue/CueTime.h"

namespace audioedit::cue {
namespace {

// The words of one line: bare words, or quoted strings without the quotes.
struct Words {
  std::vector<std::string_view> items;
  bool ok = true;  // false: a quote was left open
};

Words Split(std::string_view line) {
  Words words;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
    } else if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) {
        words.ok = false;
        return words;
      }
      words.items.push_back(line.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      std::size_t j = i;
      while (j < line.size() && line[j] != ' ' && line[j] != '\t') ++j;
      words.items.push_back(line.substr(i, j - i));
      i = j;
    }
  }
  return words;
}

bool Is(std::string_view word, std::string_view keyword) {
  if (word.size() != keyword.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != keyword[i]) return false;
  }
  return true;
}

// A track or index number: one to three digits.
std::optional<std::uint32_t> SmallNumber(std::string_view text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  std::uint32_t n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return n;
}

class Reader {
 public:
  explicit Reader(std::optional<std::uint32_t> totalFrames) : totalFrames_(totalFrames) {}

  // Empty when the line was taken in, else the reason it was refused.
  std::string Line(std::string_view line);
  std::string Finish();
  CueSheet& Sheet() { return sheet_; }

 private:
  std::string Text(const std::vector<std::string_view>& words, std::string_view line);
  std::string File(const std::vector<std::string_view>& words);
  std::string Track(const std::vector<std::string_view>& words);
  std::string Index(const std::vector<std::string_view>& words);
  std::string EndRemark(const std::vector<std::string_view>& words);
  std::string CloseTrack();

  std::optional<std::uint32_t> totalFrames_;
  CueSheet sheet_;
  bool haveFile_ = false;
  std::uint32_t nextIndex_ = 0;             // of the current track; 0 before any INDEX
  std::optional<std::uint32_t> lastFrame_;  // of the last INDEX
  std::optional<std::uint32_t> end_;        // from REM END
};

std::string Reader::Line(std::string_view line) {
  const Words words = Split(line);
  if (!words.ok) return "a double quote is not closed";
  const auto& w = words.items;
  if (w.empty()) return {};
  if (Is(w[0], "REM")) return w.size() >= 2 && Is(w[1], "END") ? EndRemark(w) : std::string{};
  if (Is(w[0], "TITLE") || Is(w[0], "PERFORMER")) return Text(w, line);
  if (Is(w[0], "FILE")) return File(w);
  if (Is(w[0], "TRACK")) return Track(w);
  if (Is(w[0], "INDEX")) return Index(w);
  for (const char* skipped : {"CATALOG", "CDTEXTFILE", "SONGWRITER", "ISRC", "FLAGS"})
    if (Is(w[0], skipped)) return {};
  if (Is(w[0], "PREGAP") || Is(w[0], "POSTGAP"))
    return std::string(w[0]) + " adds silence, which no divider can describe";
  return "unknown command '" + std::string(w[0]) + "'";
}

std::string Reader::Text(const std::vector<std::string_view>& words, std::string_view line) {
  std::string value;
  if (words.size() == 2) {
    value = words[1];
  } else if (words.size() > 2 && line.find('"') == std::string_view::npos) {
    // An unquoted text of several words: the rest of the line.
    const std::size_t from = line.find(words[1]);
    value = line.substr(from);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.pop_back();
  } else {
    return std::string(words[0]) + " wants one text";
  }
  CueText* target = &sheet_.disc;
  if (!sheet_.layout.tracks.empty()) {
    sheet_.trackTexts.resize(sheet_.layout.tracks.size());
    target = &sheet_.trackTexts.back();
  }
  std::string& field = Is(words[0], "TITLE") ? target->title : target->performer;
  if (!field.empty()) return "a second " + std::string(words[0]);
  if (value.empty()) return std::string(words[0]) + " is empty";
  if (!IsCueText(value)) return std::string(words[0]) + " holds a control character or a quote";
  field = std::move(value);
  return {};
}

std::string Reader::File(const std::vector<std::string_view>& words) {
  if (haveFile_) return "a second FILE: the layout covers one audio file";
  if (words.size() != 3 || words[1].empty()) return "FILE wants a name and a type";
  if (Is(words[2], "WAVE")) {
    sheet_.fileType = CueFileType::Wave;
  } else if (Is(words[2], "MP3")) {
    sheet_.fileType = CueFileType::Mp3;
  } else {
    return "file type '" + std::string(words[2]) + "' is not WAVE or MP3";
  }
  if (!IsCueText(words[1])) return "the file name holds a control character or a quote";
  sheet_.fileName = words[1];
  haveFile_ = true;
  return {};
}

std::string Reader::CloseTrack() {
  if (sheet_.layout.tracks.empty() || nextIndex_ >= 2) return {};
  return "track " + std::to_string(sheet_.layout.tracks.size()) + " has no INDEX 01";
}

std::string Reader::Track(const std::vector<std::string_view>& words) {
  if (!haveFile_) return "TRACK before FILE";
  if (std::string why = CloseTrack(); !why.empty()) return why;
  if (words.size() != 3) return "TRACK wants a number and a type";
  const auto number = SmallNumber(words[1]);
  const std::size_t expected = sheet_.layout.tracks.size() + 1;
  if (!number || *number != expected)
    return "track number '" + std::string(words[1]) + "' where " + std::to_string(expected) +
           " comes next";
  if (!Is(words[2], "AUDIO")) return "track type '" + std::string(words[2]) + "' is not AUDIO";
  sheet_.layout.tracks.push_back(CueTrack{});
  nextIndex_ = 0;
  return {};
}

std::string Reader::Index(const std::vector<std::string_view>& words) {
  if (sheet_.layout.tracks.empty()) return "INDEX before TRACK";
  if (words.size() != 3) return "INDEX wants a number and a time";
  const auto number = SmallNumber(words[1]);
  const auto frame = ParseMsf(words[2]);
  if (!frame) return "'" + std::string(words[2]) + "' is not a time mm:ss:ff";
  const std::size_t track = sheet_.layout.tracks.size();
  if (number && *number == 0 && nextIndex_ == 0) {
    if (track != 1)
      return "a pregap (INDEX 00) of track " + std::to_string(track) +
             " has no divider; only track 1 may have one";
    if (*frame != 0) return "track 1's INDEX 00 must be 00:00:00, the start of the file";
    lastFrame_ = 0;
    nextIndex_ = 1;
    return {};
  }
  const std::uint32_t expected = nextIndex_ == 0 ? 1 : nextIndex_;
  if (!number || *number != expected)
    return "index number '" + std::string(words[1]) + "' where " + std::to_string(expected) +
           " comes next";
  if (lastFrame_ && *frame <= *lastFrame_)
    return "INDEX " + std::string(words[1]) + " at " + FormatMsf(*frame) +
           " does not come after the one before (" + FormatMsf(*lastFrame_) + ")";
  if (totalFrames_ && *frame >= *totalFrames_)
    return "INDEX " + std::string(words[1]) + " at " + FormatMsf(*frame) +
           " is not before the end of the audio (" + FormatMsf(*totalFrames_) + ")";
  CueTrack& current = sheet_.layout.tracks.back();
  if (expected == 1) {
    current.start = *frame;
  } else {
    current.indexMarks.push_back(*frame);
  }
  lastFrame_ = *frame;
  nextIndex_ = expected + 1;
  return {};
}

std::string Reader::EndRemark(const std::vector<std::string_view>& words) {
  if (words.size() < 3) return "REM END wants a time";
  const auto frame = ParseMsf(words[2]);
  if (!frame) return "'" + std::string(words[2]) + "' is not a time mm:ss:ff";
  if (end_) return "a second REM END";
  if (totalFrames_ && *frame > *totalFrames_)
    return "REM END " + FormatMsf(*frame) + " lies beyond the end of the audio (" +
           FormatMsf(*totalFrames_) + ")";
  end_ = frame;
  return {};
}

std::string Reader::Finish() {
  if (!haveFile_) return "the sheet names no FILE";
  if (sheet_.layout.tracks.empty()) return "the sheet has no TRACK";
  if (std::string why = CloseTrack(); !why.empty()) return why;
  if (!end_ && !totalFrames_)
    return "the sheet does not say where the layout ends (no REM END) and the audio's length "
           "is not known";
  CueLayout& layout = sheet_.layout;
  layout.end = end_ ? *end_ : *totalFrames_;
  if (layout.end <= *lastFrame_)
    return "the end (" + FormatMsf(layout.end) + ") does not come after the last INDEX (" +
           FormatMsf(*lastFrame_) + ")";
  for (std::size_t t = 0; t < layout.tracks.size(); ++t)
    layout.tracks[t].end = t + 1 < layout.tracks.size() ? layout.tracks[t + 1].start : layout.end;
  if (sheet_.trackTexts.size() > layout.tracks.size())
    sheet_.trackTexts.resize(layout.tracks.size());
  while (!sheet_.trackTexts.empty() && sheet_.trackTexts.back().title.empty() &&
         sheet_.trackTexts.back().performer.empty())
    sheet_.trackTexts.pop_back();
  return {};
}

}  // namespace

CueReadResult ReadCueSheet(std::string_view text, std::optional<std::uint32_t> totalFrames) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  Reader reader(totalFrames);
  std::size_t lineNumber = 0;
  CueReadResult result;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find('\0') != std::string_view::npos) {
      result.error = "line " + std::to_string(lineNumber) + ": a NUL byte; this is not a CUE sheet";
      return result;
    }
    if (std::string why = reader.Line(line); !why.empty()) {
      result.error = "line " + std::to_string(lineNumber) + ": " + why;
      return result;
    }
  }
  if (std::string why = reader.Finish(); !why.empty()) {
    result.error = "line " + std::to_string(lineNumber) + ": " + why;
    return result;
  }
  result.sheet = std::move(reader.Sheet());
  return result;
}

}  // namespace audioedit::cue
