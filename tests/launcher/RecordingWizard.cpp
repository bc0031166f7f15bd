// A disc wizard for the launcher tests. Every event is appended as one line to the file
// named by WIZARD_RECORD: "start", "open mode=<m> path=<p>", "release" (the object is
// destroyed), "can-unload <status>" (DllCanUnloadNow) and "unload" (the library goes away).
// With WIZARD_FAIL set, both methods fail with E_FAIL and leave the error information
// "the disc drive is not ready" for the wizard interface.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "launcher/WizardInterface.h"
#include "platform/com/ErrorInfo.h"
#include "server/NoDispatch.h"
#include "server/ServerExports.h"
#include "tests/launcher/RecordingWizardIds.h"

namespace recording {
namespace {

void Record(const std::string& line) {
  const char* file = std::getenv("WIZARD_RECORD");
  if (file == nullptr) return;
  if (std::FILE* f = std::fopen(file, "a")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

com::HRESULT Outcome() {
  if (std::getenv("WIZARD_FAIL") == nullptr) return com::S_OK;
  return com::ReportError(wizard::IID_IDiscWizard, u"RecordingWizard",
                          u"the disc drive is not ready", com::E_FAIL);
}

class Wizard final : public com::ComObject<Wizard, server::NoDispatch<wizard::IDiscWizard>,
                                           com::ISupportErrorInfo> {
 public:
  explicit Wizard(com::ModuleLock* module) : ComObject(module) {}
  ~Wizard() { Record("release"); }

  auto Interfaces() {
    return std::array{com::Expose<wizard::IDiscWizard>(this, com::IID_IUnknown),
                      com::Expose<wizard::IDiscWizard>(this, com::IID_IDispatch),
                      com::Expose<wizard::IDiscWizard>(this, wizard::IID_IDiscWizard),
                      com::Expose<com::ISupportErrorInfo>(this, com::IID_ISupportErrorInfo)};
  }

  com::HRESULT InterfaceSupportsErrorInfo(com::REFIID riid) override {
    return riid == wizard::IID_IDiscWizard ? com::S_OK : com::S_FALSE;
  }

  com::HRESULT Start(com::SHORT* result) override {
    Record("start");
    *result = 1;
    return Outcome();
  }
  com::HRESULT Open(const char* path, com::LONG mode, com::SHORT* result) override {
    Record("open mode=" + std::to_string(mode) + " path=" + path);
    *result = 1;
    return Outcome();
  }
};

struct UnloadRecorder {
  UnloadRecorder() = default;
  UnloadRecorder(const UnloadRecorder&) = delete;
  UnloadRecorder& operator=(const UnloadRecorder&) = delete;
  ~UnloadRecorder() { Record("unload"); }
};

constexpr server::ClassEntry kClasses[] = {{&CLSID_RecordingWizard, &server::CreateObject<Wizard>}};
constexpr std::string_view kScripts[] = {R"(
Pyrelle.DiscWizard = "Recording Wizard"
  CLSID = "{3E1B6A20-96F4-4C53-8D0B-7A2E5C914F61}"
CLSID [keep]
  {3E1B6A20-96F4-4C53-8D0B-7A2E5C914F61} = "Recording Wizard" [replace]
    InprocServer32 = "%MODULE%"
      @ThreadingModel = "Apartment"
)"};

UnloadRecorder g_unload;
server::ComModule g_module({.classes = kClasses, .scripts = kScripts});

}  // namespace
}  // namespace recording

SERVER_EXPORT com::HRESULT DllGetClassObject(com::REFCLSID clsid, com::REFIID riid, void** ppv) {
  return recording::g_module.GetClassObject(clsid, riid, ppv);
}
SERVER_EXPORT com::HRESULT DllCanUnloadNow() {
  const com::HRESULT hr = recording::g_module.CanUnloadNow();
  recording::Record("can-unload " + std::to_string(hr));
  return hr;
}
SERVER_EXPORT com::HRESULT DllRegisterServer() { return recording::g_module.RegisterServer(); }
SERVER_EXPORT com::HRESULT DllUnregisterServer() { return recording::g_module.UnregisterServer(); }
