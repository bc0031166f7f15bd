// The decode command's output: a WAV file that would pass its format's size limit fails
// before any byte past it is written, and the target stays as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "tests/tools/ToolProcess.h"
#include "tools/tavolex/DecodeOutput.h"

namespace {

TEST(DecodeOutput, TheWavLimitIsCheckedBeforeWriting) {
  EXPECT_EQ(tavolex_cli::kMaxWavDataBytes, 4294967259u);
  tooltest::TempDir dir;
  const std::string target = dir / "out.wav";
  {
    std::FILE* f = std::fopen(target.c_str(), "wb");
    std::fputs("old", f);
    std::fclose(f);
  }
  tavolex_cli::DecodeOutput out(target, true, 1000);
  ASSERT_TRUE(out.Open()) << out.Error();
  const std::vector<std::uint8_t> frame(400, 7);
  EXPECT_TRUE(out.Append(frame.data(), frame.size()));
  EXPECT_TRUE(out.Append(frame.data(), frame.size()));
  EXPECT_FALSE(out.Append(frame.data(), frame.size()));  // 1200 > 1000
  EXPECT_EQ(
      out.Error().rfind("cannot write '" + target + "': the audio is too long for a WAV file", 0),
      0u)
      << out.Error();
  EXPECT_EQ(tooltest::ReadAll(target), "old");
  EXPECT_EQ(tooltest::Entries(dir.Path()), 1u);  // the new file is gone
}

TEST(DecodeOutput, WritesAHeaderThatMatchesTheData) {
  tooltest::TempDir dir;
  const std::string target = dir / "out.wav";
  tavolex_cli::DecodeOutput out(target, true, 1000);
  ASSERT_TRUE(out.Open());
  const std::vector<std::uint8_t> frame(1000, 1);
  ASSERT_TRUE(out.Append(frame.data(), frame.size()));  // exactly at the limit
  out.SetLayout(2, 22050);
  ASSERT_TRUE(out.Commit()) << out.Error();
  const std::string bytes = tooltest::ReadAll(target);
  ASSERT_EQ(bytes.size(), 1044u);
  auto le = [&](std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return v;
  };
  EXPECT_EQ(bytes.substr(0, 4), "RIFF");
  EXPECT_EQ(le(4, 4), 1036u);
  EXPECT_EQ(le(22, 2), 2u);
  EXPECT_EQ(le(24, 4), 22050u);
  EXPECT_EQ(le(32, 2), 4u);
  EXPECT_EQ(le(40, 4), 1000u);
}

}  // namespace
