#include "tests/info/TestFiles.h"

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace info::test {

std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

namespace {

const std::string kMutagenScript = std::string(PROJECT_SOURCE_DIR) + "/tests/info/mutagen_tags.py";

}  // namespace

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "infotest.XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string FixturePath(const std::string& name) { return std::string(TEST_DATA_DIR) + "/info/" + name; }

std::string CopyFixture(const TempDir& dir, const std::string& name) {
  const std::string copy = dir.File(name);
  std::filesystem::copy_file(FixturePath(name), copy, std::filesystem::copy_options::overwrite_existing);
  return copy;
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Frame(const std::string& id, const Bytes& payload, std::uint16_t flags) {
  const auto size = static_cast<std::uint32_t>(payload.size());
  Bytes out = Text(id);
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(size >> shift));
  out.insert(out.end(), {static_cast<std::uint8_t>(flags >> 8), static_cast<std::uint8_t>(flags & 0xFF)});
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

Bytes Frame24(const std::string& id, const Bytes& payload, std::uint16_t flags) {
  const auto size = static_cast<std::uint32_t>(payload.size());
  Bytes out = Text(id);
  for (int shift = 21; shift >= 0; shift -= 7) out.push_back(static_cast<std::uint8_t>((size >> shift) & 0x7F));
  out.insert(out.end(), {static_cast<std::uint8_t>(flags >> 8), static_cast<std::uint8_t>(flags & 0xFF)});
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

Bytes Frame22(const std::string& id, const Bytes& payload) {
  const auto size = static_cast<std::uint32_t>(payload.size());
  Bytes out = Text(id);
  for (int shift = 16; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(size >> shift));
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

Bytes TagHeader(std::uint32_t bodySize, std::uint8_t major, std::uint8_t flags) {
  Bytes out = Text("ID3");
  out.insert(out.end(), {major, 0, flags});
  for (int shift = 21; shift >= 0; shift -= 7) out.push_back(static_cast<std::uint8_t>((bodySize >> shift) & 0x7F));
  return out;
}

Bytes MpegFrames(int count) {
  Bytes frame(417, 0);
  frame[0] = 0xFF;
  frame[1] = 0xFB;
  frame[2] = 0x90;
  frame[3] = 0x00;
  Bytes out;
  for (int i = 0; i < count; ++i) out.insert(out.end(), frame.begin(), frame.end());
  return out;
}

std::map<std::string, std::string> MutagenDump(const std::string& path) {
  std::map<std::string, std::string> values;
  const std::string out = RunCommand("/usr/bin/python3 " + kMutagenScript + " dump '" + path + "'");
  std::size_t start = 0;
  while (start < out.size()) {
    const std::size_t end = out.find('\n', start);
    const std::string line = out.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::size_t tab = line.find('\t');
    if (tab != std::string::npos) values[line.substr(0, tab)] = line.substr(tab + 1);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return values;
}

std::string MutagenFrames(const std::string& path) {
  return RunCommand("/usr/bin/python3 " + kMutagenScript + " frames '" + path + "'");
}

bool MutagenPictures(const std::string& path, const std::string& dir) {
  return std::system(("/usr/bin/python3 " + kMutagenScript + " pictures '" + path + "' '" + dir + "'").c_str()) == 0;
}

}  // namespace info::test
