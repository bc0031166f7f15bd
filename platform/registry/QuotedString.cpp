#include "platform/registry/QuotedString.h"

#include "platform/com/Types.h"

namespace reg {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void AppendHexEscape(unsigned char byte, std::string& out) {
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

}  // namespace

std::string Excerpt(std::string_view text, std::size_t maxBytes) {
  std::string out;
  for (std::size_t i = 0; i < text.size() && i < maxBytes; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7F)
      out += text[i];
    else
      AppendHexEscape(byte, out);
  }
  if (text.size() > maxBytes) out += "...";
  return out;
}

std::string Quote(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20 || byte == 0x7F) {
          AppendHexEscape(byte, out);
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string ReadQuoted(std::string_view text, std::size_t& pos, std::string& out) {
  if (pos >= text.size() || text[pos] != '"') return "expected a quoted string";
  std::string value;
  for (std::size_t i = pos + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      out = std::move(value);
      pos = i + 1;
      return {};
    }
    if (c == '\n') break;
    if (c != '\\') {
      value += c;
      continue;
    }
    if (++i >= text.size()) break;
    switch (text[i]) {
      case '\\':
        value += '\\';
        break;
      case '"':
        value += '"';
        break;
      case 'n':
        value += '\n';
        break;
      case 'r':
        value += '\r';
        break;
      case 't':
        value += '\t';
        break;
      case 'x': {
        const int hi = i + 1 < text.size() ? com::detail::HexDigit(text[i + 1]) : -1;
        const int lo = i + 2 < text.size() ? com::detail::HexDigit(text[i + 2]) : -1;
        if (hi < 0 || lo < 0) return "bad \\x escape (two hex digits expected)";
        value += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        return "unknown escape \\" + Excerpt(text.substr(i, 1));
    }
  }
  return "unterminated quoted string";
}

}  // namespace reg
