#include <gtest/gtest.h>

#include "info/Id3v2Tag.h"
#include "info/TagLayout.h"
#include "info/TextCodec.h"
#include "tests/info/TestFiles.h"

namespace info {
namespace {

using test::Bytes;
using test::Concat;
using test::Frame;
using test::Frame22;
using test::Frame24;
using test::TagHeader;
using test::Text;

Bytes Tag(const Bytes& frames, std::uint32_t padding = 0, std::uint8_t major = 3,
          std::uint8_t flags = 0) {
  return Concat({TagHeader(static_cast<std::uint32_t>(frames.size() + padding), major, flags),
                 frames, Bytes(padding, 0)});
}

// A tag followed by audio, as a file holds it.
Bytes File(const Bytes& tag) { return Concat({tag, test::MpegFrames(3)}); }

std::u16string TextOf(const Id3v2Tag& tag, std::string_view id) {
  const int index = tag.Find(id);
  if (index < 0) return u"<missing>";
  return tag.Frames()[static_cast<std::size_t>(index)].Text().value_or(u"<no text>");
}

Bytes Picture(std::size_t size) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
  return out;
}

TEST(Id3v2Tag, TextsInAllFourEncodings) {
  const Bytes frames = Concat({
      Frame24("TIT2", Concat({{3}, Text("Caf\xC3\xA9 \xE2\x98\x83")})),  // UTF-8
      Frame24("TPE1", Concat({{1, 0xFE, 0xFF, 0x04, 0x17, 0, 'a'}})),    // UTF-16, big-endian mark
      Frame24("TALB", Concat({{1, 0xFF, 0xFE, 0x17, 0x04, 'b', 0}})),  // UTF-16, little-endian mark
      Frame24("TCOM", Concat({{2, 0x26, 0x03}})),                      // UTF-16BE
      Frame24("TCOP", Concat({{0, 0xA9, ' ', 0xE9}})),                 // ISO-8859-1
      Frame24("TPE2", Concat({{3}, Text("One"), {0}, Text("Two"), {0}})),  // two values
      Frame24("COMM", Concat({{1}, Text("eng"), {0xFF, 0xFE, 'd', 0, 0, 0, 0xFF, 0xFE, 'v', 0}})),
  });
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(File(Tag(frames, 10, 4))));
  EXPECT_EQ(tag.saveProblem(), "");
  EXPECT_EQ(TextOf(tag, "TIT2"), u"Caf\u00e9 \u2603");
  EXPECT_EQ(TextOf(tag, "TPE1"), u"\u0417a");
  EXPECT_EQ(TextOf(tag, "TALB"), u"\u0417b");
  EXPECT_EQ(TextOf(tag, "TCOM"), u"\u2603");
  EXPECT_EQ(TextOf(tag, "TCOP"), u"\u00a9 \u00e9");
  EXPECT_EQ(TextOf(tag, "TPE2"), u"One/Two");
  EXPECT_EQ(TextOf(tag, "COMM"), u"v");
  EXPECT_EQ(tag.Frames()[6].Description(), u"d");
}

TEST(Id3v2Tag, Version24SizesAreSyncsafe) {
  // A picture of 300 bytes: its size bytes are 00 00 02 2C, which as a plain number is 556.
  const Bytes picture = Picture(300 - 14);
  const Bytes frames =
      Concat({Frame24("TDRC", Concat({{0}, Text("2004")})),
              Frame24("APIC", Concat({{0}, Text("image/png"), {0, 3, 0}, picture})),
              Frame24("TIT2", Concat({{0}, Text("after")}))});
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(File(Tag(frames, 2000, 4))));
  ASSERT_EQ(tag.Frames().size(), 3u);
  const auto data = tag.Frames()[1].pictureData();
  EXPECT_EQ(Bytes(data.begin(), data.end()), picture);
  EXPECT_EQ(TextOf(tag, "TIT2"), u"after");

  // Unchanged, the frames are written back byte for byte in a version 2.4 tag that keeps
  // the audio where it was.
  tag.Frames()[2].SetText(u"changed", tag.OutputMajor());
  const auto rendered = tag.Render(10 + frames.size() + 2000);
  ASSERT_TRUE(rendered);
  EXPECT_EQ(rendered->size(), 10 + frames.size() + 2000);
  EXPECT_EQ((*rendered)[3], 4);
  const Bytes expected =
      Concat({Frame24("TDRC", Concat({{0}, Text("2004")})),
              Frame24("APIC", Concat({{0}, Text("image/png"), {0, 3, 0}, picture})),
              Frame24("TIT2", Concat({{0}, Text("changed")}))});
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), rendered->begin() + 10));
}

