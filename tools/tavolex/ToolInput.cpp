#include "tools/tavolex/ToolInput.h"

#include <sys/stat.h>

#include <chrono>

#include "audioedit/Pec.h"
#include "audioedit/control/AudioEditCtl.h"
#include "platform/fileio/InputOpen.h"
#include "platform/fileio/PathText.h"
#include "platform/window/HeadlessWindow.h"
#include "tools/tavolex/SignalWatcher.h"

namespace tavolex_cli {

std::string InputProblem(const std::string& path) {
  std::string reason;
  const fileio::UniqueFd fd = fileio::OpenRegularInput(path, &reason);
  if (!fd.IsOpen()) return reason;
  struct stat st {};
  if (::fstat(fd.Get(), &st) == 0 && st.st_size == 0) return "the file is empty";
  return {};
}

std::string LoadFailure(const std::string& path, int pec, const std::string& lead) {
  if (const std::string problem = InputProblem(path); !problem.empty())
    return "cannot open '" + path + "': " + problem;
  return lead + "'" + path + "': " + audioedit::PecMessage(pec);
}

com::Bstr PathBstr(const std::string& path) { return com::Bstr(fileio::PathToWide(path)); }

bool WaitForLoad(audioedit::AudioEditCtl& control, win::HeadlessWindow& window,
                 const SignalWatcher& signals, const std::function<bool()>& done) {
  window.RunUntil([&] { return done() || signals.Received() != 0; }, std::chrono::hours(24));
  if (signals.Received() == 0) return true;
  control.CancelLoading();
  window.RunPending();
  return false;
}

}  // namespace tavolex_cli
