// What the Qt window tests share: an event loop that runs until a condition holds. The
// application object (on Qt's off-screen platform) comes from QtTestMain.cpp.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>

namespace qt_test {

// Handles events until done() holds; false when a long safety limit passed first (a test
// that would otherwise hang fails instead).
inline bool ProcessUntil(const std::function<bool()>& done) {
  const QDeadlineTimer limit(60000);
  QTimer tick;  // wakes the wait now and then, so the limit is noticed
  tick.start(50);
  while (!done()) {
    if (limit.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

}  // namespace qt_test