TEST(Id3v2Tag, Version24PlainSizesWrittenByOldTaggers) {
  const Bytes longText = Concat({{0}, Bytes(300, 'L')});
  const Bytes frames =
      Concat({Frame("TIT2", longText), Frame("TPE1", Concat({{0}, Text("artist")}))});
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(File(Tag(frames, 20, 4))));
  EXPECT_EQ(tag.saveProblem(), "");
  EXPECT_EQ(TextOf(tag, "TIT2"), std::u16string(300, u'L'));
  EXPECT_EQ(TextOf(tag, "TPE1"), u"artist");
}

TEST(Id3v2Tag, Version22FramesTakeTheirVersion23Form) {
  const Bytes frames =
      Concat({Frame22("TT2", Concat({{0}, Text("title")})),
              Frame22("TP1", Concat({{1, 0xFF, 0xFE, 'a', 0}})),
              Frame22("COM", Concat({{0}, Text("eng"), {0}, Text("comment")})),
              Frame22("PIC", Concat({{0}, Text("PNG"), {3}, Text("d"), {0}, Text("data")}))});
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(File(Tag(frames, 30, 2))));
  EXPECT_EQ(tag.saveProblem(), "");
  EXPECT_EQ(TextOf(tag, "TIT2"), u"title");
  EXPECT_EQ(TextOf(tag, "TPE1"), u"a");
  EXPECT_EQ(TextOf(tag, "COMM"), u"comment");
  ASSERT_GE(tag.Find("APIC"), 0);
  const Id3v2Frame& picture = tag.Frames()[static_cast<std::size_t>(tag.Find("APIC"))];
  EXPECT_EQ(picture.mimeType(), "image/png");
  EXPECT_EQ(Bytes(picture.pictureData().begin(), picture.pictureData().end()), Text("data"));
  const auto rendered = tag.Render();
  ASSERT_TRUE(rendered);
  EXPECT_EQ((*rendered)[3], 3);
  const Bytes tt2 = Frame("TIT2", Concat({{0}, Text("title")}));
  EXPECT_TRUE(std::equal(tt2.begin(), tt2.end(), rendered->begin() + 10));

  // A version 2.2 frame without a version 2.3 form cannot be saved.
  Id3v2Tag crm;
  ASSERT_TRUE(crm.Parse(File(Tag(Concat({frames, Frame22("CRM", Text("x"))}), 0, 2))));
  EXPECT_NE(crm.saveProblem(), "");
  EXPECT_FALSE(crm.Render());
}

TEST(Id3v2Tag, ExtendedHeadersAreSkipped) {
  const Bytes frames = Frame("TIT2", Concat({{0}, Text("title")}));
  const Bytes ext3 = {0, 0, 0, 6, 0, 0, 0, 0, 0, 0};
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(File(Tag(Concat({ext3, frames}), 10, 3, id3flag::kExtendedHeader))));
  EXPECT_EQ(TextOf(tag, "TIT2"), u"title");
  const Bytes ext4 = {0, 0, 0, 6, 1, 0};
  ASSERT_TRUE(tag.Parse(File(Tag(Concat({ext4, Frame24("TIT2", Concat({{0}, Text("four")}))}), 10,
                                 4, id3flag::kExtendedHeader))));
  EXPECT_EQ(TextOf(tag, "TIT2"), u"four");
  EXPECT_EQ(tag.saveProblem(), "");
  const Bytes badExt = {0, 0, 0x7F, 0x7F, 0, 0};
  ASSERT_TRUE(tag.Parse(File(Tag(Concat({badExt, frames}), 0, 3, id3flag::kExtendedHeader))));
  EXPECT_NE(tag.saveProblem(), "");
}

TEST(Id3v2Tag, UnsynchronisationOfTagsAndFrames) {
  const Bytes picture = {0xFF, 0xE0, 0x01, 0xFF, 0x00, 0xFF};
  const Bytes content = Concat({{0}, Text("image/jpeg"), {0, 3, 0}, picture});
  // Version 2.3: the whole tag after the header is unsynchronised.
  const Bytes body =
      ApplyUnsync(Concat({Frame("TIT2", Concat({{0}, Text("t")})), Frame("APIC", content)}));
  ASSERT_NE(body.size(), 11 + 10 + content.size());
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(File(Tag(body, 8, 3, id3flag::kUnsynchronisation))));
  ASSERT_EQ(tag.Frames().size(), 2u);
  EXPECT_EQ(Bytes(tag.Frames()[1].pictureData().begin(), tag.Frames()[1].pictureData().end()),
            picture);
  // Written back without unsynchronisation, the frame holds the real bytes.
  const auto rendered = tag.Render();
  ASSERT_TRUE(rendered);
  EXPECT_EQ((*rendered)[5], 0);
  const Bytes apic = Frame("APIC", content);
  EXPECT_NE(std::search(rendered->begin(), rendered->end(), apic.begin(), apic.end()),
            rendered->end());

  // Version 2.4: frame-level unsynchronisation with a data length indicator.
  const Bytes stored =
      Concat({{0, 0, 0, static_cast<std::uint8_t>(content.size())}, ApplyUnsync(content)});
  const Bytes frame = Frame24("APIC", stored, 0x0003);
  ASSERT_TRUE(tag.Parse(File(Tag(frame, 8, 4))));
  ASSERT_EQ(tag.Frames().size(), 1u);
  EXPECT_EQ(Bytes(tag.Frames()[0].pictureData().begin(), tag.Frames()[0].pictureData().end()),
            picture);
  const auto again = tag.Render();
  ASSERT_TRUE(again);
  EXPECT_TRUE(std::equal(frame.begin(), frame.end(), again->begin() + 10))
      << "flags and stored bytes kept";
}

