#include "info/dialog/InfoDialog.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <string_view>

#include "info/GenreTable.h"
#include "info/dialog/FieldEdit.h"
#include "platform/com/Variant.h"

namespace info::dialog {

namespace {

// The height in pixels of the 8-point font the layout's pixel figures were made for.
constexpr int kDesignFontHeight = 13;
constexpr int kFieldIdBase = 10000;

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void OpenWithDesktop(const QString& text) {
  QDesktopServices::openUrl(QUrl::fromUserInput(text.trimmed()));
}

}  // namespace

InfoDialog::InfoDialog(com::ComPtr<ITrack> track, QWidget* parent, LinkOpener openLink)
    : QDialog(parent),
      track_(std::move(track)),
      openLink_(openLink ? std::move(openLink) : OpenWithDesktop) {
  setWindowTitle(QStringLiteral("View / Update Information"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFixedSize(PixelsX(353), PixelsY(263));

  auto* heading = new QLabel(QStringLiteral(" Category:"), this);
  heading->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  heading->setGeometry(PixelsX(3), PixelsY(7), PixelsX(93), PixelsY(13));
  categories_ = new QListWidget(this);
  categories_->setObjectName(QStringLiteral("categories"));
  categories_->setGeometry(PixelsX(3), PixelsY(21), PixelsX(94), PixelsY(218));
  group_ = new QGroupBox(this);
  group_->setGeometry(PixelsX(102), PixelsY(3), PixelsX(246), PixelsY(236));
  ok_ = new QPushButton(QStringLiteral("&OK"), this);
  ok_->setGeometry(PixelsX(252), PixelsY(243), PixelsX(45), PixelsY(14));
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
  cancel_->setGeometry(PixelsX(302), PixelsY(243), PixelsX(45), PixelsY(14));
  connect(ok_, &QPushButton::clicked, this, &InfoDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &InfoDialog::reject);

  for (const DialogCategory& category : DialogCategories())
    categories_->addItem(FromView(category.name));
  connect(categories_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) BuildCategory(row);
  });
  categories_->setCurrentRow(0);
}

InfoDialog::~InfoDialog() = default;

int InfoDialog::PixelsX(int dialogUnits) const {
  return dialogUnits * fontMetrics().averageCharWidth() / 4;
}
int InfoDialog::PixelsY(int dialogUnits) const { return dialogUnits * fontMetrics().height() / 8; }
int InfoDialog::Pixels(int fontPixels) const {
  return fontPixels * fontMetrics().height() / kDesignFontHeight;
}

QWidget* InfoDialog::FieldControl(EAttribute attribute) const {
  for (QWidget* widget : built_)
    if (widget->property("fieldId").toInt() == kFieldIdBase + attribute) return widget;
  return nullptr;
}

QString InfoDialog::AttributeText(EAttribute attribute) const {
  com::Variant value;
  if (com::FAILED(track_->get_Attribute(attribute, value.Put())) || value.Type() != com::VT_BSTR)
    return {};
  const com::BSTR text = value.Get().bstrVal;
  return QString::fromUtf16(text ? text : u"", static_cast<qsizetype>(com::SysStringLen(text)));
}

void InfoDialog::BuildCategory(int category) {
  busy_ = true;
  for (QWidget* widget : built_) delete widget;
  built_.clear();
  current_ = category;
  const DialogCategory& layout = DialogCategories()[static_cast<std::size_t>(category)];
  const QRect frame = group_->geometry();
  const int x = frame.left() + Pixels(10);
  const int width = frame.width() - 2 * Pixels(10);
  int y = frame.top() + Pixels(20);
  group_->setTitle(FromView(layout.name));
  const bool firstVisit = !buffers_.Visited(category);

  for (int f = 0; f < static_cast<int>(layout.fields.size()); ++f) {
    const DialogField& field = layout.fields[static_cast<std::size_t>(f)];
    auto* label = new QLabel(FromView(field.label), this);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(x, y, width, Pixels(15));
    label->show();
    built_.push_back(label);
    y += Pixels(15);

    com::BOOL supported = com::FALSE;
    track_->get_AttributeSupported(field.attribute, &supported);
    QWidget* control = MakeControl(category, f, supported == com::FALSE);
    control->setProperty("fieldId", kFieldIdBase + field.attribute);
    control->setGeometry(x, y, width, Pixels(field.height == 160 ? 20 : field.height));
    control->show();
    built_.push_back(control);
    y += field.kind == FieldKind::kDropDown ? Pixels(20) : Pixels(field.height + 5);
    if (f == (category == 0 ? 1 : 0)) control->setFocus();

    if (firstVisit) buffers_.Set(category, f, AttributeText(field.attribute));
    const QString& text = *buffers_.Buffer(category, f);
    if (auto* edit = dynamic_cast<FieldEdit*>(control)) edit->SetText(text);
    if (auto* combo = dynamic_cast<QComboBox*>(control)) combo->setEditText(text);
  }
  buffers_.MarkVisited(category);
  busy_ = false;
}

QWidget* InfoDialog::MakeControl(int category, int field, bool readOnly) {
  const DialogField& layout = DialogCategories()[static_cast<std::size_t>(category)]
                                  .fields[static_cast<std::size_t>(field)];
  if (layout.kind == FieldKind::kDropDown) {
    auto* combo = new QComboBox(this);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    for (std::string_view genre : GenreTexts()) combo->addItem(FromView(genre));
    combo->setEnabled(!readOnly);
    connect(combo, &QComboBox::editTextChanged, this, [this, category, field](const QString& text) {
      if (!busy_) buffers_.Set(category, field, text);
    });
    connect(combo, &QComboBox::activated, this, [this, combo, category, field](int index) {
      if (!busy_ && index >= 0) buffers_.Set(category, field, combo->itemText(index));
    });
    return combo;
  }
  auto* edit = new FieldEdit(layout.kind, this);
  edit->setReadOnly(readOnly || layout.kind == FieldKind::kReadOnly);
  edit->OnEdited([this, category, field](const QString& text) {
    if (!busy_) buffers_.Set(category, field, text);
  });
  edit->OnLinkClicked([this](const QString& text) { openLink_(text); });
  return edit;
}

void InfoDialog::accept() {
  buffers_.ForEachBuffer([this](EAttribute attribute, const QString& text) {
    const com::Variant value = com::Variant::FromString(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
    track_->put_Attribute(attribute, value.Get());
  });
  done(1);
}

void InfoDialog::reject() { done(2); }

void InfoDialog::closeEvent(QCloseEvent* event) {
  done(0);
  event->accept();
}

}  // namespace info::dialog
