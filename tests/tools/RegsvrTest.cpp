// regsvr and the demo wizard as real processes, on a temporary registry.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/launcher/ProcessRunner.h"
#include "tests/platform/registry/TempDir.h"

namespace {

const std::string kRegsvr = PROJECT_BIN_DIR "/regsvr";
const std::string kCorvana = PROJECT_BIN_DIR "/corvana";
const std::string kDemo = PROJECT_LIB_DIR "/libDemoWizard.so";

class Regsvr : public ::testing::Test {
 protected:
  testutil::ProcessResult Run(const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), program);
    return testutil::RunProcess(args, {{"COM_REGISTRY", registry_.string()}}, dir_.path());
  }

  testutil::TempDir dir_;
  std::filesystem::path registry_ = dir_ / "registry";
};

TEST_F(Regsvr, RegistersDemoWizardThatCorvanaThenStarts) {
  auto result = Run(kRegsvr, {kDemo});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "regsvr: registered " + kDemo + "\n");

  result = Run(kRegsvr, {"--print"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            "CLSID\n"
            "  {9C2D4B71-3E58-4F0A-A6C3-5B8E1D7F2A90} = \"Demo Disc Wizard\"\n"
            "    InprocServer32 = \"" +
                kDemo +
                "\"\n"
                "      @ThreadingModel = \"Apartment\"\n"
                "    ProgID = \"Pyrelle.DiscWizard\"\n"
                "Pyrelle.DiscWizard = \"Demo Disc Wizard\"\n"
                "  CLSID = \"{9C2D4B71-3E58-4F0A-A6C3-5B8E1D7F2A90}\"\n");

  result = Run(kCorvana, {});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "wizard: start\n");
  result = Run(kCorvana, {"-o", "C:\\data\\file"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "wizard: open mode=1 path=C:\\data\\file\n");

  result = Run(kRegsvr, {"-u", kDemo});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  result = Run(kRegsvr, {"--print"});
  EXPECT_EQ(result.out, "CLSID\n");  // the parent of all classes is never removed
  result = Run(kCorvana, {});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "");
}

TEST_F(Regsvr, UsageErrorsExitWithTwo) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"-u"}, {"--print", "x"}, {"-x", "lib.so"}, {"a.so", "b.so"}}) {
    const auto result = Run(kRegsvr, args);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err.rfind("usage: regsvr", 0), 0u);
  }
}

TEST_F(Regsvr, FailuresNameTheLibraryAndStatus) {
  auto result = Run(kRegsvr, {(dir_ / "missing.so").string()});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find((dir_ / "missing.so").string()), std::string::npos) << result.err;

  std::ofstream(dir_ / "file") << "x";
  registry_ = dir_ / "file" / "registry";
  result = Run(kRegsvr, {kDemo});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "regsvr: DllRegisterServer of " + kDemo + " failed: 0x80040151 (registry " +
                            registry_.string() + ")\n");

  registry_ = dir_ / "registry";
  std::ofstream(registry_) << "comreg-registry 1\nkey \"A\n";
  result = Run(kRegsvr, {"--print"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "regsvr: " + registry_.string() + ":2: unterminated quoted string\n");
}

TEST_F(Regsvr, RegisterAllFindsTheProjectLibraries) {
  const auto result = Run(kRegsvr, {"--register-all", PROJECT_BIN_DIR "/.."});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("libDemoWizard.so"), std::string::npos);
  EXPECT_NE(result.out.find("registered " PROJECT_LIB_DIR "/libFilterGraph.so"), std::string::npos);
  const auto tree = Run(kRegsvr, {"--print"});
  EXPECT_NE(tree.out.find("{E436EBB3-524F-11CE-9F53-0020AF0BA770} = \"Filter Graph\"\n"
                          "    InprocServer32 = \"" PROJECT_LIB_DIR "/libFilterGraph.so\"\n"),
            std::string::npos)
      << tree.out;
  const auto none = Run(kRegsvr, {"--register-all", dir_.path().string()});
  EXPECT_EQ(none.exitCode, 1);
}

}  // namespace
