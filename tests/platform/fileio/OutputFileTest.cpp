// Outputs: the target changes only on Commit, keeps its permissions, and nothing is left
// behind by a discarded or failed output.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/fileio/OutputFile.h"

namespace {

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "fileioXXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  std::string Read(const char* name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_),
                                                  std::filesystem::directory_iterator()));
  }

  std::filesystem::path dir_;
};

TEST_F(OutputFileTest, ReplacesOnlyOnCommitAndKeepsTheMode) {
  std::ofstream(Path("t.wav")) << "old";
  ::chmod(Path("t.wav").c_str(), 0640);
  fileio::OutputFile out(Path("t.wav"));
  ASSERT_TRUE(out.Open()) << out.Error();
  ASSERT_TRUE(out.Write("new data", 8));
  ASSERT_TRUE(out.WriteAt("N", 1, 0));
  EXPECT_EQ(Read("t.wav"), "old");  // untouched until the commit
  EXPECT_EQ(Entries(), 2u);
  const std::string temp = out.TemporaryPath();
  EXPECT_EQ(temp.rfind(dir_.string() + "/.tvx", 0), 0u) << temp;
  ASSERT_TRUE(out.Commit()) << out.Error();
  EXPECT_EQ(Read("t.wav"), "New data");
  EXPECT_EQ(Entries(), 1u);
  struct stat st {};
  ASSERT_EQ(::stat(Path("t.wav").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(OutputFileTest, DiscardAndDestructionLeaveTheTargetAndNoTemporaryFile) {
  std::ofstream(Path("t.wav")) << "old";
  {
    fileio::OutputFile out(Path("t.wav"));
    ASSERT_TRUE(out.Open());
    ASSERT_TRUE(out.Write("x", 1));
  }
  EXPECT_EQ(Read("t.wav"), "old");
  EXPECT_EQ(Entries(), 1u);
  fileio::OutputFile out(Path("new.wav"));
  ASSERT_TRUE(out.Open());
  out.Discard();
  EXPECT_FALSE(std::filesystem::exists(Path("new.wav")));
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(OutputFileTest, AFollowedLinkReplacesItsTargetAndStaysALink) {
  std::ofstream(Path("real")) << "old";
  std::filesystem::create_symlink(Path("real"), Path("link"));
  fileio::OutputFile out(Path("link"));
  ASSERT_TRUE(out.Open());
  ASSERT_TRUE(out.Write("new", 3));
  ASSERT_TRUE(out.Commit()) << out.Error();
  EXPECT_TRUE(std::filesystem::is_symlink(Path("link")));
  EXPECT_EQ(Read("real"), "new");
}

TEST_F(OutputFileTest, RefusesTargetsThatAreNotRegularFilesOrChangedMeanwhile) {
  std::filesystem::create_directory(Path("dir"));
  fileio::OutputFile toDir(Path("dir"));
  EXPECT_FALSE(toDir.Open());
  EXPECT_EQ(toDir.Error(), "cannot replace '" + Path("dir") + "': Is a directory");
  fileio::OutputFile toDevice("/dev/null");
  EXPECT_FALSE(toDevice.Open());
  fileio::OutputFile nowhere(Path("missing/x.wav"));
  EXPECT_FALSE(nowhere.Open());
  EXPECT_NE(nowhere.Error().find("No such file or directory"), std::string::npos);

  fileio::OutputFile raced(Path("t.wav"));
  ASSERT_TRUE(raced.Open());
  std::ofstream(Path("t.wav")) << "someone else's";  // appears while the output is written
  ASSERT_TRUE(raced.Write("mine", 4));
  EXPECT_FALSE(raced.Commit());
  EXPECT_EQ(Read("t.wav"), "someone else's");
  EXPECT_EQ(Entries(), 2u);  // dir and t.wav, no temporary file
}

}  // namespace
