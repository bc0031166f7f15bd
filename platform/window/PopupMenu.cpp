#include "platform/window/PopupMenu.h"

namespace win {

bool PopupMenu::EnableItem(UINT id, bool enabled) {
  for (MenuItem& item : items_) {
    if (item.separator || item.id != id) continue;
    item.enabled = enabled;
    return true;
  }
  return false;
}

const MenuItem* PopupMenu::Find(UINT id) const {
  for (const MenuItem& item : items_)
    if (!item.separator && item.id == id) return &item;
  return nullptr;
}

const MenuItem* PopupMenu::FindText(std::string_view text) const {
  for (const MenuItem& item : items_)
    if (!item.separator && item.text == text) return &item;
  return nullptr;
}

}  // namespace win
