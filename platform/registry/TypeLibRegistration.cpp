#include "platform/registry/TypeLibRegistration.h"

#include <cstdio>
#include <filesystem>

namespace com {
namespace {

std::string VersionText(const TypeLibDescription& library) {
  return std::to_string(library.majorVersion) + "." + std::to_string(library.minorVersion);
}

std::string LibraryKey(const TypeLibDescription& library) {
  return "TypeLib\\" + GuidToString(library.libid);
}

std::string HexLcid(LCID lcid) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%x", static_cast<unsigned>(lcid));
  return buf;
}

}  // namespace

void RegisterTypeLibrary(reg::Key& root, const TypeLibDescription& library) {
  const std::string versionPath = LibraryKey(library) + "\\" + VersionText(library);
  root.Remove(versionPath, true);
  reg::Key* version = root.Create(versionPath);
  version->SetValue("", library.helpString);
  version->Create("FLAGS")->SetValue("", std::string("0"));
  version->Create("HELPDIR")->SetValue(
      "", std::filesystem::path(library.modulePath).parent_path().string());
  version->Create(HexLcid(library.lcid) + "\\linux")->SetValue("", library.modulePath);
  for (const TypeLibInterface& item : library.interfaces) {
    const std::string path = "Interface\\" + GuidToString(item.iid);
    root.Remove(path, true);
    reg::Key* key = root.Create(path);
    key->SetValue("", std::string(item.name));
    reg::Key* lib = key->Create("TypeLib");
    lib->SetValue("", GuidToString(library.libid));
    lib->SetValue("Version", VersionText(library));
  }
}

void UnregisterTypeLibrary(reg::Key& root, const TypeLibDescription& library) {
  root.Remove(LibraryKey(library) + "\\" + VersionText(library), true);
  if (const reg::Key* lib = root.Find(LibraryKey(library)); lib != nullptr && lib->Empty())
    root.Remove(LibraryKey(library), false);
  const std::string libid = GuidToString(library.libid);
  for (const TypeLibInterface& item : library.interfaces) {
    const std::string path = "Interface\\" + GuidToString(item.iid);
    const reg::Key* owner = root.Find(path + "\\TypeLib");
    const reg::Value* value = owner ? owner->GetValue("") : nullptr;
    const auto* text = value ? std::get_if<std::string>(value) : nullptr;
    if (text != nullptr && reg::EqualNoCase(*text, libid)) root.Remove(path, true);
  }
}

reg::Status RegisterTypeLibrary(reg::Registry& registry, const TypeLibDescription& library) {
  return registry.Update([&](reg::Key& root) {
    RegisterTypeLibrary(root, library);
    return reg::Status::Ok();
  });
}

reg::Status UnregisterTypeLibrary(reg::Registry& registry, const TypeLibDescription& library) {
  return registry.Update([&](reg::Key& root) {
    UnregisterTypeLibrary(root, library);
    return reg::Status::Ok();
  });
}

}  // namespace com
