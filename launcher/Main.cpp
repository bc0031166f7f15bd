// corvana [-o PATH | -l PATH]: starts the disc wizard, or asks it to open PATH.
#include <cstdio>

#include "launcher/CommandLine.h"
#include "launcher/Launcher.h"

int main(int argc, char** argv) {
  return launcher::RunLauncher(launcher::JoinArguments(argc, argv), stderr);
}
