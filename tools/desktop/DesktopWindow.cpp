#include "tools/desktop/DesktopWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "audioedit/Divider.h"
#include "audioedit/Pec.h"
#include "audioedit/control/ControlRecords.h"
#include "audioedit/control/ControlView.h"
#include "audioedit/view/DividerPainter.h"
#include "platform/com/Bstr.h"
#include "platform/com/SafeArray.h"

namespace desktop {
namespace {

using audioedit::AudioEditCtl;
using audioedit::PlayState;

QString DividerKind(std::int32_t type) {
  switch (type) {
    case audioedit::DIV_Start:
      return QStringLiteral("Start");
    case audioedit::DIV_End:
      return QStringLiteral("End");
    case audioedit::DIV_Index:
      return QStringLiteral("Index");
    case audioedit::DIV_Split:
      return QStringLiteral("Split");
    default:
      return QStringLiteral("Divider %1").arg(type);
  }
}

QString Text(const com::Bstr& text) { return QString::fromStdString(text.ToUtf8()); }

QString Plain(QString text) { return text.remove(QLatin1Char('&')).remove(QChar(0x2026)); }

// A wheel notch scrolls a tenth of the view.
constexpr int kWheelNotch = 120;
constexpr unsigned kWheelShare = 10;

com::SafeArrayPtr DividerArray(const std::vector<DividerEntry>& dividers) {
  com::SafeArrayPtr array(com::SafeArrayCreateVectorEx(
      com::VT_RECORD, 0, static_cast<com::ULONG>(dividers.size()),
      com::RecordInfoOf<audioedit::DIVIDER>()));
  for (com::LONG i = 0; array && i < static_cast<com::LONG>(dividers.size()); ++i) {
    const DividerEntry& e = dividers[static_cast<std::size_t>(i)];
    audioedit::DIVIDER d{e.type, 0, e.frame};
    com::SafeArrayPutElement(array.get(), &i, &d);
  }
  return array;
}

}  // namespace

QString FrameTime(std::uint32_t frame) {
  return QString::fromStdString(audioedit::view::DividerTimeLabel(frame));
}

DesktopWindow::DesktopWindow()
    : view_(new win::QtWindow),
      dividerList_(new QListWidget),
      status_(new QLabel),
      position_(new QLabel),
      progress_(new QProgressBar),
      control_(com::MakeObject<AudioEditCtl>()) {
  setWindowTitle(QStringLiteral("Tavolex"));
  setAcceptDrops(true);
  auto* split = new QSplitter(Qt::Vertical);
  view_->setMinimumSize(320, 120);
  view_->installEventFilter(this);
  split->addWidget(view_);
  auto* listPane = new QWidget;
  auto* listLayout = new QVBoxLayout(listPane);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->addWidget(new QLabel(QStringLiteral("Dividers (time as %1, minutes:seconds:frames)")
                                       .arg(QLatin1String(kTimeFormatLabel))));
  listLayout->addWidget(dividerList_);
  split->addWidget(listPane);
  split->setStretchFactor(0, 4);
  split->setStretchFactor(1, 1);
  setCentralWidget(split);
  progress_->setRange(0, 100);
  progress_->setMaximumWidth(200);
  progress_->hide();
  // A long status line must not stop the window from getting narrower.
  status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(status_, 1);
  statusBar()->addPermanentWidget(position_);
  statusBar()->addPermanentWidget(progress_);
  status_->setText(QStringLiteral("Open an audio file to see its wave."));
  position_->setText(QStringLiteral("Position %1 (%2)").arg(FrameTime(0), QLatin1String(kTimeFormatLabel)));
  connect(dividerList_, &QListWidget::currentRowChanged, this,
          [this](int row) { OnDividerRowChosen(row); });
  BuildCommands();
  resize(900, 460);

  if (!control_) return;
  control_->Create(*view_);
  view_->SetSurface(&control_->View().Surface());
  events_ = com::MakeObject<ControlEventForwarder>(
      *this, [this](com::DISPID id, std::uint32_t first, std::uint32_t second) {
        OnControlEvent(id, first, second);
      });
  if (!events_ ||
      control_->FindConnectionPoint(audioedit::DIID__IAudioEditCtlEvents, point_.Put()) !=
          com::S_OK ||
      point_->Advise(events_.Get(), &cookie_) != com::S_OK) {
    status_->setText(QStringLiteral("Cannot follow the control's events: loads show no progress."));
  }
  UpdateCommands();
}

DesktopWindow::~DesktopWindow() {
  if (events_) events_->Detach();
  if (point_ && cookie_ != 0) point_->Unadvise(cookie_);
  if (!control_) return;
  view_->SetSurface(nullptr);
  control_->CancelLoading();
  control_->Destroy();
  control_ = nullptr;
}

void DesktopWindow::BuildCommands() {
  QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
  QMenu* playMenu = menuBar()->addMenu(QStringLiteral("&Playback"));
  QToolBar* tools = addToolBar(QStringLiteral("Commands"));
  tools->setMovable(false);
  auto add = [this](QMenu* menu, const QString& text, auto&& slot) {
    QAction* action = menu->addAction(text, this, std::forward<decltype(slot)>(slot));
    commands_.push_back(action);
    return action;
  };

  QAction* open = add(fileMenu, QStringLiteral("&Open…"), [this] { ChooseFile(); });
  open->setShortcut(QKeySequence::Open);
  cancel_ = add(fileMenu, QStringLiteral("&Cancel Loading"), [this] { CancelLoad(); });
  cancel_->setShortcut(QKeySequence(Qt::Key_Escape));
  fileMenu->addSeparator();
  QAction* quit = add(fileMenu, QStringLiteral("&Quit"), [this] { close(); });
  quit->setShortcut(QKeySequence::Quit);

  QAction* zoomIn = add(viewMenu, QStringLiteral("Zoom &In"), [this] { RunCommand(&AudioEditCtl::ZoomIn); });
  zoomIn->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)});
  QAction* zoomOut = add(viewMenu, QStringLiteral("Zoom &Out"), [this] { RunCommand(&AudioEditCtl::ZoomOut); });
  zoomOut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  QAction* full = add(viewMenu, QStringLiteral("&Full View"), [this] { RunCommand(&AudioEditCtl::ZoomOutFull); });
  full->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  viewMenu->addSeparator();
  QAction* context = add(viewMenu, QStringLiteral("&Context Menu"), [this] { OpenContextMenu(); });
  context->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});

  QAction* play = add(playMenu, QStringLiteral("&Play"),
                      [this] { RunPlayback(&AudioEditCtl::AudioPlay, QStringLiteral("play")); });
  QAction* pause = add(playMenu, QStringLiteral("P&ause"),
                       [this] { RunPlayback(&AudioEditCtl::AudioPause, QStringLiteral("pause")); });
  QAction* stop = add(playMenu, QStringLiteral("&Stop"),
                      [this] { RunPlayback(&AudioEditCtl::AudioStop, QStringLiteral("stop")); });
  playMenu->addSeparator();
  QAction* toggle = add(playMenu, QStringLiteral("Play or Pause"), [this] { PlayOrPause(); });
  toggle->setShortcut(QKeySequence(Qt::Key_Space));

  tools->addAction(open);
  tools->addAction(cancel_);
  tools->addSeparator();
  tools->addAction(zoomIn);
  tools->addAction(zoomOut);
  tools->addAction(full);
  tools->addSeparator();
  tools->addAction(play);
  tools->addAction(pause);
  tools->addAction(stop);
}

