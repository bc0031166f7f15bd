#include "info/dialog/FieldEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>

namespace info::dialog {

namespace {

// Texts beyond this length are shown whole but not searched for links on every keystroke.
constexpr qsizetype kLinkSearchLimit = 200000;

bool OneLine(FieldKind kind) {
  return kind != FieldKind::kMultiLine && kind != FieldKind::kReadOnly;
}

QString DigitsOf(const QString& text) {
  QString digits;
  for (const QChar c : text)
    if (c >= u'0' && c <= u'9') digits += c;
  return digits;
}

}  // namespace

FieldEdit::FieldEdit(FieldKind kind, QWidget* parent) : QTextEdit(parent), kind_(kind) {
  setAcceptRichText(false);
  setTabChangesFocus(true);
  document()->setDocumentMargin(2);
  if (OneLine(kind)) {
    setLineWrapMode(QTextEdit::NoWrap);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  connect(document(), &QTextDocument::contentsChanged, this, [this] { ContentsChanged(); });
}

QString FieldEdit::Text() const {
  QString text = document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  text.replace(QChar::LineSeparator, u'\n');
  return text;
}

void FieldEdit::SetText(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(u'\r', u'\n');
  shown_ = shown;
  setPlainText(shown);
  MarkLinks();
}

void FieldEdit::ContentsChanged() {
  if (marking_) return;
  const QString text = Text();
  if (text == shown_) return;  // a change of format, not of text
  shown_ = text;
  MarkLinks();
  if (edited_) edited_(text);
}

void FieldEdit::MarkLinks() {
  if (!DetectsLinks(kind_) || shown_.size() > kLinkSearchLimit) return;
  static const QRegularExpression kUrl(
      QStringLiteral(R"(\b(?:(?:https?|ftp|file)://|www\.|mailto:)[^\s<>"]+)"),
      QRegularExpression::CaseInsensitiveOption);
  marking_ = true;
  QTextCursor all(document());
  all.select(QTextCursor::Document);
  all.setCharFormat(QTextCharFormat());
  for (auto it = kUrl.globalMatch(shown_); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    QTextCursor link(document());
    link.setPosition(static_cast<int>(match.capturedStart()));
    link.setPosition(static_cast<int>(match.capturedEnd()), QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setAnchor(true);
    format.setAnchorHref(match.captured());
    format.setFontUnderline(true);
    format.setForeground(palette().link());
    link.setCharFormat(format);
  }
  marking_ = false;
}

void FieldEdit::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && OneLine(kind_)) {
    event->ignore();  // the dialog's default button takes it
    return;
  }
  if (kind_ == FieldKind::kNumber && !event->text().isEmpty() && event->text().at(0).isPrint() &&
      DigitsOf(event->text()) != event->text()) {
    event->accept();  // digits only
    return;
  }
  QTextEdit::keyPressEvent(event);
}

void FieldEdit::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && DetectsLinks(kind_) &&
      !anchorAt(event->position().toPoint()).isEmpty() && linkClicked_) {
    linkClicked_(Text());
    event->accept();
    return;
  }
  QTextEdit::mousePressEvent(event);
}

void FieldEdit::insertFromMimeData(const QMimeData* source) {
  if (kind_ != FieldKind::kNumber || !source->hasText()) {
    QTextEdit::insertFromMimeData(source);
    return;
  }
  textCursor().insertText(DigitsOf(source->text()));
}

}  // namespace info::dialog
