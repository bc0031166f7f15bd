#include "platform/registry/RegistryText.h"

#include <cstdio>
#include <vector>

#include "platform/registry/QuotedString.h"

namespace reg {
namespace {

void AppendValue(const std::string& name, const Value& value, std::string& out) {
  out += "value ";
  out += Quote(name);
  if (const auto* text = std::get_if<std::string>(&value)) {
    out += " sz ";
    out += Quote(*text);
  } else {
    char buf[24];
    std::snprintf(buf, sizeof buf, " dword 0x%08X",
                  static_cast<unsigned>(std::get<std::uint32_t>(value)));
    out += buf;
  }
  out += '\n';
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads the next word (up to a blank) at pos; used for the keywords and types.
std::string_view NextWord(std::string_view line, std::size_t& pos) {
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  const std::size_t start = pos;
  while (pos < line.size() && !IsBlank(line[pos])) ++pos;
  return line.substr(start, pos - start);
}

std::string NextQuoted(std::string_view line, std::size_t& pos, std::string& out) {
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  return ReadQuoted(line, pos, out);
}

bool ParseDword(std::string_view word, std::uint32_t& out) {
  if (word.size() < 3 || word.size() > 10 || word[0] != '0' || (word[1] != 'x' && word[1] != 'X'))
    return false;
  std::uint32_t v = 0;
  for (std::size_t i = 2; i < word.size(); ++i) {
    const int d = com::detail::HexDigit(word[i]);
    if (d < 0) return false;
    v = v * 16 + static_cast<std::uint32_t>(d);
  }
  out = v;
  return true;
}

class Parser {
 public:
  explicit Parser(Key& root) : root_(root) {}

  // Returns the problem with one line, empty when the line is fine.
  std::string Line(std::string_view line) {
    std::size_t pos = 0;
    const std::string_view word = NextWord(line, pos);
    std::string problem;
    if (word == "key")
      problem = KeyLine(line, pos);
    else if (word == "value")
      problem = ValueLine(line, pos);
    else
      return "unknown line '" + Excerpt(word) + "'";
    if (!problem.empty()) return problem;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    return pos == line.size() ? std::string() : "unexpected text after the entry";
  }

 private:
  std::string KeyLine(std::string_view line, std::size_t& pos) {
    Key* key = &root_;
    std::size_t depth = 0;
    while (true) {
      while (pos < line.size() && IsBlank(line[pos])) ++pos;
      if (pos == line.size()) break;
      std::string name;
      if (std::string problem = ReadQuoted(line, pos, name); !problem.empty()) return problem;
      if (name.empty() || name.find('\\') != std::string::npos)
        return "key name is empty or contains a backslash";
      if (++depth > kMaxKeyDepth)
        return "key nested deeper than " + std::to_string(kMaxKeyDepth) + " levels";
      key = key->Create(name);
    }
    if (depth == 0) return "key line without a name";
    current_ = key;
    return {};
  }

  std::string ValueLine(std::string_view line, std::size_t& pos) {
    if (current_ == nullptr) return "value before the first key";
    std::string name;
    if (std::string problem = NextQuoted(line, pos, name); !problem.empty()) return problem;
    const std::string_view type = NextWord(line, pos);
    if (type == "sz") {
      std::string text;
      if (std::string problem = NextQuoted(line, pos, text); !problem.empty()) return problem;
      current_->SetValue(name, std::move(text));
    } else if (type == "dword") {
      std::uint32_t number = 0;
      if (!ParseDword(NextWord(line, pos), number)) return "bad dword (0x and 1 to 8 hex digits)";
      current_->SetValue(name, number);
    } else {
      return "unknown value type '" + Excerpt(type) + "'";
    }
    return {};
  }

  Key& root_;
  Key* current_ = nullptr;
};

}  // namespace

bool FormatRegistryText(const Key& root, std::size_t limit, std::string& out) {
  out.assign(kRegistryHeader);
  out += '\n';
  // pathEnds[d] is where the path of the key at depth d ends in `path`.
  std::string path;
  std::vector<std::size_t> pathEnds{0};
  bool fits = true;
  WalkKeys(root, [&](const Key& key, std::size_t depth) {
    if (!fits) return;
    path.resize(pathEnds[depth - 1]);
    path += ' ';
    path += Quote(key.Name());
    pathEnds.resize(depth + 1);
    pathEnds[depth] = path.size();
    out += "key";
    out += path;
    out += '\n';
    for (const auto& [name, value] : key.Values()) AppendValue(name, value, out);
    fits = out.size() <= limit;
  });
  out += "end\n";
  return fits && out.size() <= limit;
}

std::string FormatRegistryText(const Key& root) {
  std::string out;
  FormatRegistryText(root, std::string::npos, out);
  return out;
}

Status ParseRegistryText(std::string_view text, const std::string& fileName, Key& root) {
  const auto fail = [&](std::size_t lineNo, const std::string& problem) {
    return Status::Fail(com::REGDB_E_READREGDB,
                        fileName + ":" + std::to_string(lineNo) + ": " + problem);
  };
  Parser parser(root);
  std::size_t lineNo = 0;
  bool ended = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (lineNo == 1) {
      if (line != kRegistryHeader) {
        if (line.starts_with("comreg-registry "))
          return fail(lineNo, "unsupported format version (this program reads '" +
                                  std::string(kRegistryHeader) + "')");
        return fail(lineNo, "not a registry file (first line must be '" +
                                std::string(kRegistryHeader) + "')");
      }
      continue;
    }
    line = TrimLeft(line);
    if (line.empty() || line.front() == '#') continue;
    if (ended) return fail(lineNo, "text after the end line");
    if (line == "end") {
      ended = true;
      continue;
    }
    if (std::string problem = parser.Line(line); !problem.empty()) return fail(lineNo, problem);
  }
  if (lineNo == 0) return fail(1, "empty file (no header line)");
  if (!ended) return fail(lineNo, "file is truncated (no end line)");
  return Status::Ok();
}

}  // namespace reg
