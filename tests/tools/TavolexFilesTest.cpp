// `tavolex` and the files it is given: outputs replace their target only on success, an
// input is never overwritten, inputs that are not regular files end at once with the
// reason, a file-size limit is an ordinary failure, and file names keep every byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/tools/ToolProcess.h"

namespace {

using tooltest::Quote;
using tooltest::ReadAll;

const std::string kFixtures = TEST_DATA_DIR "/tools/";
const std::string kAudio = TEST_DATA_DIR "/audio/";

std::string Tavolex(const std::string& args) { return Quote(tooltest::kTavolex) + " " + args; }

class TavolexFiles : public ::testing::Test {
 protected:
  std::string Copy(const std::string& from, const std::string& name) {
    const std::string to = dir_ / name;
    std::filesystem::copy_file(from, to);
    return to;
  }
  tooltest::Result Run(const std::string& args) {
    return tooltest::Run("TMPDIR=" + Quote(tmp_) + " " + Tavolex(args), dir_);
  }

  tooltest::TempDir dir_;
  std::string tmp_ = [this] {
    std::filesystem::create_directory(dir_ / "tmp");
    return dir_ / "tmp";
  }();
};

TEST_F(TavolexFiles, DecodeNeverOverwritesItsInput) {
  const std::string song = Copy(kFixtures + "stereo.mp3", "song.mp3");
  const std::string before = ReadAll(song);
  std::filesystem::create_hard_link(song, dir_ / "other-name.mp3");
  std::filesystem::create_symlink(song, dir_ / "link.wav");
  for (const std::string& out : {song, dir_ / "other-name.mp3", dir_ / "link.wav"}) {
    const tooltest::Result r = Run("decode " + Quote(song) + " " + Quote(out));
    EXPECT_EQ(r.status, 1) << out;
    EXPECT_NE(r.err.find("are the same file"), std::string::npos) << r.err;
    EXPECT_EQ(ReadAll(song), before);
  }
  EXPECT_EQ(tooltest::Entries(dir_.Path()), 4u);  // song, hard link, symbolic link, tmp
}

TEST_F(TavolexFiles, AFailedDecodeLeavesAnExistingOutputUntouched) {
  const std::string out = dir_ / "out.wav";
  std::ofstream(out) << "precious";
  ::chmod(out.c_str(), 0640);
  const tooltest::Result notAudio =
      Run("decode " + Quote(kAudio + "notaudio.wav") + " " + Quote(out));
  EXPECT_EQ(notAudio.status, 1);
  EXPECT_EQ(notAudio.err,
            "tavolex decode: '" + kAudio + "notaudio.wav': no MPEG Layer III audio found\n");
  EXPECT_EQ(Run("decode " + Quote(dir_ / "missing.mp3") + " " + Quote(out)).status, 1);
  EXPECT_EQ(ReadAll(out), "precious");
  EXPECT_EQ(tooltest::Entries(dir_.Path()), 2u);  // out.wav and tmp: no temporary file left

  // A successful decode replaces it and keeps its permissions.
  ASSERT_EQ(Run("decode " + Quote(kFixtures + "stereo.mp3") + " " + Quote(out)).status, 0);
  EXPECT_EQ(ReadAll(out).substr(0, 4), "RIFF");
  struct stat st {};
  ASSERT_EQ(::stat(out.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(tooltest::Entries(dir_.Path()), 2u);
}

TEST_F(TavolexFiles, InputsThatAreNotRegularFilesEndAtOnceWithTheReason) {
  const std::string fifo = dir_ / "fifo.mp3";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string out = dir_ / "out.wav";
  struct Case {
    std::string args;
    std::string err;
  } cases[] = {
      {"probe " + Quote(fifo),
       "tavolex probe: cannot open '" + fifo + "': is a FIFO, not a regular file\n"},
      {"decode " + Quote(fifo) + " " + Quote(out),
       "tavolex decode: cannot open '" + fifo + "': is a FIFO, not a regular file\n"},
      {"decode /dev/zero " + Quote(out),
       "tavolex decode: cannot open '/dev/zero': is a device, not a regular file\n"},
      {"probe " + Quote(dir_.Path().string()),
       "tavolex probe: cannot open '" + dir_.Path().string() + "': Is a directory\n"},
      {"peaks " + Quote(fifo),
       "tavolex peaks: cannot open '" + fifo + "': is a FIFO, not a regular file\n"},
      {"peaks " + Quote(dir_ / "missing.wav"),
       "tavolex peaks: cannot open '" + (dir_ / "missing.wav") + "': No such file or directory\n"},
      {"render " + Quote(dir_.Path().string()) + " --png " + Quote(dir_ / "x.png"),
       "tavolex render: cannot open '" + dir_.Path().string() + "': Is a directory\n"},
  };
  for (const Case& c : cases) {
    const tooltest::Result r = Run(c.args);
    EXPECT_EQ(r.status, 1) << c.args;
    EXPECT_EQ(r.err, c.err);
  }
  std::ofstream(dir_ / "empty.wav").close();
  EXPECT_EQ(Run("peaks " + Quote(dir_ / "empty.wav")).err,
            "tavolex peaks: cannot open '" + (dir_ / "empty.wav") + "': the file is empty\n");
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_TRUE(std::filesystem::is_empty(tmp_));
}

TEST_F(TavolexFiles, AFifoAsPeakFileIsIgnoredAndANewOneBuilt) {
  const std::string fifo = dir_ / "peaks.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const tooltest::Result r =
      Run("peaks " + Quote(kFixtures + "stereo.mp3") + " --peak-file " + Quote(fifo));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("event: AudioEditMsg 1 0\n"), std::string::npos);  // a build started
  EXPECT_NE(r.out.find("ErrorCode: 0\n"), std::string::npos);
}

TEST_F(TavolexFiles, AFileSizeLimitIsAnOrdinaryWriteFailure) {
  // The decoded WAV (about 176 KB) and the peak file of a long load pass 8 KiB.
  std::string longSong = dir_ / "long.mp3";
  {
    std::ofstream out(longSong, std::ios::binary);
    const std::string clip = ReadAll(kFixtures + "clip.mp3");
    for (int i = 0; i < 40; ++i) out << clip;
  }
  const std::string out = dir_ / "out.wav";
  std::ofstream(out) << "precious";
  const tooltest::Result decode = tooltest::Run(
      "ulimit -f 8; " + Tavolex("decode " + Quote(kFixtures + "stereo.mp3") + " " + Quote(out)),
      dir_);
  EXPECT_EQ(decode.status, 1);
  EXPECT_EQ(decode.err.rfind("tavolex decode: cannot write '" + out + "': File too large", 0), 0u)
      << decode.err;
  EXPECT_EQ(ReadAll(out), "precious");

  const tooltest::Result peaks =
      tooltest::Run("ulimit -f 8; TMPDIR=" + Quote(tmp_) + " " +
                        Tavolex("peaks " + Quote(longSong) + " --interval 1"),
                    dir_);
  EXPECT_EQ(peaks.status, 1) << peaks.err;
  EXPECT_NE(peaks.out.find("ErrorCode: 3\nErrorString: Cannot create peak file.\n"),
            std::string::npos)
      << peaks.out;
  EXPECT_TRUE(std::filesystem::is_empty(tmp_));
  EXPECT_EQ(tooltest::Entries(dir_.Path()), 3u);  // long.mp3, out.wav, tmp
}

TEST_F(TavolexFiles, NamesThatAreNotUtf8KeepEveryByte) {
  const std::string wav = Copy(kAudio + "stereo16.wav", "caf\xE9.wav");
  const std::string mp3 = Copy(kFixtures + "stereo.mp3", "x\xFF\xFE.mp3");
  for (const std::string& song : {wav, mp3}) {
    const tooltest::Result peaks = Run("peaks " + Quote(song));
    EXPECT_EQ(peaks.status, 0) << peaks.err;
    EXPECT_NE(peaks.out.find("ErrorCode: 0\n"), std::string::npos);
    const std::string png = dir_ / "\xE9t\xE9.png";
    const tooltest::Result render = Run("render " + Quote(song) + " --png " + Quote(png));
    EXPECT_EQ(render.status, 0) << render.err;
    EXPECT_TRUE(std::filesystem::exists(png));
  }
  // A peak file under such a name is accepted as it is.
  const std::string peak = dir_ / "p\xE9.peaks";
  const tooltest::Result first = Run("peaks " + Quote(wav) + " --keep");
  const std::size_t at = first.out.find("PeakFileName: ");
  ASSERT_NE(at, std::string::npos);
  const std::string built = first.out.substr(at + 14, first.out.find('\n', at) - at - 14);
  std::filesystem::rename(built, peak);
  const tooltest::Result again = Run("peaks " + Quote(wav) + " --keep --peak-file " + Quote(peak));
  EXPECT_EQ(again.status, 0);
  EXPECT_EQ(again.out.rfind("event: AudioEditMsg 8 0\n", 0), 0u) << again.out;  // no build
  EXPECT_NE(again.out.find("PeakFileName: " + peak + "\n"), std::string::npos);
}

TEST_F(TavolexFiles, RenderNeverOverwritesItsInputAndCapsThePicture) {
  const std::string song = Copy(kAudio + "stereo16.wav", "song.wav");
  const std::string before = ReadAll(song);
  const tooltest::Result same = Run("render " + Quote(song) + " --png " + Quote(song));
  EXPECT_EQ(same.status, 1);
  EXPECT_EQ(ReadAll(song), before);
  const tooltest::Result huge =
      Run("render " + Quote(song) + " --png " + Quote(dir_ / "x.png") + " --size 16384x16384");
  EXPECT_EQ(huge.status, 2);
  EXPECT_NE(huge.err.find("16777216 pixels"), std::string::npos) << huge.err;
  EXPECT_EQ(
      Run("render " + Quote(song) + " --png " + Quote(dir_ / "x.png") + " --size 8192x2048").status,
      0);
}

}  // namespace
