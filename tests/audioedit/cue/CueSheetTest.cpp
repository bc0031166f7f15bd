// Writing a layout as a CUE sheet and reading it back: the exact text for each kind of
// layout, exact round trips, and refusals that name the line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audioedit/cue/CueSheetReader.h"
#include "audioedit/cue/CueSheetWriter.h"

namespace audioedit::cue {
namespace {

DIVIDER D(DivType type, std::uint32_t frame) { return DIVIDER{type, 0, frame}; }

CueSheet SheetOf(std::vector<DIVIDER> dividers, std::string name = "song.wav") {
  const CueLayoutResult built = BuildCueLayout(dividers);
  EXPECT_TRUE(built.layout.has_value()) << built.error;
  CueSheet sheet;
  sheet.fileName = std::move(name);
  if (built.layout) sheet.layout = *built.layout;
  return sheet;
}

TEST(CueSheetWriter, SplitsIndicesAndPregapBecomeTracksAndIndexPoints) {
  CueSheet sheet = SheetOf({D(DIV_End, 13500), D(DIV_Index, 3000), D(DIV_Start, 150),
                            D(DIV_Split, 4500), D(DIV_Index, 6000), D(DIV_Index, 7000)});
  sheet.disc = {"Disc", "Band"};
  sheet.trackTexts = {{"One", ""}, {"", "Guest"}};
  const CueWriteResult out = WriteCueSheet(sheet, 13500);
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(out.text,
            "TITLE \"Disc\"\n"
            "PERFORMER \"Band\"\n"
            "FILE \"song.wav\" WAVE\n"
            "  TRACK 01 AUDIO\n"
            "    TITLE \"One\"\n"
            "    INDEX 00 00:00:00\n"
            "    INDEX 01 00:02:00\n"
            "    INDEX 02 00:40:00\n"
            "  TRACK 02 AUDIO\n"
            "    PERFORMER \"Guest\"\n"
            "    INDEX 01 01:00:00\n"
            "    INDEX 02 01:20:00\n"
            "    INDEX 03 01:33:25\n");
  EXPECT_TRUE(out.warnings.empty());
}

TEST(CueSheetWriter, AnEndBeforeTheAudiosEndIsNotedAndWarned) {
  CueSheet sheet = SheetOf({D(DIV_Start, 0), D(DIV_End, 9000)}, "song.mp3");
  sheet.fileType = CueFileType::Mp3;
  const CueWriteResult out = WriteCueSheet(sheet, 13500);
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(out.text,
            "FILE \"song.mp3\" MP3\n"
            "  TRACK 01 AUDIO\n"
            "    INDEX 01 00:00:00\n"
            "REM END 02:00:00 audio after this point is not part of the layout\n");
  ASSERT_EQ(out.warnings.size(), 1u);
  EXPECT_NE(out.warnings[0].find("track 1: the audio from 02:00:00 to 03:00:00"), std::string::npos)
      << out.warnings[0];
}

TEST(CueSheetWriter, RefusesWhatASheetCannotHold) {
  EXPECT_FALSE(WriteCueSheet(SheetOf({D(DIV_Start, 0), D(DIV_End, 13501)}), 13500).ok);
  EXPECT_FALSE(WriteCueSheet(SheetOf({D(DIV_Start, 0), D(DIV_End, 100)}, "a\"b.wav"), 100).ok);
  CueSheet sheet = SheetOf({D(DIV_Start, 0), D(DIV_End, 100)});
  sheet.trackTexts = {{"line\nbreak", ""}};
  const CueWriteResult out = WriteCueSheet(sheet, 100);
  EXPECT_FALSE(out.ok);
  EXPECT_NE(out.error.find("track 1"), std::string::npos) << out.error;
}

TEST(CueLayout, RefusesDividerListsWithoutOneStartAndOneEndAroundTheRest) {
  const std::vector<std::vector<DIVIDER>> bad = {
      {D(DIV_End, 100)},
      {D(DIV_Start, 0)},
      {D(DIV_Start, 0), D(DIV_Start, 10), D(DIV_End, 100)},
      {D(DIV_Start, 10), D(DIV_Index, 5), D(DIV_End, 100)},
      {D(DIV_Start, 10), D(DIV_Split, 101), D(DIV_End, 100)},
      {D(DIV_Start, 0), D(DIV_Split, 50), D(DIV_Index, 50), D(DIV_End, 100)},
      {D(DIV_Start, 0), D(DivType::DIV_Current, 50), D(DIV_End, 100)},
  };
  for (const auto& dividers : bad) {
    const CueLayoutResult r = BuildCueLayout(dividers);
    EXPECT_FALSE(r.layout.has_value());
    EXPECT_FALSE(r.error.empty());
  }
  EXPECT_EQ(BuildCueLayout(bad[5]).error,
            "two dividers on one frame: split at frame 50 (00:00:50) and index at frame 50 "
            "(00:00:50)");
}

TEST(CueSheetRoundTrip, DividersAndSheetTextComeBackExactly) {
  const std::vector<std::vector<DIVIDER>> layouts = {
      {D(DIV_Start, 0), D(DIV_End, 13500)},
      {D(DIV_Start, 0), D(DIV_Split, 4500), D(DIV_Split, 9001), D(DIV_End, 13500)},
      {D(DIV_Start, 37), D(DIV_Index, 400), D(DIV_Split, 4500), D(DIV_Index, 4501),
       D(DIV_End, 13499)},
      {D(DIV_Start, 1), D(DIV_End, 2)},
  };
  for (const auto& dividers : layouts) {
    CueSheet sheet = SheetOf(dividers);
    sheet.disc.title = "A \xC3\xA9 title";
    const CueWriteResult first = WriteCueSheet(sheet, 13500);
    ASSERT_TRUE(first.ok) << first.error;
    const CueReadResult read = ReadCueSheet(first.text, 13500);
    ASSERT_TRUE(read.sheet.has_value()) << read.error << "\n" << first.text;
    EXPECT_EQ(read.sheet->disc.title, sheet.disc.title);
    const std::vector<DIVIDER> back = LayoutDividers(read.sheet->layout, 44100);
    ASSERT_EQ(back.size(), dividers.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
      EXPECT_EQ(back[i].type, dividers[i].type) << i;
      EXPECT_EQ(back[i].frame, dividers[i].frame) << i;
      EXPECT_EQ(back[i].sample, std::uint64_t{dividers[i].frame} * 588) << i;
    }
    EXPECT_EQ(WriteCueSheet(*read.sheet, 13500).text, first.text);
    // Without the audio's length a sheet needs its REM END line.
    EXPECT_EQ(ReadCueSheet(first.text, std::nullopt).sheet.has_value(),
              first.text.find("REM END") != std::string::npos);
  }
}

TEST(CueSheetReader, TakesSheetsFromOtherProgramsAsTheirLayout) {
  const CueReadResult r = ReadCueSheet(
      "\xEF\xBB\xBFREM GENRE Rock\r\nCATALOG 0123456789012\r\nPERFORMER Some Band\r\n"
      "FILE \"x.wav\" wave\r\n  track 1 audio\r\n    FLAGS DCP\r\n    INDEX 01 0:10:00\r\n"
      "  TRACK 02 AUDIO\r\n    ISRC ABCDE1234567\r\n    INDEX 01 01:00:00\r\n",
      9000);
  ASSERT_TRUE(r.sheet.has_value()) << r.error;
  EXPECT_EQ(r.sheet->disc.performer, "Some Band");
  ASSERT_EQ(r.sheet->layout.tracks.size(), 2u);
  EXPECT_EQ(r.sheet->layout.Start(), 750u);
  EXPECT_EQ(r.sheet->layout.tracks[1].start, 4500u);
  EXPECT_EQ(r.sheet->layout.end, 9000u);
}

TEST(CueSheetReader, RefusesSheetsItCannotMapNamingTheLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nFILE \"b.wav\" WAVE\n",
       "line 4: a second FILE: the layout covers one audio file"},
      {"FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\n"
       "INDEX 00 00:10:00\nINDEX 01 00:12:00\n",
       "line 5: a pregap (INDEX 00) of track 2 has no divider; only track 1 may have one"},
      {"FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:05:00\nTRACK 02 AUDIO\nINDEX 01 "
       "00:05:00\n",
       "line 5: INDEX 01 at 00:05:00 does not come after the one before (00:05:00)"},
      {"FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nPREGAP 00:02:00\n",
       "line 3: PREGAP adds silence, which no divider can describe"},
      {"FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nTRACK 02 AUDIO\n", "line 3: track 1 has no INDEX 01"},
      {"FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 03 AUDIO\n",
       "line 4: track number '03' where 2 comes next"},
      {"FILE \"a.wav\" BINARY\n", "line 1: file type 'BINARY' is not WAVE or MP3"},
      {"FILE \"a.wav WAVE\n", "line 1: a double quote is not closed"},
      {"FILE \"a.wav\" WAVE\nTRACK 01 MODE1/2352\n",
       "line 2: track type 'MODE1/2352' is not AUDIO"},
      {"FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 03:00:00\n",
       "line 3: INDEX 01 at 03:00:00 is not before the end of the audio (03:00:00)"},
      {"FILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nREM END 04:00:00 x\n",
       "line 4: REM END 04:00:00 lies beyond the end of the audio (03:00:00)"},
      {"TRACK 01 AUDIO\n", "line 1: TRACK before FILE"},
      {"FILE \"a.wav\" WAVE\n\n", "line 2: the sheet has no TRACK"},
      {"WHATEVER\n", "line 1: unknown command 'WHATEVER'"},
  };
  for (const auto& c : cases) {
    const CueReadResult r = ReadCueSheet(c.text, 13500);
    EXPECT_FALSE(r.sheet.has_value()) << c.text;
    EXPECT_EQ(r.error, c.error);
  }
}

}  // namespace
}  // namespace audioedit::cue
