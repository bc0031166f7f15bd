// The member table of IAudioEditCtl: every member with its DISPID and name, as script
// hosts reach them through IDispatch.
#pragma once

#include "audioedit/control/IAudioEditCtl.h"
#include "platform/com/DispatchTable.h"

namespace audioedit {

const com::DispatchTable<IAudioEditCtl>& AudioEditCtlDispatch();

}  // namespace audioedit