QAction* DesktopWindow::Command(const QString& text) const {
  for (QAction* action : commands_)
    if (Plain(action->text()) == text) return action;
  return nullptr;
}

void DesktopWindow::UpdateCommands() {
  com::LONG loaded = 0;
  if (control_) control_->get_IsAudioFileLoaded(&loaded);
  const bool ready = loaded != 0 && !loading_;
  audioedit::MenuConditions c;
  if (ready) c = control_->ContextMenuConditions();
  auto enable = [&](const char* text, win::UINT id) {
    if (QAction* action = Command(QString::fromLatin1(text)))
      action->setEnabled(ready && audioedit::ContextItemEnabled(c, id));
  };
  enable("Zoom In", audioedit::ID_AE_ZOOMIN);
  enable("Zoom Out", audioedit::ID_AE_ZOOMOUT);
  enable("Full View", audioedit::ID_AE_FULLVIEW);
  enable("Play", audioedit::ID_AE_PLAY);
  enable("Pause", audioedit::ID_AE_PAUSE);
  enable("Stop", audioedit::ID_AE_STOP);
  Command(QStringLiteral("Play or Pause"))->setEnabled(ready);
  Command(QStringLiteral("Context Menu"))->setEnabled(ready);
  cancel_->setEnabled(loading_);
}

