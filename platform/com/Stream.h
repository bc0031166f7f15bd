// IStream and the memory streams of the runtime.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "platform/com/ComPtr.h"

namespace com {

inline constexpr IID IID_ISequentialStream = MakeGuid("{0C733A30-2A1C-11CE-ADE5-00AA0044773D}");
inline constexpr IID IID_IStream = MakeGuid("{0000000C-0000-0000-C000-000000000046}");

struct LARGE_INTEGER {
  LONGLONG QuadPart = 0;
};
struct ULARGE_INTEGER {
  ULONGLONG QuadPart = 0;
};
struct FILETIME {
  DWORD dwLowDateTime = 0;
  DWORD dwHighDateTime = 0;
};

inline constexpr DWORD STREAM_SEEK_SET = 0;
inline constexpr DWORD STREAM_SEEK_CUR = 1;
inline constexpr DWORD STREAM_SEEK_END = 2;

inline constexpr DWORD STGTY_STREAM = 2;
inline constexpr DWORD STATFLAG_DEFAULT = 0;
inline constexpr DWORD STATFLAG_NONAME = 1;
inline constexpr DWORD STGM_READ = 0x0;
inline constexpr DWORD STGM_READWRITE = 0x2;

struct STATSTG {
  LPOLESTR pwcsName = nullptr;
  DWORD type = 0;
  ULARGE_INTEGER cbSize;
  FILETIME mtime;
  FILETIME ctime;
  FILETIME atime;
  DWORD grfMode = 0;
  DWORD grfLocksSupported = 0;
  CLSID clsid;
  DWORD grfStateBits = 0;
  DWORD reserved = 0;
};

class ISequentialStream : public IUnknown {
 public:
  // Reads up to cb bytes; fewer at the end of the stream (still S_OK).
  virtual HRESULT Read(void* pv, ULONG cb, ULONG* pcbRead) = 0;
  virtual HRESULT Write(const void* pv, ULONG cb, ULONG* pcbWritten) = 0;

 protected:
  ~ISequentialStream() = default;
};

class IStream : public ISequentialStream {
 public:
  virtual HRESULT Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) = 0;
  virtual HRESULT SetSize(ULARGE_INTEGER libNewSize) = 0;
  virtual HRESULT CopyTo(IStream* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                         ULARGE_INTEGER* pcbWritten) = 0;
  virtual HRESULT Commit(DWORD grfCommitFlags) = 0;
  virtual HRESULT Revert() = 0;
  virtual HRESULT LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
  virtual HRESULT UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) = 0;
  virtual HRESULT Stat(STATSTG* pstatstg, DWORD grfStatFlag) = 0;
  virtual HRESULT Clone(IStream** ppstm) = 0;

 protected:
  ~IStream() = default;
};

// A stream over its own growable memory, starting with a copy of `initial`. Seeking beyond
// the end is allowed; a write there fills the gap with zeros. Clones share the memory.
ComPtr<IStream> CreateStreamOnMemory(std::vector<BYTE> initial = {});

// A stream over a block that someone else owns and keeps alive for at least as long as the
// stream (and its clones). Reads and writes stay inside the block: a write that would pass
// its end fails with STG_E_MEDIUMFULL and writes nothing.
ComPtr<IStream> CreateStreamOnBlock(void* block, std::size_t size);

// As CreateStreamOnBlock, over a block whose lifetime the stream shares, so that a host
// holding the stream never reads memory that was freed.
ComPtr<IStream> CreateStreamOnSharedBlock(std::shared_ptr<std::vector<BYTE>> block);

}  // namespace com
