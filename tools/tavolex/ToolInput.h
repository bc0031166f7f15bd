// What the tools say about an input file they could not load, and how they hand file names
// to the control.
#pragma once

#include <functional>
#include <string>

#include "platform/com/Bstr.h"

namespace audioedit {
class AudioEditCtl;
}
namespace win {
class HeadlessWindow;
}

namespace tavolex_cli {

class SignalWatcher;

// Why `path` cannot be read as audio: the system's reason ("No such file or directory",
// "Is a directory", "Permission denied"), "is a FIFO, not a regular file", "the file is
// empty"; empty when the file itself is fine (its content is then the problem).
std::string InputProblem(const std::string& path);

// The error line of a failed load (without the command's prefix): "cannot open 'X': reason"
// when the file is the problem, else `lead` + "'X': " + the load result's message.
std::string LoadFailure(const std::string& path, int pec, const std::string& lead = "");

// A file name for the control: every byte of `path` is kept (fileio::PathToWide).
com::Bstr PathBstr(const std::string& path);

// Runs the window until `done` says the load is over or a signal came; after a signal the
// load is cancelled through the control (its partial peak file is removed) and false is
// returned.
bool WaitForLoad(audioedit::AudioEditCtl& control, win::HeadlessWindow& window,
                 const SignalWatcher& signals, const std::function<bool()>& done);

}  // namespace tavolex_cli
