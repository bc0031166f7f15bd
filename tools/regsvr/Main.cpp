// regsvr: registers component server libraries in the class registry and shows the registry.
//
//   regsvr LIBRARY              calls the library's DllRegisterServer
//   regsvr -u LIBRARY           calls its DllUnregisterServer
//   regsvr --print              prints the registry tree
//   regsvr --register-all DIR   registers the project's component libraries found in DIR/lib
//                               (libDemoWizard.so, libTavolex.so, libInfo.so,
//                               libFilterGraph.so)
//
// Exit status 0 on success, 1 on failure (one line on stderr naming the library and the
// status in hex), 2 on bad usage.
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/registry/Registry.h"
#include "tools/regsvr/RegistryPrinter.h"
#include "tools/regsvr/ServerLibrary.h"

namespace {

constexpr const char* kUsage =
    "usage: regsvr [-u] LIBRARY | regsvr --print | regsvr --register-all BUILD_DIR\n";
constexpr const char* kProjectServers[] = {"DemoWizard", "Tavolex", "Info", "FilterGraph"};
#ifndef REGSVR_INSTALL_LIBDIR
#define REGSVR_INSTALL_LIBDIR "lib"
#endif
constexpr const char* kInstallLibDir = REGSVR_INSTALL_LIBDIR;

int Run(const std::string& library, bool unregister) {
  std::error_code ec;
  const std::string path = std::filesystem::absolute(library, ec).lexically_normal().string();
  const char* exportName = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  regsvr::ServerLibrary server;
  std::string error;
  com::HRESULT hr = com::S_OK;
  if (!server.Load(path, error) || !server.Call(exportName, hr, error)) {
    std::fprintf(stderr, "regsvr: %s\n", error.c_str());
    return 1;
  }
  if (com::FAILED(hr)) {
    std::fprintf(stderr, "regsvr: %s of %s failed: 0x%08X (registry %s)\n", exportName,
                 path.c_str(), static_cast<unsigned>(hr), reg::Registry::DefaultPath().c_str());
    return 1;
  }
  std::printf("regsvr: %s %s\n", unregister ? "unregistered" : "registered", path.c_str());
  return 0;
}

int Print() {
  reg::Key root;
  const reg::Status s = reg::Registry::FromEnvironment().Read(root);
  if (!s.ok()) {
    std::fprintf(stderr, "regsvr: %s\n", s.message.c_str());
    return 1;
  }
  std::fputs(regsvr::PrintRegistry(root).c_str(), stdout);
  return 0;
}

int RegisterAll(const std::filesystem::path& buildDir) {
  int found = 0;
  for (const char* name : kProjectServers) {
    // A build tree keeps its libraries in lib/, an installation in its library folder
    // (lib/<multiarch> under /usr).
    std::filesystem::path library = buildDir / "lib" / ("lib" + std::string(name) + ".so");
    if (!std::filesystem::exists(library)) library = buildDir / kInstallLibDir / library.filename();
    if (!std::filesystem::exists(library)) {
      std::fprintf(stderr, "regsvr: %s is not built; skipped\n", library.c_str());
      continue;
    }
    ++found;
    if (const int status = Run(library.string(), false); status != 0) return status;
  }
  if (found == 0) {
    std::fprintf(stderr, "regsvr: no component library found in %s\n", (buildDir / "lib").c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view first = argc > 1 ? argv[1] : "";
  if (argc == 2 && first == "--print") return Print();
  if (argc == 3 && first == "--register-all") return RegisterAll(argv[2]);
  if (argc == 3 && first == "-u" && argv[2][0] != '\0') return Run(argv[2], true);
  if (argc == 2 && !first.empty() && first[0] != '-') return Run(argv[1], false);
  std::fputs(kUsage, stderr);
  return 2;
}
