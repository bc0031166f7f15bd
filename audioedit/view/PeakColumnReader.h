// Reduces a run of peak records to a minimum and a maximum per view column and channel.
//
// Records come in as raw bytes in any chunking; a record split across two chunks is joined.
// Each record holds one value per channel, the first channel first: unsigned bytes for 8-bit
// files, signed little-endian values for 16-, 24- and 32-bit files, of which the two most
// significant bytes are painted. At most the first two channels are read. After `peaksPerColumn` records a column is closed; feeding stops being useful
// once `maxColumns` columns are closed. Finish() closes a last, partial column with the
// records it has.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audioedit/AudioInfo.h"

namespace audioedit::view {

struct ColumnPeaks {
  std::array<std::int32_t, 2> min{};
  std::array<std::int32_t, 2> max{};
};

class PeakColumnReader {
 public:
  PeakColumnReader(const AUDIO_INFO& info, std::uint32_t peaksPerColumn, std::size_t maxColumns);

  // False when the record layout cannot be painted (not 8, 16, 24 or 32 bits, or records too short
  // for the channels they should hold): nothing is ever reduced then.
  bool CanRead() const { return valueBytes_ != 0; }
  // Takes the next bytes of the record stream. Returns true while more columns are wanted.
  bool Feed(const std::uint8_t* data, std::size_t size);
  void Finish();
  bool Done() const { return columns_.size() >= maxColumns_; }

  const std::vector<ColumnPeaks>& Columns() const { return columns_; }
  int ChannelsRead() const { return channelsRead_; }

 private:
  void TakeRecord(const std::uint8_t* record);
  std::int32_t Value(const std::uint8_t* p) const;

  std::size_t recordBytes_;
  std::size_t valueBytes_ = 0;
  int channelsRead_;
  std::uint32_t peaksPerColumn_;
  std::size_t maxColumns_;
  std::vector<ColumnPeaks> columns_;
  ColumnPeaks current_;
  std::uint32_t inColumn_ = 0;
  std::vector<std::uint8_t> partial_;  // bytes of a record split across chunks
};

}  // namespace audioedit::view
