// Saving through an MPEG track: what the file system holds besides the bytes (owner, mode,
// extended attributes, links, names) is kept, and whatever cannot be saved without loss
// is refused with the file untouched.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "info/LocationPath.h"
#include "info/MpegTrack.h"
#include "info/TextCodec.h"
#include "platform/com/Variant.h"
#include "tests/info/TestFiles.h"

namespace info {
namespace {

using test::Bytes;

class FileSaveTest : public ::testing::Test {
 protected:
  com::ComPtr<MpegTrack> track = com::MakeObject<MpegTrack>(nullptr);
  test::TempDir dir;

  com::BOOL Load(const std::string& path) {
    com::BOOL loaded = 7;
    EXPECT_EQ(track->Load(com::Bstr(LocationFromPath(path)).Get(), &loaded), com::S_OK);
    return loaded;
  }
  com::BOOL Save(const std::string& path) {
    com::BOOL saved = 7;
    EXPECT_EQ(track->Save(com::Bstr(LocationFromPath(path)).Get(), &saved), com::S_OK);
    return saved;
  }
  void SetTitle(std::u16string_view title) {
    com::Variant value = com::Variant::FromString(title);
    track->put_Attribute(eaTitle, value.Get());
  }
  // Loads, sets a title and saves; the file must stay byte-identical and the reason must
  // contain `reason`.
  void ExpectRefused(const std::string& path, const std::string& reason) {
    const bool existed = std::filesystem::exists(path);
    const Bytes before = std::filesystem::is_regular_file(path) ? test::ReadBytes(path) : Bytes();
    Load(path);
    SetTitle(u"\u65b0\u3057\u3044");
    EXPECT_EQ(Save(path), com::FALSE) << path;
    EXPECT_NE(track->saveError().find(reason), std::string::npos) << track->saveError();
    EXPECT_EQ(std::filesystem::exists(path), existed);
    if (existed && std::filesystem::is_regular_file(path)) {
      EXPECT_EQ(test::ReadBytes(path), before) << path;
    }
  }
  int Entries() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++n;
    return n;
  }
};

TEST_F(FileSaveTest, RefusesPathsThatAreNotMpegAudioFiles) {
  ExpectRefused(dir.File("missing.mp3"), "does not exist");
  std::filesystem::create_directory(dir.File("folder.mp3"));
  ExpectRefused(dir.File("folder.mp3"), "folder");
  ASSERT_EQ(::mkfifo(dir.File("pipe.mp3").c_str(), 0644), 0);
  ExpectRefused(dir.File("pipe.mp3"), "not a regular file");
  ExpectRefused(test::CopyFixture(dir, "sound.wav"), "RIFF");
  ExpectRefused(test::CopyFixture(dir, "notes.txt"), "no MPEG audio");
  EXPECT_EQ(Entries(), 4) << "nothing was created";
}

TEST_F(FileSaveTest, UntrustedTagSizesAreReadButNotSaved) {
  for (const char* name : {"pasteof.mp3", "bit7.mp3"}) {
    const std::string path = test::CopyFixture(dir, name);
    ASSERT_EQ(Load(path), com::TRUE);
    com::Variant title;
    track->get_Attribute(eaTitle, title.Put());
    EXPECT_EQ(title.Type(), com::VT_BSTR) << name;
    ExpectRefused(path, "ID3v2 tag");
  }
}

TEST_F(FileSaveTest, KeepsOwnerModeExtendedAttributesAndAcl) {
  const std::string path = test::CopyFixture(dir, "v23plain.mp3");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(::setxattr(path.c_str(), "user.origin", "fixture", 7, 0), 0);
  // An access control list granting user 65534 read access.
  const std::uint8_t acl[] = {2,    0, 0, 0,                           // version
                              1,    0, 6, 0, 0xFF, 0xFF, 0xFF, 0xFF,   // owner rw
                              2,    0, 4, 0, 0xFE, 0xFF, 0,    0,      // user 65534 r
                              4,    0, 4, 0, 0xFF, 0xFF, 0xFF, 0xFF,   // group r
                              0x10, 0, 4, 0, 0xFF, 0xFF, 0xFF, 0xFF,   // mask r
                              0x20, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};  // others none
  const bool haveAcl = ::setxattr(path.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) == 0;
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  ASSERT_EQ(Load(path), com::TRUE);
  SetTitle(u"\u0394\u03b5\u03bb\u03c4\u03b1");
  ASSERT_EQ(Save(path), com::TRUE) << track->saveError();
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino) << "saved as a new file";
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  char value[16] = {};
  EXPECT_EQ(::getxattr(path.c_str(), "user.origin", value, sizeof value), 7);
  EXPECT_STREQ(value, "fixture");
  if (haveAcl) {
    std::uint8_t kept[64] = {};
    ASSERT_EQ(::getxattr(path.c_str(), "system.posix_acl_access", kept, sizeof kept),
              static_cast<ssize_t>(sizeof acl));
    EXPECT_EQ(std::memcmp(kept, acl, sizeof acl), 0);
  }
  EXPECT_EQ(Entries(), 1) << "no temporary file left";
}

TEST_F(FileSaveTest, ReadOnlyFilesAndHardLinksAreRefused) {
  const std::string readOnly = test::CopyFixture(dir, "v23plain.mp3");
  ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
  ExpectRefused(readOnly, "read-only");
  const std::string linked = test::CopyFixture(dir, "tagged.mp3");
  ASSERT_EQ(::link(linked.c_str(), dir.File("other-name.mp3").c_str()), 0);
  ExpectRefused(linked, "hard links");
  EXPECT_EQ(test::ReadBytes(dir.File("other-name.mp3")), test::ReadBytes(linked));
}

