#include "info/WmTrack.h"

#include <array>
#include <charconv>
#include <limits>
#include <optional>

#include "info/WmAttributeNames.h"
#include "info/WmEditorHandle.h"
#include "platform/com/Bstr.h"

namespace info {

namespace {

std::u16string_view View(com::BSTR text) { return {text ? text : u"", com::SysStringLen(text)}; }

// The decimal number at the start of `text` (digits only, after an optional sign); 0 when
// there is none.
long long DecimalNumber(std::u16string_view text) {
  std::string ascii;
  for (const char16_t c : text) {
    if (c > 0x7F) break;
    ascii.push_back(static_cast<char>(c));
  }
  long long value = 0;
  std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  return value;
}

com::LONG ClampToLong(long long value) {
  if (value > std::numeric_limits<com::LONG>::max()) return std::numeric_limits<com::LONG>::max();
  if (value < std::numeric_limits<com::LONG>::min()) return std::numeric_limits<com::LONG>::min();
  return static_cast<com::LONG>(value);
}

}  // namespace

com::HRESULT WmTrack::get_AttributeSupported(EAttribute attribute, com::BOOL* supported) {
  if (supported == nullptr) return com::E_POINTER;
  *supported = WmNameOfAttribute(attribute).empty() ? com::FALSE : com::TRUE;
  return attribute >= eaBegin && attribute <= eaEnd ? com::S_OK : com::E_INVALIDARG;
}

com::HRESULT WmTrack::Load(com::BSTR location, com::BOOL* loaded) {
  if (loaded == nullptr) return com::E_POINTER;
  attributes().Clear();
  attributes().Set(eaLocation, com::Variant::FromString(View(location)));
  *loaded = com::FALSE;
  WmEditorHandle handle(runtimeLibrary_);
  if (com::FAILED(handle.OpenEditor(View(location)))) return com::S_OK;

  std::u16string text;
  if (com::FAILED(handle.GetAttributeText(wm::kDurationAttribute, text))) text.clear();
  attributes().Set(eaDuration, com::Variant::FromLong(ClampToLong(DecimalNumber(text) / 10000)));
  if (com::FAILED(handle.GetAttributeText(wm::kBitrateAttribute, text))) text.clear();
  attributes().Set(eaBitrate, com::Variant::FromLong(ClampToLong(DecimalNumber(text))));

  for (const WmAttributeName& row : WmAttributeNames()) {
    if (row.name.empty()) continue;
    text.clear();
    if (com::SUCCEEDED(handle.GetAttributeText(row.name, text)) && !text.empty())
      attributes().Set(row.attribute, com::Variant::FromString(text));
  }
  handle.Close();
  *loaded = com::TRUE;
  return com::S_OK;
}

com::HRESULT WmTrack::Save(com::BSTR location, com::BOOL* saved) {
  if (saved == nullptr) return com::E_POINTER;
  *saved = com::FALSE;
  WmEditorHandle handle(runtimeLibrary_);
  if (com::FAILED(handle.OpenEditor(View(location)))) return com::S_OK;
  // The file's texts before any change: a value equal to its file's text is not written, so
  // an attribute stored as a number, flag or GUID keeps its type unless the host changed it.
  std::array<std::optional<std::u16string>, kAttributeCount> before;
  for (const WmAttributeName& row : WmAttributeNames()) {
    std::u16string text;
    if (!row.name.empty() && com::SUCCEEDED(handle.GetAttributeText(row.name, text)))
      before[static_cast<std::size_t>(row.attribute)] = std::move(text);
  }
  for (const WmAttributeName& row : WmAttributeNames()) {
    if (row.name.empty()) continue;
    const com::VARIANT* value = attributes().Find(row.attribute);
    if (value == nullptr) {
      attributes().Set(row.attribute, com::Variant());  // looking a value up makes its entry
      continue;
    }
    if (value->vt != com::VT_BSTR) continue;
    const std::u16string_view text = View(value->bstrVal);
    if (before[static_cast<std::size_t>(row.attribute)] == text) continue;
    handle.SetAttributeText(row.name, text);  // eaAuthor comes last, so it wins over eaLeadArtist
  }
  *saved = com::SUCCEEDED(handle.Flush()) ? com::TRUE : com::FALSE;
  return com::S_OK;
}

}  // namespace info
