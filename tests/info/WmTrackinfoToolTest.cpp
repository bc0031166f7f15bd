// trackinfo on Windows Media files, through the real program and libInfo.so, which finds the
// runtime beside itself. ffprobe and ffmpeg check the result independently.
#include <gtest/gtest.h>

#include "tests/info/WmTestSupport.h"

namespace info {
namespace {

test::CommandRun Trackinfo(const std::string& arguments) {
  return test::Run(std::string(PROJECT_BIN_DIR) + "/trackinfo " + arguments);
}

TEST(WmTrackinfo, ShowAndSetARoundTripThatOtherReadersSee) {
  test::TempDir dir;
  const std::string file = test::CopyWma(dir, "tagged.wma");
  test::CommandRun run = Trackinfo("show " + test::Quoted(file));
  ASSERT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("eaLocation: " + file + "\neaBitrate: 64000\neaDuration: "),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("eaTitle: Fixture Title\n"), std::string::npos);
  EXPECT_NE(run.out.find("eaLeadArtist: Fixture Artist\n"), std::string::npos);
  EXPECT_NE(run.out.find("eaTrackNum: 7\n"), std::string::npos);
  EXPECT_NE(run.out.find("eaAuthor: Fixture Artist\n"), std::string::npos);

  ASSERT_EQ(Trackinfo("set " + test::Quoted(file) + " 'eaTitle=Zweiter Titel \xc3\xa9'").status, 0);
  EXPECT_EQ(test::FfprobeTitle(file), "Zweiter Titel \xc3\xa9");
  EXPECT_TRUE(test::FfmpegDecodes(file));
  EXPECT_NE(Trackinfo("show " + test::Quoted(file)).out.find("eaTitle: Zweiter Titel \xc3\xa9\n"),
            std::string::npos);
}

TEST(WmTrackinfo, VideoFilesAndFilesThatAreNotWindowsMedia) {
  test::TempDir dir;
  const std::string clip = test::CopyWma(dir, "clip.wmv");
  EXPECT_NE(Trackinfo("show " + test::Quoted(clip)).out.find("eaTitle: Video Title\n"),
            std::string::npos);
  const std::string upper = dir.File("CLIP.WMV");
  ASSERT_EQ(test::Run("cp " + test::Quoted(clip) + " " + test::Quoted(upper)).status, 0);
  EXPECT_EQ(Trackinfo("set " + test::Quoted(upper) + " eaAlbum=Clips").status, 0);
  EXPECT_NE(Trackinfo("show " + test::Quoted(upper)).out.find("eaAlbum: Clips\n"),
            std::string::npos);

  const std::string fake = test::CopyWma(dir, "notasf.wma");
  const test::Bytes before = test::ReadBytes(fake);
  EXPECT_EQ(Trackinfo("show " + test::Quoted(fake)).status, 1);
  EXPECT_EQ(Trackinfo("set " + test::Quoted(fake) + " eaTitle=x").status, 1);
  EXPECT_EQ(test::ReadBytes(fake), before);
}

// What a Windows Media file keeps is its own: the author can be set although no ID3 frame
// holds it, while the stream's figures and the pictures are refused before the file is touched.
TEST(WmTrackinfo, AttributesAreCheckedAgainstTheWindowsMediaNames) {
  test::TempDir dir;
  const std::string file = test::CopyWma(dir, "tagged.wma");
  ASSERT_EQ(Trackinfo("set " + test::Quoted(file) + " eaAuthor=Someone").status, 0);
  EXPECT_NE(Trackinfo("show " + test::Quoted(file)).out.find("eaAuthor: Someone\n"),
            std::string::npos);
  const test::Bytes before = test::ReadBytes(file);
  EXPECT_EQ(Trackinfo("set " + test::Quoted(file) + " eaBitrate=1").status, 2);
  EXPECT_EQ(Trackinfo("set " + test::Quoted(file) + " eaPictures=1").status, 2);
  EXPECT_EQ(test::ReadBytes(file), before);
}

TEST(WmTrackinfo, EditNeedsADisplayAndOneFile) {
  test::TempDir dir;
  const std::string file = test::CopyWma(dir, "tagged.wma");
  const test::Bytes before = test::ReadBytes(file);
  EXPECT_EQ(test::Run("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                      std::string(PROJECT_BIN_DIR) + "/trackinfo edit " + test::Quoted(file))
                .status,
            1);
  EXPECT_EQ(test::ReadBytes(file), before);
  EXPECT_EQ(Trackinfo("edit").status, 2);
  EXPECT_EQ(Trackinfo("edit " + test::Quoted(file) + " extra").status, 2);
  EXPECT_EQ(Trackinfo("edit " + test::Quoted(dir.File("missing.wma"))).status, 1);
}

}  // namespace
}  // namespace info
