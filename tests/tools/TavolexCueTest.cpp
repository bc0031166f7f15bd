// `tavolex cue` and `tavolex peaks --cue` as processes. The sheets are checked by two
// independent consumers: cueprint must accept them, and shnsplit must cut a 44.1 kHz WAV by
// them into tracks exactly as long as the distances between the dividers (588 samples per
// CD frame). Sheet -> dividers -> sheet must give the same bytes.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
const std::string kTool = PROJECT_BIN_DIR "/tavolex";

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

void Put16(std::string& b, std::uint16_t v) {
  b += static_cast<char>(v & 0xFF), b += static_cast<char>(v >> 8);
}
void Put32(std::string& b, std::uint32_t v) {
  Put16(b, static_cast<std::uint16_t>(v & 0xFFFF));
  Put16(b, static_cast<std::uint16_t>(v >> 16));
}

// A PCM WAV of `frames` CD frames. Small files hold a ramp per channel so that every sample
// differs from its neighbours; large ones are sparse (silence that takes no disk space).
void WriteWav(const fs::path& path, std::uint32_t rate, std::uint16_t channels, std::uint16_t bits,
              std::uint32_t cdFrames) {
  const std::uint64_t samples = std::uint64_t{cdFrames} * rate / 75;
  const std::uint32_t block = channels * bits / 8u;
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples * block);
  std::string h = "RIFF";
  Put32(h, 36 + dataBytes);
  h += "WAVEfmt ";
  Put32(h, 16), Put16(h, 1), Put16(h, channels), Put32(h, rate), Put32(h, rate * block);
  Put16(h, static_cast<std::uint16_t>(block)), Put16(h, bits);
  h += "data";
  Put32(h, dataBytes);
  std::ofstream out(path, std::ios::binary);
  out << h;
  if (dataBytes <= (16u << 20)) {
    std::string data(dataBytes, '\0');
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) data[i] = static_cast<char>(i / 2 * 7);
    out << data;
  }
  out.close();
  fs::resize_file(path, h.size() + dataBytes);
}

// Sample frames in the data chunk of a 16-bit stereo WAV.
std::uint64_t WavSampleFrames(const fs::path& path) {
  const std::string b = ReadAll(path);
  std::size_t at = 12;
  while (at + 8 <= b.size()) {
    const auto u = [&](std::size_t k) {
      return static_cast<std::uint32_t>(static_cast<unsigned char>(b[k]));
    };
    const std::uint32_t size = u(at + 4) | u(at + 5) << 8 | u(at + 6) << 16 | u(at + 7) << 24;
    if (b.compare(at, 4, "data") == 0) return size / 4;
    at += 8 + size + (size & 1);
  }
  return 0;
}

class TavolexCue : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "cuecliXXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    wav_ = dir_ / "song.wav";
    WriteWav(wav_, 44100, 2, 16, kFrames);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs a shell command in the test's folder with TMPDIR there.
  ToolRun Shell(const std::string& command) {
    const std::string line = "cd " + Quote(dir_.string()) + " && TMPDIR=" + Quote(dir_.string()) +
                             " COM_REGISTRY=" + Quote((dir_ / "registry").string()) + " " +
                             command + " >" + Quote((dir_ / "stdout").string()) + " 2>" +
                             Quote((dir_ / "stderr").string());
    ToolRun run;
    const int status = std::system(line.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadAll(dir_ / "stdout");
    run.err = ReadAll(dir_ / "stderr");
    return run;
  }
  ToolRun Tavolex(const std::string& args) { return Shell(Quote(kTool) + " " + args); }

  // Dividers as `tavolex peaks --cue` installs them: "KIND:FRAME" words for `tavolex cue`.
  std::string DividersFromSheet(const std::string& sheet) {
    const ToolRun peaks = Tavolex("peaks song.wav --cue " + sheet);
    EXPECT_EQ(peaks.status, 0) << peaks.err;
    const char* kinds[] = {"?", "start", "end", "index", "split"};
    std::string words;
    std::istringstream lines(peaks.out);
    for (std::string line; std::getline(lines, line);) {
      int type = 0;
      unsigned frame = 0;
      if (std::sscanf(line.c_str(), "divider: %d %u", &type, &frame) == 2 && type >= 1 && type <= 4)
        words += std::string(words.empty() ? "" : " ") + kinds[type] + ":" + std::to_string(frame);
    }
    return words;
  }

  static constexpr std::uint32_t kFrames = 2250;  // 30 seconds
  fs::path dir_;
  fs::path wav_;
};

struct Layout {
  const char* name;
  const char* dividers;
  std::vector<std::uint32_t> boundaries;  // frames shnsplit cuts at, from 0 to the file's end
  bool warned;                            // audio after the end
};

