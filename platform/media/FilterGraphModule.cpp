// libFilterGraph.so: the component server of the filter graph (playback), its class table
// and registration script, and the four exports.
#include <array>
#include <string_view>

#include "platform/media/FilterGraph.h"
#include "server/ServerExports.h"

namespace media {
namespace {

constexpr server::ClassEntry kClasses[] = {
    {&CLSID_FilterGraph, &server::CreateObject<FilterGraph>}};

constexpr std::string_view kScripts[] = {R"(
CLSID [keep]
  {E436EBB3-524F-11CE-9F53-0020AF0BA770} = "Filter Graph" [replace]
    InprocServer32 = "%MODULE%"
      @ThreadingModel = "Both"
)"};

server::ComModule g_module({.classes = kClasses, .scripts = kScripts});

}  // namespace
}  // namespace media

DEFINE_SERVER_EXPORTS(media::g_module)
