// A minimal component server for the tests: one class, one registration script.
#include <array>

#include "server/ServerExports.h"
#include "tests/server/TestThing.h"

namespace testserver {
namespace {

class TestThing final : public com::ComObject<TestThing, ITestThing> {
 public:
  explicit TestThing(com::ModuleLock* module) : ComObject(module) {}
  auto Interfaces() {
    return std::array{com::Expose<ITestThing>(this, com::IID_IUnknown),
                      com::Expose<ITestThing>(this, IID_ITestThing)};
  }
  com::HRESULT Answer(com::LONG* value) override {
    if (value == nullptr) return com::E_POINTER;
    *value = 42;
    return com::S_OK;
  }
};

constexpr server::ClassEntry kClasses[] = {{&CLSID_TestThing, &server::CreateObject<TestThing>}};
constexpr std::string_view kScripts[] = {R"(
Test.Thing = "Test Thing"
  CLSID = "{5A0F1C2E-7D43-4B8A-9E61-0C2B7F9A4D11}"
CLSID [keep]
  {5A0F1C2E-7D43-4B8A-9E61-0C2B7F9A4D11} = "Test Thing" [replace]
    InprocServer32 = "%MODULE%"
      @ThreadingModel = "Apartment"
)"};

server::ComModule g_module({.classes = kClasses, .scripts = kScripts});

}  // namespace
}  // namespace testserver

DEFINE_SERVER_EXPORTS(testserver::g_module)
