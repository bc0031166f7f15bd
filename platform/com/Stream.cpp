#include "platform/com/Stream.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "platform/com/ComObject.h"

namespace com {
namespace {

// The memory behind one or more streams (a stream and its clones).
class Memory {
 public:
  virtual ~Memory() = default;
  virtual BYTE* Data() = 0;
  virtual std::size_t Size() const = 0;
  // Makes the memory `size` bytes long; false when it cannot.
  virtual bool Resize(std::size_t size) = 0;
};

class OwnedMemory final : public Memory {
 public:
  explicit OwnedMemory(std::vector<BYTE> bytes) : bytes_(std::move(bytes)) {}
  BYTE* Data() override { return bytes_.data(); }
  std::size_t Size() const override { return bytes_.size(); }
  bool Resize(std::size_t size) override {
    if (size > kMaxSize) return false;
    bytes_.resize(size);  // new bytes are zero
    return true;
  }

 private:
  static constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max();
  std::vector<BYTE> bytes_;
};

// A fixed block; its logical size may shrink and grow back up to the block's size.
class BorrowedMemory final : public Memory {
 public:
  BorrowedMemory(BYTE* block, std::size_t size, std::shared_ptr<std::vector<BYTE>> keep = nullptr)
      : block_(block), capacity_(size), size_(size), keep_(std::move(keep)) {}
  BYTE* Data() override { return block_; }
  std::size_t Size() const override { return size_; }
  bool Resize(std::size_t size) override {
    if (size > capacity_) return false;
    if (size > size_) std::memset(block_ + size_, 0, size - size_);
    size_ = size;
    return true;
  }

 private:
  BYTE* block_;
  std::size_t capacity_;
  std::size_t size_;
  std::shared_ptr<std::vector<BYTE>> keep_;
};

class MemoryStream final : public ComObject<MemoryStream, IStream> {
 public:
  explicit MemoryStream(std::shared_ptr<Memory> memory, ULONGLONG position = 0)
      : memory_(std::move(memory)), position_(position) {}

  auto Interfaces() {
    return std::array{Expose<IStream>(this, IID_IUnknown),
                      Expose<IStream>(this, IID_ISequentialStream),
                      Expose<IStream>(this, IID_IStream)};
  }

  HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) override {
    if (pcbRead) *pcbRead = 0;
    if (!pv && cb) return STG_E_INVALIDPOINTER;
    const std::size_t size = memory_->Size();
    const ULONG n = position_ >= size
                        ? 0
                        : static_cast<ULONG>(std::min<ULONGLONG>(cb, size - position_));
    if (n) std::memcpy(pv, memory_->Data() + position_, n);
    position_ += n;
    if (pcbRead) *pcbRead = n;
    return S_OK;
  }

  HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
    if (pcbWritten) *pcbWritten = 0;
    if (!pv && cb) return STG_E_INVALIDPOINTER;
    if (cb == 0) return S_OK;
    const ULONGLONG end = position_ + cb;
    if (end > memory_->Size() && !memory_->Resize(end)) return STG_E_MEDIUMFULL;
    std::memmove(memory_->Data() + position_, pv, cb);
    position_ = end;
    if (pcbWritten) *pcbWritten = cb;
    return S_OK;
  }

  HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
    long long base = 0;
    switch (origin) {
      case STREAM_SEEK_SET: base = 0; break;
      case STREAM_SEEK_CUR: base = static_cast<long long>(position_); break;
      case STREAM_SEEK_END: base = static_cast<long long>(memory_->Size()); break;
      default: return STG_E_INVALIDFUNCTION;
    }
    long long target = 0;
    if (__builtin_add_overflow(base, move.QuadPart, &target) || target < 0)
      return STG_E_INVALIDFUNCTION;
    position_ = static_cast<ULONGLONG>(target);
    if (newPosition) newPosition->QuadPart = position_;
    return S_OK;
  }

  HRESULT SetSize(ULARGE_INTEGER size) override {
    return memory_->Resize(size.QuadPart) ? S_OK : STG_E_MEDIUMFULL;
  }

  HRESULT CopyTo(IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                 ULARGE_INTEGER* pcbWritten) override {
    if (!target) return STG_E_INVALIDPOINTER;
    const std::size_t size = memory_->Size();
    const ULONGLONG available = position_ >= size ? 0 : size - position_;
    const ULONG n = static_cast<ULONG>(
        std::min<ULONGLONG>({cb.QuadPart, available, std::numeric_limits<ULONG>::max()}));
    ULONG written = 0;
    const HRESULT hr = n ? target->Write(memory_->Data() + position_, n, &written) : S_OK;
    position_ += n;
    if (pcbRead) pcbRead->QuadPart = n;
    if (pcbWritten) pcbWritten->QuadPart = written;
    return hr;
  }

  HRESULT Commit(DWORD) override { return S_OK; }
  HRESULT Revert() override { return S_OK; }
  HRESULT LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }

  HRESULT Stat(STATSTG* stat, DWORD) override {
    if (!stat) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = memory_->Size();
    stat->grfMode = STGM_READWRITE;
    return S_OK;
  }

  HRESULT Clone(IStream** out) override {
    if (!out) return STG_E_INVALIDPOINTER;
    *out = MakeObject<MemoryStream>(memory_, position_).Detach();
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 private:
  std::shared_ptr<Memory> memory_;
  ULONGLONG position_;
};

ComPtr<IStream> Wrap(std::shared_ptr<Memory> memory) {
  return MakeObject<MemoryStream>(std::move(memory));
}

}  // namespace

ComPtr<IStream> CreateStreamOnMemory(std::vector<BYTE> initial) {
  return Wrap(std::make_shared<OwnedMemory>(std::move(initial)));
}

ComPtr<IStream> CreateStreamOnBlock(void* block, std::size_t size) {
  if (!block && size) return nullptr;
  return Wrap(std::make_shared<BorrowedMemory>(static_cast<BYTE*>(block), size));
}

ComPtr<IStream> CreateStreamOnSharedBlock(std::shared_ptr<std::vector<BYTE>> block) {
  if (!block) return nullptr;
  BYTE* data = block->data();
  const std::size_t size = block->size();
  return Wrap(std::make_shared<BorrowedMemory>(data, size, std::move(block)));
}

}  // namespace com
