// IRecordInfo: describes a record type so that VARIANTs and safe arrays can hold records.
// Records here are plain data: initialising clears the bytes, copying copies them.
#pragma once

#include <concepts>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "platform/com/AutomationTypes.h"
#include "platform/com/ComPtr.h"

namespace com {

inline constexpr IID IID_IRecordInfo = MakeGuid("{0000002F-0000-0000-C000-000000000046}");

class ITypeInfo;

class IRecordInfo : public IUnknown {
 public:
  virtual HRESULT RecordInit(void* pvNew) = 0;
  virtual HRESULT RecordClear(void* pvExisting) = 0;
  virtual HRESULT RecordCopy(void* pvExisting, void* pvNew) = 0;
  virtual HRESULT GetGuid(GUID* pguid) = 0;
  virtual HRESULT GetName(BSTR* pbstrName) = 0;
  virtual HRESULT GetSize(ULONG* pcbSize) = 0;
  virtual HRESULT GetTypeInfo(ITypeInfo** ppTypeInfo) = 0;
  virtual HRESULT GetField(void* pvData, LPCOLESTR szFieldName, VARIANT* pvarField) = 0;
  virtual HRESULT GetFieldNoCopy(void* pvData, LPCOLESTR szFieldName, VARIANT* pvarField,
                                 void** ppvDataCArray) = 0;
  virtual HRESULT PutField(ULONG wFlags, void* pvData, LPCOLESTR szFieldName,
                           VARIANT* pvarField) = 0;
  virtual HRESULT PutFieldNoCopy(ULONG wFlags, void* pvData, LPCOLESTR szFieldName,
                                 VARIANT* pvarField) = 0;
  virtual HRESULT GetFieldNames(ULONG* pcNames, BSTR* rgBstrNames) = 0;
  virtual BOOL IsMatchingType(IRecordInfo* pRecordInfo) = 0;
  virtual void* RecordCreate() = 0;
  virtual HRESULT RecordCreateCopy(void* pvSource, void** ppvDest) = 0;
  virtual HRESULT RecordDestroy(void* pvRecord) = 0;

 protected:
  ~IRecordInfo() = default;
};

// A description of a plain-data record of `size` bytes. Field access is not offered
// (E_NOTIMPL): the system's records are read and written as whole C++ structures.
ComPtr<IRecordInfo> CreatePodRecordInfo(REFGUID guid, std::u16string_view name, ULONG size);

// Identity of a C++ record type; each record that crosses a dispatch interface declares
// its own:
//   template <> struct RecordTraits<DIVIDER> {
//     static constexpr GUID guid = MakeGuid("{...}");
//     static constexpr std::u16string_view name = u"DIVIDER";
//   };
template <class T>
struct RecordTraits;

template <class T>
concept Record = requires {
  { RecordTraits<T>::guid } -> std::convertible_to<GUID>;
  { RecordTraits<T>::name } -> std::convertible_to<std::u16string_view>;
} && std::is_trivially_copyable_v<T>;

// The description of record type T, made on first use and kept for the life of the module.
template <Record T>
IRecordInfo* RecordInfoOf() {
  static const ComPtr<IRecordInfo> info =
      CreatePodRecordInfo(RecordTraits<T>::guid, RecordTraits<T>::name, sizeof(T));
  return info.Get();
}

// True when `info` describes record type T (same identity and size).
template <Record T>
bool IsRecordOf(IRecordInfo* info) {
  if (!info) return false;
  GUID guid;
  ULONG size = 0;
  return SUCCEEDED(info->GetGuid(&guid)) && guid == RecordTraits<T>::guid &&
         SUCCEEDED(info->GetSize(&size)) && size == sizeof(T);
}

}  // namespace com
