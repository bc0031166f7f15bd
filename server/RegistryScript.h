// Registration scripts: the registry keys a component server writes when it registers and
// removes when it unregisters, as a small indented text.
//
//   # comment
//   Demo.Widget.1 = "Widget Class"
//     CLSID = "{12345678-1234-1234-1234-123456789ABC}"
//   CLSID [keep]
//     {12345678-1234-1234-1234-123456789ABC} = "Widget Class" [replace]
//       @AppID = "%APPID%"
//       InprocServer32 = "%MODULE%"
//         @ThreadingModel = "Apartment"
//
// Each line is a key (a bare name, or a quoted one when it holds blanks), optionally with its
// default value after '=', or a named value ("@Name = value") of the key above it. A key's
// parent is the nearest key line above it that is indented less. Flags:
//   [replace]  the key is deleted with its subtree before it is written, and deleted with its
//              subtree on unregistration;
//   [keep]     the key is never removed.
// Other keys lose the script's values (default and named) on unregistration and are deleted
// when nothing else is left in them.
// %NAME% in names and values is replaced from the given list; %% is a percent sign.
// Strings use the escapes of the registry file (platform/registry/QuotedString.h).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/registry/Registry.h"

namespace server {

struct Replacement {
  std::string_view name;  // without the percent signs
  std::string value;
};

enum class ScriptMode { kRegister, kUnregister };

// Applies the script as one registry change: the registry sees all of it or none of it. A
// malformed script gives E_UNEXPECTED with the line; registry failures come back unchanged.
reg::Status RunRegistryScript(reg::Registry& registry, std::string_view script,
                              std::span<const Replacement> replacements, ScriptMode mode);
// The same on a tree, for a caller that makes the script part of a larger change; the tree
// is untouched when the script is malformed.
reg::Status ApplyRegistryScript(reg::Key& tree, std::string_view script,
                                std::span<const Replacement> replacements, ScriptMode mode);

}  // namespace server
