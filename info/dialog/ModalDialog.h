// The dialog's side of InvokeEditDlg, inside libInfoDialog.so: runs the information dialog
// modally over the active window of the calling thread, making a QApplication for the dialog's
// time when the process has none (the caller has checked that a display is reachable).
// Returns the end code, or -1 when the process's application cannot show widgets here (not a
// widget application, or another thread than the application's).
#pragma once

#include "info/InfoInterfaces.h"

namespace info::dialog {

int RunModalDialog(ITrack* track);

}  // namespace info::dialog

// Exported by libInfoDialog.so.
extern "C" int InfoRunDialog(info::ITrack* track);