TEST(Id3v2Tag, FlaggedFramesAreKeptWithTheirFlags) {
  const Bytes grouped = Frame("TPE1", Concat({{7, 0}, Text("grouped")}), 0x0020);
  const Bytes compressed = Frame("TXXX", Concat({{0, 0, 0, 9}, Bytes(12, 0x78)}), 0x0080);
  const Bytes readOnly = Frame("TALB", Concat({{0}, Text("album")}), 0x2000);
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(File(
      Tag(Concat({grouped, compressed, readOnly, Frame("TIT2", Concat({{0}, Text("t")}))}), 5))));
  EXPECT_EQ(TextOf(tag, "TPE1"), u"grouped");
  EXPECT_EQ(TextOf(tag, "TXXX"), u"<no text>");
  EXPECT_EQ(TextOf(tag, "TALB"), u"album");
  tag.Frames()[3].SetText(u"new", 3);
  const auto rendered = tag.Render();
  ASSERT_TRUE(rendered);
  const Bytes kept = Concat({grouped, compressed, readOnly});
  EXPECT_TRUE(std::equal(kept.begin(), kept.end(), rendered->begin() + 10));
}

TEST(Id3v2Tag, Version24FooterIsReadAndKept) {
  const Bytes frames = Frame24("TIT2", Concat({{0}, Text("footer")}));
  Bytes tag = Tag(frames, 0, 4, id3flag::kFooter);
  const Bytes footer = Concat({Text("3DI"), Bytes(tag.begin() + 3, tag.begin() + 10)});
  const Bytes file = File(Concat({tag, footer}));
  EXPECT_EQ(LocateAudio(file).begin, tag.size() + 10);
  EXPECT_EQ(LocateAudio(file).problem, "");
  Id3v2Tag parsed;
  ASSERT_TRUE(parsed.Parse(file));
  EXPECT_EQ(TextOf(parsed, "TIT2"), u"footer");
  const auto rendered = parsed.Render();
  ASSERT_TRUE(rendered);
  EXPECT_EQ(*rendered, Concat({tag, footer}));
}

TEST(Id3v2Tag, UntrustedSizesAreReadButNotSaved) {
  const Bytes frames = Concat(
      {Frame("TIT2", Concat({{0}, Text("abc")})), Frame("TALB", Concat({{0}, Text("album")}))});
  // The tag claims 50 MB.
  Bytes big = Concat({TagHeader(50'000'000), frames, test::MpegFrames(2)});
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(big));
  EXPECT_EQ(TextOf(tag, "TIT2"), u"abc");
  EXPECT_NE(tag.saveProblem(), "");
  EXPECT_FALSE(tag.Render());
  // A size byte with bit 7 set.
  Bytes bit7 = File(Tag(frames, 20));
  bit7[8] |= 0x80;
  ASSERT_TRUE(tag.Parse(bit7));
  EXPECT_NE(tag.saveProblem(), "");
  // A frame running past the end of the tag.
  Bytes overrun = File(Tag(frames, 0));
  overrun[10 + 14 + 7] = 200;
  ASSERT_TRUE(tag.Parse(overrun));
  EXPECT_EQ(tag.Frames().size(), 1u);
  EXPECT_NE(tag.saveProblem(), "");
  // A size that ends inside the audio.
  Bytes shortTag = Concat(
      {TagHeader(static_cast<std::uint32_t>(frames.size() + 2)), frames, test::MpegFrames(2)});
  EXPECT_NE(LocateAudio(shortTag).problem, "");
  EXPECT_FALSE(tag.Parse(Text("ID3")));
}

TEST(Id3v2Tag, UnreadableFramesAreKeptVerbatim) {
  const Bytes frames = Concat({Frame("TIT2", Concat({{0}, Text("abc")})), Text("xx\x01yz junk")});
  Id3v2Tag tag;
  ASSERT_TRUE(tag.Parse(File(Tag(frames, 40))));
  EXPECT_EQ(tag.Frames().size(), 1u);
  EXPECT_EQ(tag.saveProblem(), "");
  const auto rendered = tag.Render();
  ASSERT_TRUE(rendered);
  EXPECT_TRUE(std::equal(frames.begin(), frames.end(), rendered->begin() + 10));
}

