#include "tools/tavolex/CueFiles.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "audioedit/AudioReader.h"
#include "audioedit/CdFrames.h"
#include "audioedit/control/ControlRecords.h"
#include "audioedit/cue/CueSheetReader.h"
#include "platform/com/RecordInfo.h"

namespace tavolex_cli {

std::optional<std::uint32_t> AudioLengthFrames(const std::string& audio, std::string& error) {
  const std::unique_ptr<audioedit::AudioReader> reader = audioedit::CreateAudioReader(audio);
  std::uint32_t ms = 0;
  if (!reader || !reader->Open(audio) || !reader->GetDuration(ms)) {
    error = "'" + audio + "': cannot be opened as audio";
    return std::nullopt;
  }
  reader->Close();
  return audioedit::TotalFrames(ms);
}

std::optional<audioedit::DIVIDER> ParseDividerOption(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  const audioedit::DivType type = audioedit::cue::DividerKindFromName(text.substr(0, colon));
  const std::string_view digits = text.substr(colon + 1);
  if (type == audioedit::DIV_UNKNOWN || digits.empty() || digits.size() > 10) return std::nullopt;
  std::uint64_t frame = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    frame = frame * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (frame > 0xFFFFFFFFu) return std::nullopt;
  return audioedit::DIVIDER{type, 0, static_cast<std::uint32_t>(frame)};
}

std::optional<audioedit::cue::CueSheet> ReadCueFile(const std::string& path,
                                                    std::uint32_t totalFrames, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open '" + path + "': " + std::strerror(errno);
    return std::nullopt;
  }
  constexpr std::size_t kMaxSheetBytes = 1 << 20;
  std::string text;
  text.resize(kMaxSheetBytes + 1);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) {
    error = "cannot read '" + path + "'";
    return std::nullopt;
  }
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (text.size() > kMaxSheetBytes) {
    error = "'" + path + "': larger than 1 MiB; this is not a CUE sheet";
    return std::nullopt;
  }
  audioedit::cue::CueReadResult read = audioedit::cue::ReadCueSheet(text, totalFrames);
  if (!read.sheet) {
    error = "'" + path + "': " + read.error;
    return std::nullopt;
  }
  return std::move(read.sheet);
}

com::SafeArrayPtr MakeDividerArray(const std::vector<audioedit::DIVIDER>& dividers) {
  com::SafeArrayPtr array(com::SafeArrayCreateVectorEx(com::VT_RECORD, 0,
                                                       static_cast<com::ULONG>(dividers.size()),
                                                       com::RecordInfoOf<audioedit::DIVIDER>()));
  for (com::LONG i = 0; array && i < static_cast<com::LONG>(dividers.size()); ++i) {
    audioedit::DIVIDER d = dividers[static_cast<std::size_t>(i)];
    com::SafeArrayPutElement(array.get(), &i, &d);
  }
  return array;
}

com::SafeArrayPtr CueDividerArray(const std::string& cuePath, const std::string& audio,
                                  std::string& error) {
  const auto totalFrames = AudioLengthFrames(audio, error);
  if (!totalFrames) return nullptr;
  const auto sheet = ReadCueFile(cuePath, *totalFrames, error);
  if (!sheet) return nullptr;
  com::SafeArrayPtr array = MakeDividerArray(audioedit::cue::LayoutDividers(sheet->layout, 0));
  if (!array) error = "out of memory";
  return array;
}

}  // namespace tavolex_cli
