// Persistence interfaces of objects that save themselves into a stream.
#pragma once

#include "platform/com/Stream.h"

namespace com {

inline constexpr IID IID_IPersist = MakeGuid("{0000010C-0000-0000-C000-000000000046}");
inline constexpr IID IID_IPersistStreamInit = MakeGuid("{7FD52380-4E07-101B-AE2D-08002B2EC713}");

class IPersist : public IUnknown {
 public:
  virtual HRESULT GetClassID(CLSID* pClassID) = 0;

 protected:
  ~IPersist() = default;
};

class IPersistStreamInit : public IPersist {
 public:
  // S_OK when changed since the last save, S_FALSE otherwise.
  virtual HRESULT IsDirty() = 0;
  virtual HRESULT Load(IStream* pStm) = 0;
  virtual HRESULT Save(IStream* pStm, BOOL fClearDirty) = 0;
  virtual HRESULT GetSizeMax(ULARGE_INTEGER* pCbSize) = 0;
  virtual HRESULT InitNew() = 0;

 protected:
  ~IPersistStreamInit() = default;
};

}  // namespace com
