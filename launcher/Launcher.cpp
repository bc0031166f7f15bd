#include "launcher/Launcher.h"

#include <cstring>

#include "launcher/CommandLine.h"
#include "launcher/WizardError.h"
#include "launcher/WizardInterface.h"
#include "platform/com/ComPtr.h"
#include "platform/registry/Activation.h"
#include "platform/registry/Registry.h"

namespace launcher {
namespace {

// OLE for the thread, from construction to destruction.
class OleSession {
 public:
  OleSession() { com::OleInitialize(nullptr); }  // its result is not needed
  ~OleSession() { com::OleUninitialize(); }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
};

int CallWizard(wizard::IDiscWizard& wizard, const WizardRequest& request, std::FILE* err) {
  com::SHORT result = 0;
  com::HRESULT hr;
  const char* method;
  if (request.method == WizardRequest::Method::kStart) {
    method = "start";
    hr = wizard.Start(&result);
  } else {
    if (request.path.size() >= kPathBufferSize) {
      std::fprintf(err,
                   "corvana: the path is %zu bytes long, more than the wizard accepts (%zu); "
                   "the wizard was not called\n",
                   request.path.size(), kPathBufferSize - 1);
      return 1;
    }
    char path[kPathBufferSize];
    std::memcpy(path, request.path.data(), request.path.size());
    path[request.path.size()] = '\0';
    method = "open";
    hr = wizard.Open(path, request.mode, &result);
  }
  if (com::SUCCEEDED(hr)) return 0;
  const std::string description = WizardErrorDescription(wizard, wizard::IID_IDiscWizard);
  std::fprintf(err, "corvana: the wizard's %s method failed: 0x%08X%s%s\n", method,
               static_cast<unsigned>(hr), description.empty() ? "" : ": ", description.c_str());
  return 1;
}

// Status when the wizard could not be created: quiet 0, unless the registry file itself is
// unreadable or damaged, which the user has to hear about to repair it.
int CreationFailed(std::FILE* err) {
  reg::Key root;
  const reg::Status s = reg::Registry::FromEnvironment().Read(root);
  if (s.ok()) return 0;
  std::fprintf(err, "corvana: cannot read the class registry: %s\n", s.message.c_str());
  return 1;
}

}  // namespace

int RunLauncher(std::string_view commandLine, std::FILE* err) {
  const OleSession ole;
  com::CLSID clsid;
  if (com::FAILED(com::CLSIDFromProgID(wizard::kWizardProgId, &clsid))) return CreationFailed(err);
  com::ComPtr<wizard::IDiscWizard> wizard;
  if (com::FAILED(com::CoCreateInstance(clsid, nullptr, com::CLSCTX_ALL, wizard::IID_IDiscWizard,
                                        wizard.PutVoid())) ||
      !wizard)
    return CreationFailed(err);
  return CallWizard(*wizard, ParseCommandLine(commandLine), err);
}

}  // namespace launcher
