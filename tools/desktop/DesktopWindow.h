// The desktop host's main window: the audio edit control in a real window, with commands to
// open a file and to zoom, the load's progress and outcome in the status bar and the
// divider list of the loaded file below the wave.
//
// Threads: everything runs on the application's thread, which is the control's window
// thread; the control's events reach this window through ControlEventForwarder.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>

#include "audioedit/control/AudioEditCtl.h"
#include "platform/com/ComPtr.h"
#include "platform/com/ConnectionInterfaces.h"
#include "platform/window/qt/QtWindow.h"
#include "tools/desktop/ControlEventForwarder.h"

class QLabel;
class QListWidget;
class QProgressBar;

namespace desktop {

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

  audioedit::AudioEditCtl& Control() { return *control_; }
  win::QtWindow& View() { return *view_; }
  QString StatusText() const;
  QStringList DividerLines() const;

 private:
  void BuildCommands();
  void ChooseFile();
  void RunCommand(com::HRESULT (audioedit::AudioEditCtl::*command)());
  void OnControlEvent(com::DISPID id, std::uint32_t first, std::uint32_t second);
  void ShowProgress(std::uint32_t percent);
  void ShowFailure(std::uint32_t code);
  void ShowLoaded();
  void FillDividerList();
  void EndLoad();

  win::QtWindow* view_;       // owned by the widget tree
  QListWidget* dividerList_;  // owned by the widget tree
  QLabel* status_;            // owned by the status bar
  QProgressBar* progress_;    // owned by the status bar
  com::ComPtr<audioedit::AudioEditCtl> control_;
  com::ComPtr<ControlEventForwarder> events_;
  com::ComPtr<com::IConnectionPoint> point_;
  com::DWORD cookie_ = 0;
  QString file_;
  bool loading_ = false;     // from Open until the load's end is shown
  bool discarding_ = false;  // dropping the events of a replaced load
  std::function<void()> loadEnded_;
};

}  // namespace desktop