void DesktopWindow::ChooseFile() {
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("Open audio file"), QFileInfo(file_).path(),
      QStringLiteral("Audio files (*.mp3 *.wav *.ogg *.flac);;All files (*)"));
  if (!path.isEmpty()) Open(path);
}

void DesktopWindow::Open(const QString& path) {
  if (!control_) {
    Report(QStringLiteral("Cannot load '%1': the control could not be made.").arg(path));
    return;
  }
  if (!restoring_ && !loading_ && !loadedFile_.isEmpty()) {
    // What is shown now, to load again if the new file cannot be opened.
    loadedDividers_ = Dividers();
  }
  if (loading_) {
    // The load under way stops here; what it already reported is dropped, not shown under
    // the new file's name.
    control_->CancelLoading();
    discarding_ = true;
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    discarding_ = false;
  }
  loading_ = true;
  file_ = path;
  if (!restoring_) {
    dividerList_->clear();
    status_->setText(QStringLiteral("Loading '%1'…").arg(path));
  }
  progress_->setValue(0);
  progress_->show();
  UpdateCommands();
  const com::Bstr audio = com::Bstr::FromUtf8(path.toStdString());
  if (restoring_ && loadedDividers_.size() >= 2) {
    const com::SafeArrayPtr array = DividerArray(loadedDividers_);
    control_->LoadAudioFileDividers(audio.Get(), 0, nullptr, 0, array.get());
  } else {
    control_->LoadAudioFile(audio.Get(), 0, nullptr, 0);
  }
}

void DesktopWindow::CancelLoad() {
  if (!control_ || !loading_) return;
  control_->CancelLoading();
}

void DesktopWindow::RunCommand(com::HRESULT (AudioEditCtl::*command)()) {
  if (!control_) return;
  ((*control_).*command)();
  view_->Present();
  UpdateCommands();
}

void DesktopWindow::RunPlayback(com::HRESULT (AudioEditCtl::*command)(), const QString& what) {
  if (!control_) return;
  const com::HRESULT hr = ((*control_).*command)();
  view_->Present();
  UpdateCommands();
  if (!com::FAILED(hr)) return;
  const QString why = QString::fromStdString(control_->PlaybackSetUpError());
  status_->setText(QStringLiteral("Cannot %1 '%2': %3")
                       .arg(what, QFileInfo(file_).fileName(),
                            why.isEmpty() ? QStringLiteral("the control answered 0x%1")
                                                .arg(static_cast<std::uint32_t>(hr), 8, 16,
                                                     QLatin1Char('0'))
                                          : why));
}

void DesktopWindow::PlayOrPause() {
  if (!control_) return;
  if (control_->ContextMenuConditions().play == PlayState::kStopped) {
    RunPlayback(&AudioEditCtl::AudioPlay, QStringLiteral("play"));
  } else {
    RunPlayback(&AudioEditCtl::AudioPause, QStringLiteral("pause"));
  }
}

void DesktopWindow::OpenContextMenu() {
  view_->SendMessage(win::WM_CONTEXTMENU, 0, win::kKeyboardContextMenu);
  view_->Present();
}

bool DesktopWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && control_) {
    if (event->type() == QEvent::Wheel) {
      Wheel(static_cast<QWheelEvent*>(event));
      return true;
    }
    if (event->type() == QEvent::Resize && control_->View().Zoom() > 1) {
      // The widget handles the resize after this filter: remember the time at the left edge
      // now and scroll back to it once the view has its new width.
      leftMsBeforeResize_ = control_->View().Wave().Mapping().MillisecondsAtColumn(0);
      QMetaObject::invokeMethod(
          this,
          [this] {
            if (!leftMsBeforeResize_ || !control_) return;
            const std::uint64_t ms = *leftMsBeforeResize_;
            leftMsBeforeResize_.reset();
            const auto frame = static_cast<std::uint32_t>(ms * 75 / 1000);
            auto& wave = control_->View().Wave();
            wave.ScrollToColumn(wave.Mapping().AbsoluteColumnOfFrame(frame), false);
            view_->Present();
          },
          Qt::QueuedConnection);
    }
    if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::ContextMenu)
      QMetaObject::invokeMethod(this, [this] { UpdateCommands(); }, Qt::QueuedConnection);
  }
  return QMainWindow::eventFilter(watched, event);
}

