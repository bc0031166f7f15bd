// The information dialog off screen: fields, read-only rules, buffers across category
// switches, what OK stores, end codes, links and long Unicode texts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "info/MpegTrack.h"
#include "info/WmTrack.h"
#include "info/dialog/DialogLayout.h"
#include "info/dialog/FieldEdit.h"
#include "info/dialog/InfoDialog.h"
#include "tests/info/WmTestSupport.h"

namespace info::dialog {
namespace {

class QtEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "dialog_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};
const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

QString Q(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

class DialogTest : public ::testing::Test {
 protected:
  static com::Variant Value(ITrack& track, EAttribute attribute) {
    com::Variant value;
    track.get_Attribute(attribute, value.Put());
    return value;
  }
  static QString Text(ITrack& track, EAttribute attribute) {
    const com::Variant value = Value(track, attribute);
    if (value.Type() != com::VT_BSTR) return QStringLiteral("<vt %1>").arg(value.Type());
    return Q({value.Get().bstrVal, com::SysStringLen(value.Get().bstrVal)});
  }
  static void Put(ITrack& track, EAttribute attribute, const com::Variant& value) {
    track.put_Attribute(attribute, value.Get());
  }
  static FieldEdit* Edit(InfoDialog& dialog, EAttribute attribute) {
    return dynamic_cast<FieldEdit*>(dialog.FieldControl(attribute));
  }
  static void ShowCategory(InfoDialog& dialog, std::string_view name) {
    const auto items = dialog.categoryList()->findItems(
        QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    dialog.categoryList()->setCurrentItem(items.front());
    ASSERT_EQ(dialog.groupBox()->title().toStdString(), name);
  }
  // Every attribute's value type and text, to compare a track before and after.
  static std::vector<QString> Snapshot(ITrack& track) {
    std::vector<QString> out;
    for (int a = eaBegin; a <= eaEnd; ++a) out.push_back(Text(track, static_cast<EAttribute>(a)));
    return out;
  }

  com::ComPtr<MpegTrack> mpeg = com::MakeObject<MpegTrack>();
};

TEST_F(DialogTest, CategoriesFieldsAndReadOnlyRulesForAnMpegTrack) {
  InfoDialog dialog(mpeg);
  EXPECT_EQ(dialog.windowTitle(), "View / Update Information");
  ASSERT_EQ(dialog.categoryList()->count(), kCategoryCount);
  EXPECT_EQ(dialog.categoryList()->item(6)->text(), "Web Links");
  EXPECT_EQ(dialog.groupBox()->title(), "Basic");
  EXPECT_EQ(dialog.focusWidget(), dialog.FieldControl(eaTitle));
  for (const DialogCategory& category : DialogCategories()) {
    ShowCategory(dialog, category.name);
    for (const DialogField& field : category.fields) {
      QWidget* control = dialog.FieldControl(field.attribute);
      ASSERT_NE(control, nullptr) << field.label;
      const bool readOnly = field.kind == FieldKind::kReadOnly || field.attribute == eaAuthor;
      if (auto* edit = dynamic_cast<FieldEdit*>(control)) {
        EXPECT_EQ(edit->isReadOnly(), readOnly) << field.label;
      } else {
        EXPECT_EQ(control->isEnabled(), !readOnly) << field.label;
      }
    }
    if (category.name != "Basic") {
      EXPECT_EQ(dialog.focusWidget(), dialog.FieldControl(category.fields[0].attribute));
    }
  }
  auto* genres = dynamic_cast<QComboBox*>([&] {
    ShowCategory(dialog, "Basic");
    return dialog.FieldControl(eaGenre);
  }());
  ASSERT_NE(genres, nullptr);
  EXPECT_EQ(genres->count(), 126);
  EXPECT_EQ(genres->itemText(125), "(125) Dance Hall");

  auto wm = com::MakeObject<WmTrack>();
  InfoDialog wmDialog(wm);
  EXPECT_FALSE(Edit(wmDialog, eaAuthor)->isReadOnly());
  EXPECT_TRUE(Edit(wmDialog, eaLocation)->isReadOnly());
}

TEST_F(DialogTest, ATitleThatIsNotTextShowsEmptyAndIsStoredEmpty) {
  Put(*mpeg, eaTitle, com::Variant::FromLong(5));
  Put(*mpeg, eaAlbum, com::Variant::FromString(u"Album"));
  InfoDialog dialog(mpeg);
  EXPECT_EQ(Edit(dialog, eaTitle)->Text(), "");
  EXPECT_EQ(Edit(dialog, eaAlbum)->Text(), "Album");
  QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), 1);
  EXPECT_EQ(Value(*mpeg, eaTitle).Type(), com::VT_BSTR);
  EXPECT_EQ(Text(*mpeg, eaTitle), "");
  EXPECT_EQ(Text(*mpeg, eaAlbum), "Album");
  EXPECT_EQ(Text(*mpeg, eaYear), "");  // a visited field without a value gets an empty text
}

TEST_F(DialogTest, EditsSurviveCategorySwitchesAndUnvisitedCategoriesStayUntouched) {
  Put(*mpeg, eaUnsyncedLyrics, com::Variant::FromLong(42));
  Put(*mpeg, eaTitle, com::Variant::FromString(u"Old"));
  InfoDialog dialog(mpeg);
  Edit(dialog, eaTitle)->moveCursor(QTextCursor::End);
  QTest::keyClicks(Edit(dialog, eaTitle), " and new ");
  QTest::sendKeyEvent(QTest::Click, Edit(dialog, eaTitle), Qt::Key_unknown,
                      QStringLiteral("\u00e9"), Qt::NoModifier);
  ShowCategory(dialog, "Track");
  QTest::keyClicks(Edit(dialog, eaSubtitle), "Sub");
  ShowCategory(dialog, "Basic");
  EXPECT_EQ(Edit(dialog, eaTitle)->Text(), "Old and new \u00e9");
  ShowCategory(dialog, "Track");
  EXPECT_EQ(Edit(dialog, eaSubtitle)->Text(), "Sub");
  QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
  EXPECT_EQ(Text(*mpeg, eaTitle), "Old and new \u00e9");
  EXPECT_EQ(Text(*mpeg, eaSubtitle), "Sub");
  EXPECT_EQ(Value(*mpeg, eaUnsyncedLyrics).Type(), com::VT_I4);  // "Lyrics" never shown
  EXPECT_EQ(Value(*mpeg, eaLyricist).Type(), com::VT_EMPTY);
}

TEST_F(DialogTest, GenreChosenOrTypedAndDigitsOnlyYear) {
  InfoDialog dialog(mpeg);
  auto* genre = dynamic_cast<QComboBox*>(dialog.FieldControl(eaGenre));
  ASSERT_NE(genre, nullptr);
  EXPECT_EQ(genre->currentText(), "");
  genre->setCurrentIndex(17);
  QTest::keyClicks(Edit(dialog, eaYear), "19x9a5");
  QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
  EXPECT_EQ(Text(*mpeg, eaGenre), "(17) Rock");
  EXPECT_EQ(Text(*mpeg, eaYear), "1995");

  InfoDialog typed(mpeg);
  auto* combo = dynamic_cast<QComboBox*>(typed.FieldControl(eaGenre));
  EXPECT_EQ(combo->currentText(), "(17) Rock");
  combo->lineEdit()->selectAll();
  QTest::keyClicks(combo->lineEdit(), "Chiptune");
  QTest::mouseClick(typed.okButton(), Qt::LeftButton);
  EXPECT_EQ(Text(*mpeg, eaGenre), "Chiptune");
}

TEST_F(DialogTest, CancelLeavesTheTrackUnchanged) {
  Put(*mpeg, eaTitle, com::Variant::FromString(u"Kept"));
  const auto before = Snapshot(*mpeg);
  InfoDialog dialog(mpeg);
  Edit(dialog, eaTitle)->moveCursor(QTextCursor::End);
  QTest::keyClicks(Edit(dialog, eaTitle), " changed");
  ShowCategory(dialog, "Lyrics");
  QTest::keyClicks(Edit(dialog, eaLanguage), "eng");
  QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
  EXPECT_EQ(dialog.result(), 2);
  EXPECT_EQ(Snapshot(*mpeg), before);
}

TEST_F(DialogTest, LongAndNonLatinTextsRoundTripWhole) {
  const std::u16string lyrics = std::u16string(70000, u'\u03bb') + u"\r\nzweite Zeile \U0001F3B5";
  Put(*mpeg, eaUnsyncedLyrics, com::Variant::FromString(lyrics));
  Put(*mpeg, eaComment, com::Variant::FromString(u"\u65e5\u672c\u8a9e"));
  InfoDialog dialog(mpeg);
  EXPECT_EQ(Edit(dialog, eaComment)->Text(), Q(u"\u65e5\u672c\u8a9e"));
  ShowCategory(dialog, "Lyrics");
  EXPECT_EQ(Edit(dialog, eaUnsyncedLyrics)->Text().size(),
            70000 + 1 + 13 + 2);  // the note is a surrogate pair
  QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
  EXPECT_EQ(Text(*mpeg, eaUnsyncedLyrics), Q(lyrics));  // untouched text keeps its line breaks
  EXPECT_EQ(Text(*mpeg, eaComment), Q(u"\u65e5\u672c\u8a9e"));
}

TEST_F(DialogTest, ClickingALinkOpensTheWholeFieldText) {
  Put(*mpeg, eaWwwArtist, com::Variant::FromString(u"see http://example.com/artist here"));
  QStringList opened;
  InfoDialog dialog(mpeg, nullptr, [&](const QString& text) { opened << text; });
  ShowCategory(dialog, "Web Links");
  FieldEdit* edit = Edit(dialog, eaWwwArtist);
  dialog.show();
  QTextCursor inside(edit->document());
  inside.setPosition(12);
  const QPoint onLink = edit->cursorRect(inside).center();
  QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, onLink);
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened.front(), "see http://example.com/artist here");
  inside.setPosition(1);
  QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, edit->cursorRect(inside).center());
  EXPECT_EQ(opened.size(), 1);  // plain text is no link
}

