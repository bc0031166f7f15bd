#pragma once

#include "platform/com/Types.h"

namespace recording {

inline constexpr com::CLSID CLSID_RecordingWizard =
    com::MakeGuid("{3E1B6A20-96F4-4C53-8D0B-7A2E5C914F61}");

}  // namespace recording
