// Shows the information dialog for a track (ITrack.InvokeEditDlg). The dialog lives in
// libInfoDialog.so (Qt 6 Widgets), loaded beside libInfo.so only when a dialog is asked for, so
// hosts that never open one never load Qt. Returns the dialog's end code, or -1 when no dialog
// can be made: no reachable display, no dialog library, or a thread that cannot show widgets.
#pragma once

#include "info/InfoInterfaces.h"

namespace info::dialog {

int RunInfoDialog(ITrack* track);

}  // namespace info::dialog