void DesktopWindow::Wheel(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  wheelRemainder_ += delta.y() != 0 ? delta.y() : delta.x();
  const std::int64_t notches = wheelRemainder_ / kWheelNotch;
  wheelRemainder_ %= kWheelNotch;
  event->accept();
  if (notches == 0) return;
  if (event->modifiers() & Qt::ControlModifier) {
    for (std::int64_t i = 0; i < std::llabs(notches); ++i)
      RunCommand(notches > 0 ? &AudioEditCtl::ZoomIn : &AudioEditCtl::ZoomOut);
    return;
  }
  win::ScrollBar& bar = view_->HorizontalScrollBar();
  if (!bar.IsEnabled()) return;
  const win::ScrollInfo info = bar.GetInfo();
  const std::int64_t step = std::max<std::int64_t>(1, info.page / kWheelShare);
  const std::int64_t target = std::clamp<std::int64_t>(std::int64_t{info.pos} - notches * step, info.min,
                                                       std::max(bar.HighestPosition(), 0));
  view_->UserScroll(win::SB_THUMBPOSITION, static_cast<int>(target));
}

void DesktopWindow::closeEvent(QCloseEvent* event) {
  if (!dividersOut_.isEmpty()) {
    com::LONG loaded = 0;
    if (control_) control_->get_IsAudioFileLoaded(&loaded);
    std::string error;
    if (!loaded || loading_) {
      dividersOutError_ = QStringLiteral("%1 not written: no audio file is loaded").arg(dividersOut_);
    } else if (!WriteDividersFile(dividersOut_.toStdString(), Dividers(), error)) {
      dividersOutError_ = QString::fromStdString(error);
    }
  }
  event->accept();
}

void DesktopWindow::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void DesktopWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  Open(urls.front().toLocalFile());
}

void DesktopWindow::OnControlEvent(com::DISPID id, std::uint32_t first, std::uint32_t second) {
  if (discarding_) return;
  if (id == audioedit::DISPID_PeakFileProgress) return ShowProgress(first);
  if (id == audioedit::DISPID_DividerSelected) {
    const QSignalBlocker block(dividerList_);
    dividerList_->setCurrentRow(-1);
    for (int row = 0; row < dividerList_->count(); ++row)
      if (dividerList_->item(row)->data(Qt::UserRole).toUInt() == first && first != 0xFFFFFFFFu)
        dividerList_->setCurrentRow(row);
    com::ULONG current = 0;
    control_->get_CurrentFrame(&current);
    position_->setText(QStringLiteral("Position %1 (%2)")
                           .arg(FrameTime(first != 0xFFFFFFFFu ? first : current),
                                QLatin1String(kTimeFormatLabel)));
    return UpdateCommands();
  }
  if (id != audioedit::DISPID_AudioEditMsg) return;
  switch (first) {
    case audioedit::AEMSG_StartPeakFile:
      return ShowProgress(0);
    case audioedit::AEMSG_PeakError:
      if (second != audioedit::PEC_Success) ShowFailure(second);
      return;
    case audioedit::AEMSG_EndPeakFile:
      return ShowLoaded();
    case audioedit::AEMSG_UpdateDividers:
      FillDividerList();
      return UpdateCommands();
    case audioedit::AEMSG_State_Stopped:
    case audioedit::AEMSG_State_Paused:
    case audioedit::AEMSG_State_Running:
      return UpdateCommands();
    case audioedit::AEMSG_CurrentTimeMs:
      position_->setText(QStringLiteral("Position %1 (%2)")
                             .arg(FrameTime(static_cast<std::uint32_t>(std::uint64_t{second} * 75 / 1000)),
                                  QLatin1String(kTimeFormatLabel)));
      return;
    default:
      return;
  }
}

