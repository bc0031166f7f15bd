#include "platform/com/ErrorInfo.h"

#include <string>

#include "platform/com/Bstr.h"
#include "platform/com/ComObject.h"
#include "platform/com/ErrorInfoSlot.h"

namespace com {
namespace {

HRESULT CopyOut(const std::u16string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

class FixedErrorInfo final : public ComObject<FixedErrorInfo, IErrorInfo> {
 public:
  FixedErrorInfo(REFGUID iid, std::u16string_view source, std::u16string_view description,
                 std::u16string_view helpFile, DWORD helpContext)
      : iid_(iid), source_(source), description_(description), helpFile_(helpFile),
        helpContext_(helpContext) {}

  auto Interfaces() {
    return std::array{Expose<IErrorInfo>(this, IID_IUnknown),
                      Expose<IErrorInfo>(this, IID_IErrorInfo)};
  }
  HRESULT GetGUID(GUID* pGUID) override {
    if (!pGUID) return E_POINTER;
    *pGUID = iid_;
    return S_OK;
  }
  HRESULT GetSource(BSTR* out) override { return CopyOut(source_, out); }
  HRESULT GetDescription(BSTR* out) override { return CopyOut(description_, out); }
  HRESULT GetHelpFile(BSTR* out) override { return CopyOut(helpFile_, out); }
  HRESULT GetHelpContext(DWORD* out) override {
    if (!out) return E_POINTER;
    *out = helpContext_;
    return S_OK;
  }

 private:
  const GUID iid_;
  const std::u16string source_, description_, helpFile_;
  const DWORD helpContext_;
};

}  // namespace

HRESULT SetErrorInfo(ULONG, IErrorInfo* info) {
  detail::ThreadErrorInfo() = ComPtr<IErrorInfo>(info);
  return S_OK;
}

HRESULT GetErrorInfo(ULONG, IErrorInfo** info) {
  if (!info) return E_POINTER;
  *info = detail::ThreadErrorInfo().Detach();
  return *info ? S_OK : S_FALSE;
}

ComPtr<IErrorInfo> CreateErrorInfo(REFGUID iid, std::u16string_view source,
                                   std::u16string_view description, std::u16string_view helpFile,
                                   DWORD helpContext) {
  return MakeObject<FixedErrorInfo>(iid, source, description, helpFile, helpContext);
}

HRESULT ReportError(REFGUID iid, std::u16string_view source, std::u16string_view description,
                    HRESULT hr) {
  SetErrorInfo(0, CreateErrorInfo(iid, source, description).Get());
  return hr;
}

void FillExcepInfo(EXCEPINFO* info, HRESULT hr) {
  if (!info) return;
  *info = EXCEPINFO{};
  info->scode = hr;
  ComPtr<IErrorInfo> error;
  if (GetErrorInfo(0, error.Put()) != S_OK || !error) return;
  error->GetSource(&info->bstrSource);
  error->GetDescription(&info->bstrDescription);
  error->GetHelpFile(&info->bstrHelpFile);
  error->GetHelpContext(&info->dwHelpContext);
}

void ClearExcepInfo(EXCEPINFO* info) {
  if (!info) return;
  SysFreeString(info->bstrSource);
  SysFreeString(info->bstrDescription);
  SysFreeString(info->bstrHelpFile);
  *info = EXCEPINFO{};
}

}  // namespace com
