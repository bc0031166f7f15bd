#include "info/dialog/DialogHost.h"

#include <unistd.h>

#include <QApplication>
#include <QThread>
#include <cstdlib>
#include <string>

#include "info/dialog/InfoDialog.h"

namespace info::dialog {

namespace {

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

int RunModal(ITrack* track) {
  InfoDialog dialog(com::ComPtr<ITrack>(track), QApplication::activeWindow());
  return dialog.exec();
}

}  // namespace

int RunInfoDialog(ITrack* track) {
  if (track == nullptr) return -1;
  if (QCoreApplication::instance() == nullptr) {
    if (!DisplayAvailable()) return -1;
    int argc = 1;
    char name[] = "info";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    return RunModal(track);
  }
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return -1;
  if (QThread::currentThread() != QCoreApplication::instance()->thread()) return -1;
  return RunModal(track);
}

}  // namespace info::dialog
