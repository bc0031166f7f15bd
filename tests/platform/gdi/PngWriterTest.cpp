// PNG output: the file exists, starts with the signature and holds the expected size.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gdi/MemoryDC.h"
#include "platform/gdi/PngWriter.h"

namespace gdi {
namespace {

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t BigEndian(const std::vector<unsigned char>& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
         (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

TEST(PngWriterTest, WritesHeaderWithTheBitmapSize) {
  MemoryDC m(7, 3);
  m.Dc().FillRect(RECT{0, 0, 7, 3}, Brush(RGB(10, 20, 30)));
  const std::string path =
      (std::filesystem::path(TEST_DATA_DIR) / "gdi_png_writer_test.png").string();
  std::string error;
  ASSERT_TRUE(WritePng(m.Surface(), path, &error)) << error;
  const std::vector<unsigned char> bytes = ReadAll(path);
  ASSERT_GT(bytes.size(), 33u);
  EXPECT_EQ(bytes[1], 'P');
  EXPECT_EQ(bytes[2], 'N');
  EXPECT_EQ(bytes[3], 'G');
  EXPECT_EQ(BigEndian(bytes, 16), 7u);  // IHDR width
  EXPECT_EQ(BigEndian(bytes, 20), 3u);  // IHDR height
  std::remove(path.c_str());
}

TEST(PngWriterTest, ReportsTheFileItCannotCreate) {
  Bitmap b(1, 1);
  std::string error;
  EXPECT_FALSE(WritePng(b, "/nonexistent-dir/x.png", &error));
  EXPECT_NE(error.find("/nonexistent-dir/x.png"), std::string::npos);
  EXPECT_FALSE(WritePng(Bitmap(), "/tmp/empty.png", &error));
}

}  // namespace
}  // namespace gdi
