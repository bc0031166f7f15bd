// The control's persisted stream (stock properties and extent): any bytes load or are
// refused, and what loads saves again and loads back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audioedit/control/StockProperties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An odd first byte fuzzes the body behind a valid magic and version, so that the search
  // does not have to find them first.
  std::vector<com::BYTE> bytes;
  if (size > 0 && (data[0] & 1)) bytes = {0x54, 0x43, 0x45, 0x41, 1, 0};
  bytes.insert(bytes.end(), data, data + size);
  auto input = com::CreateStreamOnMemory(std::move(bytes));
  audioedit::StockProperties stock;
  std::uint32_t cx = 0, cy = 0;
  if (stock.Load(input.Get(), cx, cy) != com::S_OK) return 0;
  auto saved = com::CreateStreamOnMemory();
  if (stock.Save(saved.Get(), cx, cy) != com::S_OK) __builtin_trap();
  saved->Seek(com::LARGE_INTEGER{0}, com::STREAM_SEEK_SET, nullptr);
  audioedit::StockProperties again;
  std::uint32_t cx2 = 0, cy2 = 0;
  if (again.Load(saved.Get(), cx2, cy2) != com::S_OK || cx2 != cx || cy2 != cy) __builtin_trap();
  return 0;
}
