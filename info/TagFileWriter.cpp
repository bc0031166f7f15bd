#include "info/TagFileWriter.h"

#include <cerrno>
#include <cstring>

#include "info/FileReplacer.h"
#include "info/MappedFile.h"
#include "info/TagLayout.h"

namespace info {

bool TagFileWriter::Replace(std::optional<std::span<const std::uint8_t>> head,
                            std::optional<std::span<const std::uint8_t>> tail) {
  MappedFile old;
  if (!old.Open(path_) && old.error() != ENOENT) {
    error_ = "cannot read " + path_ + ": " + std::strerror(old.error());
    return false;
  }
  const auto bytes = old.bytes();
  const AudioSpan audio = LocateAudio(bytes);
  FileReplacer out(path_);
  const bool ok = out.Open() && out.Write(head ? *head : bytes.first(audio.begin)) &&
                  out.Write(bytes.subspan(audio.begin, audio.end - audio.begin)) &&
                  out.Write(tail ? *tail : bytes.subspan(audio.end)) && out.Commit();
  if (!ok) error_ = out.error();
  return ok;
}

}  // namespace info
