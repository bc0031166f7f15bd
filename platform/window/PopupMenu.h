// A popup menu as a window shows it: items with a command id and a text, separators, and
// items that are disabled (which also greys them). The owner builds it once and changes the
// enabling before each showing; the window shows it (WindowPort::TrackPopupMenu) and the
// chosen item comes back to the owner as WM_COMMAND.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/window/WindowTypes.h"

namespace win {

struct MenuItem {
  UINT id = 0;  // 0 for a separator
  std::string text;
  bool separator = false;
  bool enabled = true;
};

class PopupMenu {
 public:
  PopupMenu() = default;
  explicit PopupMenu(std::string title) : title_(std::move(title)) {}

  void AddItem(UINT id, std::string text) { items_.push_back(MenuItem{id, std::move(text), false, true}); }
  void AddSeparator() { items_.push_back(MenuItem{0, {}, true, true}); }
  // Enables (or disables and greys) the item with `id`; false when there is none.
  bool EnableItem(UINT id, bool enabled);

  const std::string& Title() const { return title_; }
  const std::vector<MenuItem>& Items() const { return items_; }
  // The item with `id`, or null.
  const MenuItem* Find(UINT id) const;
  const MenuItem* FindText(std::string_view text) const;

 private:
  std::string title_;
  std::vector<MenuItem> items_;
};

}  // namespace win
