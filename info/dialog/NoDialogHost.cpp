// A build without Qt has no information dialog.
#include "info/dialog/DialogHost.h"

namespace info::dialog {

int RunInfoDialog(ITrack*) { return -1; }

}  // namespace info::dialog
