// The component server of the track information library: its class table, registration
// script and type library identity, and the four exports.
#include <array>
#include <string_view>

#include "info/InfoInterfaces.h"
#include "info/TrackFactory.h"
#include "server/ServerExports.h"

namespace {

constexpr std::string_view kFactoryScript = R"(Info.TrackFactory.1 = "TrackFactory Class"
  CLSID = "{F9050B08-7436-49BE-9ED7-AF0D620FD88D}"
Info.TrackFactory = "TrackFactory Class"
  CLSID = "{F9050B08-7436-49BE-9ED7-AF0D620FD88D}"
  CurVer = "Info.TrackFactory.1"
CLSID [keep]
  {F9050B08-7436-49BE-9ED7-AF0D620FD88D} = "TrackFactory Class" [replace]
    ProgID = "Info.TrackFactory.1"
    VersionIndependentProgID = "Info.TrackFactory"
    Programmable [replace]
    InprocServer32 = "%MODULE%"
      @ThreadingModel = "Apartment"
    TypeLib = "{A682850C-3AF2-4F2D-9E1F-511D422FCA01}"
)";

const std::array<server::ClassEntry, 1> kClasses = {{
    {&info::CLSID_TrackFactory, &server::CreateObject<info::TrackFactory>},
}};
const std::array<std::string_view, 1> kScripts = {kFactoryScript};
const std::array<com::TypeLibInterface, 3> kInterfaces = {{
    {info::IID_ITrackFactory, "ITrackFactory"},
    {info::IID_ITrack, "ITrack"},
    {info::IID_IPictures, "IPictures"},
}};
const com::TypeLibDescription kTypeLib{info::LIBID_INFO, 1, 0, 1033, "INFO 1.0 Type Library", {}, kInterfaces};

server::ComModule g_module(server::ModuleDescription{kClasses, kScripts, {}, &kTypeLib});

}  // namespace

DEFINE_SERVER_EXPORTS(g_module)
