// The editor the demo wizard opens a file in: the desktop host, run as a child process and
// waited for, so that the wizard's open call returns when the user has closed the window.
//
// The program is $DEMOWIZARD_EDITOR when set (a path, or a name looked up on PATH), else
// tavolex-desktop in the bin folder beside the wizard library's folder (<build>/lib ->
// <build>/bin), else tavolex-desktop on PATH. With $DEMOWIZARD_SCREENSHOT set the editor gets
// `--screenshot <that path>` after the file, so that it saves its picture and closes (for a
// machine without a person at the screen).
#pragma once

#include <filesystem>
#include <string>

namespace demowizard {

// The program to start, as described above; `libraryDir` is the folder of the wizard library.
std::string EditorProgram(const std::filesystem::path& libraryDir);

// Starts `program` with `file` (no shell) and waits for it. True when it exited with status
// 0; otherwise false with one line in `error` saying what happened.
bool RunEditor(const std::string& program, const std::string& file, std::string& error);

}  // namespace demowizard
