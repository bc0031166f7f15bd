// A stand-in for the disc wizard component, so that corvana runs end to end: registered as
// "Pyrelle.DiscWizard", it says on stdout which method was called and with what. Its open
// method shows the file in the editor (EditorProcess.h) and returns when that is closed; a
// failure of the editor fails the method with the reason as error information.
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include "launcher/WizardInterface.h"
#include "platform/com/CodePage.h"
#include "platform/com/ErrorInfo.h"
#include "server/ModulePath.h"
#include "server/NoDispatch.h"
#include "server/ServerExports.h"
#include "tools/demowizard/EditorProcess.h"

namespace demowizard {
namespace {

inline constexpr com::CLSID CLSID_DemoWizard =
    com::MakeGuid("{9C2D4B71-3E58-4F0A-A6C3-5B8E1D7F2A90}");

class DemoWizard final : public com::ComObject<DemoWizard, server::NoDispatch<wizard::IDiscWizard>,
                                               com::ISupportErrorInfo> {
 public:
  explicit DemoWizard(com::ModuleLock* module) : ComObject(module) {}

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
    std::printf("wizard: start\n");
    std::fflush(stdout);
    if (result != nullptr) *result = 0;
    return com::S_OK;
  }

  com::HRESULT Open(const char* path, com::LONG mode, com::SHORT* result) override {
    if (path == nullptr) return com::E_POINTER;
    std::printf("wizard: open mode=%d path=%s\n", static_cast<int>(mode), path);
    std::fflush(stdout);
    const std::string library = server::ModulePath(&CLSID_DemoWizard);
    const std::string editor = EditorProgram(std::filesystem::path(library).parent_path());
    std::string error;
    if (!RunEditor(editor, path, error))
      return com::ReportError(wizard::IID_IDiscWizard, u"DemoWizard", com::Utf8ToUtf16(error),
                              com::E_FAIL);
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
