// `tavolex-desktop [AUDIO]`: the audio edit control in a desktop window. With AUDIO the file
// is loaded at start. `--screenshot PATH` (for checks without a person at the screen) saves
// the window as a PNG once the load has ended, then quits.
#include <QApplication>
#include <QPixmap>
#include <QString>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "tools/desktop/DesktopWindow.h"

namespace {

struct Options {
  QString audio;
  QString screenshot;
};

int Usage(const char* problem) {
  std::fprintf(stderr, "tavolex-desktop: %s\nusage: tavolex-desktop [AUDIO]\n", problem);
  return 2;
}

// 0 when the options are complete, else the exit status of a usage error.
int ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const QString arg = QString::fromLocal8Bit(argv[i]);
    if (arg == QLatin1String("--screenshot")) {
      if (i + 1 >= argc) return Usage("missing file after --screenshot");
      options.screenshot = QString::fromLocal8Bit(argv[++i]);
    } else if (arg.startsWith(QLatin1String("--"))) {
      return Usage(("unknown option " + arg.toStdString()).c_str());
    } else if (options.audio.isEmpty()) {
      options.audio = arg;
    } else {
      return Usage("more than one audio file given");
    }
  }
  return 0;
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
    QApplication::exit(0);
  });
}

}  // namespace

// Qt would abort without a screen to show the window on; say so plainly instead.
bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

int main(int argc, char** argv) {
  Options options;
  if (const int usage = ParseOptions(argc, argv, options); usage != 0) return usage;
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "tavolex-desktop: no display to show the window on (set DISPLAY, or "
                 "run it under xvfb-run)\n");
    return 1;
  }
  QApplication app(argc, argv);

  desktop::DesktopWindow window;
  if (!options.screenshot.isEmpty()) {
    window.SetLoadEndedHandler([&window, &options] { SaveAndQuit(window, options.screenshot); });
  }
  window.show();
  if (!options.audio.isEmpty()) {
    window.Open(options.audio);
  } else if (!options.screenshot.isEmpty()) {
    SaveAndQuit(window, options.screenshot);
  }
  return QApplication::exec();
}
