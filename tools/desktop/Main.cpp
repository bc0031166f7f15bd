// `tavolex-desktop [AUDIO] [--dividers-out FILE]`: the audio edit control in a desktop
// window. With AUDIO the file is loaded at start. With --dividers-out the divider list is
// written to FILE when the window closes. `--screenshot PATH` (for checks without a person at
// the screen) saves the window as a PNG once the load has ended, then quits.
// --help and --version are answered before any window system is touched.
#include <QApplication>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/registry/Activation.h"
#include "tools/desktop/DesktopWindow.h"

namespace {

constexpr const char* kUsage =
    "usage: tavolex-desktop [AUDIO] [--dividers-out FILE] [--screenshot PNG]\n"
    "       tavolex-desktop --help | --version\n"
    "\n"
    "Shows AUDIO in the audio editor window. Left button: select and drag dividers, or set\n"
    "the position; right button, Menu key or Shift+F10: the context menu (add, remove and\n"
    "convert dividers, zoom, play); wheel: scroll; Ctrl+wheel, Ctrl+= and Ctrl+-: zoom;\n"
    "Space: play or pause; Escape: cancel a load; drop a file on the window to open it.\n"
    "\n"
    "  --dividers-out FILE  when the window closes, write the divider list to FILE as\n"
    "                       'divider: <DivType> <frame>' lines (replaced as a whole)\n"
    "  --screenshot PNG     save the window as PNG once the load has ended, then quit\n"
    "\n"
    "Exit status: 0 ok, 1 failure (no display, or FILE could not be written), 2 bad usage.\n";

struct Options {
  QString audio;
  QString screenshot;
  QString dividersOut;
};

int Usage(const std::string& problem) {
  std::fprintf(stderr, "tavolex-desktop: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

// -1 when the options are complete, else the exit status to leave with.
int ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::printf("tavolex-desktop %s\n", TAVOLEX_VERSION);
      return 0;
    }
    if (std::strcmp(arg, "--screenshot") == 0 || std::strcmp(arg, "--dividers-out") == 0) {
      if (i + 1 >= argc) return Usage(std::string("missing file after ") + arg);
      QString& target = arg[2] == 's' ? options.screenshot : options.dividersOut;
      target = QString::fromLocal8Bit(argv[++i]);
    } else if (arg[0] == '-' && arg[1] != '\0') {
      return Usage(std::string("unknown option ") + arg);
    } else if (options.audio.isEmpty()) {
      options.audio = QString::fromLocal8Bit(arg);
    } else {
      return Usage("more than one audio file given");
    }
  }
  return -1;
}

// Saves the window once pending events (the last repaints) are handled, then quits.
void SaveAndQuit(desktop::DesktopWindow& window, const QString& path) {
  QTimer::singleShot(0, &window, [&window, path] {
    if (!window.grab().save(path, "PNG")) {
      std::fprintf(stderr, "tavolex-desktop: cannot write the screenshot '%s'\n",
                   path.toLocal8Bit().constData());
      QApplication::exit(1);
      return;
    }
    window.close();
    QApplication::exit(0);
  });
}

// Qt would abort without a screen to show the window on; say so plainly instead.
bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const int status = ParseOptions(argc, argv, options); status >= 0) return status;
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "tavolex-desktop: no display to show the window on (set DISPLAY, or "
                 "run it under xvfb-run)\n");
    return 1;
  }
  QApplication app(argc, argv);
  // The window thread's apartment: the control creates its playback graph by class identity.
  const com::ApartmentScope apartment;

  int status = 0;
  {
    desktop::DesktopWindow window;
    window.SetDividersOut(options.dividersOut);
    if (!options.screenshot.isEmpty()) {
      window.SetLoadEndedHandler([&window, &options] { SaveAndQuit(window, options.screenshot); });
    }
    window.show();
    if (!options.audio.isEmpty()) {
      window.Open(options.audio);
    } else if (!options.screenshot.isEmpty()) {
      SaveAndQuit(window, options.screenshot);
    }
    status = QApplication::exec();
    if (!window.DividersOutError().isEmpty()) {
      std::fprintf(stderr, "tavolex-desktop: %s\n",
                   window.DividersOutError().toLocal8Bit().constData());
      status = 1;
    }
  }
  return status;
}
