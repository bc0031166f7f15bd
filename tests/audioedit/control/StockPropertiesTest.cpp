#include "audioedit/control/StockProperties.h"

#include <gtest/gtest.h>

namespace audioedit {
namespace {

TEST(StockProperties, TableRunsFromAutoSizeToReadyStateWithoutRefresh) {
  EXPECT_EQ(kStockProperties.front().dispid, -500);
  EXPECT_EQ(kStockProperties.back().dispid, -525);
  EXPECT_FALSE(StockIndex(-506).has_value());
  for (std::size_t i = 1; i < kStockProperties.size(); ++i)
    EXPECT_LT(kStockProperties[i].dispid, kStockProperties[i - 1].dispid);
}

TEST(StockProperties, StreamLayoutIsFixed) {
  StockProperties stock;
  stock.SetScalar(DISPID_BACKCOLOR, 0x00ABCDEF);
  stock.SetText(DISPID_CAPTION, u"Hi");
  auto stream = com::CreateStreamOnMemory();
  ASSERT_EQ(stock.Save(stream.Get(), 300, 200), com::S_OK);
  com::STATSTG stat;
  stream->Stat(&stat, com::STATFLAG_NONAME);
  EXPECT_EQ(stat.cbSize.QuadPart, stock.SizeMax());
  // magic, version, extent, AutoSize (2), BackColor (4)...
  std::vector<com::BYTE> bytes(static_cast<std::size_t>(stat.cbSize.QuadPart));
  stream->Seek(com::LARGE_INTEGER{0}, com::STREAM_SEEK_SET, nullptr);
  com::ULONG got = 0;
  stream->Read(bytes.data(), static_cast<com::ULONG>(bytes.size()), &got);
  const std::vector<com::BYTE> head{0x54, 0x43, 0x45, 0x41, 1, 0, 44, 1, 0, 0, 200, 0, 0, 0,
                                    0,    0,    0xEF, 0xCD, 0xAB, 0};
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
  std::uint32_t cx = 0, cy = 0;
  StockProperties loaded;
  stream->Seek(com::LARGE_INTEGER{0}, com::STREAM_SEEK_SET, nullptr);
  ASSERT_EQ(loaded.Load(stream.Get(), cx, cy), com::S_OK);
  EXPECT_EQ(cx, 300u);
  EXPECT_EQ(cy, 200u);
  EXPECT_EQ(loaded.Text(DISPID_CAPTION), u"Hi");
  EXPECT_EQ(loaded.Scalar(DISPID_ENABLED), com::VARIANT_TRUE);
}

}  // namespace
}  // namespace audioedit
