// The description a component gives of its last failure, for messages to the user.
#pragma once

#include <string>

#include "platform/com/Unknown.h"

namespace launcher {

// The description of the thread's error information when `object` says it supplies error
// information for `iid`; empty otherwise. The error information is consumed.
std::string WizardErrorDescription(com::IUnknown& object, com::REFIID iid);

}  // namespace launcher