void DesktopWindow::ShowProgress(std::uint32_t percent) {
  const int shown = static_cast<int>(std::min<std::uint32_t>(percent, 100));
  progress_->show();
  progress_->setValue(shown);
  if (!restoring_)
    status_->setText(QStringLiteral("Building the peak file of '%1': %2%").arg(file_).arg(shown));
}

void DesktopWindow::ShowFailure(std::uint32_t code) {
  QString text;
  if (code == audioedit::PEC_LoadingCanceled) {
    text = QStringLiteral("Loading of '%1' cancelled.").arg(file_);
  } else {
    com::Bstr reason;
    control_->get_ErrorString(reason.Put());
    const QString why =
        reason.ToUtf8().empty()
            ? QString::fromUtf8(audioedit::PecMessage(static_cast<std::int32_t>(code)))
            : Text(reason);
    text = QStringLiteral("Cannot load '%1': %2").arg(file_, why);
  }
  const bool wasRestoring = std::exchange(restoring_, false);
  status_->setText(text);
  EndLoad();
  if (code != audioedit::PEC_LoadingCanceled && !wasRestoring) Report(text);
  // The file shown before stays: load it again, with its dividers.
  if (!wasRestoring && !loadedFile_.isEmpty()) {
    restoring_ = true;
    status_->setText(text + QStringLiteral(" Keeping '%1'.").arg(QFileInfo(loadedFile_).fileName()));
    Open(loadedFile_);
  }
}

void DesktopWindow::ShowLoaded() {
  audioedit::AUDIO_INFO info{};
  control_->GetAudioInfo(&info);
  const std::uint32_t frames = control_->State().TotalFrames();  // where the end divider goes
  if (!restoring_) {
    status_->setText(QStringLiteral("%1 — %2 channel(s), %3 Hz, length %4 (%5)")
                         .arg(QFileInfo(file_).fileName())
                         .arg(info.channels)
                         .arg(info.freq)
                         .arg(FrameTime(frames), QLatin1String(kTimeFormatLabel)));
  }
  restoring_ = false;
  loadedFile_ = file_;
  setWindowTitle(QStringLiteral("%1 — Tavolex").arg(QFileInfo(file_).fileName()));
  FillDividerList();
  EndLoad();
}

std::vector<DividerEntry> DesktopWindow::Dividers() const {
  std::vector<DividerEntry> out;
  if (!control_ || control_->InitEnumDividers() != com::S_OK) return out;
  for (;;) {
    com::LONG type = 0;
    com::LONG more = 0;
    com::ULONG frame = 0;
    if (control_->GetNextDivider(&type, &frame, &more) != com::S_OK || more == 0) return out;
    out.push_back(DividerEntry{type, frame});
  }
}

void DesktopWindow::FillDividerList() {
  const QSignalBlocker block(dividerList_);
  dividerList_->clear();
  com::ULONG selected = 0xFFFFFFFFu;
  control_->get_SelectedDivider(&selected);
  for (const DividerEntry& d : Dividers()) {
    auto* item = new QListWidgetItem(
        QStringLiteral("%1\t%2").arg(DividerKind(d.type), FrameTime(d.frame)), dividerList_);
    item->setData(Qt::UserRole, d.frame);
    if (d.frame == selected) dividerList_->setCurrentItem(item);
  }
}

void DesktopWindow::OnDividerRowChosen(int row) {
  if (row < 0 || row >= dividerList_->count() || !control_) return;
  const auto frame = dividerList_->item(row)->data(Qt::UserRole).toUInt();
  control_->put_SelectedDivider(frame);
  view_->Present();
  position_->setText(
      QStringLiteral("Position %1 (%2)").arg(FrameTime(frame), QLatin1String(kTimeFormatLabel)));
  UpdateCommands();
}

void DesktopWindow::EndLoad() {
  loading_ = false;
  progress_->hide();
  view_->Present();
  UpdateCommands();
  if (loadEnded_ && !restoring_) loadEnded_();
}

void DesktopWindow::Report(const QString& message) {
  if (message_) {
    message_(message);
  } else {
    QMessageBox::warning(this, QStringLiteral("Tavolex"), message);
  }
}

QString DesktopWindow::StatusText() const { return status_->text(); }

QStringList DesktopWindow::DividerLines() const {
  QStringList lines;
  for (int i = 0; i < dividerList_->count(); ++i) lines << dividerList_->item(i)->text();
  return lines;
}

}  // namespace desktop
