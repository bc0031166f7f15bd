// The component server of the audio edit control: its class table, registration scripts
// and type library identity, and the four exports.
#include <array>
#include <string>
#include <string_view>

#include "audioedit/control/AudioEditCtl.h"
#include "audioedit/control/AudioEditCtlIds.h"
#include "server/ServerExports.h"

namespace {

constexpr std::string_view kModuleScript = R"(AppID [keep]
  %APPID% = "Tavolex"
  Tavolex.DLL
    @AppID = "%APPID%"
)";

constexpr std::string_view kControlScript = R"(Tavolex.AudioEditCtl.1 = "AudioEditCtl Class"
  CLSID = "{F0884FF2-F827-4F03-8791-293AB03D2455}"
Tavolex.AudioEditCtl = "AudioEditCtl Class"
  CLSID = "{F0884FF2-F827-4F03-8791-293AB03D2455}"
  CurVer = "Tavolex.AudioEditCtl.1"
CLSID [keep]
  {F0884FF2-F827-4F03-8791-293AB03D2455} = "AudioEditCtl Class" [replace]
    ProgID = "Tavolex.AudioEditCtl.1"
    VersionIndependentProgID = "Tavolex.AudioEditCtl"
    Programmable [replace]
    InprocServer32 = "%MODULE%"
      @ThreadingModel = "Apartment"
    @AppID = "%APPID%"
    Control [replace]
    ToolboxBitmap32 = "%MODULE%, 102" [replace]
    MiscStatus = "0"
      1 = "%OLEMISC%"
    TypeLib = "{7F7CB5A0-6B78-4B5B-9E36-BA3CA85BB7CB}"
    Version = "1.0"
)";

const std::array<server::ClassEntry, 1> kClasses = {{
    {&audioedit::CLSID_AudioEditCtl, &server::CreateObject<audioedit::AudioEditCtl>},
}};
const std::array<std::string_view, 2> kScripts = {kModuleScript, kControlScript};
const std::array<server::Replacement, 2> kReplacements = {{
    {"APPID", com::GuidToString(audioedit::APPID_Tavolex)},
    {"OLEMISC", std::to_string(audioedit::kAudioEditCtlMiscStatus)},
}};
const std::array<com::TypeLibInterface, 2> kInterfaces = {{
    {audioedit::IID_IAudioEditCtl, "IAudioEditCtl"},
    {audioedit::DIID__IAudioEditCtlEvents, "_IAudioEditCtlEvents"},
}};
const com::TypeLibDescription kTypeLib{
    audioedit::LIBID_TavolexLib, 1, 0, 1033, "Tavolex 1.0 Type Library", {}, kInterfaces};

server::ComModule g_module(server::ModuleDescription{kClasses, kScripts, kReplacements, &kTypeLib});

}  // namespace

DEFINE_SERVER_EXPORTS(g_module)
