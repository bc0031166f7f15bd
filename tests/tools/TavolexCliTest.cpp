// `tavolex` conventions: --help and --version for the tool and every command, --json
// documents of probe and peaks (parsed with python's json module).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/tools/ToolProcess.h"

namespace {

using tooltest::Quote;

const std::string kFixtures = TEST_DATA_DIR "/tools/";
const std::string kAudio = TEST_DATA_DIR "/audio/";

class TavolexCli : public ::testing::Test {
 protected:
  tooltest::Result Tavolex(const std::string& args) {
    return tooltest::Run(
        "TMPDIR=" + Quote(dir_.Path().string()) + " " + Quote(tooltest::kTavolex) + " " + args,
        dir_);
  }
  // Runs a python expression over the JSON document on stdin; its printed result.
  std::string Json(const std::string& document, const std::string& expression) {
    const std::string file = dir_ / "doc.json";
    {
      std::FILE* f = std::fopen(file.c_str(), "wb");
      std::fwrite(document.data(), 1, document.size(), f);
      std::fclose(f);
    }
    const tooltest::Result r = tooltest::Run(
        "python3 -c " +
            Quote("import json, sys; d = json.load(open(sys.argv[1])); print(" + expression + ")") +
            " " + Quote(file),
        dir_);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  }

  tooltest::TempDir dir_;
};

TEST_F(TavolexCli, HelpAndVersionForTheToolAndEveryCommand) {
  for (const std::string help : {"--help", "-h"}) {
    const tooltest::Result r = Tavolex(help);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("usage:\n  tavolex decode", 0), 0u) << r.out;
    EXPECT_TRUE(r.err.empty());
  }
  const std::string version = std::string("tavolex ") + PROJECT_VERSION + "\n";
  EXPECT_EQ(Tavolex("--version").out, version);
  for (const std::string command : {"decode", "probe", "peaks", "render"}) {
    const tooltest::Result help = Tavolex(command + " --help");
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_EQ(help.out.rfind("usage: tavolex " + command + " ", 0), 0u) << help.out;
    EXPECT_EQ(Tavolex(command + " -h").status, 0);
    const tooltest::Result v = Tavolex(command + " --version");
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, version);
  }
  const tooltest::Result unknown = Tavolex("frobnicate");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(unknown.out.empty());
  EXPECT_EQ(Tavolex("").status, 2);
}

TEST_F(TavolexCli, ProbeJsonHoldsTheSameFiguresAsTheLines) {
  const tooltest::Result lines = Tavolex("probe " + Quote(kFixtures + "stereo.mp3"));
  ASSERT_EQ(lines.status, 0);
  EXPECT_EQ(lines.out.rfind("bitrate: 128000\nchannels: 2\nrate: 44100\n", 0), 0u) << lines.out;
  const tooltest::Result json = Tavolex("probe " + Quote(kFixtures + "stereo.mp3") + " --json");
  ASSERT_EQ(json.status, 0) << json.err;
  EXPECT_EQ(Json(json.out, "d['bitrate'], d['channels'], d['rate'], d['isVbr'], d['file']"),
            "128000 2 44100 False " + kFixtures + "stereo.mp3\n");
}

TEST_F(TavolexCli, PeaksJsonIsOneDocumentWithTheEvents) {
  const tooltest::Result r = Tavolex("peaks " + Quote(kAudio + "stereo16.wav") + " --json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find("event:"), std::string::npos);
  EXPECT_EQ(Json(r.out,
                 "d['events'][0], d['events'][-1], d['ErrorCode'], d['ErrorString'], "
                 "d['channels'], d['total_peaks'], d['dividers']"),
            "{'event': 'AudioEditMsg', 'uMsg': 1, 'uParam': 0} "
            "{'event': 'AudioEditMsg', 'uMsg': 2, 'uParam': 0} 0 AudioEditCtl: Success 2 960 "
            "[{'type': 1, 'frame': 0}, {'type': 2, 'frame': 240}]\n");

  // A failed load still gives its document, and the exit status 1.
  const tooltest::Result failed = Tavolex("peaks " + Quote(kAudio + "notaudio.wav") + " --json");
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(Json(failed.out, "d['ErrorCode'], d['PeakFileName'] == ''"), "4 True\n");
  // A name that is not UTF-8 comes back with each stray byte as its \udcXX escape.
  const std::string odd = dir_ / "x\xE9.wav";
  std::filesystem::copy_file(kAudio + "stereo16.wav", odd);
  const tooltest::Result named = Tavolex("peaks " + Quote(odd) + " --json");
  ASSERT_EQ(named.status, 0);
  EXPECT_EQ(Json(named.out, "d['channels'], d['file'].endswith('x\\udce9.wav')"), "2 True\n");
  EXPECT_NE(named.out.find("x\\udce9.wav"), std::string::npos);
}

}  // namespace