TEST_F(FileSaveTest, AFileChangedSinceLoadIsNotOverwritten) {
  const std::string path = test::CopyFixture(dir, "v23plain.mp3");
  ASSERT_EQ(Load(path), com::TRUE);
  // Another program rewrites the file (same size, new content) after the load.
  Bytes other = test::ReadBytes(path);
  other[other.size() - 200] ^= 0x55;
  test::WriteBytes(dir.File("replacement"), other);
  ASSERT_EQ(::rename(dir.File("replacement").c_str(), path.c_str()), 0);
  SetTitle(u"mine");
  EXPECT_EQ(Save(path), com::FALSE);
  EXPECT_NE(track->saveError().find("since it was read"), std::string::npos) << track->saveError();
  EXPECT_EQ(test::ReadBytes(path), other);

  // Changed in place (same inode, new size and modification time).
  ASSERT_EQ(Load(path), com::TRUE);
  {
    Bytes grown = other;
    grown.push_back(0);
    test::WriteBytes(path, grown);
  }
  SetTitle(u"mine");
  EXPECT_EQ(Save(path), com::FALSE);
  EXPECT_NE(track->saveError().find("since it was read"), std::string::npos) << track->saveError();

  // Reloaded, the same track saves, and saves again after that.
  ASSERT_EQ(Load(path), com::TRUE);
  SetTitle(u"first");
  ASSERT_EQ(Save(path), com::TRUE) << track->saveError();
  SetTitle(u"second");
  ASSERT_EQ(Save(path), com::TRUE) << track->saveError();
  EXPECT_EQ(test::MutagenDump(path)["TIT2"], "second");
}

TEST_F(FileSaveTest, FileNamesAreBytes) {
  const std::string latin1 = dir.File("\xff\xe9t\xe9.mp3");              // not UTF-8
  const std::string longest = dir.File(std::string(251, 'n') + ".mp3");  // 255 bytes
  for (const std::string& path : {latin1, longest}) {
    std::filesystem::copy_file(test::FixturePath("v23plain.mp3"), path);
    ASSERT_EQ(Load(path), com::TRUE) << path;
    com::Variant location;
    track->get_Attribute(eaLocation, location.Put());
    EXPECT_EQ(PathFromLocation({location.Get().bstrVal, com::SysStringLen(location.Get().bstrVal)}),
              path);
    SetTitle(u"bytes");
    ASSERT_EQ(Save(path), com::TRUE) << track->saveError();
    EXPECT_EQ(test::MutagenDump(path)["TIT2"], "bytes");
  }
  EXPECT_EQ(Entries(), 2) << "no file under another name";
  EXPECT_EQ(PathFromLocation(LocationFromPath("a\xed\xb2\x80\xf0\x90\x82\x80\xff")),
            "a\xed\xb2\x80\xf0\x90\x82\x80\xff");
  EXPECT_EQ(LocationFromPath("\xc3\xa9"), u"\u00e9");
}

TEST_F(FileSaveTest, OnlyChangedAttributesAreWritten) {
  const std::string path = test::CopyFixture(dir, "multi.mp3");
  const std::string before = test::MutagenFrames(path);
  ASSERT_EQ(Load(path), com::TRUE);
  com::Variant album = com::Variant::FromString(u"New album");
  track->put_Attribute(eaAlbum, album.Get());  // not one of the frames already there
  ASSERT_EQ(Save(path), com::TRUE) << track->saveError();
  std::string after = test::MutagenFrames(path);
  const std::string added = "TALB\tTALB(encoding=<Encoding.LATIN1: 0>, text=['New album'])\n";
  ASSERT_NE(after.find(added), std::string::npos) << after;
  after.erase(after.find(added), added.size());
  EXPECT_EQ(after, before) << "multiple values kept";
  EXPECT_EQ(test::ReadBytes(path)[3], 4) << "version 2.4 stays 2.4";

  // No ID3v1 value changed: the ID3v1 block stays as it was.
  const Bytes saved = test::ReadBytes(path);
  const Bytes tail(saved.end() - 128, saved.end());
  ASSERT_EQ(Load(path), com::TRUE);
  com::Variant composer = com::Variant::FromString(u"Composer");
  track->put_Attribute(eaComposer, composer.Get());
  ASSERT_EQ(Save(path), com::TRUE);
  const Bytes bytes = test::ReadBytes(path);
  EXPECT_EQ(Bytes(bytes.end() - 128, bytes.end()), tail);
}

TEST_F(FileSaveTest, CommentIsTheOneWithoutDescription) {
  const std::string path = test::CopyFixture(dir, "v24.mp3");
  ASSERT_EQ(Load(path), com::TRUE);
  com::Variant comment;
  track->get_Attribute(eaComment, comment.Put());
  EXPECT_EQ(com::Bstr(comment.Get().bstrVal).ToUtf8(), "The real comment");
  com::Variant changed = com::Variant::FromString(u"\u65b0\u3057\u3044 comment");
  track->put_Attribute(eaComment, changed.Get());
  ASSERT_EQ(Save(path), com::TRUE) << track->saveError();
  const std::string frames = test::MutagenFrames(path);
  EXPECT_NE(frames.find("desc='iTunNORM', text=[' 0000044E 00000000']"), std::string::npos)
      << frames;
  EXPECT_NE(frames.find("COMM(encoding=<Encoding.UTF8: 3>, lang='eng', desc='', "
                        "text=['\xe6\x96\xb0\xe3\x81\x97\xe3\x81\x84 comment'])"),
            std::string::npos)
      << frames;
  EXPECT_NE(frames.find("PRIV(owner='', data=b'no owner\\x00after zero')"), std::string::npos)
      << frames;
}

}  // namespace
}  // namespace info
