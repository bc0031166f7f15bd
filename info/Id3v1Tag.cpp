#include "info/Id3v1Tag.h"

#include <algorithm>
#include <cstring>

#include "info/GenreTable.h"

namespace info {

namespace {

constexpr std::size_t kTitleAt = 3;
constexpr std::size_t kArtistAt = 33;
constexpr std::size_t kAlbumAt = 63;
constexpr std::size_t kYearAt = 93;
constexpr std::size_t kCommentAt = 97;
constexpr std::size_t kGenreAt = 127;

// A field as a C string: it ends at its first zero byte or at its length.
std::string Field(std::span<const std::uint8_t, Id3v1Tag::kSize> block, std::size_t at,
                  std::size_t length) {
  const auto* begin = reinterpret_cast<const char*>(block.data() + at);
  const auto* end = std::find(begin, begin + length, '\0');
  return std::string(begin, end);
}

void TrimTrailingBlanks(std::string& text) {
  const auto last = text.find_last_not_of(' ');
  text.erase(last == std::string::npos ? 0 : last + 1);
}

void Put(Id3v1Tag::Block& block, std::size_t at, const std::string& text, std::size_t length) {
  std::memcpy(block.data() + at, text.data(), std::min(text.size(), length));
}

}  // namespace

void Id3v1Tag::Parse(std::span<const std::uint8_t, kSize> block) {
  Clear();
  if (std::memcmp(block.data(), "TAG", 3) != 0) return;
  present = true;
  title = Field(block, kTitleAt, kTextLength);
  artist = Field(block, kArtistAt, kTextLength);
  album = Field(block, kAlbumAt, kTextLength);
  year = Field(block, kYearAt, kYearLength);
  comment = Field(block, kCommentAt, kTextLength);
  genre = GenreText(static_cast<std::int8_t>(block[kGenreAt]));
  genreByte = block[kGenreAt];
  if (block[kCommentAt + 28] == 0 && block[kCommentAt + 29] != 0) track = block[kCommentAt + 29];
  for (std::string* text : {&title, &artist, &album, &year, &comment}) TrimTrailingBlanks(*text);
}

Id3v1Tag::Block Id3v1Tag::Render() {
  for (std::string* text : {&title, &artist, &album, &year, &comment, &genre})
    TrimTrailingBlanks(*text);
  Block block{};
  std::memcpy(block.data(), "TAG", 3);
  Put(block, kTitleAt, title, kTextLength);
  Put(block, kArtistAt, artist, kTextLength);
  Put(block, kAlbumAt, album, kTextLength);
  Put(block, kYearAt, year, kYearLength);
  Put(block, kCommentAt, comment, kTextLength);
  if (track != 0 && comment.size() <= kTextLength - 2) {
    block[kCommentAt + 28] = 0;
    block[kCommentAt + 29] = track;
  }
  block[kGenreAt] = genreByte >= 0 ? static_cast<std::uint8_t>(genreByte) : GenreNumber(genre);
  return block;
}

void Id3v1Tag::SetGenre(std::string text) {
  genre = std::move(text);
  genreByte = -1;
}

}  // namespace info
