// A text field of the information dialog: one line or several, optionally digits only or
// read-only. Web addresses in its text are shown as links; pressing the left mouse button on
// one hands the field's whole text to the link handler.
#pragma once

#include <QTextEdit>
#include <functional>

#include "info/dialog/DialogLayout.h"

namespace info::dialog {

class FieldEdit final : public QTextEdit {
 public:
  using TextHandler = std::function<void(const QString&)>;

  FieldEdit(FieldKind kind, QWidget* parent);

  // The text exactly as held (every Unicode character kept; line breaks as '\n').
  QString Text() const;
  // Shows `text` without reporting it as an edit.
  void SetText(const QString& text);
  // Called with the new text after each change the user makes.
  void OnEdited(TextHandler handler) { edited_ = std::move(handler); }
  // Called with the whole text when a link is clicked.
  void OnLinkClicked(TextHandler handler) { linkClicked_ = std::move(handler); }
  FieldKind kind() const { return kind_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  void ContentsChanged();
  void MarkLinks();

  FieldKind kind_;
  QString shown_;
  bool marking_ = false;
  TextHandler edited_;
  TextHandler linkClicked_;
};

}  // namespace info::dialog
