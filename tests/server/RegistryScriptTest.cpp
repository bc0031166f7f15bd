#include <gtest/gtest.h>

#include <fstream>

#include "platform/registry/RegistryText.h"
#include "server/ComModule.h"
#include "tests/platform/registry/TempDir.h"

namespace {

using server::Replacement;
using server::RunRegistryScript;
using server::ScriptMode;

// Shaped like a control server's scripts: module identity, ProgIDs, class key.
constexpr std::string_view kModuleScript = R"(
AppID [keep]
  %APPID% = "Widget"
  Widget.DLL
    @AppID = "%APPID%"
)";

constexpr std::string_view kControlScript = R"(
# the version-dependent and -independent ProgIDs
Widget.Ctl.1 = "Ctl Class"
  CLSID = "{11111111-2222-3333-4444-555555555555}"
Widget.Ctl = "Ctl Class"
  CLSID = "{11111111-2222-3333-4444-555555555555}"
  CurVer = "Widget.Ctl.1"
CLSID [keep]
  {11111111-2222-3333-4444-555555555555} = "Ctl Class" [replace]
    @AppID = "%APPID%"
    ProgID = "Widget.Ctl.1"
    Programmable [replace]
    InprocServer32 = "%MODULE%"
      @ThreadingModel = "Apartment"
    "Toolbox Bitmap" = "%MODULE%, 102" [replace]
    MiscStatus = "0"
      1 = "%OLEMISC%"
    Version = "1.0"
)";

const Replacement kReplacements[] = {{"MODULE", "/opt/lib/libWidget.so"},
                                     {"APPID", "{33333333-3380-4884-8331-ACC9F20115DB}"},
                                     {"OLEMISC", "131473"}};

class Script : public ::testing::Test {
 protected:
  std::unique_ptr<reg::Key> Snapshot() {
    reg::Key root;
    EXPECT_TRUE(registry_.Read(root).ok());
    return root.Clone();
  }
  std::string Get(std::string_view path, std::string_view name = "") {
    std::string out;
    return registry_.GetString(path, name, out).ok() ? out : "<missing>";
  }
  void Run(std::string_view script, ScriptMode mode) {
    const reg::Status s = RunRegistryScript(registry_, script, kReplacements, mode);
    ASSERT_TRUE(s.ok()) << s.message;
  }

  testutil::TempDir dir_;
  reg::Registry registry_{dir_ / "registry"};
};

