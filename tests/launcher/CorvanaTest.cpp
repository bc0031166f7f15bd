// The launcher as a real process, with a recording wizard registered in a temporary registry.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "tests/launcher/ProcessRunner.h"
#include "tests/platform/registry/TempDir.h"
#include "tests/server/RegisterLibrary.h"

namespace {

const std::string kCorvana = PROJECT_BIN_DIR "/corvana";
const std::string kWizard = PROJECT_LIB_DIR "/libRecordingWizard.so";

class Corvana : public ::testing::Test {
 protected:
  void SetUp() override { testutil::RegisterLibrary(kWizard, registry()); }

  std::filesystem::path registry() const { return dir_ / "registry"; }

  testutil::ProcessResult Run(std::vector<std::string> args, bool fail = false) {
    args.insert(args.begin(), kCorvana);
    std::vector<std::pair<std::string, std::string>> env{
        {"COM_REGISTRY", registry().string()}, {"WIZARD_RECORD", (dir_ / "record").string()}};
    if (fail) env.emplace_back("WIZARD_FAIL", "1");
    return testutil::RunProcess(args, env, dir_.path());
  }

  // The recorded calls, without the lifetime lines that every run ends with.
  std::string Calls() {
    const std::string all = testutil::ReadWholeFile(dir_ / "record");
    const std::string tail = "release\ncan-unload 0\nunload\n";
    EXPECT_TRUE(all.ends_with(tail)) << all;
    return all.ends_with(tail) ? all.substr(0, all.size() - tail.size()) : all;
  }

  testutil::TempDir dir_;
};

TEST_F(Corvana, ArgumentsChooseTheWizardMethod) {
  const struct {
    std::vector<std::string> args;
    std::string call;
  } cases[] = {
      {{}, "start\n"},
      {{"-o", "C:\\data\\file"}, "open mode=1 path=C:\\data\\file\n"},
      {{"-o C:\\data\\file"}, "open mode=1 path=C:\\data\\file\n"},
      {{"-L  x"}, "open mode=0 path=x\n"},
      {{"-O"}, "open mode=1 path=\n"},
      {{"-lC:\\x"}, "open mode=0 path=C:\\x\n"},
      {{"-o", "\"C:\\My Files\\a.wav\""}, "open mode=1 path=\"C:\\My Files\\a.wav\"\n"},
      {{"-l", "two", "words "}, "open mode=0 path=two words \n"},
      {{"-x"}, "start\n"},
      {{"/o", "file"}, "start\n"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir_ / "record");
    const auto result = Run(c.args);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(Calls(), c.call);
  }
}

TEST_F(Corvana, UnregisteredWizardEndsQuietly) {
  std::filesystem::remove(registry());
  auto result = Run({"-o", "file"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "record"));

  // Registered, but the library is gone.
  std::ofstream(registry()) << "comreg-registry 1\n"
                               "key \"Pyrelle.DiscWizard\" \"CLSID\"\n"
                               "value \"\" sz \"{3E1B6A20-96F4-4C53-8D0B-7A2E5C914F61}\"\n"
                               "key \"CLSID\" \"{3E1B6A20-96F4-4C53-8D0B-7A2E5C914F61}\" "
                               "\"InprocServer32\"\n"
                               "value \"\" sz \"/nonexistent/libWizard.so\"\nend\n";
  result = Run({});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "record"));
}

TEST_F(Corvana, DamagedRegistryIsReported) {
  std::ofstream(registry(), std::ios::app) << "key \"Stray";
  const auto result = Run({});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(
      result.err.rfind("corvana: cannot read the class registry: " + registry().string() + ":", 0),
      0u)
      << result.err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "record"));
}

TEST_F(Corvana, FailingWizardMethodIsReportedAndTheWizardStillReleased) {
  auto result = Run({"-o", "file"}, true);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err.rfind("corvana: the wizard's open method failed: 0x80004005", 0), 0u)
      << result.err;
  EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1);
  EXPECT_EQ(Calls(), "open mode=1 path=file\n");

  std::filesystem::remove(dir_ / "record");
  result = Run({}, true);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err.rfind("corvana: the wizard's start method failed: 0x80004005", 0), 0u);
  EXPECT_EQ(Calls(), "start\n");
}

TEST_F(Corvana, PathLongerThanTheWizardBufferIsRefused) {
  const std::string fits(1023, 'p');
  auto result = Run({"-o", fits});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(Calls(), "open mode=1 path=" + fits + "\n");

  std::filesystem::remove(dir_ / "record");
  result = Run({"-o", fits + "q"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("1024 bytes long"), std::string::npos) << result.err;
  EXPECT_EQ(Calls(), "");  // not called, but released and unloaded
}

}  // namespace
