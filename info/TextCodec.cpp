#include "info/TextCodec.h"

namespace info {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsUtf16(std::uint8_t enc) { return enc == encoding::kUtf16 || enc == encoding::kUtf16Be; }

std::u16string DecodeUtf16(std::span<const std::uint8_t> bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    out.push_back(bigEndian ? static_cast<char16_t>(bytes[i] << 8 | bytes[i + 1])
                            : static_cast<char16_t>(bytes[i + 1] << 8 | bytes[i]));
  if (bytes.size() % 2 != 0) out.push_back(kReplacement);
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::size_t TerminatorSize(std::uint8_t enc) { return IsUtf16(enc) ? 2 : 1; }

std::size_t FindTerminator(std::span<const std::uint8_t> bytes, std::size_t at, std::uint8_t enc) {
  if (IsUtf16(enc)) {
    for (std::size_t i = at; i + 1 < bytes.size(); i += 2)
      if (bytes[i] == 0 && bytes[i + 1] == 0) return i;
    return bytes.size();
  }
  for (std::size_t i = at; i < bytes.size(); ++i)
    if (bytes[i] == 0) return i;
  return bytes.size();
}

Utf8Step ReadUtf8(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t code = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    return {};
  }
  if (text.size() - at < length) return {};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return {};
    code = code << 6 | (byte(at + i) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  return {code, length};
}

void AppendUtf16(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out.push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  }
}

std::u16string Utf8ToWide(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Step step = ReadUtf8(text, i);
    if (step.length == 0) {
      out.push_back(kReplacement);
      ++i;
    } else {
      AppendUtf16(out, step.code);
      i += step.length;
    }
  }
  return out;
}

std::string WideToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    AppendUtf8(out, c);
  }
  return out;
}

std::u16string DecodeText(std::uint8_t enc, std::span<const std::uint8_t> bytes) {
  switch (enc) {
    case encoding::kUtf16:
      if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return DecodeUtf16(bytes.subspan(2), true);
      if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return DecodeUtf16(bytes.subspan(2), false);
      return DecodeUtf16(bytes, false);
    case encoding::kUtf16Be:
      return DecodeUtf16(bytes, true);
    case encoding::kUtf8: {
      std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
      if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
      return Utf8ToWide(text);
    }
    default:
      return std::u16string(bytes.begin(), bytes.end());
  }
}

std::vector<std::uint8_t> EncodeText(std::uint8_t enc, std::u16string_view text) {
  std::vector<std::uint8_t> out;
  switch (enc) {
    case encoding::kUtf16:
      out = {0xFF, 0xFE};
      for (const char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
      }
      break;
    case encoding::kUtf16Be:
      for (const char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
      }
      break;
    case encoding::kUtf8: {
      const std::string utf8 = WideToUtf8(text);
      out.assign(utf8.begin(), utf8.end());
      break;
    }
    default:
      for (const char16_t c : text) out.push_back(c <= 0xFF ? static_cast<std::uint8_t>(c) : '?');
      break;
  }
  return out;
}

bool FitsLatin1(std::u16string_view text) {
  for (const char16_t c : text)
    if (c > 0xFF) return false;
  return true;
}

}  // namespace info
