// Tag bounds around the audio of an MPEG file.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "mpegaudio/analysis/AudioBounds.h"

namespace mpegaudio {
namespace {

class MemoryBytes final : public ByteReader {
 public:
  explicit MemoryBytes(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::size_t ReadAt(std::uint32_t offset, std::uint8_t* buffer, std::size_t count) override {
    if (offset >= bytes_.size()) return 0;
    const std::size_t n = std::min(count, bytes_.size() - offset);
    std::memcpy(buffer, bytes_.data() + offset, n);
    return n;
  }
  std::uint32_t Size() const { return static_cast<std::uint32_t>(bytes_.size()); }

 private:
  std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> Id3v2(std::uint32_t body, std::uint8_t flags = 0) {
  std::vector<std::uint8_t> t = {'I', 'D', '3', 4, 0, flags,
                                 static_cast<std::uint8_t>(body >> 21 & 0x7F),
                                 static_cast<std::uint8_t>(body >> 14 & 0x7F),
                                 static_cast<std::uint8_t>(body >> 7 & 0x7F),
                                 static_cast<std::uint8_t>(body & 0x7F)};
  t.resize(10 + body + ((flags & 0x10) ? 10 : 0), 0);
  return t;
}

TEST(AudioBoundsTest, TagSizeIsSynchsafeWithOptionalFooter) {
  const auto tag = Id3v2(204800);
  EXPECT_EQ(Id3v2TagSize(tag.data(), tag.size()), 204810u);
  const auto footer = Id3v2(300, 0x10);
  EXPECT_EQ(Id3v2TagSize(footer.data(), footer.size()), 320u);
  auto broken = Id3v2(10);
  broken[7] = 0x80;  // not synchsafe
  EXPECT_EQ(Id3v2TagSize(broken.data(), broken.size()), 0u);
  EXPECT_EQ(Id3v2TagSize(tag.data(), 9), 0u);
  const std::uint8_t notTag[10] = {'I', 'D', '4'};
  EXPECT_EQ(Id3v2TagSize(notTag, 10), 0u);
}

TEST(AudioBoundsTest, SkipsLeadingTagsAndStopsBeforeTrailingOne) {
  std::vector<std::uint8_t> file = Id3v2(1000);
  const auto second = Id3v2(50);
  file.insert(file.end(), second.begin(), second.end());
  file.resize(file.size() + 5000, 0xAA);
  std::vector<std::uint8_t> v1(128, 0);
  std::memcpy(v1.data(), "TAG", 3);
  file.insert(file.end(), v1.begin(), v1.end());
  MemoryBytes bytes(file);
  const AudioBounds b = FindAudioBounds(bytes, bytes.Size());
  EXPECT_EQ(b.start, 1010u + 60u);
  EXPECT_EQ(b.end, bytes.Size() - 128);
  EXPECT_EQ(b.Bytes(), 5000u);
}

TEST(AudioBoundsTest, TagReachingPastTheEndIsNotSkipped) {
  std::vector<std::uint8_t> file = Id3v2(100);
  file[6] = 0x7F;  // claims far more than the file holds
  file.resize(4000, 0);
  MemoryBytes bytes(file);
  const AudioBounds b = FindAudioBounds(bytes, bytes.Size());
  EXPECT_EQ(b.start, 0u);
  EXPECT_EQ(b.end, 4000u);
  MemoryBytes empty({});
  EXPECT_EQ(FindAudioBounds(empty, 0).Bytes(), 0u);
}

}  // namespace
}  // namespace mpegaudio
