#include "platform/fileio/PathText.h"

#include <cstdint>
#include <cstdio>

namespace fileio {
namespace {

// Length of the valid UTF-8 sequence at `text[i]` and its code point; 0 when the byte
// starts none (bad lead byte, truncated or overlong sequence, encoded surrogate, value
// above U+10FFFF).
std::size_t Utf8Sequence(std::string_view text, std::size_t i, char32_t& cp) {
  const auto b = [&](std::size_t k) { return static_cast<std::uint8_t>(text[i + k]); };
  const std::uint8_t lead = b(0);
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1Fu, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0Fu, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07u, min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((b(k) & 0xC0u) != 0x80u) return 0;
    cp = (cp << 6) | (b(k) & 0x3Fu);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::u16string PathToWide(std::string_view bytes) {
  std::u16string wide;
  wide.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t n = Utf8Sequence(bytes, i, cp);
    if (n == 0) {
      wide.push_back(static_cast<char16_t>(0xDC00u | static_cast<std::uint8_t>(bytes[i])));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      wide.push_back(static_cast<char16_t>(0xD800u + (cp >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00u + (cp & 0x3FFu)));
    } else {
      wide.push_back(static_cast<char16_t>(cp));
    }
    i += n;
  }
  return wide;
}

std::optional<std::string> PathFromWide(std::u16string_view wide) {
  std::string bytes;
  bytes.reserve(wide.size());
  auto put = [&](char32_t cp) {
    if (cp < 0x80) {
      bytes.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      bytes.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      bytes.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      bytes.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      bytes.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      bytes.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  };
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const char32_t unit = wide[i];
    if (unit == 0) return std::nullopt;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      put(0x10000 + ((unit - 0xD800) << 10) + (wide[i + 1] - 0xDC00u));
      ++i;
    } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
      bytes.push_back(static_cast<char>(unit & 0xFFu));  // a carried byte
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      return std::nullopt;
    } else {
      put(unit);
    }
  }
  return bytes;
}

std::string JsonEscape(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 2);
  char escaped[8];
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const std::size_t n = Utf8Sequence(bytes, i, cp);
    const auto byte = static_cast<std::uint8_t>(bytes[i]);
    if (n == 0) {
      std::snprintf(escaped, sizeof escaped, "\\udc%02x", byte);
      out += escaped;
    } else if (cp == '"' || cp == '\\') {
      out += '\\';
      out += static_cast<char>(cp);
    } else if (cp < 0x20 || cp == 0x7F) {
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(cp));
      out += escaped;
    } else {
      out.append(bytes.substr(i, n));
    }
    i += n == 0 ? 1 : n;
  }
  return out;
}

}  // namespace fileio
