// Reads arbitrary text as a CUE sheet, with and without the audio's length. Whatever is
// taken in must be written again, read again to the same layout and text, and checked
// against the audio CD limits; nothing may crash or read past the input.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "audioedit/cue/CueSheetReader.h"
#include "audioedit/cue/CueSheetWriter.h"
#include "audioedit/cue/RedBookCheck.h"

namespace {

void Check(std::string_view text, std::optional<std::uint32_t> totalFrames) {
  using namespace audioedit::cue;
  const CueReadResult read = ReadCueSheet(text, totalFrames);
  if (!read.sheet) {
    if (read.error.rfind("line ", 0) != 0) std::abort();
    return;
  }
  (void)CheckRedBook(read.sheet->layout);
  const std::uint32_t length = totalFrames ? *totalFrames : read.sheet->layout.end;
  const CueWriteResult first = WriteCueSheet(*read.sheet, length);
  if (!first.ok) std::abort();
  const CueReadResult again = ReadCueSheet(first.text, length);
  if (!again.sheet) std::abort();
  if (WriteCueSheet(*again.sheet, length).text != first.text) std::abort();
  const auto dividers = LayoutDividers(again.sheet->layout, 44100);
  const CueLayoutResult rebuilt = BuildCueLayout(dividers);
  if (!rebuilt.layout || rebuilt.layout->tracks.size() != again.sheet->layout.tracks.size())
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(text, std::nullopt);
  Check(text, 13500);
  return 0;
}
