// One frame of an ID3v2 tag: its identifier, flags, the bytes stored after its header and
// the content they carry.
//
// A frame read from a tag keeps its stored bytes and flags exactly, so a frame the caller
// does not change is written back byte for byte. `content` is what the frame carries once
// the format additions are taken away (group byte, encryption method, data length
// indicator, frame-level unsynchronisation); texts and pictures are read from it in all
// four text encodings. Setting a text lays the frame out anew, uncompressed and without
// format flags.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace info {

class Id3v2Frame {
 public:
  // Kind flags.
  static constexpr std::uint8_t kSingleText = 0x01;
  static constexpr std::uint8_t kDescription = 0x02;
  static constexpr std::uint8_t kPicture = 0x04;
  static constexpr std::uint8_t kPopularimeter = 0x08;
  static constexpr std::uint8_t kPrivate = 0x10;
  static constexpr std::uint8_t kLanguage = 0x40;
  static constexpr std::uint8_t kEncodingByte = 0x80;

  static std::uint8_t KindOf(std::string_view id);

  // A frame as read. `stored` follows the frame header in the tag; `content` is its payload
  // with the format additions removed; `readable` is false for compressed or encrypted
  // frames, whose content is not interpreted.
  Id3v2Frame(std::string_view id, std::uint16_t flags, std::vector<std::uint8_t> stored,
             std::vector<std::uint8_t> content, bool readable);
  // A new frame without content (written only once a text is set).
  explicit Id3v2Frame(std::string_view id);

  Id3v2Frame(Id3v2Frame&&) = default;
  Id3v2Frame& operator=(Id3v2Frame&&) = default;
  Id3v2Frame(const Id3v2Frame&) = delete;
  Id3v2Frame& operator=(const Id3v2Frame&) = delete;

  const std::string& id() const { return id_; }
  std::uint8_t kind() const { return kind_; }
  std::uint16_t flags() const { return flags_; }
  bool readable() const { return readable_; }
  // True once the frame was laid out anew (a text set, or converted from ID3v2.2).
  bool modified() const { return modified_; }
  std::span<const std::uint8_t> stored() const { return stored_; }
  std::span<const std::uint8_t> content() const { return content_; }
  std::uint32_t size() const { return static_cast<std::uint32_t>(stored_.size()); }
  std::uint8_t encoding() const;

  // The text an attribute gets from this frame: the text (several values joined with '/'),
  // the value of a frame with a description, the e-mail of a popularimeter, the data of a
  // private frame with an empty owner. None when the frame holds no readable text.
  std::optional<std::u16string> Text() const;
  // The description of TXXX, WXXX, COMM and USLT frames (empty for others).
  std::u16string Description() const;
  // Lays the frame out anew holding `text`: ISO-8859-1 when every character fits, else
  // UTF-16 with a byte order mark (`major` 3) or UTF-8 (`major` 4). A description, language,
  // rating and counter already there are kept. False (frame unchanged) for frames without a
  // text form, and for URL, e-mail and private data that would need characters outside
  // ISO-8859-1.
  bool SetText(std::u16string_view text, int major);
  // Replaces the identifier, flags and stored bytes by the content (ID3v2.2 frames written
  // as ID3v2.3).
  void Convert(std::string_view id, std::vector<std::uint8_t> content);

  // Attached picture fields.
  std::string mimeType() const;
  std::span<const std::uint8_t> pictureData() const;

 private:
  struct Layout;
  Layout Parse() const;

  std::string id_;
  std::uint8_t kind_ = 0;
  std::uint16_t flags_ = 0;
  bool readable_ = true;
  bool modified_ = false;
  std::vector<std::uint8_t> stored_;
  std::vector<std::uint8_t> content_;
};

}  // namespace info
