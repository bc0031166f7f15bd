// The text form of the registry file.
//
//   comreg-registry 1
//   # comment lines and blank lines are ignored; leading blanks are ignored
//   key "CLSID" "{F0884FF2-F827-4F03-8791-293AB03D2455}"
//   value "" sz "AudioEditCtl Class"
//   value "Flags" dword 0x00000001
//   key "CLSID" "{F0884FF2-F827-4F03-8791-293AB03D2455}" "InprocServer32"
//   value "ThreadingModel" sz "Apartment"
//   end
//
// The first line names the format and its version. Each `key` line gives the full path of a
// key, one quoted name per level, and the `value` lines after it belong to that key; the
// value named "" is the default value. Every key is written, empty ones included, parents
// before children, at most kMaxKeyDepth levels deep. The closing `end` line tells a complete
// file from a truncated one. Strings use the escapes of QuotedString.h.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry/RegistryKey.h"
#include "platform/registry/RegistryStatus.h"

namespace reg {

inline constexpr std::string_view kRegistryHeader = "comreg-registry 1";

std::string FormatRegistryText(const Key& root);
// The same, giving up (false, `out` incomplete) as soon as the text would be longer than
// `limit` bytes.
bool FormatRegistryText(const Key& root, std::size_t limit, std::string& out);

// Fills `root` (expected empty) from `text`. On failure the status is REGDB_E_READREGDB and
// the message names `fileName` and the line: "<file>:<line>: <problem>", quoting at most a
// short printable excerpt of the text.
Status ParseRegistryText(std::string_view text, const std::string& fileName, Key& root);

}  // namespace reg
