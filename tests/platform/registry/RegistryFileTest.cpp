#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "platform/registry/Registry.h"
#include "platform/registry/RegistryText.h"
#include "tests/platform/registry/TempDir.h"

namespace reg {
namespace {

void WriteFile(const std::filesystem::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Files in `dir` that a writer uses for new content before its rename.
int TemporaryFiles(const std::filesystem::path& dir) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    count += entry.path().filename().string().find(".tmp-") != std::string::npos;
  return count;
}

TEST(RegistryFile, MissingFileIsEmptyAndWritesCreateDirectories) {
  testutil::TempDir dir;
  Registry registry(dir / "sub/deeper/registry");
  Key root;
  ASSERT_TRUE(registry.Read(root).ok());
  EXPECT_TRUE(root.Empty());
  ASSERT_TRUE(registry.SetValue("Pyrelle.DiscWizard\\CLSID", "", std::string("{X}")).ok());
  std::string out;
  ASSERT_TRUE(registry.GetString("pyrelle.discwizard\\clsid", "", out).ok());
  EXPECT_EQ(out, "{X}");
  EXPECT_EQ(TemporaryFiles(dir / "sub/deeper"), 0);
}

TEST(RegistryFile, SingleOperations) {
  testutil::TempDir dir;
  Registry registry(dir / "registry");
  ASSERT_TRUE(registry.CreateKey("A\\B\\C").ok());
  ASSERT_TRUE(registry.SetValue("A", "n", std::uint32_t{5}).ok());
  ASSERT_TRUE(registry.SetValue("A", "", std::string("def")).ok());
  std::vector<std::string> keys;
  ASSERT_TRUE(registry.EnumSubkeys("A", keys).ok());
  EXPECT_EQ(keys, std::vector<std::string>{"B"});
  std::vector<std::pair<std::string, Value>> values;
  ASSERT_TRUE(registry.EnumValues("A", values).ok());
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].first, "");
  EXPECT_EQ(values[1].second, Value(std::uint32_t{5}));
  std::string text;
  EXPECT_EQ(registry.GetString("A", "n", text).code, com::REGDB_E_READREGDB);
  EXPECT_EQ(registry.DeleteKey("A", false).code, com::E_ACCESSDENIED);
  ASSERT_TRUE(registry.DeleteValue("A", "N").ok());
  EXPECT_EQ(registry.DeleteValue("A", "n").code, com::REGDB_E_KEYMISSING);
  ASSERT_TRUE(registry.DeleteKey("A\\B\\C", false).ok());
  ASSERT_TRUE(registry.DeleteKey("A", true).ok());
  const Status missing = registry.EnumSubkeys("A", keys);
  EXPECT_EQ(missing.code, com::REGDB_E_KEYMISSING);
  EXPECT_NE(missing.message.find((dir / "registry").string()), std::string::npos);
  EXPECT_EQ(registry.CreateKey("A\\\\B").code, com::E_INVALIDARG);
}

TEST(RegistryFile, CorruptTruncatedAndUnreadableFilesGiveClearErrors) {
  testutil::TempDir dir;
  const auto file = dir / "registry";
  WriteFile(file, std::string(kRegistryHeader) + "\nkey \"A\"\nvalue \"x\" sz \"unterminated\n");
  Registry registry(file);
  Key root;
  Status s = registry.Read(root);
  EXPECT_EQ(s.code, com::REGDB_E_READREGDB);
  EXPECT_EQ(s.message, file.string() + ":3: unterminated quoted string");

  // A failed read leaves the damaged file alone: no write happens on top of it.
  s = registry.SetValue("B", "", std::string("v"));
  EXPECT_EQ(s.code, com::REGDB_E_READREGDB);
  std::ifstream in(file);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, kRegistryHeader);

  WriteFile(file, std::string(kRegistryHeader) + "\nkey \"A\"\n");
  s = registry.Read(root);
  EXPECT_NE(s.message.find("truncated"), std::string::npos) << s.message;

  std::filesystem::remove(file);
  std::filesystem::create_directory(file);
  s = Registry(file).Read(root);
  EXPECT_EQ(s.code, com::REGDB_E_READREGDB);
  EXPECT_NE(s.message.find(file.string()), std::string::npos) << s.message;
}

TEST(RegistryFile, UnwritableLocationReportsFailure) {
  testutil::TempDir dir;
  WriteFile(dir / "plain", "x");
  Registry registry(dir / "plain" / "registry");  // a regular file where a directory must be
  const Status s = registry.SetValue("A", "", std::string("v"));
  EXPECT_EQ(s.code, com::REGDB_E_WRITEREGDB);
  EXPECT_NE(s.message.find((dir / "plain").string()), std::string::npos) << s.message;
}

TEST(RegistryFile, FailedChangeWritesNothing) {
  testutil::TempDir dir;
  Registry registry(dir / "registry");
  ASSERT_TRUE(registry.SetValue("A", "", std::string("v")).ok());
  const Status s = registry.Update([](Key& root) {
    root.Remove("A", true);
    return Status::Fail(com::E_FAIL, "stop");
  });
  EXPECT_EQ(s.code, com::E_FAIL);
  std::string v;
  EXPECT_TRUE(registry.GetString("A", "", v).ok());
}

