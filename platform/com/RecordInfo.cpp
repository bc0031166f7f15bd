#include "platform/com/RecordInfo.h"

#include <cstdlib>
#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"

namespace com {
namespace {

class PodRecordInfo final : public ComObject<PodRecordInfo, IRecordInfo> {
 public:
  PodRecordInfo(REFGUID guid, std::u16string_view name, ULONG size)
      : guid_(guid), name_(name), size_(size) {}

  auto Interfaces() {
    return std::array{Expose<IRecordInfo>(this, IID_IUnknown),
                      Expose<IRecordInfo>(this, IID_IRecordInfo)};
  }

  HRESULT RecordInit(void* pvNew) override {
    if (!pvNew) return E_INVALIDARG;
    std::memset(pvNew, 0, size_);
    return S_OK;
  }
  HRESULT RecordClear(void* pvExisting) override {
    return pvExisting ? S_OK : E_INVALIDARG;  // plain data holds no resources
  }
  HRESULT RecordCopy(void* pvExisting, void* pvNew) override {
    if (!pvExisting || !pvNew) return E_INVALIDARG;
    if (pvExisting != pvNew) std::memmove(pvNew, pvExisting, size_);
    return S_OK;
  }
  HRESULT GetGuid(GUID* pguid) override {
    if (!pguid) return E_INVALIDARG;
    *pguid = guid_;
    return S_OK;
  }
  HRESULT GetName(BSTR* pbstrName) override {
    if (!pbstrName) return E_INVALIDARG;
    *pbstrName = SysAllocStringLen(name_.data(), static_cast<UINT>(name_.size()));
    return *pbstrName ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT GetSize(ULONG* pcbSize) override {
    if (!pcbSize) return E_INVALIDARG;
    *pcbSize = size_;
    return S_OK;
  }
  HRESULT GetTypeInfo(ITypeInfo** ppTypeInfo) override {
    if (ppTypeInfo) *ppTypeInfo = nullptr;
    return E_NOTIMPL;
  }
  HRESULT GetField(void*, LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT GetFieldNoCopy(void*, LPCOLESTR, VARIANT*, void**) override { return E_NOTIMPL; }
  HRESULT PutField(ULONG, void*, LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT PutFieldNoCopy(ULONG, void*, LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }
  HRESULT GetFieldNames(ULONG* pcNames, BSTR*) override {
    if (pcNames) *pcNames = 0;
    return E_NOTIMPL;
  }
  BOOL IsMatchingType(IRecordInfo* other) override {
    if (!other) return FALSE;
    GUID guid;
    ULONG size = 0;
    return SUCCEEDED(other->GetGuid(&guid)) && guid == guid_ &&
                   SUCCEEDED(other->GetSize(&size)) && size == size_
               ? TRUE
               : FALSE;
  }
  void* RecordCreate() override { return std::calloc(1, size_ ? size_ : 1); }
  HRESULT RecordCreateCopy(void* pvSource, void** ppvDest) override {
    if (!pvSource || !ppvDest) return E_INVALIDARG;
    *ppvDest = RecordCreate();
    if (!*ppvDest) return E_OUTOFMEMORY;
    return RecordCopy(pvSource, *ppvDest);
  }
  HRESULT RecordDestroy(void* pvRecord) override {
    std::free(pvRecord);
    return S_OK;
  }

 private:
  const GUID guid_;
  const std::u16string name_;
  const ULONG size_;
};

}  // namespace

ComPtr<IRecordInfo> CreatePodRecordInfo(REFGUID guid, std::u16string_view name, ULONG size) {
  return MakeObject<PodRecordInfo>(guid, name, size);
}

}  // namespace com
