// One frame of an ID3v2 tag: its identifier, kind and payload.
//
// The payload bytes are kept exactly as read, so a frame written back unchanged is
// byte-identical; the fields the library understands are read from them, and setting a text
// lays the payload out anew. Frame layouts follow ID3v2.3.0; texts are readable in encoding
// 0 (ISO-8859-1) only.
#pragma once

#include <array>
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
  static constexpr std::uint8_t kLanguage = 0x40;
  static constexpr std::uint8_t kEncodingByte = 0x80;

  static std::uint8_t KindOf(std::string_view id);

  // A frame read from a tag: `payload` is the frame's `size` bytes after its header.
  Id3v2Frame(std::string_view id, std::span<const std::uint8_t> payload);
  // A new frame holding `text` with encoding 0; none for identifiers that hold no text
  // a host can set (GEOB, GRID, PCNT, POPM and the frames without a text form).
  static std::optional<Id3v2Frame> Create(std::string_view id, std::string_view text);

  Id3v2Frame(Id3v2Frame&&) = default;
  Id3v2Frame& operator=(Id3v2Frame&&) = default;
  Id3v2Frame(const Id3v2Frame&) = delete;
  Id3v2Frame& operator=(const Id3v2Frame&) = delete;

  const std::string& id() const { return id_; }
  std::uint8_t kind() const { return kind_; }
  std::uint8_t encoding() const { return encoding_; }
  std::uint32_t size() const { return static_cast<std::uint32_t>(payload_.size()); }
  std::span<const std::uint8_t> payload() const { return payload_; }

  // The text an attribute gets from this frame (the value of frames with a description,
  // the e-mail of a popularimeter), when the library can read it.
  std::optional<std::string> Text() const;
  // Replaces the frame's text. A frame whose text is not in encoding 0 is laid out anew in
  // encoding 0 with an empty description. False for frames without a text.
  bool SetText(std::string_view text);

  // Attached picture fields.
  const std::string& mimeType() const { return mime_; }
  std::uint8_t pictureType() const { return pictureType_; }
  const std::string& description() const { return description_; }
  std::span<const std::uint8_t> pictureData() const;

 private:
  Id3v2Frame(std::string_view id, std::uint8_t kind);
  void Decode();
  void DecodeDescribed(std::size_t descriptionAt);
  void DecodePicture();
  void Encode();

  std::string id_;
  std::uint8_t kind_ = 0;
  std::uint8_t encoding_ = 0;
  std::vector<std::uint8_t> payload_;
  bool complete_ = false;  // every field the kind has was found in the payload
  std::array<char, 3> language_{};
  std::string description_;
  std::string text_;  // single text, URL, value, terms of use or e-mail
  std::string mime_;
  std::uint8_t pictureType_ = 0;
  std::uint8_t rating_ = 0;
  std::size_t dataAt_ = 0;  // picture data or play counter within the payload
};

}  // namespace info
