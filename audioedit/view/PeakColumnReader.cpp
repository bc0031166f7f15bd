#include "audioedit/view/PeakColumnReader.h"

#include <algorithm>
#include <cstring>

namespace audioedit::view {
namespace {

// The value of one sample of `Bytes` bytes: unsigned for 8-bit records, else the signed
// 16-bit value of its two most significant bytes (24- and 32-bit records paint as 16-bit).
template <std::size_t Bytes>
std::int32_t SampleValue(const std::uint8_t* p) {
  if constexpr (Bytes == 1) {
    return p[0];
  } else {
    return static_cast<std::int16_t>(
        static_cast<std::uint16_t>(p[Bytes - 2] | (p[Bytes - 1] << 8)));
  }
}

// Widens `peaks` of `channels` channels by `count` records of `stride` bytes at `data`.
template <std::size_t ValueBytes>
void Widen(const std::uint8_t* data, std::size_t count, std::size_t stride, int channels,
           ColumnPeaks& peaks) {
  for (int c = 0; c < channels; ++c) {
    std::int32_t lo = peaks.min[c];
    std::int32_t hi = peaks.max[c];
    const std::uint8_t* p = data + c * ValueBytes;
    for (std::size_t i = 0; i < count; ++i, p += stride) {
      const std::int32_t v = SampleValue<ValueBytes>(p);
      lo = std::min(lo, v);
      hi = std::max(hi, v);
    }
    peaks.min[c] = lo;
    peaks.max[c] = hi;
  }
}

}  // namespace

PeakColumnReader::PeakColumnReader(const AUDIO_INFO& info, std::uint32_t peaksPerColumn,
                                   std::size_t maxColumns)
    : recordBytes_(info.BPS),
      channelsRead_(info.channels >= 2 ? 2 : 1),
      peaksPerColumn_(std::max<std::uint32_t>(peaksPerColumn, 1)),
      maxColumns_(maxColumns) {
  const std::size_t bytes = info.bits == 8 || info.bits == 16 || info.bits == 24 || info.bits == 32
                                ? std::size_t{info.bits} / 8
                                : 0;
  if (bytes != 0 && info.channels != 0 && recordBytes_ >= bytes * channelsRead_) {
    valueBytes_ = bytes;
  }
  columns_.reserve(std::min<std::size_t>(maxColumns_, 1 << 16));
}

std::int32_t PeakColumnReader::Value(const std::uint8_t* p) const {
  switch (valueBytes_) {
    case 1: return SampleValue<1>(p);
    case 2: return SampleValue<2>(p);
    case 3: return SampleValue<3>(p);
    default: return SampleValue<4>(p);
  }
}

void PeakColumnReader::TakeRecord(const std::uint8_t* record) {
  for (int c = 0; c < channelsRead_; ++c) {
    const std::int32_t v = Value(record + c * valueBytes_);
    if (inColumn_ == 0) {
      current_.min[c] = v;
      current_.max[c] = v;
    } else {
      current_.min[c] = std::min(current_.min[c], v);
      current_.max[c] = std::max(current_.max[c], v);
    }
  }
  if (++inColumn_ == peaksPerColumn_) {
    columns_.push_back(current_);
    inColumn_ = 0;
  }
}

bool PeakColumnReader::Feed(const std::uint8_t* data, std::size_t size) {
  if (!CanRead() || Done()) return false;
  if (!partial_.empty()) {
    const std::size_t take = std::min(size, recordBytes_ - partial_.size());
    partial_.insert(partial_.end(), data, data + take);
    data += take;
    size -= take;
    if (partial_.size() < recordBytes_) return true;
    TakeRecord(partial_.data());
    partial_.clear();
  }
  while (size >= recordBytes_ && !Done()) {
    if (inColumn_ == 0) {
      TakeRecord(data);  // opens the column
      data += recordBytes_;
      size -= recordBytes_;
      continue;
    }
    // The rest of the column, as far as this chunk reaches, in one pass.
    const std::size_t count =
        std::min<std::size_t>(size / recordBytes_, peaksPerColumn_ - inColumn_);
    switch (valueBytes_) {
      case 1: Widen<1>(data, count, recordBytes_, channelsRead_, current_); break;
      case 2: Widen<2>(data, count, recordBytes_, channelsRead_, current_); break;
      case 3: Widen<3>(data, count, recordBytes_, channelsRead_, current_); break;
      default: Widen<4>(data, count, recordBytes_, channelsRead_, current_); break;
    }
    inColumn_ += static_cast<std::uint32_t>(count);
    data += count * recordBytes_;
    size -= count * recordBytes_;
    if (inColumn_ == peaksPerColumn_) {
      columns_.push_back(current_);
      inColumn_ = 0;
    }
  }
  if (Done()) return false;
  partial_.assign(data, data + size);
  return true;
}

void PeakColumnReader::Finish() {
  if (inColumn_ > 0 && !Done()) columns_.push_back(current_);
  inColumn_ = 0;
}

}  // namespace audioedit::view