// Runs `act` on the modal dialog once InvokeEditDlg shows it; the dialog is closed and the test
// fails when it is still open after ten seconds.
com::SHORT InvokeWith(ITrack& track, std::function<void(InfoDialog&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = dynamic_cast<InfoDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      ADD_FAILURE() << "no modal dialog";
      return;
    }
    act(*dialog);
  });
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (auto* open = QApplication::activeModalWidget()) {
      ADD_FAILURE() << "the dialog did not close";
      open->close();
    }
  });
  guard.start(10000);
  com::SHORT code = 99;
  EXPECT_EQ(track.InvokeEditDlg(&code), com::S_OK);
  return code;
}

TEST_F(DialogTest, EndCodesOfTheModalDialog) {
  EXPECT_EQ(InvokeWith(*mpeg,
                       [](InfoDialog& d) {
                         QTest::keyClicks(d.FieldControl(eaTitle), "T"), d.okButton()->click();
                       }),
            1);
  EXPECT_EQ(Text(*mpeg, eaTitle), "T");
  EXPECT_EQ(InvokeWith(*mpeg, [](InfoDialog& d) { d.cancelButton()->click(); }), 2);
  EXPECT_EQ(InvokeWith(*mpeg, [](InfoDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }), 2);
  EXPECT_EQ(InvokeWith(*mpeg, [](InfoDialog& d) { d.close(); }), 0);
  EXPECT_EQ(Text(*mpeg, eaTitle), "T");
}

