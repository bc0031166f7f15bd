// A stand-in for the disc wizard component, so that corvana runs end to end: registered as
// "Pyrelle.DiscWizard", it says on stdout which method was called and with what.
#include <array>
#include <cstdio>

#include "launcher/WizardInterface.h"
#include "server/NoDispatch.h"
#include "server/ServerExports.h"

namespace demowizard {
namespace {

inline constexpr com::CLSID CLSID_DemoWizard =
    com::MakeGuid("{9C2D4B71-3E58-4F0A-A6C3-5B8E1D7F2A90}");

class DemoWizard final
    : public com::ComObject<DemoWizard, server::NoDispatch<wizard::IDiscWizard>> {
 public:
  explicit DemoWizard(com::ModuleLock* module) : ComObject(module) {}

  auto Interfaces() {
    return std::array{com::Expose<wizard::IDiscWizard>(this, com::IID_IUnknown),
                      com::Expose<wizard::IDiscWizard>(this, com::IID_IDispatch),
                      com::Expose<wizard::IDiscWizard>(this, wizard::IID_IDiscWizard)};
  }

  com::HRESULT Start(com::SHORT* result) override {
    std::printf("wizard: start\n");
    std::fflush(stdout);
    if (result != nullptr) *result = 0;
    return com::S_OK;
  }

  com::HRESULT Open(const char* path, com::LONG mode, com::SHORT* result) override {
    if (path == nullptr) return com::E_POINTER;
    std::printf("wizard: open mode=%d path=%s\n", static_cast<int>(mode), path);
    std::fflush(stdout);
    if (result != nullptr) *result = 0;
    return com::S_OK;
  }
};

constexpr server::ClassEntry kClasses[] = {{&CLSID_DemoWizard, &server::CreateObject<DemoWizard>}};

constexpr std::string_view kScripts[] = {R"(
Pyrelle.DiscWizard = "Demo Disc Wizard"
  CLSID = "{9C2D4B71-3E58-4F0A-A6C3-5B8E1D7F2A90}"
CLSID [keep]
  {9C2D4B71-3E58-4F0A-A6C3-5B8E1D7F2A90} = "Demo Disc Wizard" [replace]
    ProgID = "Pyrelle.DiscWizard"
    InprocServer32 = "%MODULE%"
      @ThreadingModel = "Apartment"
)"};

server::ComModule g_module({.classes = kClasses, .scripts = kScripts});

}  // namespace
}  // namespace demowizard

DEFINE_SERVER_EXPORTS(demowizard::g_module)