TEST_F(Script, RegisterWritesKeysValuesAndReplacements) {
  Run(kModuleScript, ScriptMode::kRegister);
  Run(kControlScript, ScriptMode::kRegister);
  const std::string cls = "CLSID\\{11111111-2222-3333-4444-555555555555}";
  EXPECT_EQ(Get("AppID\\{33333333-3380-4884-8331-ACC9F20115DB}"), "Widget");
  EXPECT_EQ(Get("AppID\\Widget.DLL", "AppID"), "{33333333-3380-4884-8331-ACC9F20115DB}");
  EXPECT_EQ(Get("Widget.Ctl\\CurVer"), "Widget.Ctl.1");
  EXPECT_EQ(Get(cls), "Ctl Class");
  EXPECT_EQ(Get(cls, "AppID"), "{33333333-3380-4884-8331-ACC9F20115DB}");
  EXPECT_EQ(Get(cls + "\\InprocServer32"), "/opt/lib/libWidget.so");
  EXPECT_EQ(Get(cls + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(Get(cls + "\\Toolbox Bitmap"), "/opt/lib/libWidget.so, 102");
  EXPECT_EQ(Get(cls + "\\MiscStatus\\1"), "131473");
  std::vector<std::pair<std::string, reg::Value>> values;
  ASSERT_TRUE(registry_.EnumValues(cls + "\\Programmable", values).ok());
  EXPECT_TRUE(values.empty());
}

TEST_F(Script, UnregisterRestoresTheRegistryExceptKeptKeys) {
  ASSERT_TRUE(registry_.SetValue("Other.Thing\\CLSID", "", std::string("{X}")).ok());
  ASSERT_TRUE(
      registry_
          .SetValue("CLSID\\{AAAAAAAA-0000-0000-0000-000000000000}", "", std::string("Neighbour"))
          .ok());
  // A ProgID key that is shared with something else: it keeps its foreign value.
  ASSERT_TRUE(registry_.SetValue("Widget.Ctl", "Foreign", std::string("stay")).ok());
  const auto before = Snapshot();
  Run(kModuleScript, ScriptMode::kRegister);
  Run(kControlScript, ScriptMode::kRegister);
  Run(kControlScript, ScriptMode::kUnregister);
  Run(kModuleScript, ScriptMode::kUnregister);
  auto after = Snapshot();
  // AppID is never removed; it did not exist before.
  ASSERT_NE(after->Find("AppID"), nullptr);
  EXPECT_TRUE(after->Find("AppID")->Empty());
  after->Remove("AppID", true);
  EXPECT_TRUE(after->SameAs(*before)) << reg::FormatRegistryText(*after);
  EXPECT_EQ(Get("Widget.Ctl", "Foreign"), "stay");
  EXPECT_EQ(Get("Widget.Ctl"), "<missing>");  // the script's own default value went with it
}

TEST_F(Script, ReplacedKeysLoseTheirOldSubtree) {
  const std::string cls = "CLSID\\{11111111-2222-3333-4444-555555555555}";
  ASSERT_TRUE(registry_.SetValue(cls + "\\Stale\\Deep", "", std::string("old")).ok());
  ASSERT_TRUE(registry_.SetValue(cls + "\\Programmable\\Junk", "", std::string("old")).ok());
  ASSERT_TRUE(registry_.SetValue(cls, "Extra", std::string("old")).ok());
  Run(kControlScript, ScriptMode::kRegister);
  EXPECT_EQ(Get(cls + "\\Stale\\Deep"), "<missing>");
  EXPECT_EQ(Get(cls + "\\Programmable\\Junk"), "<missing>");
  EXPECT_EQ(Get(cls, "Extra"), "<missing>");
  EXPECT_EQ(Get(cls + "\\ProgID"), "Widget.Ctl.1");
  Run(kControlScript, ScriptMode::kUnregister);
  std::vector<std::string> keys;
  ASSERT_TRUE(registry_.EnumSubkeys("CLSID", keys).ok());
  EXPECT_TRUE(keys.empty());
}

TEST_F(Script, UnregisteringWhatIsNotThereIsFine) {
  Run(kControlScript, ScriptMode::kUnregister);
  reg::Key root;
  ASSERT_TRUE(registry_.Read(root).ok());
  EXPECT_TRUE(root.Empty());
}

TEST_F(Script, MalformedScriptsAreRefusedWithTheLine) {
  const struct {
    std::string_view script;
    std::string_view expected;
  } cases[] = {
      {"A = unquoted", "registration script line 1: a value must be a quoted string"},
      {"A\n  @v", "registration script line 2: value without '='"},
      {"@v = \"x\"", "registration script line 1: value outside a key"},
      {"A = \"%NOPE%\"", "registration script line 1: unknown replacement %NOPE%"},
      {"A = \"50%\"", "registration script line 1: unmatched '%'"},
      {"A [sometimes]", "registration script line 1: unexpected text '[sometimes]'"},
      {"\n\n\"a\\\\b\"", "registration script line 3: key name is empty or contains a backslash"},
  };
  for (const auto& c : cases) {
    const reg::Status s =
        RunRegistryScript(registry_, c.script, kReplacements, ScriptMode::kRegister);
    EXPECT_EQ(s.code, com::E_UNEXPECTED) << c.script;
    EXPECT_EQ(s.message, c.expected);
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "registry"));
  Run("A = \"100%% sure\"", ScriptMode::kRegister);
  EXPECT_EQ(Get("A"), "100% sure");
}

TEST_F(Script, ModuleRegistrationIsAllOrNothing) {
  static constexpr std::string_view kScripts[] = {"First = \"1\"", "Second = \"%MISSING%\"",
                                                  "Third = \"3\""};
  const server::ComModule module({.scripts = kScripts});
  const reg::Status s = module.UpdateRegistration(registry_, ScriptMode::kRegister, "/x/lib.so");
  EXPECT_EQ(s.code, com::E_UNEXPECTED);
  EXPECT_EQ(Get("First"), "<missing>");  // the scripts before the bad one are not kept either
  EXPECT_EQ(Get("Third"), "<missing>");
}

TEST_F(Script, UnwritableRegistryFailsAndTypeLibraryIsNotRegistered) {
  static constexpr std::string_view kScripts[] = {kControlScript};
  static const Replacement kExtra[] = {{"APPID", "{A}"}, {"OLEMISC", "1"}};
  static const com::TypeLibDescription kTypeLib{
      .libid = com::MakeGuid("{7F7CB5A0-6B78-4B5B-9E36-BA3CA85BB7CB}"), .helpString = "Lib"};
  const server::ComModule module(
      {.scripts = kScripts, .replacements = kExtra, .typeLib = &kTypeLib});
  std::ofstream(dir_ / "file") << "x";
  reg::Registry blocked(dir_ / "file" / "registry");
  const reg::Status s = module.UpdateRegistration(blocked, ScriptMode::kRegister, "/x/lib.so");
  EXPECT_EQ(s.code, com::REGDB_E_WRITEREGDB);
  EXPECT_NE(s.message.find((dir_ / "file").string()), std::string::npos) << s.message;

  ASSERT_TRUE(module.UpdateRegistration(registry_, ScriptMode::kRegister, "/x/lib.so").ok());
  const std::string lib = "TypeLib\\{7F7CB5A0-6B78-4B5B-9E36-BA3CA85BB7CB}\\1.0";
  EXPECT_EQ(Get(lib), "Lib");
  EXPECT_EQ(Get(lib + "\\0\\linux"), "/x/lib.so");
  EXPECT_EQ(Get(lib + "\\HELPDIR"), "/x");
  ASSERT_TRUE(module.UpdateRegistration(registry_, ScriptMode::kUnregister, "/x/lib.so").ok());
  std::vector<std::string> keys;
  ASSERT_TRUE(registry_.EnumSubkeys("", keys).ok());
  EXPECT_EQ(keys, (std::vector<std::string>{"CLSID", "TypeLib"}));
}

}  // namespace
