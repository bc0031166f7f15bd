// The control's context menu: its items and ids, and when each item is enabled.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/window/PopupMenu.h"

namespace audioedit {

inline constexpr int kContextMenuResource = 201;
inline constexpr const char* kContextMenuTitle = "AE_CONTEXT";

inline constexpr win::UINT ID_AE_ADDSPLIT = 32777;
inline constexpr win::UINT ID_AE_ADDINDEX = 32778;
inline constexpr win::UINT ID_AE_REMOVE = 32779;
inline constexpr win::UINT ID_AE_TOSPLIT = 32780;
inline constexpr win::UINT ID_AE_TOINDEX = 32781;
inline constexpr win::UINT ID_AE_ALLTOSPLITS = 32783;
inline constexpr win::UINT ID_AE_ZOOMIN = 32784;
inline constexpr win::UINT ID_AE_ZOOMOUT = 32785;
inline constexpr win::UINT ID_AE_FULLVIEW = 32787;
inline constexpr win::UINT ID_AE_PLAY = 32788;
inline constexpr win::UINT ID_AE_PAUSE = 32789;
inline constexpr win::UINT ID_AE_STOP = 32790;

// Playback states as the control counts them; the state message of a state is state + 4.
enum class PlayState : std::uint32_t { kStopped = 0, kPaused = 1, kRunning = 2 };

// What the enabling of the items depends on, read from the control just before showing.
struct MenuConditions {
  std::uint32_t zoom = 1;
  std::uint32_t peaksPerColumn = 1;
  bool markShown = false;
  std::optional<std::int32_t> selectedType;  // kind of the selected divider, if any
  PlayState play = PlayState::kStopped;
  bool anyIndex = false;
};

// The menu with every item enabled, in its order, with its separators.
win::PopupMenu MakeContextMenu();
// Whether item `id` is enabled under `conditions` (false for unknown ids).
bool ContextItemEnabled(const MenuConditions& conditions, win::UINT id);
// Enables and greys every item of `menu` by ContextItemEnabled.
void EnableContextMenu(win::PopupMenu& menu, const MenuConditions& conditions);

}  // namespace audioedit
