#include "info/dialog/FieldBuffers.h"

namespace info::dialog {

FieldBuffers::FieldBuffers() {
  for (int c = 0; c < kCategoryCount; ++c)
    buffers_[static_cast<std::size_t>(c)].resize(
        DialogCategories()[static_cast<std::size_t>(c)].fields.size());
}

const std::optional<QString>& FieldBuffers::Buffer(int category, int field) const {
  return buffers_[static_cast<std::size_t>(category)][static_cast<std::size_t>(field)];
}

void FieldBuffers::Set(int category, int field, QString text) {
  buffers_[static_cast<std::size_t>(category)][static_cast<std::size_t>(field)] = std::move(text);
}

}  // namespace info::dialog
