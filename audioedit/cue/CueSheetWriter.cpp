#include "audioedit/cue/CueSheetWriter.h"

#include <cstdio>

#include "audioedit/cue/CueTime.h"

namespace audioedit::cue {
namespace {

std::string Number(std::size_t n) {
  char text[24];
  std::snprintf(text, sizeof text, "%02zu", n);
  return text;
}

void AddText(std::string& out, const char* indent, const CueText& text) {
  if (!text.title.empty()) out += std::string(indent) + "TITLE \"" + text.title + "\"\n";
  if (!text.performer.empty())
    out += std::string(indent) + "PERFORMER \"" + text.performer + "\"\n";
}

// Why a text cannot be written, or empty.
std::string CheckTexts(const CueSheet& sheet) {
  if (sheet.fileName.empty()) return "the audio file has no name";
  if (!IsCueText(sheet.fileName))
    return "the file name '" + sheet.fileName + "' holds a double quote or a control character";
  auto check = [](const CueText& t, const std::string& owner) -> std::string {
    for (const std::string* s : {&t.title, &t.performer})
      if (!IsCueText(*s))
        return "the " + owner + " text '" + *s + "' holds a double quote or a control character";
    return {};
  };
  std::string why = check(sheet.disc, "disc");
  for (std::size_t t = 0; why.empty() && t < sheet.trackTexts.size(); ++t)
    why = check(sheet.trackTexts[t], "track " + std::to_string(t + 1));
  return why;
}

}  // namespace

CueWriteResult WriteCueSheet(const CueSheet& sheet, std::uint32_t totalFrames) {
  CueWriteResult result;
  const CueLayout& layout = sheet.layout;
  if (layout.tracks.empty()) {
    result.error = "the layout has no track";
    return result;
  }
  if (layout.end > totalFrames) {
    result.error = "the end (" + FormatMsf(layout.end) + ") lies beyond the end of the audio (" +
                   FormatMsf(totalFrames) + ")";
    return result;
  }
  if (result.error = CheckTexts(sheet); !result.error.empty()) return result;

  std::string& out = result.text;
  AddText(out, "", sheet.disc);
  out += "FILE \"" + sheet.fileName + "\" " +
         (sheet.fileType == CueFileType::Mp3 ? "MP3" : "WAVE") + "\n";
  for (std::size_t t = 0; t < layout.tracks.size(); ++t) {
    const CueTrack& track = layout.tracks[t];
    out += "  TRACK " + Number(t + 1) + " AUDIO\n";
    if (t < sheet.trackTexts.size()) AddText(out, "    ", sheet.trackTexts[t]);
    if (t == 0 && track.start > 0) out += "    INDEX 00 " + FormatMsf(0) + "\n";
    out += "    INDEX 01 " + FormatMsf(track.start) + "\n";
    for (std::size_t i = 0; i < track.indexMarks.size(); ++i)
      out += "    INDEX " + Number(i + 2) + " " + FormatMsf(track.indexMarks[i]) + "\n";
  }
  if (layout.end < totalFrames) {
    out += std::string(kEndRemark) + " " + FormatMsf(layout.end) + " " + kEndRemarkNote + "\n";
    result.warnings.push_back("track " + std::to_string(layout.tracks.size()) +
                              ": the audio from " + FormatMsf(layout.end) + " to " +
                              FormatMsf(totalFrames) +
                              " lies after the end, which a CUE sheet cannot leave out: it "
                              "stays part of the last track");
  }
  result.ok = true;
  return result;
}

}  // namespace audioedit::cue
