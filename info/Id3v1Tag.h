// The fixed 128-byte ID3v1 tag at the end of an MPEG audio file. Its texts are ISO-8859-1
// bytes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace info {

class Id3v1Tag {
 public:
  static constexpr std::size_t kSize = 128;
  static constexpr std::size_t kTextLength = 30;
  static constexpr std::size_t kYearLength = 4;
  static constexpr std::size_t kGenreLength = 47;
  using Block = std::array<std::uint8_t, kSize>;

  Id3v1Tag() = default;

  // Fills the fields from a 128-byte block; a block without "TAG" leaves the tag absent.
  void Parse(std::span<const std::uint8_t, kSize> block);
  // Trims trailing blanks from the fields and lays them out as the 128-byte block. The
  // ID3v1.1 track number read is kept when the comment leaves room for it (28 characters);
  // the genre byte read is kept until SetGenre.
  Block Render();
  void SetGenre(std::string text);
  void Clear() { *this = Id3v1Tag(); }

  bool present = false;
  std::string title;
  std::string artist;
  std::string album;
  std::string year;
  std::string comment;
  std::string genre;  // a genre table text or "Unknown genre"
  std::uint8_t track = 0;  // ID3v1.1 track number, 0 for none
  int genreByte = -1;      // the genre byte read, -1 once the genre text was set
};

}  // namespace info
