// Private window messages of the control.
#pragma once

#include "platform/window/WindowTypes.h"

namespace audioedit {

// Posted by the playback graph when it has events queued.
inline constexpr win::UINT WM_AE_GRAPHNOTIFY = win::WM_APP + 1;  // 0x8001
// Sent (synchronously) by the loading worker: wParam = the load's PEC result, lParam = 0.
inline constexpr win::UINT WM_AE_LOADRESULT = win::WM_APP + 2;  // 0x8002

// Position timer of playback.
inline constexpr win::TimerId kPlaybackTimerId = 42;
inline constexpr win::UINT kPlaybackTimerPeriodMs = 200;

}  // namespace audioedit
