// Feeds arbitrary bytes to the registry file parser. A refusal is one short printable line;
// whatever parses is at most the allowed depth and must format and parse back to the same
// tree. Deep inputs need a larger input limit than libFuzzer's default (see the .options file).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/registry/RegistryText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  reg::Key root;
  const reg::Status status = reg::ParseRegistryText(text, "fuzz", root);
  if (!status.ok()) {
    if (status.message.size() > 256) std::abort();
    for (const char c : status.message)
      if (c < 0x20 || c == 0x7F) std::abort();
    return 0;
  }
  if (root.Depth() > reg::kMaxKeyDepth) std::abort();
  reg::Key again;
  if (!reg::ParseRegistryText(reg::FormatRegistryText(root), "fuzz", again).ok() ||
      !again.SameAs(root))
    std::abort();
  return 0;
}
