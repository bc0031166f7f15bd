// Runs the information dialog modally for a track, over the active window of the calling
// thread. A process without a QApplication gets one for the dialog's time when a display is
// available. Returns the dialog's end code, or -1 when no dialog can be made (no display,
// another thread than the one running the application, or a build without Qt).
#pragma once

#include "info/InfoInterfaces.h"

namespace info::dialog {

int RunInfoDialog(ITrack* track);

}  // namespace info::dialog
