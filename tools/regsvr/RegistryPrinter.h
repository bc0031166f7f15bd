// The registry tree as indented text, one key per line with its default value, named values
// on "@name = value" lines under their key, in the layout of the registration scripts.
#pragma once

#include <string>

#include "platform/registry/RegistryKey.h"

namespace regsvr {

std::string PrintRegistry(const reg::Key& root);

}  // namespace regsvr
