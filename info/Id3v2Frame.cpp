#include "info/Id3v2Frame.h"

#include <algorithm>

namespace info {

namespace {

using Bytes = std::span<const std::uint8_t>;

// The bytes from `at` up to the first zero byte (or the end), as text.
std::string CString(Bytes bytes, std::size_t at) {
  if (at >= bytes.size()) return {};
  const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(at);
  const auto end = std::find(begin, bytes.end(), std::uint8_t{0});
  return std::string(begin, end);
}

// Offset of the first zero byte at or after `at`, or none.
std::optional<std::size_t> FindZero(Bytes bytes, std::size_t at) {
  if (at >= bytes.size()) return std::nullopt;
  const auto it = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(), std::uint8_t{0});
  if (it == bytes.end()) return std::nullopt;
  return static_cast<std::size_t>(it - bytes.begin());
}

// End of a text of `encoding` starting at `at`: the offset of its terminator, which is one
// zero byte in ISO-8859-1 and UTF-8 and an aligned pair of zero bytes in UTF-16.
std::optional<std::size_t> FindTerminator(Bytes bytes, std::size_t at, std::uint8_t encoding) {
  if (encoding != 1 && encoding != 2) return FindZero(bytes, at);
  for (std::size_t i = at; i + 1 < bytes.size(); i += 2)
    if (bytes[i] == 0 && bytes[i + 1] == 0) return i;
  return std::nullopt;
}

std::size_t TerminatorLength(std::uint8_t encoding) { return encoding == 1 || encoding == 2 ? 2 : 1; }

void Append(std::vector<std::uint8_t>& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

}  // namespace

std::uint8_t Id3v2Frame::KindOf(std::string_view id) {
  if (id == "TXXX" || id == "WXXX") return kEncodingByte | kDescription;
  if (id == "COMM" || id == "USLT") return kEncodingByte | kLanguage | kDescription;
  if (id == "USER") return kEncodingByte | kLanguage;
  if (id == "APIC") return kEncodingByte | kPicture;
  if (id == "POPM") return kPopularimeter;
  if (id == "PRIV" || id == "IPLS" || id.starts_with('T')) return kEncodingByte | kSingleText;
  if (id.starts_with('W')) return kSingleText;
  return 0;
}

Id3v2Frame::Id3v2Frame(std::string_view id, std::uint8_t kind) : id_(id), kind_(kind) {}

Id3v2Frame::Id3v2Frame(std::string_view id, Bytes payload)
    : id_(id), kind_(KindOf(id)), payload_(payload.begin(), payload.end()) {
  Decode();
}

std::optional<Id3v2Frame> Id3v2Frame::Create(std::string_view id, std::string_view text) {
  const std::uint8_t kind = KindOf(id);
  if ((kind & (kSingleText | kDescription | kLanguage)) == 0) return std::nullopt;
  Id3v2Frame frame(id, kind);
  frame.complete_ = true;
  frame.SetText(text);
  return frame;
}

void Id3v2Frame::Decode() {
  const Bytes p = payload_;
  complete_ = false;
  if (p.empty()) return;
  switch (kind_) {
    case kEncodingByte | kSingleText:
      encoding_ = p[0];
      text_ = CString(p, 1);
      complete_ = true;
      break;
    case kSingleText:
      text_ = CString(p, 0);
      complete_ = true;
      break;
    case kEncodingByte | kDescription:
      DecodeDescribed(1);
      break;
    case kEncodingByte | kLanguage | kDescription:
      DecodeDescribed(4);
      break;
    case kEncodingByte | kLanguage:
      encoding_ = p[0];
      if (p.size() < 4) return;
      std::copy_n(p.begin() + 1, 3, language_.begin());
      text_ = CString(p, 4);
      complete_ = true;
      break;
    case kEncodingByte | kPicture:
      DecodePicture();
      break;
    case kPopularimeter:
      if (const auto zero = FindZero(p, 0)) {
        text_ = CString(p, 0);
        if (*zero + 1 < p.size()) rating_ = p[*zero + 1];
        dataAt_ = std::min(*zero + 2, p.size());
        complete_ = true;
      } else {
        text_ = CString(p, 0);
        dataAt_ = p.size();
      }
      break;
    default:
      complete_ = true;
      break;
  }
}

void Id3v2Frame::DecodeDescribed(std::size_t descriptionAt) {
  const Bytes p = payload_;
  encoding_ = p[0];
  if (p.size() < descriptionAt) return;
  if (kind_ & kLanguage) std::copy_n(p.begin() + 1, 3, language_.begin());
  const auto zero = FindZero(p, descriptionAt);
  if (!zero) return;  // no terminator: the frame keeps an empty record
  description_.assign(p.begin() + static_cast<std::ptrdiff_t>(descriptionAt), p.begin() + static_cast<std::ptrdiff_t>(*zero));
  text_ = CString(p, *zero + TerminatorLength(encoding_));
  complete_ = true;
}

void Id3v2Frame::DecodePicture() {
  const Bytes p = payload_;
  encoding_ = p[0];
  const auto mimeEnd = FindZero(p, 1);  // the MIME type is always ISO-8859-1
  if (!mimeEnd) return;
  mime_ = CString(p, 1);
  if (*mimeEnd + 1 >= p.size()) return;
  pictureType_ = p[*mimeEnd + 1];
  const std::size_t descriptionAt = *mimeEnd + 2;
  const auto descriptionEnd = FindTerminator(p, descriptionAt, encoding_);
  if (!descriptionEnd) return;
  description_.assign(p.begin() + static_cast<std::ptrdiff_t>(descriptionAt), p.begin() + static_cast<std::ptrdiff_t>(*descriptionEnd));
  dataAt_ = *descriptionEnd + TerminatorLength(encoding_);
  complete_ = true;
}

std::span<const std::uint8_t> Id3v2Frame::pictureData() const {
  if (kind_ != (kEncodingByte | kPicture) || !complete_) return {};
  return Bytes(payload_).subspan(dataAt_);
}

std::optional<std::string> Id3v2Frame::Text() const {
  if (payload_.empty()) return std::nullopt;
  switch (kind_) {
    case kEncodingByte | kSingleText:
    case kSingleText:
    case kEncodingByte | kDescription:
    case kEncodingByte | kLanguage | kDescription:
      if (encoding_ != 0) return std::nullopt;
      return text_;
    case kEncodingByte | kLanguage:
    case kPopularimeter:
      return text_;
    default:
      return std::nullopt;
  }
}

bool Id3v2Frame::SetText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  if (kind_ & (kSingleText | kDescription | kLanguage)) {
    if (encoding_ != 0 || !complete_) {  // unreadable before: lay the frame out anew
      language_ = {};
      description_.clear();
    }
    encoding_ = 0;
    complete_ = true;
  } else if (kind_ != kPopularimeter) {
    return false;
  }
  text_ = text;
  Encode();
  return true;
}

void Id3v2Frame::Encode() {
  std::vector<std::uint8_t> out;
  if (kind_ & kEncodingByte) out.push_back(encoding_);
  if (kind_ & kLanguage) out.insert(out.end(), language_.begin(), language_.end());
  if (kind_ & kDescription) {
    Append(out, description_);
    out.push_back(0);
  }
  if (kind_ == kPopularimeter) {
    Append(out, text_);
    out.push_back(0);
    out.push_back(rating_);
    if (dataAt_ < payload_.size()) out.insert(out.end(), payload_.begin() + static_cast<std::ptrdiff_t>(dataAt_), payload_.end());
    dataAt_ = text_.size() + 2;
  } else {
    Append(out, text_);
  }
  payload_ = std::move(out);
}

}  // namespace info
