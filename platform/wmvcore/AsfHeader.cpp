#include "platform/wmvcore/AsfHeader.h"

#include <taglib/asffile.h>
#include <taglib/asfproperties.h>
#include <taglib/asftag.h>
#include <taglib/tfilestream.h>

#include <array>
#include <memory>

namespace wm {

namespace {

// A content description field: its name and its accessors on the tag.
struct DescriptionField {
  std::u16string_view name;
  TagLib::String (TagLib::ASF::Tag::*get)() const;
  void (TagLib::ASF::Tag::*set)(const TagLib::String&);
};

const std::array<DescriptionField, 5>& DescriptionFields() {
  static const std::array<DescriptionField, 5> fields = {{
      {u"Title", &TagLib::ASF::Tag::title, &TagLib::ASF::Tag::setTitle},
      {u"Author", &TagLib::ASF::Tag::artist, &TagLib::ASF::Tag::setArtist},
      {u"Copyright", &TagLib::ASF::Tag::copyright, &TagLib::ASF::Tag::setCopyright},
      {u"Description", &TagLib::ASF::Tag::comment, &TagLib::ASF::Tag::setComment},
      {u"Rating", &TagLib::ASF::Tag::rating, &TagLib::ASF::Tag::setRating},
  }};
  return fields;
}

const DescriptionField* FindDescriptionField(std::u16string_view name) {
  for (const DescriptionField& field : DescriptionFields())
    if (field.name == name) return &field;
  return nullptr;
}

std::u16string ToU16(const TagLib::String& text) {
  const TagLib::ByteVector data = text.data(TagLib::String::UTF16LE);
  std::u16string out;
  for (unsigned i = 0; i + 1 < data.size(); i += 2)
    out.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(data[i]) |
                                        (static_cast<std::uint8_t>(data[i + 1]) << 8)));
  return out;
}

TagLib::String ToTagLib(std::u16string_view text) {
  TagLib::ByteVector data;
  for (const char16_t c : text) {
    data.append(static_cast<char>(c & 0xFF));
    data.append(static_cast<char>(c >> 8));
  }
  return TagLib::String(data, TagLib::String::UTF16LE);
}

std::vector<std::uint8_t> Bytes(const TagLib::ByteVector& data) {
  return {reinterpret_cast<const std::uint8_t*>(data.data()),
          reinterpret_cast<const std::uint8_t*>(data.data()) + data.size()};
}

AttributeValue FromTagLib(const TagLib::ASF::Attribute& attribute) {
  switch (attribute.type()) {
    case TagLib::ASF::Attribute::UnicodeType:
      return AttributeValue::String(ToU16(attribute.toString()));
    case TagLib::ASF::Attribute::BoolType:
      return AttributeValue::Bool(attribute.toBool() != 0);
    case TagLib::ASF::Attribute::DWordType:
      return AttributeValue::Dword(attribute.toUInt());
    case TagLib::ASF::Attribute::QWordType:
      return AttributeValue::Qword(attribute.toULongLong());
    case TagLib::ASF::Attribute::WordType:
      return AttributeValue::Word(attribute.toUShort());
    case TagLib::ASF::Attribute::GuidType:
      return {WMT_TYPE_GUID, Bytes(attribute.toByteVector())};
    case TagLib::ASF::Attribute::BytesType:
      break;
  }
  return {WMT_TYPE_BINARY, Bytes(attribute.toByteVector())};
}

TagLib::ASF::Attribute ToTagLib(const AttributeValue& value) {
  switch (value.type) {
    case WMT_TYPE_STRING:
      return TagLib::ASF::Attribute(ToTagLib(value.Text()));
    case WMT_TYPE_BOOL:
      return TagLib::ASF::Attribute(value.Number() != 0);
    case WMT_TYPE_DWORD:
      return TagLib::ASF::Attribute(static_cast<unsigned int>(value.Number()));
    case WMT_TYPE_QWORD:
      return TagLib::ASF::Attribute(static_cast<unsigned long long>(value.Number()));
    case WMT_TYPE_WORD:
      return TagLib::ASF::Attribute(static_cast<unsigned short>(value.Number()));
    default:
      break;
  }
  return TagLib::ASF::Attribute(
      TagLib::ByteVector(reinterpret_cast<const char*>(value.bytes.data()),
                         static_cast<unsigned>(value.bytes.size())));
}

// The file-level value of a list: the first one of stream 0.
const TagLib::ASF::Attribute* FileLevel(const TagLib::ASF::AttributeList& list) {
  for (const TagLib::ASF::Attribute& attribute : list)
    if (attribute.stream() == 0) return &attribute;
  return nullptr;
}

}  // namespace

HRESULT ReadAsfHeader(const std::string& path, AttributeTable& attributes) {
  TagLib::FileStream stream(path.c_str(), true);
  if (!stream.isOpen()) return com::E_ACCESSDENIED;
  TagLib::ASF::File file(&stream, true, TagLib::AudioProperties::Average);
  if (!file.isValid() || file.tag() == nullptr) return com::E_FAIL;
  attributes.clear();
  const TagLib::ASF::Tag& tag = *file.tag();
  for (const auto& [name, list] : tag.attributeListMap())
    if (const TagLib::ASF::Attribute* attribute = FileLevel(list))
      attributes[ToU16(name)] = FromTagLib(*attribute);
  for (const DescriptionField& field : DescriptionFields()) {
    const TagLib::String text = (tag.*field.get)();
    if (!text.isEmpty())
      attributes[std::u16string(field.name)] = AttributeValue::String(ToU16(text));
  }
  if (const TagLib::ASF::Properties* properties = file.audioProperties()) {
    attributes[kDurationAttribute] =
        AttributeValue::Qword(std::uint64_t(properties->lengthInMilliseconds()) * 10000);
    attributes[kBitrateAttribute] =
        AttributeValue::Dword(std::uint32_t(properties->bitrate()) * 1000);
  }
  return com::S_OK;
}

HRESULT CheckWritable(std::u16string_view name, WMT_ATTR_DATATYPE type) {
  if (name.empty() || name == kDurationAttribute || name == kBitrateAttribute)
    return com::E_ACCESSDENIED;
  if (FindDescriptionField(name) != nullptr && type != WMT_TYPE_STRING) return com::E_INVALIDARG;
  if (type == WMT_TYPE_GUID) return com::E_NOTIMPL;
  return com::S_OK;
}

HRESULT WriteAsfHeader(const std::string& path, const AttributeTable& changes) {
  TagLib::FileStream stream(path.c_str(), false);
  if (!stream.isOpen() || stream.readOnly()) return com::E_ACCESSDENIED;
  TagLib::ASF::File file(&stream, false);
  if (!file.isValid() || file.tag() == nullptr) return com::E_FAIL;
  TagLib::ASF::Tag& tag = *file.tag();
  for (const auto& [name, value] : changes) {
    if (const DescriptionField* field = FindDescriptionField(name))
      (tag.*field->set)(ToTagLib(value.Text()));
    else
      tag.setAttribute(ToTagLib(name), ToTagLib(value));
  }
  return file.save() ? com::S_OK : com::E_FAIL;
}

}  // namespace wm
