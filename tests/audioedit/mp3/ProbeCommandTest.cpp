// `tavolex probe`: its lines, usage and failure statuses.
#include <gtest/gtest.h>

#include <string>

#include "tests/audioedit/mp3/StreamBuilder.h"
#include "tools/tavolex/Commands.h"

namespace {

int Probe(std::vector<std::string> args, std::string& out, std::string& err) {
  args.insert(args.begin(), "probe");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int status = tavolex_cli::RunProbe(static_cast<int>(argv.size()), argv.data());
  out = ::testing::internal::GetCapturedStdout();
  err = ::testing::internal::GetCapturedStderr();
  return status;
}

TEST(ProbeCommandTest, PrintsTheFiguresAsKeyValueLines) {
  std::string out;
  std::string err;
  ASSERT_EQ(Probe({mp3test::Fixture("vbr_44100.mp3")}, out, err), 0) << err;
  EXPECT_NE(out.find("bitrate: "), std::string::npos);
  EXPECT_NE(out.find("\nchannels: 2\nrate: 44100\nduration: "), std::string::npos);
  EXPECT_NE(out.find("\nisVbr: 1\nhasVbrHeader: 1\nseekAccurate: 1\n"), std::string::npos);
  EXPECT_TRUE(err.empty());
}

TEST(ProbeCommandTest, UsageAndFailures) {
  std::string out;
  std::string err;
  EXPECT_EQ(Probe({}, out, err), 2);
  EXPECT_EQ(Probe({"a", "b"}, out, err), 2);
  const std::string missing = ::testing::TempDir() + "/ana_no_such.mp3";
  EXPECT_EQ(Probe({missing}, out, err), 1);
  EXPECT_NE(err.find(missing), std::string::npos);
  const std::string notAudio = ::testing::TempDir() + "/ana_not_audio.mp3";
  mp3test::WriteFile(notAudio, std::vector<std::uint8_t>(1000, 0x41));
  EXPECT_EQ(Probe({notAudio}, out, err), 1);
  EXPECT_NE(err.find(notAudio), std::string::npos);
  EXPECT_TRUE(out.empty());
}

}  // namespace
