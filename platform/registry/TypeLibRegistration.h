// Registration of a type library's identity in the class registry. Type information itself
// is served from each library's member tables, so only the keys hosts look up are written:
//
//   TypeLib\{LIBID}\<major>.<minor>            default: the help string
//   TypeLib\{LIBID}\<major>.<minor>\FLAGS      default: "0"
//   TypeLib\{LIBID}\<major>.<minor>\HELPDIR    default: the module's directory
//   TypeLib\{LIBID}\<major>.<minor>\<lcid>\linux   default: the module path (lcid in hex)
//   Interface\{IID}                            default: the interface name
//   Interface\{IID}\TypeLib                    default: {LIBID}, value Version "<major>.<minor>"
//
// Unregistration deletes the version key with its subtree, the library key when nothing else
// is left in it, and the interface keys that still point at this library. The parent keys
// "TypeLib" and "Interface" are never removed.
#pragma once

#include <span>
#include <string>

#include "platform/com/Types.h"
#include "platform/registry/Registry.h"

namespace com {

struct TypeLibInterface {
  IID iid;
  const char* name;
};

struct TypeLibDescription {
  GUID libid;
  WORD majorVersion = 1;
  WORD minorVersion = 0;
  LCID lcid = 0;
  std::string helpString;
  std::string modulePath;
  std::span<const TypeLibInterface> interfaces;
};

// Each as one registry change.
reg::Status RegisterTypeLibrary(reg::Registry& registry, const TypeLibDescription& library);
reg::Status UnregisterTypeLibrary(reg::Registry& registry, const TypeLibDescription& library);
// The same on a tree, for a caller that makes them part of a larger change.
void RegisterTypeLibrary(reg::Key& root, const TypeLibDescription& library);
void UnregisterTypeLibrary(reg::Key& root, const TypeLibDescription& library);

}  // namespace com
