#include "launcher/WizardError.h"

namespace launcher {

std::string WizardErrorDescription(com::IUnknown&, com::REFIID) { return {}; }

}  // namespace launcher
