#include "audioedit/control/ContextMenu.h"

#include <array>

#include "audioedit/Divider.h"

namespace audioedit {
namespace {

struct ItemResource {
  win::UINT id;
  const char* text;
  bool separatorAfter;
};

constexpr std::array kItems{
    ItemResource{ID_AE_ADDSPLIT, "Add Split", false},
    ItemResource{ID_AE_ADDINDEX, "Add Index", false},
    ItemResource{ID_AE_REMOVE, "Remove", true},
    ItemResource{ID_AE_TOSPLIT, "Convert to Split", false},
    ItemResource{ID_AE_TOINDEX, "Convert to Index", false},
    ItemResource{ID_AE_ALLTOSPLITS, "Convert all indices to splits", true},
    ItemResource{ID_AE_ZOOMIN, "Zoom In", false},
    ItemResource{ID_AE_ZOOMOUT, "Zoom Out", false},
    ItemResource{ID_AE_FULLVIEW, "Full View", true},
    ItemResource{ID_AE_PLAY, "Play", false},
    ItemResource{ID_AE_PAUSE, "Pause", false},
    ItemResource{ID_AE_STOP, "Stop", false},
};

bool SelectedIs(const MenuConditions& c, std::int32_t type) {
  return c.selectedType && *c.selectedType == type;
}

}  // namespace

win::PopupMenu MakeContextMenu() {
  win::PopupMenu menu(kContextMenuTitle);
  for (const ItemResource& item : kItems) {
    menu.AddItem(item.id, item.text);
    if (item.separatorAfter) menu.AddSeparator();
  }
  return menu;
}

bool ContextItemEnabled(const MenuConditions& c, win::UINT id) {
  switch (id) {
    case ID_AE_FULLVIEW:
    case ID_AE_ZOOMOUT:
      return c.zoom != 1;
    case ID_AE_ZOOMIN:
      return c.peaksPerColumn != 1;
    case ID_AE_ADDSPLIT:
    case ID_AE_ADDINDEX:
      return c.markShown;
    case ID_AE_REMOVE:
      return c.selectedType && !SelectedIs(c, DIV_Start) && !SelectedIs(c, DIV_End);
    case ID_AE_TOINDEX:
      return SelectedIs(c, DIV_Split);
    case ID_AE_TOSPLIT:
      return SelectedIs(c, DIV_Index);
    case ID_AE_PLAY:
      return c.play != PlayState::kRunning;
    case ID_AE_PAUSE:
    case ID_AE_STOP:
      return c.play != PlayState::kStopped;
    case ID_AE_ALLTOSPLITS:
      return c.anyIndex;
    default:
      return false;
  }
}

void EnableContextMenu(win::PopupMenu& menu, const MenuConditions& conditions) {
  for (const ItemResource& item : kItems)
    menu.EnableItem(item.id, ContextItemEnabled(conditions, item.id));
}

}  // namespace audioedit
