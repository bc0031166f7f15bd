#include "info/Id3v1Tag.h"

#include <gtest/gtest.h>

#include <cstring>

#include "info/GenreTable.h"
#include "tests/info/TestFiles.h"

namespace info {
namespace {

Id3v1Tag::Block Block(const char* title, std::uint8_t genre) {
  Id3v1Tag::Block block{};
  std::memcpy(block.data(), "TAG", 3);
  std::memcpy(block.data() + 3, title, std::strlen(title));
  block[127] = genre;
  return block;
}

TEST(GenreTable, TextsAndNumbers) {
  EXPECT_EQ(GenreText(0), "(0) Blues");
  EXPECT_EQ(GenreText(17), "(17) Rock");
  EXPECT_EQ(GenreText(125), "(125) Dance Hall");
  EXPECT_EQ(GenreText(126), "Unknown genre");
  EXPECT_EQ(GenreText(-1), "Unknown genre");
  EXPECT_EQ(GenreNumber("(17) Rock"), 17);
  for (const char* text : {"(17) rock", "Rock", "(17)", "", "Unknown genre"}) EXPECT_EQ(GenreNumber(text), 255) << text;
}

TEST(Id3v1Tag, ReadsFieldsAndTrimsOnlyTrailingBlanks) {
  Id3v1Tag tag;
  tag.Parse(Block("Abc                           ", 17));
  EXPECT_TRUE(tag.present);
  EXPECT_EQ(tag.title, "Abc");
  EXPECT_EQ(tag.genre, "(17) Rock");
  tag.Parse(Block(" a b ", 126));
  EXPECT_EQ(tag.title, " a b");
  EXPECT_EQ(tag.genre, "Unknown genre");
  tag.Parse(Block("x", 255));
  EXPECT_EQ(tag.genre, "Unknown genre");
}

TEST(Id3v1Tag, CommentStopsAtTheTrackNumberZero) {
  Id3v1Tag::Block block = Block("t", 0);
  std::memcpy(block.data() + 97, "comment", 7);
  block[97 + 29] = 5;  // ID3v1.1 track byte after a zero
  Id3v1Tag tag;
  tag.Parse(block);
  EXPECT_EQ(tag.comment, "comment");
}

TEST(Id3v1Tag, RendersFieldsAtTheirOffsets) {
  Id3v1Tag tag;
  tag.title = "Title  ";
  tag.year = "20011";
  tag.comment = std::string(30, 'c');
  tag.genre = "(17) Rock";
  const auto block = tag.Render();
  EXPECT_EQ(std::memcmp(block.data(), "TAGTitle", 8), 0);
  EXPECT_EQ(block[8], 0);
  EXPECT_EQ(tag.title, "Title");
  EXPECT_EQ(std::memcmp(block.data() + 93, "2001", 4), 0);
  for (int i = 97; i < 127; ++i) EXPECT_EQ(block[i], 'c') << i;
  EXPECT_EQ(block[127], 17);
  tag.genre = "(17) rock";
  EXPECT_EQ(tag.Render()[127], 255);
}

TEST(Id3v1Tag, TrackAndGenreBytesAreKept) {
  Id3v1Tag::Block block = Block("t", 200);  // genre byte outside the table
  std::memcpy(block.data() + 97, "comment", 7);
  block[97 + 29] = 5;
  Id3v1Tag tag;
  tag.Parse(block);
  EXPECT_EQ(tag.track, 5);
  EXPECT_EQ(tag.genre, "Unknown genre");
  tag.title = "Other";
  Id3v1Tag::Block out = tag.Render();
  EXPECT_EQ(out[126], 5);
  EXPECT_EQ(out[125], 0);
  EXPECT_EQ(out[127], 200);
  tag.comment = std::string(29, 'c');  // no room for the track number
  out = tag.Render();
  EXPECT_EQ(out[125], 'c');
  EXPECT_EQ(out[126], 0);
  tag.SetGenre("(13) Pop");
  EXPECT_EQ(tag.Render()[127], 13);
}

}  // namespace
}  // namespace info
