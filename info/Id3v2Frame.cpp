#include "info/Id3v2Frame.h"

#include <algorithm>

#include "info/TextCodec.h"

namespace info {

namespace {

using Bytes = std::span<const std::uint8_t>;

constexpr std::string_view kNewLanguage = "eng";

// The ISO-8859-1 bytes from `at` to the next zero byte (or the end).
std::u16string Latin1Until0(Bytes bytes, std::size_t at) {
  if (at >= bytes.size()) return {};
  const std::size_t end = FindTerminator(bytes, at, encoding::kLatin1);
  return DecodeText(encoding::kLatin1, bytes.subspan(at, end - at));
}

// Every text from `at` to the end (texts separated by terminators), joined with '/'.
std::u16string TextList(Bytes bytes, std::size_t at, std::uint8_t enc) {
  std::u16string out;
  bool first = true;
  while (at < bytes.size()) {
    const std::size_t end = FindTerminator(bytes, at, enc);
    const std::u16string part = DecodeText(enc, bytes.subspan(at, end - at));
    at = end + TerminatorSize(enc);
    if (part.empty() && at >= bytes.size()) break;  // a trailing terminator
    if (!first) out += u'/';
    out += part;
    first = false;
  }
  return out;
}

void Append(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

void Terminate(std::vector<std::uint8_t>& out, std::uint8_t enc) {
  out.insert(out.end(), TerminatorSize(enc), 0);
}

bool IsLanguage(std::string_view language) {
  return language.size() == 3 && std::all_of(language.begin(), language.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
         });
}

}  // namespace

struct Id3v2Frame::Layout {
  bool complete = false;  // every field before the value was found
  std::uint8_t enc = 0;
  std::string language;
  std::u16string description;
  std::size_t valueAt = 0;  // text, value, URL, e-mail or picture data
  std::string mime;
};

std::uint8_t Id3v2Frame::KindOf(std::string_view id) {
  if (id == "TXXX" || id == "WXXX") return kEncodingByte | kDescription;
  if (id == "COMM" || id == "USLT") return kEncodingByte | kLanguage | kDescription;
  if (id == "USER") return kEncodingByte | kLanguage;
  if (id == "APIC") return kEncodingByte | kPicture;
  if (id == "POPM") return kPopularimeter;
  if (id == "PRIV") return kPrivate;
  if (id == "IPLS" || id.starts_with('T')) return kEncodingByte | kSingleText;
  if (id.starts_with('W')) return kSingleText;
  return 0;
}

Id3v2Frame::Id3v2Frame(std::string_view id, std::uint16_t flags, std::vector<std::uint8_t> stored,
                       std::vector<std::uint8_t> content, bool readable)
    : id_(id),
      kind_(KindOf(id)),
      flags_(flags),
      readable_(readable),
      stored_(std::move(stored)),
      content_(std::move(content)) {}

Id3v2Frame::Id3v2Frame(std::string_view id) : id_(id), kind_(KindOf(id)), modified_(true) {}

void Id3v2Frame::Convert(std::string_view id, std::vector<std::uint8_t> content) {
  id_ = id;
  kind_ = KindOf(id);
  flags_ = 0;
  readable_ = true;
  modified_ = true;
  content_ = std::move(content);
  stored_ = content_;
}

std::uint8_t Id3v2Frame::encoding() const {
  return (kind_ & kEncodingByte) && !content_.empty() ? content_[0] : encoding::kLatin1;
}

Id3v2Frame::Layout Id3v2Frame::Parse() const {
  const Bytes c = content_;
  Layout layout;
  if (!readable_ || c.empty()) return layout;
  std::size_t at = 0;
  if (kind_ & kEncodingByte) layout.enc = c[at++];
  if (kind_ & kLanguage) {
    if (c.size() < at + 3) return layout;
    layout.language.assign(c.begin() + static_cast<std::ptrdiff_t>(at),
                           c.begin() + static_cast<std::ptrdiff_t>(at + 3));
    at += 3;
  }
  if (kind_ & kPicture) {
    const std::size_t mimeEnd = FindTerminator(c, at, encoding::kLatin1);
    if (mimeEnd + 1 >= c.size()) return layout;
    layout.mime.assign(c.begin() + static_cast<std::ptrdiff_t>(at),
                       c.begin() + static_cast<std::ptrdiff_t>(mimeEnd));
    at = mimeEnd + 2;  // the terminator and the picture type
  }
  if (kind_ & (kDescription | kPicture)) {
    const std::size_t end = FindTerminator(c, at, layout.enc);
    if (end >= c.size()) return layout;
    layout.description = DecodeText(layout.enc, c.subspan(at, end - at));
    at = end + TerminatorSize(layout.enc);
  }
  if (kind_ == kPrivate || kind_ == kPopularimeter) {
    const std::size_t end = FindTerminator(c, at, encoding::kLatin1);
    layout.description = DecodeText(encoding::kLatin1, c.subspan(at, end - at));  // owner or e-mail
    if (kind_ == kPrivate && end >= c.size()) return layout;
    at = std::min(end + 1, c.size());
  }
  layout.valueAt = std::min(at, c.size());
  layout.complete = true;
  return layout;
}

std::optional<std::u16string> Id3v2Frame::Text() const {
  const Layout layout = Parse();
  if (!layout.complete) return std::nullopt;
  const Bytes c = content_;
  switch (kind_) {
    case kEncodingByte | kSingleText:
    case kEncodingByte | kLanguage:
      return TextList(c, layout.valueAt, layout.enc);
    case kSingleText:
      return Latin1Until0(c, 0);
    case kEncodingByte | kDescription:
      if (id_ == "WXXX") return Latin1Until0(c, layout.valueAt);
      return TextList(c, layout.valueAt, layout.enc);
    case kEncodingByte | kLanguage | kDescription: {
      const std::size_t end = FindTerminator(c, layout.valueAt, layout.enc);
      return DecodeText(layout.enc, c.subspan(layout.valueAt, end - layout.valueAt));
    }
    case kPopularimeter:
      return layout.description;
    case kPrivate:
      if (!layout.description.empty()) return std::nullopt;
      return Latin1Until0(c, layout.valueAt);
    default:
      return std::nullopt;
  }
}

std::u16string Id3v2Frame::Description() const {
  return kind_ & kDescription ? Parse().description : std::u16string();
}

bool Id3v2Frame::SetText(std::u16string_view text, int major) {
  const Layout old = Parse();
  const std::u16string description =
      (kind_ & kDescription) && old.complete ? old.description : std::u16string();
  const bool latin1 = FitsLatin1(text) && FitsLatin1(description);
  const std::uint8_t enc = latin1       ? encoding::kLatin1
                           : major == 4 ? encoding::kUtf8
                                        : encoding::kUtf16;
  std::vector<std::uint8_t> out;
  switch (kind_) {
    case kEncodingByte | kSingleText:
      out.push_back(enc);
      Append(out, EncodeText(enc, text));
      break;
    case kSingleText:
      if (!FitsLatin1(text)) return false;
      Append(out, EncodeText(encoding::kLatin1, text));
      break;
    case kEncodingByte | kDescription:
    case kEncodingByte | kLanguage | kDescription:
    case kEncodingByte | kLanguage: {
      const bool url = id_ == "WXXX";
      if (url && !FitsLatin1(text)) return false;
      const std::uint8_t textEnc = url ? encoding::kLatin1 : enc;
      const std::uint8_t frameEnc = url && FitsLatin1(description) ? encoding::kLatin1 : enc;
      out.push_back(frameEnc);
      if (kind_ & kLanguage) {
        const std::string language =
            IsLanguage(old.language) ? old.language : std::string(kNewLanguage);
        out.insert(out.end(), language.begin(), language.end());
      }
      if (kind_ & kDescription) {
        Append(out, EncodeText(frameEnc, description));
        Terminate(out, frameEnc);
      }
      Append(out, EncodeText(textEnc, text));
      break;
    }
    case kPopularimeter:
    case kPrivate: {
      if (!FitsLatin1(text)) return false;
      if (kind_ == kPrivate && old.complete && !old.description.empty())
        return false;  // owned data
      if (kind_ == kPopularimeter) Append(out, EncodeText(encoding::kLatin1, text));
      out.push_back(0);
      if (kind_ == kPrivate) {
        Append(out, EncodeText(encoding::kLatin1, text));
      } else if (old.complete && old.valueAt < content_.size()) {
        out.insert(out.end(), content_.begin() + static_cast<std::ptrdiff_t>(old.valueAt),
                   content_.end());
      } else {
        out.push_back(0);  // rating: unknown
      }
      break;
    }
    default:
      return false;
  }
  flags_ = 0;
  readable_ = true;
  modified_ = true;
  content_ = std::move(out);
  stored_ = content_;
  return true;
}

std::string Id3v2Frame::mimeType() const { return kind_ & kPicture ? Parse().mime : std::string(); }

std::span<const std::uint8_t> Id3v2Frame::pictureData() const {
  if (!(kind_ & kPicture)) return {};
  const Layout layout = Parse();
  if (!layout.complete) return {};
  return Bytes(content_).subspan(layout.valueAt);
}

}  // namespace info
