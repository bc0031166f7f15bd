// Feeds arbitrary bytes to the registry file parser; whatever parses must format and parse
// back to the same tree.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/registry/RegistryText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  reg::Key root;
  if (!reg::ParseRegistryText(text, "fuzz", root).ok()) return 0;
  reg::Key again;
  if (!reg::ParseRegistryText(reg::FormatRegistryText(root), "fuzz", again).ok() ||
      !again.SameAs(root))
    std::abort();
  return 0;
}
