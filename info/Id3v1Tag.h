// The fixed 128-byte ID3v1 tag at the end of an MPEG audio file.
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

  // Reads the last 128 bytes of `path`. True when they could be read, tag or not.
  bool Read(const std::string& path);
  // Puts the tag at the end of `path` (replacing a tag already there, else appending); the
  // file is replaced as a whole, so a failure leaves it as it was.
  bool Write(const std::string& path);

  // Fills the fields from a 128-byte block; a block without "TAG" leaves the tag absent.
  void Parse(std::span<const std::uint8_t, kSize> block);
  // Trims trailing blanks from the fields and lays them out as the 128-byte block.
  Block Render();
  void Clear() { *this = Id3v1Tag(); }

  bool present = false;
  std::string title;
  std::string artist;
  std::string album;
  std::string year;
  std::string comment;
  std::string genre;  // a genre table text or "Unknown genre"
};

}  // namespace info
