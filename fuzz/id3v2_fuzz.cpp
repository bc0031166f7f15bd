// The ID3v2 reader (versions 2.2, 2.3 and 2.4, unsynchronisation, extended headers, frame
// flags, the four text encodings) and the tag layout on arbitrary bytes; then the texts of
// every frame, a change and a render of what was parsed, which must parse again.
#include <cstddef>
#include <cstdint>
#include <span>

#include "info/Id3v2Tag.h"
#include "info/TagLayout.h"
#include "info/TagSet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const info::AudioSpan span = info::LocateAudio(bytes);
  if (span.begin > span.end || span.end > size) __builtin_trap();
  (void)info::MpegAudioProblem(bytes, span);
  info::TagSet tags;
  if (tags.Parse(bytes)) {
    for (const char* id : {"TIT2", "COMM", "TXXX", "PRIV", "TYER", "USER", "WXXX", "POPM"})
      (void)tags.FrameText(id);
  }
  info::Id3v2Tag tag;
  if (!tag.Parse(bytes)) return 0;
  for (info::Id3v2Frame& frame : tag.Frames()) {
    (void)frame.Text();
    (void)frame.Description();
    (void)frame.pictureData();
    (void)frame.mimeType();
    frame.SetText(u"fuzz \u2603", tag.OutputMajor());
  }
  const auto rendered = tag.Render(span.begin);
  if (rendered && !rendered->empty()) {
    info::Id3v2Tag again;
    if (!again.Parse(*rendered)) __builtin_trap();
  }
  return 0;
}
