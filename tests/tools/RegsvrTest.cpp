// regsvr and the demo wizard as real processes, on a temporary registry.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include "tests/launcher/ProcessRunner.h"
#include "tests/platform/registry/TempDir.h"

namespace {

const std::string kRegsvr = PROJECT_BIN_DIR "/regsvr";
const std::string kCorvana = PROJECT_BIN_DIR "/corvana";
const std::string kRecorder = PROJECT_BIN_DIR "/editor_recorder";
const std::string kDemo = PROJECT_LIB_DIR "/libDemoWizard.so";
const std::string kInfo = PROJECT_LIB_DIR "/libInfo.so";

std::string ReadFile(const std::filesystem::path& path) { return testutil::ReadWholeFile(path); }

// A registry file holding one key line of `levels` nested keys.
std::string DeepRegistry(std::size_t levels) {
  std::string text = "comreg-registry 1\nkey";
  for (std::size_t i = 0; i < levels; ++i) text += " \"a\"";
  return text + "\nend\n";
}

class Regsvr : public ::testing::Test {
 protected:
  testutil::ProcessResult Run(const std::string& program, std::vector<std::string> args,
                              testutil::Environment env = {}) {
    args.insert(args.begin(), program);
    env.emplace_back("COM_REGISTRY", registry_.string());
    return testutil::RunProcess(args, env, dir_.path());
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
  result = Run(kCorvana, {"-o", "C:\\data\\file"}, {{"DEMOWIZARD_EDITOR", kRecorder}});
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
  EXPECT_EQ(result.err.rfind("regsvr: DllRegisterServer of " + kDemo + " failed: 0x80040151: ", 0),
            0u)
      << result.err;
  EXPECT_NE(result.err.find(registry_.string()), std::string::npos) << result.err;

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

TEST_F(Regsvr, HelpAndVersionGoToStdout) {
  for (const char* option : {"-h", "--help"}) {
    const auto result = Run(kRegsvr, {option});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.rfind("usage: regsvr", 0), 0u) << result.out;
    EXPECT_NE(result.out.find("--register-all"), std::string::npos);
    EXPECT_EQ(result.err, "");
  }
  const auto result = Run(kRegsvr, {"--version"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "regsvr " PROJECT_VERSION_TEXT "\n");
}

TEST_F(Regsvr, DamagedRegistryGivesTheSameReasonToEveryCommand) {
  std::ofstream(registry_) << "comreg-registry 1\nkey \"A\"\nbogus line\nend\n";
  const std::string reason = registry_.string() + ":3: unknown line 'bogus'";
  auto result = Run(kRegsvr, {"--print"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "regsvr: " + reason + "\n");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{kDemo}, std::vector<std::string>{"-u", kDemo}}) {
    result = Run(kRegsvr, args);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(": " + reason + "\n"), std::string::npos) << result.err;
  }
  result = Run(kCorvana, {});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;

