#include "info/Id3v1Tag.h"

#include <gtest/gtest.h>

#include <cstring>

#include "info/GenreTable.h"
#include "tests/info/TestFiles.h"

namespace info {
namespace {

using test::Bytes;

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

TEST(Id3v1Tag, ReadOfShortAndUntaggedFiles) {
  test::TempDir dir;
  Id3v1Tag tag;
  test::WriteBytes(dir.File("short"), Bytes(100, 1));
  EXPECT_FALSE(tag.Read(dir.File("short")));
  test::WriteBytes(dir.File("plain"), Bytes(1000, 1));
  EXPECT_TRUE(tag.Read(dir.File("plain")));
  EXPECT_FALSE(tag.present);
  EXPECT_FALSE(tag.Read(dir.File("missing")));
}

TEST(Id3v1Tag, WriteAppendsOnceThenReplaces) {
  test::TempDir dir;
  const std::string path = dir.File("a.mp3");
  const Bytes audio(1000, 0x55);
  test::WriteBytes(path, audio);
  Id3v1Tag tag;
  tag.title = "First";
  ASSERT_TRUE(tag.Write(path));
  Bytes bytes = test::ReadBytes(path);
  ASSERT_EQ(bytes.size(), 1128u);
  EXPECT_TRUE(std::equal(audio.begin(), audio.end(), bytes.begin()));
  EXPECT_EQ(std::memcmp(bytes.data() + 1000, "TAGFirst", 8), 0);
  tag.title = "Second";
  ASSERT_TRUE(tag.Write(path));
  bytes = test::ReadBytes(path);
  ASSERT_EQ(bytes.size(), 1128u);
  Id3v1Tag back;
  ASSERT_TRUE(back.Read(path));
  EXPECT_EQ(back.title, "Second");
}

TEST(Id3v1Tag, WriteCreatesAMissingFile) {
  test::TempDir dir;
  Id3v1Tag tag;
  tag.artist = "Someone";
  ASSERT_TRUE(tag.Write(dir.File("new.mp3")));
  EXPECT_EQ(test::ReadBytes(dir.File("new.mp3")).size(), 128u);
}

}  // namespace
}  // namespace info
