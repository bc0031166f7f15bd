// "View / Update Information": a track's attributes by category. The dialog works only through
// the track's ITrack: AttributeSupported decides which fields are read-only, get Attribute
// fills a category's fields on its first visit, and OK puts the text of every field of every
// visited category. End codes: 1 OK, 2 Cancel or Escape, 0 closed from the title bar.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "info/InfoInterfaces.h"
#include "info/dialog/FieldBuffers.h"
#include "platform/com/ComPtr.h"

class QGroupBox;
class QListWidget;
class QPushButton;

namespace info::dialog {

class InfoDialog final : public QDialog {
 public:
  using LinkOpener = std::function<void(const QString&)>;

  // Holds a reference to `track`. Links open with `openLink`, by default the desktop's handler.
  explicit InfoDialog(com::ComPtr<ITrack> track, QWidget* parent = nullptr,
                      LinkOpener openLink = {});
  ~InfoDialog() override;

  // The parts tests and hosts look at.
  QListWidget* categoryList() const { return categories_; }
  QGroupBox* groupBox() const { return group_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  // The control of `attribute` in the category shown, or null.
  QWidget* FieldControl(EAttribute attribute) const;

  void accept() override;
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildCategory(int category);
  QWidget* MakeControl(int category, int field, bool readOnly);
  QString AttributeText(EAttribute attribute) const;
  int PixelsX(int dialogUnits) const;
  int PixelsY(int dialogUnits) const;
  int Pixels(int fontPixels) const;

  com::ComPtr<ITrack> track_;
  LinkOpener openLink_;
  FieldBuffers buffers_;
  QListWidget* categories_ = nullptr;
  QGroupBox* group_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  std::vector<QWidget*> built_;  // labels and controls of the category shown
  int current_ = -1;
  bool busy_ = false;
};

}  // namespace info::dialog
