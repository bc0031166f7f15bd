#include "audioedit/control/StockProperties.h"

#include <vector>

namespace audioedit {
namespace {

constexpr std::uint32_t kMagic = 0x41454354;
constexpr std::uint16_t kVersion = 1;
constexpr std::uint32_t kMaxTextUnits = 1u << 20;

bool Persisted(StockKind kind) { return kind != StockKind::kObject && kind != StockKind::kHandle; }
bool Narrow(StockKind kind) { return kind == StockKind::kBool || kind == StockKind::kShort; }

class ByteWriter {
 public:
  void U16(std::uint16_t v) { Bytes(v, 2); }
  void U32(std::uint32_t v) { Bytes(v, 4); }
  const std::vector<com::BYTE>& Data() const { return data_; }

 private:
  void Bytes(std::uint32_t v, int n) {
    for (int i = 0; i < n; ++i) data_.push_back(static_cast<com::BYTE>(v >> (8 * i)));
  }
  std::vector<com::BYTE> data_;
};

// Reads little-endian numbers from a stream; any short read makes Ok() false for good.
class StreamReader {
 public:
  explicit StreamReader(com::IStream* stream) : stream_(stream) {}
  std::uint16_t U16() { return static_cast<std::uint16_t>(Bytes(2)); }
  std::uint32_t U32() { return Bytes(4); }
  bool Ok() const { return ok_; }
  void Fail() { ok_ = false; }

 private:
  std::uint32_t Bytes(int n) {
    com::BYTE buffer[4] = {};
    com::ULONG got = 0;
    if (!ok_ || com::FAILED(stream_->Read(buffer, static_cast<com::ULONG>(n), &got)) ||
        got != static_cast<com::ULONG>(n)) {
      ok_ = false;
      return 0;
    }
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | buffer[i];
    return v;
  }
  com::IStream* stream_;
  bool ok_ = true;
};

}  // namespace

std::optional<std::size_t> StockIndex(com::DISPID dispid) {
  for (std::size_t i = 0; i < kStockProperties.size(); ++i)
    if (kStockProperties[i].dispid == dispid) return i;
  return std::nullopt;
}

StockProperties::StockProperties() {
  At(DISPID_ENABLED).scalar = com::VARIANT_TRUE;
  At(DISPID_VALID).scalar = com::VARIANT_TRUE;
  At(DISPID_READYSTATE).scalar = 4;
}

StockProperties::Value& StockProperties::At(com::DISPID dispid) {
  return values_[StockIndex(dispid).value_or(0)];
}
const StockProperties::Value& StockProperties::At(com::DISPID dispid) const {
  return values_[StockIndex(dispid).value_or(0)];
}

std::int32_t StockProperties::Scalar(com::DISPID dispid) const { return At(dispid).scalar; }
void StockProperties::SetScalar(com::DISPID dispid, std::int32_t value) { At(dispid).scalar = value; }
const std::u16string& StockProperties::Text(com::DISPID dispid) const { return At(dispid).text; }
void StockProperties::SetText(com::DISPID dispid, std::u16string value) {
  At(dispid).text = std::move(value);
}
com::IDispatch* StockProperties::Object(com::DISPID dispid) const { return At(dispid).object.Get(); }
void StockProperties::SetObject(com::DISPID dispid, com::IDispatch* value) {
  At(dispid).object = com::ComPtr<com::IDispatch>(value);
}

com::HRESULT StockProperties::Save(com::IStream* stream, std::uint32_t cx, std::uint32_t cy) const {
  if (!stream) return com::E_POINTER;
  ByteWriter out;
  out.U32(kMagic);
  out.U16(kVersion);
  out.U32(cx);
  out.U32(cy);
  for (std::size_t i = 0; i < kStockProperties.size(); ++i) {
    const StockKind kind = kStockProperties[i].kind;
    if (!Persisted(kind)) continue;
    if (kind == StockKind::kText) {
      out.U32(static_cast<std::uint32_t>(values_[i].text.size()));
      for (char16_t unit : values_[i].text) out.U16(unit);
    } else if (Narrow(kind)) {
      out.U16(static_cast<std::uint16_t>(values_[i].scalar));
    } else {
      out.U32(static_cast<std::uint32_t>(values_[i].scalar));
    }
  }
  com::ULONG written = 0;
  const auto& data = out.Data();
  const com::HRESULT hr = stream->Write(data.data(), static_cast<com::ULONG>(data.size()), &written);
  if (com::FAILED(hr)) return hr;
  return written == data.size() ? com::S_OK : com::STG_E_WRITEFAULT;
}

com::HRESULT StockProperties::Load(com::IStream* stream, std::uint32_t& cx, std::uint32_t& cy) {
  if (!stream) return com::E_POINTER;
  StreamReader in(stream);
  if (in.U32() != kMagic || in.U16() != kVersion) return com::STG_E_READFAULT;
  const std::uint32_t newCx = in.U32();
  const std::uint32_t newCy = in.U32();
  std::array<std::int32_t, kStockProperties.size()> scalars{};
  std::array<std::u16string, kStockProperties.size()> texts{};
  for (std::size_t i = 0; i < kStockProperties.size() && in.Ok(); ++i) {
    const StockKind kind = kStockProperties[i].kind;
    if (!Persisted(kind)) continue;
    if (kind == StockKind::kText) {
      const std::uint32_t units = in.U32();
      if (units > kMaxTextUnits) in.Fail();
      for (std::uint32_t u = 0; u < units && in.Ok(); ++u) texts[i].push_back(static_cast<char16_t>(in.U16()));
    } else if (Narrow(kind)) {
      scalars[i] = static_cast<std::int16_t>(in.U16());
    } else {
      scalars[i] = static_cast<std::int32_t>(in.U32());
    }
  }
  if (!in.Ok()) return com::STG_E_READFAULT;
  for (std::size_t i = 0; i < kStockProperties.size(); ++i) {
    if (!Persisted(kStockProperties[i].kind)) continue;
    values_[i].scalar = scalars[i];
    values_[i].text = std::move(texts[i]);
  }
  cx = newCx;
  cy = newCy;
  return com::S_OK;
}

std::uint64_t StockProperties::SizeMax() const {
  std::uint64_t size = 4 + 2 + 4 + 4;
  for (std::size_t i = 0; i < kStockProperties.size(); ++i) {
    const StockKind kind = kStockProperties[i].kind;
    if (!Persisted(kind)) continue;
    size += kind == StockKind::kText ? 4 + 2 * values_[i].text.size() : Narrow(kind) ? 2 : 4;
  }
  return size;
}

}  // namespace audioedit