TEST(Id3v2Frame, SetTextChoosesTheEncoding) {
  Id3v2Frame latin("TIT2");
  ASSERT_TRUE(latin.SetText(u"Caf\u00e9 \u0080", 3));
  EXPECT_EQ(Bytes(latin.stored().begin(), latin.stored().end()),
            (Bytes{0, 'C', 'a', 'f', 0xE9, ' ', 0x80}));
  Id3v2Frame wide3("TIT2");
  ASSERT_TRUE(wide3.SetText(u"\u20ac", 3));
  EXPECT_EQ(Bytes(wide3.stored().begin(), wide3.stored().end()),
            (Bytes{1, 0xFF, 0xFE, 0xAC, 0x20}));
  Id3v2Frame wide4("TIT2");
  ASSERT_TRUE(wide4.SetText(u"\u20ac", 4));
  EXPECT_EQ(Bytes(wide4.stored().begin(), wide4.stored().end()), (Bytes{3, 0xE2, 0x82, 0xAC}));
  Id3v2Frame comment("COMM");
  ASSERT_TRUE(comment.SetText(u"c", 3));
  EXPECT_EQ(Bytes(comment.stored().begin(), comment.stored().end()),
            Concat({{0}, Text("eng"), {0}, Text("c")}));
  Id3v2Frame url("WOAR");
  EXPECT_FALSE(url.SetText(u"http://\u4e16/", 3));
  Id3v2Frame popm("POPM", 0, Concat({Text("a@b"), {0, 200, 0, 0, 0, 9}}),
                  Concat({Text("a@b"), {0, 200, 0, 0, 0, 9}}), true);
  ASSERT_TRUE(popm.SetText(u"me@x", 3));
  EXPECT_EQ(Bytes(popm.stored().begin(), popm.stored().end()),
            Concat({Text("me@x"), {0, 200, 0, 0, 0, 9}}));
  Id3v2Frame owned("PRIV", 0, Concat({Text("owner"), {0, 1, 2}}),
                   Concat({Text("owner"), {0, 1, 2}}), true);
  EXPECT_EQ(owned.Text(), std::nullopt);
  EXPECT_FALSE(owned.SetText(u"x", 3));
}

TEST(TagLayout, AudioStartsAfterStandardAndOlderTags) {
  const Bytes frames = Frame("TIT2", Concat({{0}, Text("abc")}));
  const Bytes audio = test::MpegFrames(3);
  EXPECT_EQ(LocateAudio(Concat({Tag(frames), audio})).begin, 24u);
  EXPECT_EQ(LocateAudio(Concat({Tag(frames, 100), audio})).begin, 124u);
  // Older writers counted the header in the size: 24 for a 24-byte tag.
  const Bytes legacy = Concat({TagHeader(24), frames, audio});
  EXPECT_EQ(LocateAudio(legacy).begin, 24u);
  EXPECT_EQ(LocateAudio(legacy).problem, "");
  Bytes v1(128, 0);
  v1[0] = 'T', v1[1] = 'A', v1[2] = 'G';
  const AudioSpan span = LocateAudio(Concat({Tag(frames), audio, v1}));
  EXPECT_EQ(span.begin, 24u);
  EXPECT_EQ(span.end, 24u + audio.size());
  EXPECT_EQ(LocateAudio(Concat({TagHeader(5000), frames})).begin, 24u);  // clamped to the file
}

TEST(TagLayout, MpegAudioBetweenTheTags) {
  const Bytes audio = test::MpegFrames(3);
  const Bytes tag = Tag(Frame("TIT2", Concat({{0}, Text("abc")})), 10);
  EXPECT_EQ(MpegAudioProblem(Concat({tag, audio}), LocateAudio(Concat({tag, audio}))), "");
  const Bytes junkFirst = Concat({tag, Bytes(100, 0x11), audio});
  EXPECT_EQ(MpegAudioProblem(junkFirst, LocateAudio(junkFirst)), "");
  const Bytes text = Text(std::string(2000, 'x'));
  EXPECT_NE(MpegAudioProblem(text, LocateAudio(text)), "");
  const Bytes riff = Concat({Text("RIFF"), audio});
  EXPECT_NE(MpegAudioProblem(riff, LocateAudio(riff)), "");
  const Bytes tagOnly = Tag(Frame("TIT2", Concat({{0}, Text("abc")})));
  EXPECT_NE(MpegAudioProblem(tagOnly, LocateAudio(tagOnly)), "");
}

}  // namespace
}  // namespace info
