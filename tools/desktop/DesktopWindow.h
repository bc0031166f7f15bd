// The desktop host's main window: the audio edit control in a real window with the commands
// around it (open, cancel, zoom, play, pause, stop, the control's context menu), the load's
// progress and outcome in the status bar and the divider list below the wave.
//
// Times are shown in one format everywhere, minutes:seconds:frames (75 frames a second),
// labelled as such. Zoom and playback commands are enabled by the rules of the control's
// context menu. A failed open keeps the file that was loaded before: it is loaded again
// with its dividers, and the reason is shown in a message box.
//
// Threads: everything runs on the application's thread, which is the control's window
// thread; the control's events reach this window through ControlEventForwarder.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "audioedit/control/AudioEditCtl.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ConnectionInterfaces.h"
#include "platform/window/qt/QtWindow.h"
#include "tools/desktop/ControlEventForwarder.h"
#include "tools/desktop/DividersFile.h"

class QAction;
class QLabel;
class QListWidget;
class QProgressBar;

namespace desktop {

// The format every time in the window is shown in.
inline constexpr const char* kTimeFormatLabel = "mm:ss:ff";
QString FrameTime(std::uint32_t frame);

class DesktopWindow final : public QMainWindow {
 public:
  DesktopWindow();
  ~DesktopWindow() override;
  DesktopWindow(const DesktopWindow&) = delete;
  DesktopWindow& operator=(const DesktopWindow&) = delete;

  // Starts loading `path` (the outcome arrives later, in the status bar).
  void Open(const QString& path);
  // Called on the window thread whenever a load has ended, however it ended.
  void SetLoadEndedHandler(std::function<void()> handler) { loadEnded_ = std::move(handler); }
  // When the window closes, the divider list is written to `path` (see DividersFile.h).
  void SetDividersOut(const QString& path) { dividersOut_ = path; }
  // Empty unless writing the divider list at closing failed: then the reason.
  const QString& DividersOutError() const { return dividersOutError_; }
  // Failed opens report in a message box; tests may take the text instead.
  void SetMessageHandler(std::function<void(const QString&)> handler) {
    message_ = std::move(handler);
  }

  audioedit::AudioEditCtl& Control() { return *control_; }
  win::QtWindow& View() { return *view_; }
  QListWidget& DividerListWidget() { return *dividerList_; }
  QString StatusText() const;
  QStringList DividerLines() const;
  std::vector<DividerEntry> Dividers() const;
  // The commands, by their text without accelerators ("Play", "Zoom In", ...), or null.
  QAction* Command(const QString& text) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildCommands();
  void ChooseFile();
  void CancelLoad();
  void RunCommand(com::HRESULT (audioedit::AudioEditCtl::*command)());
  void RunPlayback(com::HRESULT (audioedit::AudioEditCtl::*command)(), const QString& what);
  void PlayOrPause();
  void OpenContextMenu();
  void Wheel(QWheelEvent* event);
  void OnControlEvent(com::DISPID id, std::uint32_t first, std::uint32_t second);
  void ShowProgress(std::uint32_t percent);
  void ShowFailure(std::uint32_t code);
  void ShowLoaded();
  void FillDividerList();
  void OnDividerRowChosen(int row);
  void EndLoad();
  void UpdateCommands();
  void Report(const QString& message);

  win::QtWindow* view_;       // owned by the widget tree
  QListWidget* dividerList_;  // owned by the widget tree
  QLabel* status_;            // owned by the status bar
  QLabel* position_;          // owned by the status bar
  QProgressBar* progress_;    // owned by the status bar
  QAction* cancel_ = nullptr;
  std::vector<QAction*> commands_;  // owned by this window
  com::ComPtr<audioedit::AudioEditCtl> control_;
  com::ComPtr<ControlEventForwarder> events_;
  com::ComPtr<com::IConnectionPoint> point_;
  com::DWORD cookie_ = 0;
  QString file_;
  QString loadedFile_;  // the file shown, kept when another one fails to open
  std::vector<DividerEntry> loadedDividers_;
  bool loading_ = false;     // from Open until the load's end is shown
  bool discarding_ = false;  // dropping the events of a replaced load
  bool restoring_ = false;   // loading loadedFile_ again after a failed open
  bool fillingList_ = false;
  std::int64_t wheelRemainder_ = 0;
  std::optional<std::uint32_t> leftMsBeforeResize_;
  QString dividersOut_;
  QString dividersOutError_;
  std::function<void()> loadEnded_;
  std::function<void(const QString&)> message_;
};

}  // namespace desktop
