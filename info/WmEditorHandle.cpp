#include "info/WmEditorHandle.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "info/SiblingLibrary.h"

namespace info {

namespace {

std::u16string Ascii(const char* text) { return std::u16string(text, text + std::strlen(text)); }

std::uint64_t LittleEndian(const std::uint8_t* value, std::size_t length, std::size_t size) {
  std::uint64_t number = 0;
  for (std::size_t i = 0; i < size && i < length; ++i) number |= std::uint64_t{value[i]} << (8 * i);
  return number;
}

}  // namespace

std::u16string FormatAttribute(wm::WMT_ATTR_DATATYPE type, const std::uint8_t* value,
                               std::size_t length) {
  char text[64];
  switch (type) {
    case wm::WMT_TYPE_DWORD:
      std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(LittleEndian(value, length, 4)));
      return Ascii(text);
    case wm::WMT_TYPE_STRING: {
      std::u16string out;
      for (std::size_t i = 0; i + 1 < length; i += 2) {
        const auto c = static_cast<char16_t>(value[i] | (value[i + 1] << 8));
        if (c == 0) break;
        out.push_back(c);
      }
      return out;
    }
    case wm::WMT_TYPE_BINARY:
      return {};
    case wm::WMT_TYPE_BOOL:
      return LittleEndian(value, length, 4) != 0 ? u"Yes" : u"No";
    case wm::WMT_TYPE_QWORD:
      std::snprintf(text, sizeof text, "%llu",
                    static_cast<unsigned long long>(LittleEndian(value, length, 8)));
      return Ascii(text);
    case wm::WMT_TYPE_WORD:
      std::snprintf(text, sizeof text, "%hu",
                    static_cast<unsigned short>(LittleEndian(value, length, 2)));
      return Ascii(text);
    case wm::WMT_TYPE_GUID: {
      const std::uint64_t first = LittleEndian(value, length, 8);
      const std::uint64_t second = length > 8 ? LittleEndian(value + 8, length - 8, 8) : 0;
      std::snprintf(text, sizeof text, "%llx%llx", static_cast<unsigned long long>(first),
                    static_cast<unsigned long long>(second));
      return Ascii(text);
    }
  }
  std::snprintf(text, sizeof text, "Type = %d, Length %u", static_cast<int>(type),
                static_cast<unsigned>(length));
  return Ascii(text);
}

WmEditorHandle::~WmEditorHandle() {
  Close();
  editor_.Reset();  // the editor's code lives in the module
  if (module_ != nullptr) ::dlclose(module_);
}

bool WmEditorHandle::LoadRuntime() {
  if (module_ != nullptr) return createEditor_ != nullptr;
  constexpr int kFlags = RTLD_NOW | RTLD_LOCAL;
  module_ = runtimeLibrary_.empty()
                ? OpenSiblingLibrary(wm::kRuntimeLibrary,
                                     reinterpret_cast<const void*>(&FormatAttribute), kFlags)
                : ::dlopen(runtimeLibrary_.c_str(), kFlags);
  if (module_ == nullptr) return false;
  createEditor_ = reinterpret_cast<wm::WMCreateEditorFn>(::dlsym(module_, wm::kCreateEditorExport));
  return createEditor_ != nullptr;
}

com::HRESULT WmEditorHandle::OpenEditor(std::u16string_view path) {
  if (!LoadRuntime()) return com::E_FAIL;
  path_ = path;
  com::HRESULT hr = createEditor_(editor_.Put());
  if (com::FAILED(hr)) return hr;
  hr = editor_->Open(path_.c_str());
  if (com::FAILED(hr)) editor_.Reset();
  return com::FAILED(hr) ? hr : com::S_OK;
}

com::HRESULT WmEditorHandle::GetAttributeText(std::u16string_view name, std::u16string& text) {
  if (!editor_) return com::E_UNEXPECTED;
  const auto header = editor_.As<wm::IWMHeaderInfo>(wm::IID_IWMHeaderInfo);
  if (!header) return com::E_NOINTERFACE;
  const std::u16string key(name);
  com::WORD stream = 0;
  wm::WMT_ATTR_DATATYPE type = wm::WMT_TYPE_DWORD;
  com::WORD length = 0;
  com::HRESULT hr = header->GetAttributeByName(&stream, key.c_str(), &type, nullptr, &length);
  if (hr == wm::ASF_E_NOTFOUND && length == 0) {
    text.clear();
    return com::S_OK;
  }
  if (com::FAILED(hr)) return hr;
  std::vector<std::uint8_t> value(length);
  hr = header->GetAttributeByName(&stream, key.c_str(), &type, value.data(), &length);
  if (com::FAILED(hr)) return hr;
  text = FormatAttribute(type, value.data(), std::min<std::size_t>(length, value.size()));
  return com::S_OK;
}

com::HRESULT WmEditorHandle::SetAttributeText(std::u16string_view name, std::u16string_view text) {
  if (!editor_) return com::E_UNEXPECTED;
  const auto header = editor_.As<wm::IWMHeaderInfo>(wm::IID_IWMHeaderInfo);
  if (!header) return com::E_NOINTERFACE;
  const std::size_t bytes = (text.size() + 1) * 2;
  if (bytes > 0xFFFF) return com::E_INVALIDARG;  // longer than an attribute length can say
  std::vector<std::uint8_t> value;
  value.reserve(bytes);
  for (const char16_t c : text)
    value.insert(value.end(),
                 {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>(c >> 8)});
  value.insert(value.end(), {0, 0});
  const std::u16string key(name);
  return header->SetAttribute(0, key.c_str(), wm::WMT_TYPE_STRING, value.data(),
                              static_cast<com::WORD>(bytes));
}

com::HRESULT WmEditorHandle::Flush() { return editor_ ? editor_->Flush() : com::E_UNEXPECTED; }

void WmEditorHandle::Close() {
  if (editor_) editor_->Close();
}

}  // namespace info
