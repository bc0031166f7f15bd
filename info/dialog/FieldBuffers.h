// The texts of one information dialog: per field a buffer, made on the first visit of its
// category and holding the field's text from then on, so edits survive category switches
// (the controls are rebuilt on every switch). Texts are Unicode and of any length.
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "info/dialog/DialogLayout.h"

namespace info::dialog {

class FieldBuffers {
 public:
  FieldBuffers();

  bool Visited(int category) const { return visited_[static_cast<std::size_t>(category)]; }
  void MarkVisited(int category) { visited_[static_cast<std::size_t>(category)] = true; }

  // The buffer of field `field` of `category`; null before the category's first visit.
  const std::optional<QString>& Buffer(int category, int field) const;
  void Set(int category, int field, QString text);

  // Calls visit(attribute, text) for every field that has a buffer, category by category.
  template <class Visit>
  void ForEachBuffer(Visit visit) const {
    for (int c = 0; c < kCategoryCount; ++c) {
      const auto& fields = DialogCategories()[static_cast<std::size_t>(c)].fields;
      for (std::size_t f = 0; f < fields.size(); ++f)
        if (const auto& text = buffers_[static_cast<std::size_t>(c)][f])
          visit(fields[f].attribute, *text);
    }
  }

 private:
  std::array<bool, kCategoryCount> visited_{};
  std::array<std::vector<std::optional<QString>>, kCategoryCount> buffers_;
};

}  // namespace info::dialog