  // A long line of binary garbage is quoted as a short printable excerpt.
  std::ofstream(registry_, std::ios::binary) << "comreg-registry 1\n"
                                             << std::string(10'000'000, '\x1B') << "\nend\n";
  result = Run(kRegsvr, {"--print"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_LT(result.err.size(), registry_.string().size() + 250) << result.err.substr(0, 300);
  EXPECT_NE(result.err.find(":2: unknown line '\\x1B\\x1B"), std::string::npos);
}

TEST_F(Regsvr, DeepNestingIsRefusedWithFileAndLine) {
  for (const std::size_t levels : {std::size_t{20'000}, std::size_t{500'000}}) {
    std::ofstream(registry_) << DeepRegistry(levels);
    const std::string reason = registry_.string() + ":2: key nested deeper than 512 levels";
    auto result = Run(kRegsvr, {"--print"});
    EXPECT_EQ(result.exitCode, 1) << levels;
    EXPECT_EQ(result.err, "regsvr: " + reason + "\n");
    result = Run(kRegsvr, {kDemo});
    EXPECT_EQ(result.exitCode, 1) << levels;
    EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
    result = Run(kCorvana, {"-o", "x"});
    EXPECT_EQ(result.exitCode, 1) << levels;
    EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
  }
  // At the limit the registry works and stays readable after a change.
  std::ofstream(registry_) << DeepRegistry(512);
  ASSERT_EQ(Run(kRegsvr, {kDemo}).exitCode, 0);
  const auto result = Run(kRegsvr, {"--print"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find(std::string(2 * 511, ' ') + "a\n"), std::string::npos);
}

TEST_F(Regsvr, GrowthPastTheReadersLimitIsRefusedAndTheFileKept) {
  // Small as written here, but every key is stored with its whole path: the tools' own
  // rewrite would pass 64 MiB.
  std::string text = "comreg-registry 1\n";
  for (const char first : {'x', 'y', 'z'}) {
    text += "key \"" + std::string(1, first) + "\"";
    for (int i = 1; i < 512; ++i) text += " \"" + std::string(250, 'n') + "\"";
    text += "\n";
  }
  text += "end\n";
  std::ofstream(registry_) << text;
  auto result = Run(kRegsvr, {kDemo});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("would be larger than 64 MiB"), std::string::npos) << result.err;
  EXPECT_EQ(ReadFile(registry_), text);
  result = Run(kRegsvr, {"--print"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
}

TEST_F(Regsvr, FifoAsRegistryEndsAtOnce) {
  ASSERT_EQ(::mkfifo(registry_.c_str(), 0600), 0);
  const std::string reason = "registry file " + registry_.string() + " is not a regular file";
  for (const auto& [program, args] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {kRegsvr, {"--print"}}, {kRegsvr, {kDemo}}, {kRegsvr, {"-u", kDemo}}, {kCorvana, {}}}) {
    const auto result = testutil::RunProcess(
        [&] {
          std::vector<std::string> all{program};
          all.insert(all.end(), args.begin(), args.end());
          return all;
        }(),
        {{"COM_REGISTRY", registry_.string()}}, dir_.path(), std::chrono::seconds(30));
    EXPECT_FALSE(result.timedOut) << program;
    EXPECT_EQ(result.exitCode, 1) << program;
    EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
  }
}

TEST_F(Regsvr, NextRegistrationRemovesTemporariesOfKilledWriters) {
  std::ofstream(dir_ / "registry.tmp-Xy12Ab") << std::string(100'000, 'x');
  std::ofstream(dir_ / "registry.keep") << "mine";
  ASSERT_EQ(Run(kRegsvr, {kDemo}).exitCode, 0);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "registry.tmp-Xy12Ab"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "registry.keep"));
}

// Registry text after running the given (library, unregister) steps one after another.
std::string SequentialState(const testutil::TempDir& dir, const std::string& name,
                            const std::vector<std::pair<std::string, bool>>& steps) {
  const auto registry = dir / name;
  for (const auto& [library, unregister] : steps) {
    std::vector<std::string> args{kRegsvr};
    if (unregister) args.emplace_back("-u");
    args.push_back(library);
    const auto result =
        testutil::RunProcess(args, {{"COM_REGISTRY", registry.string()}}, dir.path());
    EXPECT_EQ(result.exitCode, 0) << result.err;
  }
  return ReadFile(registry);
}

TEST_F(Regsvr, ConcurrentRegistrationsEndInTheStateOfSomeSequentialOrder) {
  // Each library registers and unregisters as one change; the result depends only on the
  // last step for each library, as long as each was registered at least once.
  std::set<std::string> sequential;
  for (const bool infoLast : {false, true})
    for (const bool demoLast : {false, true})
      sequential.insert(
          SequentialState(dir_, "sequential-" + std::to_string(infoLast) + std::to_string(demoLast),
                          {{kInfo, false}, {kDemo, false}, {kInfo, infoLast}, {kDemo, demoLast}}));
  ASSERT_EQ(sequential.size(), 4u);

  // A few rounds, each from the state the last one left, so that an interleaving that tears
  // a registration apart has several chances to show.
  for (int round = 0; round < 3; ++round) {
    std::vector<std::unique_ptr<testutil::ChildProcess>> children;
    for (int i = 0; i < 20; ++i) {
      std::vector<std::string> args{kRegsvr};
      if ((i + round) % 4 >= 2) args.emplace_back("-u");
      args.push_back(i % 2 == 0 ? kInfo : kDemo);
      const std::string name = "child" + std::to_string(i);
      children.push_back(std::make_unique<testutil::ChildProcess>(
          args, testutil::Environment{{"COM_REGISTRY", registry_.string()}}, dir_ / (name + ".out"),
          dir_ / (name + ".err")));
    }
    for (auto& child : children) {
      const auto result = child->Wait();
      EXPECT_EQ(result.exitCode, 0) << result.err;
    }
    ASSERT_EQ(sequential.count(ReadFile(registry_)), 1u) << "round " << round << "\n"
                                                         << ReadFile(registry_);
  }
}

TEST_F(Regsvr, DemoWizardOpensTheEditorAndWaitsForIt) {
  ASSERT_EQ(Run(kRegsvr, {kDemo}).exitCode, 0);
  const auto record = dir_ / "editor-record";
  testutil::Environment env{{"DEMOWIZARD_EDITOR", kRecorder}, {"EDITOR_RECORD", record.string()}};
  auto result = Run(kCorvana, {"-o", "/music/a b.mp3"}, env);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "wizard: open mode=1 path=/music/a b.mp3\n");
  EXPECT_EQ(ReadFile(record), "/music/a b.mp3\n");

  std::filesystem::remove(record);
  env.emplace_back("DEMOWIZARD_SCREENSHOT", "/tmp/shot.png");
  result = Run(kCorvana, {"-l", "x.wav"}, env);
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(ReadFile(record), "x.wav\n--screenshot\n/tmp/shot.png\n");

  // The editor's exit status reaches corvana only when the wizard waited for it.
  env.emplace_back("EDITOR_EXIT", "3");
  result = Run(kCorvana, {"-o", "x.wav"}, env);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "corvana: the wizard's open method failed: 0x80004005: the editor " +
                            kRecorder + " exited with status 3\n");

  result = Run(kCorvana, {"-o", "x.wav"}, {{"DEMOWIZARD_EDITOR", (dir_ / "no-editor").string()}});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("cannot start the editor " + (dir_ / "no-editor").string() +
                            ": No such file or directory"),
            std::string::npos)
      << result.err;

  result = Run(kCorvana, {}, env);  // start does not open the editor
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out, "wizard: start\n");
}

}  // namespace
