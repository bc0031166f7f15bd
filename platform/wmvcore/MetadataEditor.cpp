#include "platform/wmvcore/MetadataEditor.h"

#include <algorithm>
#include <cstring>

#include "platform/com/CodePage.h"

namespace wm {

namespace {

std::u16string_view View(LPCWSTR text) {
  return text == nullptr ? std::u16string_view() : std::u16string_view(text);
}

}  // namespace

HRESULT MetadataEditor::Open(LPCWSTR path) {
  if (path == nullptr) return com::E_INVALIDARG;
  if (opened_) return com::E_UNEXPECTED;
  const std::string file = com::Utf16ToUtf8(View(path));
  const auto identity = FileIdentity::Of(file);
  if (!identity) return HresultFromErrno(::access(file.c_str(), F_OK) == 0 ? EINVAL : ENOENT);
  AttributeTable attributes;
  const HRESULT hr = ReadAsfHeader(file, attributes);
  if (com::FAILED(hr)) return hr;
  path_ = file;
  opened_ = identity;
  attributes_ = std::move(attributes);
  changes_.clear();
  return com::S_OK;
}

HRESULT MetadataEditor::Close() {
  if (!opened_) return com::E_UNEXPECTED;
  opened_.reset();
  attributes_.clear();
  changes_.clear();
  return com::S_OK;
}

HRESULT MetadataEditor::Flush() {
  if (!opened_) return com::E_UNEXPECTED;
  const HRESULT hr = changes_.empty() ? com::S_OK : WriteChanges();
  Close();
  return hr;
}

HRESULT MetadataEditor::WriteChanges() {
  FileUpdate update;
  HRESULT hr = update.Begin(path_, *opened_);
  if (com::SUCCEEDED(hr)) hr = WriteAsfHeader(update.copyPath(), changes_);
  if (com::FAILED(hr)) return hr;
  AttributeTable written;
  hr = ReadAsfHeader(update.copyPath(), written);
  if (com::FAILED(hr)) return hr;
  for (const auto& [name, value] : changes_) {
    const auto it = written.find(name);
    const bool emptyText = value.type == WMT_TYPE_STRING && value.Text().empty();
    const bool same =
        it != written.end() ? it->second == value : emptyText;  // an empty text may vanish
    if (!same) return com::E_FAIL;
  }
  return update.Commit();
}

HRESULT MetadataEditor::GetAttributeByName(WORD* streamNumber, LPCWSTR name,
                                           WMT_ATTR_DATATYPE* type, BYTE* value, WORD* length) {
  if (streamNumber == nullptr || name == nullptr || type == nullptr || length == nullptr)
    return com::E_INVALIDARG;
  if (!opened_) return com::E_UNEXPECTED;
  const auto it = attributes_.find(std::u16string(View(name)));
  if (*streamNumber != 0 || it == attributes_.end()) {
    *length = 0;
    return ASF_E_NOTFOUND;
  }
  const AttributeValue& stored = it->second;
  if (stored.bytes.size() > 0xFFFF) return com::E_INVALIDARG;  // beyond what a WORD length can say
  const auto size = static_cast<WORD>(stored.bytes.size());
  *type = stored.type;
  if (value == nullptr) {
    *length = size;
    return com::S_OK;
  }
  if (*length < size) {
    *length = size;
    return NS_E_SDK_BUFFERTOOSMALL;
  }
  std::copy(stored.bytes.begin(), stored.bytes.end(), value);
  *length = size;
  return com::S_OK;
}

HRESULT MetadataEditor::SetAttribute(WORD streamNumber, LPCWSTR name, WMT_ATTR_DATATYPE type,
                                     const BYTE* value, WORD length) {
  if (name == nullptr || (value == nullptr && length != 0) || streamNumber != 0)
    return com::E_INVALIDARG;
  if (!opened_) return com::E_UNEXPECTED;
  const std::u16string key(View(name));
  HRESULT hr = CheckWritable(key, type);
  if (com::FAILED(hr)) return hr;
  auto checked = AttributeValue::FromCaller(type, {value, length});
  if (!checked) return com::E_INVALIDARG;
  attributes_[key] = *checked;
  changes_[key] = std::move(*checked);
  return com::S_OK;
}

}  // namespace wm