TEST_F(DialogTest, EditingAWindowsMediaFileThroughTheDialog) {
  test::TempDir dir;
  const std::string file = test::CopyWma(dir, "tagged.wma");
  auto track = com::MakeObject<WmTrack>(nullptr, std::string(PROJECT_LIB_DIR) + "/libwmvcore.so");
  com::BOOL ok = com::FALSE;
  ASSERT_EQ(track->Load(com::Bstr::FromUtf8(file).Get(), &ok), com::S_OK);
  ASSERT_EQ(ok, com::TRUE);
  EXPECT_EQ(InvokeWith(*track,
                       [](InfoDialog& d) {
                         auto* title = Edit(d, eaTitle);
                         EXPECT_EQ(title->Text(), "Fixture Title");
                         title->moveCursor(QTextCursor::End);
                         QTest::keyClicks(title, " (live)");
                         d.okButton()->click();
                       }),
            1);
  ASSERT_EQ(track->Save(com::Bstr::FromUtf8(file).Get(), &ok), com::S_OK);
  EXPECT_EQ(ok, com::TRUE);
  EXPECT_EQ(test::FfprobeTitle(file), "Fixture Title (live)");
  EXPECT_TRUE(test::FfmpegDecodes(file));
}

}  // namespace
}  // namespace info::dialog