TEST_F(TavolexCue, SheetsAreAcceptedAndCutExactlyByIndependentTools) {
  const Layout layouts[] = {
      {"splits", "start:0 split:600 split:1500 end:2250", {0, 600, 1500, 2250}, false},
      {"indices",
       "start:0 index:300 split:900 index:1200 index:1201 end:2250",
       {0, 900, 2250},
       false},
      {"pregap", "start:150 split:1000 end:2250", {0, 150, 1000, 2250}, false},
      {"cut", "start:0 split:900 end:1800", {0, 900, 2250}, true},
  };
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(layout.name);
    const std::string sheet = std::string(layout.name) + ".cue";
    const ToolRun cue = Tavolex("cue song.wav --out " + sheet + " --divider " + layout.dividers);
    ASSERT_EQ(cue.status, 0) << cue.err;
    EXPECT_EQ(cue.err.find("warning: track") != std::string::npos, layout.warned) << cue.err;

    const ToolRun print = Shell("cueprint " + sheet);
    ASSERT_EQ(print.status, 0) << print.err;
    const std::size_t tracks =
        layout.boundaries.size() - 1 - (std::string(layout.name) == "pregap" ? 1 : 0);
    EXPECT_NE(print.out.find("no. of tracks:\t" + std::to_string(tracks) + "\n"), std::string::npos)
        << print.out;

    const fs::path out = dir_ / (std::string(layout.name) + "-split");
    fs::create_directory(out);
    const ToolRun split = Shell("shnsplit -q -O always -o wav -d " + Quote(out.string()) + " -f " +
                                sheet + " song.wav");
    ASSERT_EQ(split.status, 0) << split.err;
    std::vector<fs::path> pieces;
    for (const auto& entry : fs::directory_iterator(out)) pieces.push_back(entry.path());
    std::sort(pieces.begin(), pieces.end());
    ASSERT_EQ(pieces.size(), layout.boundaries.size() - 1);
    for (std::size_t i = 0; i < pieces.size(); ++i)
      EXPECT_EQ(WavSampleFrames(pieces[i]),
                std::uint64_t{layout.boundaries[i + 1] - layout.boundaries[i]} * 588)
          << pieces[i];

    // Sheet -> dividers (through the control) -> sheet: the same dividers, the same bytes.
    const std::string words = DividersFromSheet(sheet);
    EXPECT_EQ(words, layout.dividers);
    const ToolRun again = Tavolex("cue song.wav --divider " + words);
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, ReadAll(dir_ / sheet));
  }
}

TEST_F(TavolexCue, AudioCdLimitsAreWarnedAndStrictFails) {
  const ToolRun shortTrack = Tavolex("cue song.wav --divider split:300 split:525");
  EXPECT_EQ(shortTrack.status, 0);
  EXPECT_EQ(shortTrack.err,
            "tavolex cue: warning: track 2: is 00:03:00 long (00:04:00 to 00:07:00), shorter than "
            "the 00:04:00 of a CD track\n");
  EXPECT_EQ(Tavolex("cue song.wav --strict --divider split:300 split:525").status, 1);
  EXPECT_EQ(Tavolex("cue song.wav --strict --divider split:300").status, 0);

  WriteWav(dir_ / "long.wav", 8000, 1, 8, 81 * 4500);  // 81 minutes, sparse
  std::string many = "start:0";
  for (int t = 1; t < 100; ++t) many += " split:" + std::to_string(t * 300);
  for (int i = 1; i <= 99; ++i) many += " index:" + std::to_string(99 * 300 + i);
  const ToolRun limits = Tavolex("cue long.wav --strict --divider " + many);
  EXPECT_EQ(limits.status, 1);
  EXPECT_NE(limits.out.find("  TRACK 100 AUDIO\n"), std::string::npos);
  EXPECT_EQ(limits.err,
            "tavolex cue: warning: track 100: has 100 index points (INDEX 100 at 06:37:24), more "
            "than the 99 of a CD track\n"
            "tavolex cue: warning: track 100: starts at 06:36:00; the layout has 100 tracks, more "
            "than the 99 of a CD\n"
            "tavolex cue: warning: track 100: ends at 81:00:00, past the 79:59:74 a CD holds\n");
}

