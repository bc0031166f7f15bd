// The information dialog's fixed layout: its categories and, for each, the fields in display
// order with their labels, kinds and heights (pixels of the dialog's 8-point font).
#pragma once

#include <span>
#include <string_view>

#include "info/TrackTypes.h"

namespace info::dialog {

enum class FieldKind {
  kReadOnly,   // plain text, never editable
  kText,       // one line
  kNumber,     // one line, digits only
  kMultiLine,  // several lines
  kDropDown,   // editable list of the genres
};

struct DialogField {
  EAttribute attribute;
  std::string_view label;
  FieldKind kind;
  int height;
};

struct DialogCategory {
  std::string_view name;
  std::span<const DialogField> fields;
};

inline constexpr int kCategoryCount = 7;

// The seven categories in list order: Basic, Lyrics, Track, File, Artist, Publisher, Web Links.
std::span<const DialogCategory, kCategoryCount> DialogCategories();

// Whether the field detects web links (the rich text fields do; the plain read-only ones and
// the genre list do not).
constexpr bool DetectsLinks(FieldKind kind) {
  return kind == FieldKind::kText || kind == FieldKind::kNumber || kind == FieldKind::kMultiLine;
}

}  // namespace info::dialog
