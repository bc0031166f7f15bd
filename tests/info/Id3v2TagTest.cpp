#include "info/Id3v2Tag.h"

#include <gtest/gtest.h>

#include "info/TagLayout.h"
#include "info/TagSet.h"
#include "tests/info/TestFiles.h"

namespace info {
namespace {

using test::Bytes;
using test::Concat;
using test::Frame;
using test::TagHeader;
using test::Text;

Bytes Tag(const Bytes& frames, std::uint32_t padding = 0) {
  return Concat({TagHeader(static_cast<std::uint32_t>(frames.size() + padding)), frames, Bytes(padding, 0)});
}

TEST(Id3v2Tag, StopsAtAnUnknownFrame) {
  const Bytes frames = Concat({Frame("TIT2", Concat({{0}, Text("abc")})), Frame("TPE1", Concat({{0}, Text("me")})),
                               Frame("TDRC", Concat({{0}, Text("2001")})), Frame("TALB", Concat({{0}, Text("al")}))});
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(Tag(frames)));
  ASSERT_EQ(tag.Frames().size(), 2u);
  EXPECT_EQ(tag.Frames()[1].id(), "TPE1");
  EXPECT_EQ(tag.Find("TALB"), -1);

  // Rewriting keeps the frames from the unknown one on, verbatim, and drops the padding.
  tag.Frames()[0].SetText("xyz");
  const Bytes rest = Concat({Frame("TDRC", Concat({{0}, Text("2001")})), Frame("TALB", Concat({{0}, Text("al")}))});
  const Bytes expected = Concat({TagHeader(static_cast<std::uint32_t>(frames.size())),
                                 Frame("TIT2", Concat({{0}, Text("xyz")})), Frame("TPE1", Concat({{0}, Text("me")})), rest});
  ASSERT_TRUE(tag.Parse(Concat({Tag(frames, 50), test::MpegFrames(2)})));
  tag.Frames()[0].SetText("xyz");
  EXPECT_EQ(tag.Render(), expected);
}

TEST(Id3v2Tag, WalkStaysInsideTheTagAndTheFile) {
  Bytes frames = Concat({Frame("TIT2", Concat({{0}, Text("abc")})), Frame("TALB", Concat({{0}, Text("album")}))});
  Bytes tag = Tag(frames);
  tag[10 + 14 + 7] = 200;  // TALB claims 200 bytes: more than the tag holds
  Id3v2Tag parsed;
  ASSERT_TRUE(parsed.Parse(tag));
  EXPECT_EQ(parsed.Frames().size(), 1u);
  Bytes truncated = Tag(frames, 5000);  // header size beyond the end of the file
  truncated.resize(20);
  ASSERT_TRUE(parsed.Parse(truncated));
  EXPECT_TRUE(parsed.Frames().empty());
  EXPECT_FALSE(parsed.Parse(TagHeader(0)));
  EXPECT_FALSE(parsed.Parse(Text("ID3")));
}

TEST(Id3v2Tag, FrameTextsByKind) {
  const Bytes frames = Concat({
      Frame("COMM", Concat({{0}, Text("eng"), Text("d"), {0}, Text("v")})),
      Frame("TXXX", Concat({{0}, Text("desc"), {0}, Text("value")})),
      Frame("WOAR", Text("http://a/")),
      Frame("USER", Concat({{1}, Text("eng"), Text("terms")})),
      Frame("POPM", Concat({Text("me@x"), {0}, {200}, {0, 0, 0, 9}})),
      Frame("PCNT", Bytes{0, 0, 0, 5}),
      Frame("TPE1", Bytes{}),
      Frame("PRIV", Concat({Text("owner"), {0}, Text("data")})),
      Frame("TIT3", Concat({{1}, Text("\xff\xfe")}))});
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(Tag(frames, 20)));
  ASSERT_EQ(tag.Frames().size(), 9u);
  auto text = [&](const char* id) { return tag.Frames()[static_cast<std::size_t>(tag.Find(id))].Text(); };
  EXPECT_EQ(text("COMM"), "v");
  EXPECT_EQ(text("TXXX"), "value");
  EXPECT_EQ(text("WOAR"), "http://a/");
  EXPECT_EQ(text("USER"), "terms");
  EXPECT_EQ(text("POPM"), "me@x");
  EXPECT_EQ(text("PCNT"), std::nullopt);
  EXPECT_EQ(text("TPE1"), std::nullopt);
  EXPECT_EQ(text("PRIV"), std::nullopt);  // owner text is taken as the encoding byte
  EXPECT_EQ(text("TIT3"), std::nullopt);
}

TEST(Id3v2Tag, AttachedPictureFields) {
  const Bytes picture{0x89, 'P', 'N', 'G', 0, 0, 1, 2};
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(Tag(Frame("APIC", Concat({{0}, Text("image/png"), {0}, {3}, Text("cover"), {0}, picture})))));
  const Id3v2Frame& frame = tag.Frames().at(0);
  EXPECT_EQ(frame.mimeType(), "image/png");
  EXPECT_EQ(frame.pictureType(), 3);
  EXPECT_EQ(frame.description(), "cover");
  EXPECT_EQ(Bytes(frame.pictureData().begin(), frame.pictureData().end()), picture);
  ASSERT_TRUE(tag.Parse(Tag(Frame("APIC", Concat({{1}, Text("image/png"), {0}, {3}, {0xFF, 0xFE, 'c', 0, 0, 0}, picture})))));
  const auto data = tag.Frames().at(0).pictureData();
  EXPECT_EQ(Bytes(data.begin(), data.end()), picture);
}

