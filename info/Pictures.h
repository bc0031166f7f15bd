// An ordered collection of attached pictures behind IPictures, each item a stream.
#pragma once

#include <vector>

#include "info/InfoDispatch.h"
#include "platform/com/ComObject.h"

namespace info {

class Pictures final : public com::ComObject<Pictures, PicturesDispatch> {
 public:
  explicit Pictures(com::ModuleLock* module = nullptr) : ComObject(module) {}
  auto Interfaces() {
    return std::array{com::Expose<IPictures>(this, com::IID_IUnknown),
                      com::Expose<IPictures>(this, com::IID_IDispatch), com::Expose<IPictures>(this, IID_IPictures)};
  }

  // The item at `index`, rewound to its first byte when it is a stream.
  com::HRESULT get_ItemData(com::LONG index, com::IUnknown** item) override;
  com::HRESULT get_Count(com::LONG* count) override;
  com::HRESULT Add(com::IUnknown* item) override;


 private:
  friend class com::ComObject<Pictures, PicturesDispatch>;
  ~Pictures() = default;

  std::vector<com::ComPtr<com::IUnknown>> items_;
};

}  // namespace info
