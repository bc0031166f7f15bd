#include "info/dialog/ModalDialog.h"

#include <QApplication>
#include <QThread>

#include "info/dialog/InfoDialog.h"

namespace info::dialog {

namespace {

int RunModal(ITrack* track) {
  InfoDialog dialog(com::ComPtr<ITrack>(track), QApplication::activeWindow());
  return dialog.exec();
}

}  // namespace

int RunModalDialog(ITrack* track) {
  if (track == nullptr) return -1;
  if (QCoreApplication::instance() == nullptr) {
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

// The entry point of libInfoDialog.so.
extern "C" __attribute__((visibility("default"))) int InfoRunDialog(info::ITrack* track) {
  return info::dialog::RunModalDialog(track);
}
