#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "info/SiblingLibrary.h"
#include "info/dialog/DialogHost.h"

namespace info::dialog {

namespace {

using RunDialogFn = int (*)(ITrack*);

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// Whether an X display named like ":0" or ":0.0" has its local socket; other names (remote
// displays) are taken as reachable.
bool XDisplayReachable(const std::string& display) {
  if (display.empty()) return false;
  if (display[0] != ':') return true;
  const std::string number = display.substr(1, display.find('.') - 1);
  return ::access(("/tmp/.X11-unix/X" + number).c_str(), F_OK) == 0;
}

// Whether Qt can open windows here without giving up the process: Qt aborts when its platform
// has no display.
bool DisplayAvailable() {
  const std::string platform = Environment("QT_QPA_PLATFORM");
  const bool wayland = !Environment("WAYLAND_DISPLAY").empty();
  const bool x11 = XDisplayReachable(Environment("DISPLAY"));
  if (platform.empty()) return x11 || wayland;
  if (platform.rfind("xcb", 0) == 0) return x11;
  if (platform.rfind("wayland", 0) == 0) return wayland;
  return true;  // offscreen, minimal, vnc and the like need no display
}

}  // namespace

int RunInfoDialog(ITrack* track) {
  if (track == nullptr || !DisplayAvailable()) return -1;
  // Kept loaded once loaded: Qt does not survive being unloaded from a process.
  void* library =
      OpenSiblingLibrary("libInfoDialog.so", reinterpret_cast<const void*>(&RunInfoDialog),
                         RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (library == nullptr) return -1;
  const auto run = reinterpret_cast<RunDialogFn>(::dlsym(library, "InfoRunDialog"));
  const int code = run == nullptr ? -1 : run(track);
  ::dlclose(library);
  return code;
}

}  // namespace info::dialog