TEST_F(TavolexCue, ReplacesOnlyASheetAndKeepsItsPermissions) {
  const fs::path sheet = dir_ / "old.cue";
  std::ofstream(sheet) << "FILE \"other.wav\" WAVE\n";
  ASSERT_EQ(::chmod(sheet.c_str(), 0640), 0);
  ASSERT_EQ(Tavolex("cue song.wav --out old.cue").status, 0);
  EXPECT_EQ(ReadAll(sheet), "FILE \"song.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n");
  EXPECT_EQ(fs::status(sheet).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  const std::string audioBefore = ReadAll(wav_);
  const ToolRun onAudio = Tavolex("cue song.wav --out song.wav");
  EXPECT_EQ(onAudio.status, 1);
  EXPECT_EQ(onAudio.err, "tavolex cue: 'song.wav' is the audio file itself; not replaced\n");
  std::ofstream(dir_ / "notes.txt") << "my notes\n";
  const ToolRun onText = Tavolex("cue song.wav --out notes.txt");
  EXPECT_EQ(onText.status, 1);
  EXPECT_EQ(onText.err, "tavolex cue: 'notes.txt' exists and is not a CUE sheet; not replaced\n");
  EXPECT_EQ(ReadAll(dir_ / "notes.txt"), "my notes\n");
  EXPECT_TRUE(ReadAll(wav_) == audioBefore);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir_)) ++files;
  EXPECT_EQ(files, 5u);  // song.wav, old.cue, notes.txt, stdout, stderr: no temporary left

  // A sheet in another folder names the audio relative to itself.
  fs::create_directory(dir_ / "sheets");
  ASSERT_EQ(Tavolex("cue song.wav --out sheets/a.cue").status, 0);
  EXPECT_EQ(ReadAll(dir_ / "sheets/a.cue").substr(0, 24), "FILE \"../song.wav\" WAVE\n");
}

TEST_F(TavolexCue, BadInputGetsOneLineAndTheDocumentedStatus) {
  const ToolRun help = Tavolex("cue --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: tavolex cue AUDIO", 0), 0u);
  EXPECT_EQ(Tavolex("cue --version").status, 0);
  EXPECT_EQ(Tavolex("cue").status, 2);
  EXPECT_EQ(Tavolex("cue song.wav --divider middle:5").status, 2);

  const ToolRun missing = Tavolex("cue nothing.wav");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "tavolex cue: 'nothing.wav': cannot be opened as audio\n");
  const ToolRun outside = Tavolex("cue song.wav --divider split:2300");
  EXPECT_EQ(outside.status, 1);
  EXPECT_EQ(outside.err, "tavolex cue: the split at frame 2300 (00:30:50) lies after the end\n");

  std::ofstream(dir_ / "bad.cue")
      << "FILE \"song.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:40:00\n";
  const ToolRun peaks = Tavolex("peaks song.wav --cue bad.cue");
  EXPECT_EQ(peaks.status, 1);
  EXPECT_EQ(peaks.err,
            "tavolex peaks: 'bad.cue': line 3: INDEX 01 at 00:40:00 is not before the end of the "
            "audio (00:30:00)\n");
  EXPECT_EQ(peaks.out, "");
}

TEST_F(TavolexCue, DiscTextsComeFromTheOptionsOrTheTagsThroughTheTrackLibrary) {
  ASSERT_EQ(Shell("sox -q song.wav tone.wav trim 0 6 && lame --quiet --add-id3v2 --id3v2-latin1 "
                  "--tl 'Long Album' --ta 'The Band' tone.wav song.mp3")
                .status,
            0);
  const ToolRun untagged = Tavolex("cue song.mp3");  // the library is not registered yet
  ASSERT_EQ(untagged.status, 0) << untagged.err;
  EXPECT_EQ(untagged.out.rfind("FILE \"song.mp3\" MP3\n", 0), 0u) << untagged.out;

  ASSERT_EQ(
      Shell(Quote(PROJECT_BIN_DIR "/regsvr") + " " + Quote(PROJECT_LIB_DIR "/libInfo.so")).status,
      0);
  const ToolRun tagged = Tavolex("cue song.mp3 --out tagged.cue");
  ASSERT_EQ(tagged.status, 0) << tagged.err;
  const std::string sheet = ReadAll(dir_ / "tagged.cue");
  EXPECT_EQ(sheet.rfind("TITLE \"Long Album\"\nPERFORMER \"The Band\"\nFILE \"song.mp3\" MP3\n", 0),
            0u)
      << sheet;
  const ToolRun print = Shell("cueprint tagged.cue");
  EXPECT_NE(print.out.find("title:\t\tLong Album\n"), std::string::npos) << print.out;

  const ToolRun given = Tavolex("cue song.mp3 --title Other");
  EXPECT_EQ(given.out.rfind("TITLE \"Other\"\nFILE \"song.mp3\" MP3\n", 0), 0u) << given.out;
  const ToolRun quoted = Tavolex("cue song.mp3 --title 'a \"b'");
  EXPECT_EQ(quoted.status, 1);
  EXPECT_EQ(quoted.err,
            "tavolex cue: the disc text 'a \"b' holds a double quote or a control character\n");
}

}  // namespace