TEST(RegistryFile, ChangesTheReaderWouldRefuseAreNotWritten) {
  testutil::TempDir dir;
  Registry registry(dir / "registry");
  ASSERT_TRUE(registry.SetValue("A", "", std::string("v")).ok());
  const std::string before = ReadFile(dir / "registry");

  std::string deep = "D";
  for (std::size_t i = 1; i <= kMaxKeyDepth; ++i) deep += "\\D";  // one level too many
  Status s = registry.SetValue(deep, "", std::string("x"));
  EXPECT_EQ(s.code, com::REGDB_E_WRITEREGDB);
  EXPECT_NE(s.message.find("deeper than 512 levels"), std::string::npos) << s.message;

  // Three chains at the depth limit with long names: every key is written with its whole
  // path, so the file would pass the size limit.
  s = registry.Update([](Key& root) {
    for (const char first : {'x', 'y', 'z'}) {
      std::string path(1, first);
      for (std::size_t i = 1; i < kMaxKeyDepth; ++i) path += "\\" + std::string(250, 'n');
      root.Create(path);
    }
    return Status::Ok();
  });
  EXPECT_EQ(s.code, com::REGDB_E_WRITEREGDB);
  EXPECT_NE(s.message.find("would be larger than 64 MiB"), std::string::npos) << s.message;

  EXPECT_EQ(ReadFile(dir / "registry"), before);
  EXPECT_EQ(TemporaryFiles(dir.path()), 0);
}

TEST(RegistryFile, FilesThatAreNotRegularAreRefusedWithoutWaiting) {
  testutil::TempDir dir;
  const auto fifo = dir / "registry";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  Registry registry(fifo);
  Key root;
  Status s = registry.Read(root);  // would block in open() without a writer
  EXPECT_EQ(s.code, com::REGDB_E_READREGDB);
  EXPECT_EQ(s.message, "registry file " + fifo.string() + " is not a regular file");
  s = registry.SetValue("A", "", std::string("v"));
  EXPECT_EQ(s.code, com::REGDB_E_READREGDB);

  const auto lockFifo = dir / "other.lock";
  ASSERT_EQ(::mkfifo(lockFifo.c_str(), 0600), 0);
  s = Registry(dir / "other").SetValue("A", "", std::string("v"));
  EXPECT_EQ(s.code, com::REGDB_E_WRITEREGDB);
  EXPECT_NE(s.message.find("not a regular file"), std::string::npos) << s.message;
}

TEST(RegistryFile, NextWriterRemovesTemporariesOfKilledWriters) {
  testutil::TempDir dir;
  // What a writer killed between its mkstemp and its rename leaves behind, and look-alikes.
  for (const char* name : {"registry.tmp-Ab12Cd", "registry.tmp-zzzzzz", "registry.tmp-long123",
                           "registry.backup", "other.tmp-Ab12Cd"})
    WriteFile(dir / name, std::string(1000, 'x'));
  Registry registry(dir / "registry");
  ASSERT_TRUE(registry.SetValue("A", "", std::string("v")).ok());
  EXPECT_FALSE(std::filesystem::exists(dir / "registry.tmp-Ab12Cd"));
  EXPECT_FALSE(std::filesystem::exists(dir / "registry.tmp-zzzzzz"));
  for (const char* name : {"registry.tmp-long123", "registry.backup", "other.tmp-Ab12Cd"})
    EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
}

TEST(RegistryFile, DefaultPathFollowsTheEnvironment) {
  const char* saved = std::getenv("COM_REGISTRY");
  const std::string keep = saved ? saved : "";
  ::setenv("COM_REGISTRY", "/some/where/reg", 1);
  EXPECT_EQ(Registry::DefaultPath(), "/some/where/reg");
  ::setenv("COM_REGISTRY", "", 1);
  ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
  EXPECT_EQ(Registry::DefaultPath(), "/xdg/comreg/registry");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", "/home/u", 1);
  EXPECT_EQ(Registry::DefaultPath(), "/home/u/.config/comreg/registry");
  if (saved)
    ::setenv("COM_REGISTRY", keep.c_str(), 1);
  else
    ::unsetenv("COM_REGISTRY");
}

// Each writer adds its own values one change at a time; with a lost update or a torn file
// some would be missing or the file unreadable.
void AddValues(Registry registry, const std::string& prefix, int count) {
  for (int i = 0; i < count; ++i)
    ASSERT_TRUE(registry.SetValue("Shared", prefix + std::to_string(i), std::uint32_t(i)).ok());
}

void ExpectAllValues(const Registry& registry, int writers, int count) {
  std::vector<std::pair<std::string, Value>> values;
  const Status s = registry.EnumValues("Shared", values);
  ASSERT_TRUE(s.ok()) << s.message;
  EXPECT_EQ(values.size(), static_cast<std::size_t>(writers * count));
}

TEST(RegistryConcurrency, ThreadsNeverLoseOrTearWrites) {
  testutil::TempDir dir;
  Registry registry(dir / "registry");
  constexpr int kCount = 25;
  std::thread a(AddValues, registry, "a", kCount);
  std::thread b(AddValues, registry, "b", kCount);
  for (int i = 0; i < 20; ++i) {
    Key root;  // readers take no lock and must always see a whole file
    EXPECT_TRUE(Registry(dir / "registry").Read(root).ok());
  }
  a.join();
  b.join();
  ExpectAllValues(registry, 2, kCount);
}

TEST(RegistryConcurrency, ProcessesNeverLoseOrTearWrites) {
  testutil::TempDir dir;
  Registry registry(dir / "registry");
  constexpr int kCount = 25;
  std::vector<pid_t> children;
  for (const char* prefix : {"p", "q"}) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int failures = 0;
      for (int i = 0; i < kCount; ++i)
        failures += !registry.SetValue("Shared", prefix + std::to_string(i), std::uint32_t(i)).ok();
      ::_exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  ExpectAllValues(registry, 2, kCount);
}

}  // namespace
}  // namespace reg
