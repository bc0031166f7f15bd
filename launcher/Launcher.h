// The launcher: starts the disc wizard component and calls one of its methods.
//
// Platform calls in order: OleInitialize, CLSIDFromProgID("Pyrelle.DiscWizard"),
// CoCreateInstance (class context 7) for the wizard interface, one wizard method, Release,
// OleUninitialize. The wizard is always released and OLE always uninitialised.
//
// Exit status:
//   0  the wizard method succeeded, or the wizard is not registered or cannot be created
//      (the launcher then ends quietly, calling nothing);
//   1  the class registry file cannot be read or is damaged: one line on stderr naming the
//      file (and line), since a damaged file would otherwise look like a missing wizard;
//   1  the path does not fit the wizard's 1,024-byte path buffer (more than 1,023 bytes): the
//      launcher says so in one line on stderr and does not call the wizard, since a shortened
//      path would name another file;
//   1  the wizard method failed: one line on stderr,
//      "corvana: the wizard's <start|open> method failed: 0x8xxxxxxx[: <description>]", the
//      description coming from the wizard's error information when the object says it
//      supplies error information for the wizard interface.
#pragma once

#include <cstdio>
#include <string_view>

namespace launcher {

int RunLauncher(std::string_view commandLine, std::FILE* err);

}  // namespace launcher