TEST(Id3v2Tag, RendersVersion23WithTheStandardSize) {
  Id3v2Tag tag;
  tag.Frames().push_back(*Id3v2Frame::Create("TIT2", "abc"));
  const Bytes expected = Concat({Text("ID3"), {3, 0, 0, 0, 0, 0, 14}, Text("TIT2"), {0, 0, 0, 4, 0, 0, 0}, Text("abc")});
  EXPECT_EQ(tag.Render(), expected);
  tag.Frames().clear();
  EXPECT_EQ(tag.Render(), Bytes{});
}

TEST(Id3v2Frame, SetTextLayouts) {
  auto payload = [](const Id3v2Frame& f) { return Bytes(f.payload().begin(), f.payload().end()); };
  EXPECT_EQ(payload(*Id3v2Frame::Create("TXXX", "v")), (Bytes{0, 0, 'v'}));
  EXPECT_EQ(payload(*Id3v2Frame::Create("COMM", "v")), (Bytes{0, 0, 0, 0, 0, 'v'}));
  EXPECT_EQ(payload(*Id3v2Frame::Create("USER", "v")), (Bytes{0, 0, 0, 0, 'v'}));
  EXPECT_EQ(payload(*Id3v2Frame::Create("WOAR", "u")), (Bytes{'u'}));
  EXPECT_EQ(payload(*Id3v2Frame::Create("PRIV", "p")), (Bytes{0, 'p'}));
  for (const char* id : {"GEOB", "GRID", "PCNT", "POPM", "APIC"}) EXPECT_FALSE(Id3v2Frame::Create(id, "x")) << id;

  Id3v2Frame comm("COMM", Concat({{0}, Text("eng"), Text("d"), {0}, Text("old")}));
  comm.SetText("new value");
  EXPECT_EQ(payload(comm), Concat({{0}, Text("eng"), Text("d"), {0}, Text("new value")}));
  Id3v2Frame popm("POPM", Concat({Text("a@b"), {0}, {7}, {0, 0, 1}}));
  popm.SetText("c@dd");
  EXPECT_EQ(payload(popm), Concat({Text("c@dd"), {0}, {7}, {0, 0, 1}}));
  Id3v2Frame wide("TIT2", Bytes{1, 0xFF, 0xFE, 'a', 0});
  wide.SetText("b");
  EXPECT_EQ(payload(wide), (Bytes{0, 'b'}));
}

TEST(TagLayout, AudioStartsAfterStandardAndOlderTags) {
  const Bytes frames = Frame("TIT2", Concat({{0}, Text("abc")}));
  const Bytes audio = test::MpegFrames(3);
  EXPECT_EQ(LocateAudio(Concat({Tag(frames), audio})).begin, 24u);
  EXPECT_EQ(LocateAudio(Concat({Tag(frames, 100), audio})).begin, 124u);
  // Older writers counted the header in the size: 24 for a 24-byte tag.
  const Bytes legacy = Concat({TagHeader(24), frames, audio});
  EXPECT_EQ(LocateAudio(legacy).begin, 24u);
  const Bytes legacyTagOnly = Concat({TagHeader(24), frames});
  EXPECT_EQ(LocateAudio(legacyTagOnly).begin, 24u);
  Bytes v1(128, 0);
  v1[0] = 'T', v1[1] = 'A', v1[2] = 'G';
  const AudioSpan span = LocateAudio(Concat({Tag(frames), audio, v1}));
  EXPECT_EQ(span.begin, 24u);
  EXPECT_EQ(span.end, 24u + audio.size());
  EXPECT_EQ(LocateAudio(Concat({TagHeader(5000), frames})).begin, 24u);  // clamped to the file
}

TEST(Id3v2Tag, WriteReplacesExactlyTheOldTag) {
  test::TempDir dir;
  const Bytes audio = test::MpegFrames(4);
  const Bytes frames = Frame("TPE1", Concat({{0}, Text("old artist")}));
  for (const Bytes& old : {Tag(frames, 300), Concat({TagHeader(static_cast<std::uint32_t>(10 + frames.size())), frames})}) {
    const std::string path = dir.File("x.mp3");
    test::WriteBytes(path, Concat({old, audio}));
    Id3v2Tag tag;
    tag.Frames().push_back(*Id3v2Frame::Create("TIT2", "abc"));
    ASSERT_TRUE(tag.Write(path));
    ASSERT_TRUE(tag.Write(path));  // twice: still one tag
    const Bytes expected = Concat({*tag.Render(), audio});
    EXPECT_EQ(test::ReadBytes(path), expected);
  }
}

}  // namespace
}  // namespace info
