// The ID3v1 and ID3v2 tags of one file, read and written together.
//
// Texts come from the ID3v2 frame first and from the six ID3v1 fields (title, artist,
// album, year, comment, genre) when the ID3v2 tag lacks the frame. Setting a text changes
// only the frame that holds the attribute (for COMM, USLT, TXXX and WXXX the first one
// with an empty description, else the first one); every other frame is written back as it
// was. The ID3v1 tag is rewritten only when one of its six texts was set, and then only
// that field changes; a file without an ID3v1 tag gets one only when it has no ID3v2 tag.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "info/FileSnapshot.h"
#include "info/Id3v1Tag.h"
#include "info/Id3v2Tag.h"
#include "info/TagLayout.h"

namespace info {

class TagSet {
 public:
  TagSet() = default;
  TagSet(const TagSet&) = delete;
  TagSet& operator=(const TagSet&) = delete;

  // Reads both tags of a file's bytes; true when the file has an ID3v2 tag or at least 128
  // bytes (with or without an ID3v1 tag).
  bool Parse(std::span<const std::uint8_t> file);
  // Reads the file at `path`; error() says why when it cannot be read.
  bool Read(const std::string& path);

  // Opens `path` for a save (TagFileWriter: `expected` is the version read earlier), reads
  // its tags, lets `change` set texts, and replaces the file with the new tags around the
  // old audio. Refuses files whose tags cannot be saved without loss and files without MPEG
  // audio. `error` says why on failure; the file is then untouched.
  static bool Update(const std::string& path, const std::optional<FileIdentity>& expected,
                     const std::function<bool(TagSet&)>& change, std::string& error);

  // The text of the attribute kept in frame `id` (ID3v2.3 identifier).
  std::optional<std::u16string> FrameText(std::string_view id) const;
  // Puts `text` into the frame of `id` (creating it when missing); an empty text removes the
  // frame. False (error() says why) when the frame cannot hold the text.
  bool SetFrameText(std::string_view id, std::u16string_view text);

  // The rendered tags for a save: the ID3v2 tag (none when it cannot be written) and the
  // ID3v1 block (none when it stays as it was). Update keeps the old ID3v2 tag's bytes when
  // no text was set.
  std::optional<std::vector<std::uint8_t>> RenderId3v2() const;
  std::optional<Id3v1Tag::Block> RenderId3v1();

  // Why these tags cannot be saved without loss; empty when they can.
  std::string SaveProblem() const;
  const std::string& error() const { return error_; }

  Id3v1Tag v1;
  Id3v2Tag v2;

 private:
  // Index of the frame holding the attribute of `id`, or -1.
  int AttributeFrame(std::string_view id) const;
  std::string_view FrameIdFor(std::string_view id) const;

  AudioSpan audio_;
  bool v1Changed_ = false;
  bool v2Changed_ = false;
  bool hadId3v2_ = false;
  std::string error_;
};

}  // namespace info
