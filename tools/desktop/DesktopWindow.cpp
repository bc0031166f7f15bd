#include "tools/desktop/DesktopWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "audioedit/Divider.h"
#include "audioedit/Pec.h"
#include "audioedit/control/ControlView.h"
#include "platform/com/Bstr.h"

namespace desktop {
namespace {

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

// A position in CD frames (75 per second) as minutes:seconds:frames.
QString FrameTime(std::uint32_t frame) {
  return QStringLiteral("%1:%2:%3")
      .arg(frame / 4500)
      .arg(frame / 75 % 60, 2, 10, QLatin1Char('0'))
      .arg(frame % 75, 2, 10, QLatin1Char('0'));
}

QString Text(const com::Bstr& text) { return QString::fromStdString(text.ToUtf8()); }

}  // namespace

DesktopWindow::DesktopWindow()
    : view_(new win::QtWindow),
      dividerList_(new QListWidget),
      status_(new QLabel),
      progress_(new QProgressBar),
      control_(com::MakeObject<audioedit::AudioEditCtl>()) {
  setWindowTitle(QStringLiteral("Tavolex"));
  auto* split = new QSplitter(Qt::Vertical);
  view_->setMinimumSize(320, 120);
  split->addWidget(view_);
  split->addWidget(dividerList_);
  split->setStretchFactor(0, 4);
  split->setStretchFactor(1, 1);
  setCentralWidget(split);
  progress_->setRange(0, 100);
  progress_->setMaximumWidth(200);
  progress_->hide();
  statusBar()->addWidget(status_, 1);
  statusBar()->addPermanentWidget(progress_);
  status_->setText(QStringLiteral("Open an audio file to see its wave."));
  BuildCommands();
  resize(900, 420);

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
  QToolBar* tools = addToolBar(QStringLiteral("Commands"));
  tools->setMovable(false);

  QAction* open = fileMenu->addAction(QStringLiteral("&Open…"), this, [this] { ChooseFile(); });
  open->setShortcut(QKeySequence::Open);
  fileMenu->addSeparator();
  QAction* quit = fileMenu->addAction(QStringLiteral("&Quit"), this, [this] { close(); });
  quit->setShortcut(QKeySequence::Quit);

  QAction* zoomIn = viewMenu->addAction(QStringLiteral("Zoom &In"), this,
                                        [this] { RunCommand(&audioedit::AudioEditCtl::ZoomIn); });
  zoomIn->setShortcut(QKeySequence::ZoomIn);
  QAction* zoomOut = viewMenu->addAction(QStringLiteral("Zoom &Out"), this,
                                         [this] { RunCommand(&audioedit::AudioEditCtl::ZoomOut); });
  zoomOut->setShortcut(QKeySequence::ZoomOut);
  QAction* full = viewMenu->addAction(QStringLiteral("&Full View"), this, [this] {
    RunCommand(&audioedit::AudioEditCtl::ZoomOutFull);
  });
  full->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));

  tools->addAction(open);
  tools->addSeparator();
  tools->addAction(zoomIn);
  tools->addAction(zoomOut);
  tools->addAction(full);
}

void DesktopWindow::ChooseFile() {
  const QString path = QFileDialog::getOpenFileName(
      this, QStringLiteral("Open audio file"), QFileInfo(file_).path(),
      QStringLiteral("Audio files (*.mp3 *.wav *.ogg *.flac);;All files (*)"));
  if (!path.isEmpty()) Open(path);
}

void DesktopWindow::Open(const QString& path) {
  if (!control_) {
    status_->setText(QStringLiteral("Cannot load '%1': the control could not be made.").arg(path));
    return;
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
  dividerList_->clear();
  status_->setText(QStringLiteral("Loading '%1'…").arg(path));
  progress_->setValue(0);
  progress_->show();
  const com::Bstr audio = com::Bstr::FromUtf8(path.toStdString());
  control_->LoadAudioFile(audio.Get(), 0, nullptr, 0);
}

void DesktopWindow::RunCommand(com::HRESULT (audioedit::AudioEditCtl::*command)()) {
  if (!control_) return;
  ((*control_).*command)();
  view_->Present();
}

void DesktopWindow::OnControlEvent(com::DISPID id, std::uint32_t first, std::uint32_t second) {
  if (discarding_) return;
  if (id == audioedit::DISPID_PeakFileProgress) return ShowProgress(first);
  if (id != audioedit::DISPID_AudioEditMsg) return;
  if (first == audioedit::AEMSG_StartPeakFile) return ShowProgress(0);
  if (first == audioedit::AEMSG_PeakError && second != audioedit::PEC_Success)
    return ShowFailure(second);
  if (first == audioedit::AEMSG_EndPeakFile) return ShowLoaded();
}

void DesktopWindow::ShowProgress(std::uint32_t percent) {
  const int shown = static_cast<int>(std::min<std::uint32_t>(percent, 100));
  progress_->show();
  progress_->setValue(shown);
  status_->setText(QStringLiteral("Building the peak file of '%1': %2%").arg(file_).arg(shown));
}

void DesktopWindow::ShowFailure(std::uint32_t code) {
  if (code == audioedit::PEC_LoadingCanceled) {
    status_->setText(QStringLiteral("Loading of '%1' cancelled.").arg(file_));
  } else {
    com::Bstr text;
    control_->get_ErrorString(text.Put());
    const QString reason =
        text.ToUtf8().empty()
            ? QString::fromUtf8(audioedit::PecMessage(static_cast<std::int32_t>(code)))
            : Text(text);
    status_->setText(QStringLiteral("Cannot load '%1': %2").arg(file_, reason));
  }
  EndLoad();
}

void DesktopWindow::ShowLoaded() {
  audioedit::AUDIO_INFO info{};
  control_->GetAudioInfo(&info);
  const std::uint32_t seconds = info.duration / 1000;
  status_->setText(QStringLiteral("%1 — %2 channel(s), %3 Hz, %4:%5.%6")
                       .arg(QFileInfo(file_).fileName())
                       .arg(info.channels)
                       .arg(info.freq)
                       .arg(seconds / 60)
                       .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                       .arg(info.duration % 1000, 3, 10, QLatin1Char('0')));
  FillDividerList();
  EndLoad();
}

void DesktopWindow::FillDividerList() {
  dividerList_->clear();
  if (control_->InitEnumDividers() != com::S_OK) return;
  for (;;) {
    com::LONG type = 0;
    com::LONG more = 0;
    com::ULONG frame = 0;
    if (control_->GetNextDivider(&type, &frame, &more) != com::S_OK || more == 0) break;
    dividerList_->addItem(
        QStringLiteral("%1\t%2\t(frame %3)").arg(DividerKind(type), FrameTime(frame)).arg(frame));
  }
}

void DesktopWindow::EndLoad() {
  loading_ = false;
  progress_->hide();
  view_->Present();
  if (loadEnded_) loadEnded_();
}

QString DesktopWindow::StatusText() const { return status_->text(); }

QStringList DesktopWindow::DividerLines() const {
  QStringList lines;
  for (int i = 0; i < dividerList_->count(); ++i) lines << dividerList_->item(i)->text();
  return lines;
}

}  // namespace desktop
