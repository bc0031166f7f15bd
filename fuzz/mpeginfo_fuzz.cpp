// The MPEG frame scanner on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "info/MpegFrameScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  info::MpegFrameScanner scanner;
  scanner.Init(std::span<const std::uint8_t>(data, size));
  if (scanner.Scan() && scanner.framesWalked() == 0) __builtin_trap();
  return 0;
}
