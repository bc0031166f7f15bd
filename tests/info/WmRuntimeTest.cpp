// The Windows Media runtime stand-in: attribute types and lengths as stored, the figures from
// the file's properties, and Flush replacing the file only when the change is complete.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/com/CodePage.h"
#include "platform/wmvcore/AttributeValue.h"
#include "platform/wmvcore/MetadataEditor.h"
#include "tests/info/WmTestSupport.h"

namespace wm {
namespace {

using info::test::Bytes;

struct Attribute {
  HRESULT status;
  WMT_ATTR_DATATYPE type;
  Bytes bytes;
};

class WmRuntimeTest : public ::testing::Test {
 protected:
  HRESULT Open(const std::string& path) { return editor->Open(com::Utf8ToUtf16(path).c_str()); }
  com::ComPtr<IWMHeaderInfo> Header() { return editor.As<IWMHeaderInfo>(IID_IWMHeaderInfo); }
  Attribute Get(const std::u16string& name) {
    auto header = Header();
    WORD stream = 0;
    WORD length = 0;
    Attribute out{com::S_OK, WMT_TYPE_DWORD, {}};
    out.status = header->GetAttributeByName(&stream, name.c_str(), &out.type, nullptr, &length);
    if (com::FAILED(out.status)) {
      EXPECT_EQ(length, 0);
      return out;
    }
    out.bytes.resize(length);
    out.status =
        header->GetAttributeByName(&stream, name.c_str(), &out.type, out.bytes.data(), &length);
    return out;
  }
  HRESULT Set(const std::u16string& name, const AttributeValue& value) {
    return Header()->SetAttribute(0, name.c_str(), value.type, value.bytes.data(),
                                  static_cast<WORD>(value.bytes.size()));
  }

  com::ComPtr<MetadataEditor> editor = com::MakeObject<MetadataEditor>();
  info::test::TempDir dir;
};

TEST_F(WmRuntimeTest, AttributesKeepTheirStoredTypes) {
  ASSERT_EQ(Open(info::test::WmaFixture("tagged.wma")), com::S_OK);
  const Attribute title = Get(u"Title");
  EXPECT_EQ(title.type, WMT_TYPE_STRING);
  EXPECT_EQ(title.bytes, AttributeValue::String(u"Fixture Title").bytes);  // with its terminator
  EXPECT_EQ(Get(u"WM/AlbumTitle").bytes, AttributeValue::String(u"Fixture Album").bytes);
  EXPECT_EQ(Get(u"Description").bytes, AttributeValue::String(u"Fixture comment").bytes);
  const Attribute track = Get(u"WM/Track");
  EXPECT_EQ(track.type, WMT_TYPE_DWORD);
  EXPECT_EQ(track.bytes, (Bytes{7, 0, 0, 0}));
  EXPECT_EQ(Get(u"ID3/TMED").type, WMT_TYPE_BOOL);
  EXPECT_EQ(Get(u"ID3/TMED").bytes, (Bytes{1, 0, 0, 0}));
  EXPECT_EQ(Get(u"ID3/TFLT").bytes, (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(Get(u"ID3/PCNT").type, WMT_TYPE_QWORD);
  EXPECT_EQ((AttributeValue{WMT_TYPE_QWORD, Get(u"ID3/PCNT").bytes}.Number()), 12345678901u);
  EXPECT_EQ(Get(u"ID3/TPOS").type, WMT_TYPE_WORD);
  EXPECT_EQ(Get(u"ID3/TPOS").bytes, (Bytes{2, 0}));
  const Attribute guid = Get(u"ID3/GRID");
  EXPECT_EQ(guid.type, WMT_TYPE_GUID);
  EXPECT_EQ(guid.bytes, (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x0F}));
  EXPECT_EQ(Get(u"ID3/APIC").type, WMT_TYPE_BINARY);
  EXPECT_EQ(Get(u"ID3/APIC").bytes, info::test::Text("\x89PNG not really"));

  const Attribute duration = Get(kDurationAttribute);
  EXPECT_EQ(duration.type, WMT_TYPE_QWORD);
  const auto hundredNs = (AttributeValue{WMT_TYPE_QWORD, duration.bytes}.Number());
  EXPECT_GE(hundredNs, 19000000u);  // a 2-second tone
  EXPECT_LE(hundredNs, 21000000u);
  EXPECT_EQ((AttributeValue{WMT_TYPE_DWORD, Get(kBitrateAttribute).bytes}.Number()), 64000u);
}

TEST_F(WmRuntimeTest, MissingAttributesShortBuffersAndOtherStreams) {
  ASSERT_EQ(Open(info::test::WmaFixture("plain.wma")), com::S_OK);
  EXPECT_EQ(Get(u"Title").status, ASF_E_NOTFOUND);
  EXPECT_EQ(Get(u"ID3/TXXX").status, ASF_E_NOTFOUND);

  ASSERT_EQ(Set(u"WM/Year", AttributeValue::String(u"1999")),
            com::S_OK);  // read back before any Flush
  EXPECT_EQ(Get(u"WM/Year").bytes, AttributeValue::String(u"1999").bytes);
  auto header = Header();
  WORD stream = 0;
  WMT_ATTR_DATATYPE type{};
  BYTE small[4];
  WORD length = sizeof small;
  EXPECT_EQ(header->GetAttributeByName(&stream, u"WM/Year", &type, small, &length),
            NS_E_SDK_BUFFERTOOSMALL);
  EXPECT_EQ(length, 10);
  stream = 1;
  EXPECT_EQ(header->GetAttributeByName(&stream, u"WM/Year", &type, nullptr, &length),
            ASF_E_NOTFOUND);
  EXPECT_EQ(length, 0);
  const Bytes guid(16, 1);
  EXPECT_EQ(header->SetAttribute(0, u"Title", WMT_TYPE_DWORD, guid.data(), 4), com::E_INVALIDARG);
  EXPECT_EQ(header->SetAttribute(0, u"Duration", WMT_TYPE_QWORD, guid.data(), 8),
            com::E_ACCESSDENIED);
  EXPECT_EQ(header->SetAttribute(0, u"WM/Track", WMT_TYPE_DWORD, guid.data(), 3),
            com::E_INVALIDARG);
  EXPECT_EQ(header->SetAttribute(1, u"WM/Track", WMT_TYPE_DWORD, guid.data(), 4),
            com::E_INVALIDARG);
  EXPECT_EQ(header->SetAttribute(0, u"X", WMT_TYPE_STRING, guid.data(), 3), com::E_INVALIDARG);
}

TEST_F(WmRuntimeTest, OpenRefusesWhatIsNotARegularAsfFile) {
  EXPECT_TRUE(com::FAILED(Open(info::test::WmaFixture("notasf.wma"))));
  EXPECT_TRUE(com::FAILED(Open(dir.File("missing.wma"))));
  EXPECT_TRUE(com::FAILED(Open(dir.path())));
  const std::string fifo = dir.File("fifo.wma");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_TRUE(com::FAILED(Open(fifo)));  // refused without blocking on the pipe
  EXPECT_EQ(editor->Flush(), com::E_UNEXPECTED);
}

TEST_F(WmRuntimeTest, FlushWritesEveryTypeAndKeepsTheRest) {
  const std::string file = info::test::CopyWma(dir, "tagged.wma");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  ASSERT_EQ(Open(file), com::S_OK);
  ASSERT_EQ(Set(u"Title", AttributeValue::String(u"Neue Überschrift \u65e5\u672c \U0001F3B5")), com::S_OK);
  ASSERT_EQ(Set(u"WM/Year", AttributeValue::Dword(1987)), com::S_OK);
  ASSERT_EQ(Set(u"ID3/TFLT", AttributeValue::Bool(true)), com::S_OK);
  ASSERT_EQ(Set(u"ID3/TLAN", AttributeValue::Word(9)), com::S_OK);
  ASSERT_EQ(Set(u"ID3/TOFN", AttributeValue::Qword(1ull << 40)), com::S_OK);
  ASSERT_EQ(Set(u"ID3/GEOB", AttributeValue{WMT_TYPE_BINARY, {0, 1, 2}}), com::S_OK);
  EXPECT_EQ(Set(u"ID3/WCOM", AttributeValue{WMT_TYPE_GUID, Bytes(16, 7)}), com::E_NOTIMPL);
  ASSERT_EQ(editor->Flush(), com::S_OK);

  auto tags = info::test::MutagenAsf(file);
  EXPECT_EQ(tags["Title"], "ASFUnicodeAttribute:Neue Überschrift 日本 🎵");
  EXPECT_EQ(tags["WM/Year"], "ASFDWordAttribute:1987");
  EXPECT_EQ(tags["ID3/TFLT"], "ASFBoolAttribute:True");
  EXPECT_EQ(tags["ID3/TLAN"], "ASFWordAttribute:9");
  EXPECT_EQ(tags["ID3/TOFN"], "ASFQWordAttribute:1099511627776");
  EXPECT_EQ(tags["ID3/GEOB"], "ASFByteArrayAttribute:000102");
  EXPECT_EQ(tags["ID3/GRID"], "ASFGUIDAttribute:0100000000000000000000000000000f");  // untouched
  EXPECT_EQ(tags["WM/Track"], "ASFDWordAttribute:7");
  EXPECT_EQ(tags["Author"], "ASFUnicodeAttribute:Fixture Artist");
  EXPECT_EQ(tags.count("ID3/WCOM"), 0u);
  EXPECT_TRUE(info::test::FfmpegDecodes(file));

  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
      << "a temporary file was left";
}

TEST_F(WmRuntimeTest, FlushRefusesAFileChangedOrLinkedElsewhere) {
  const std::string file = info::test::CopyWma(dir, "tagged.wma");
  ASSERT_EQ(Open(file), com::S_OK);
  ASSERT_EQ(Set(u"Title", AttributeValue::String(u"Lost?")), com::S_OK);
  Bytes changed = info::test::ReadBytes(file);
  changed.push_back(0);
  info::test::WriteBytes(file, changed);  // another program wrote the file meanwhile
  EXPECT_TRUE(com::FAILED(editor->Flush()));
  EXPECT_EQ(info::test::ReadBytes(file), changed);

  const std::string link = dir.File("link.wma");
  ASSERT_EQ(::link(file.c_str(), link.c_str()), 0);
  ASSERT_EQ(Open(file), com::S_OK);
  ASSERT_EQ(Set(u"Title", AttributeValue::String(u"Split?")), com::S_OK);
  EXPECT_TRUE(com::FAILED(editor->Flush()));
  EXPECT_EQ(info::test::ReadBytes(link), changed);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
      << "a temporary file was left";
}

TEST_F(WmRuntimeTest, FlushFollowsASymbolicLinkAndCloseDropsChanges) {
  const std::string file = info::test::CopyWma(dir, "plain.wma");
  const std::string link = dir.File("alias.wma");
  ASSERT_EQ(::symlink(file.c_str(), link.c_str()), 0);
  ASSERT_EQ(Open(link), com::S_OK);
  ASSERT_EQ(Set(u"Title", AttributeValue::String(u"Through the link")), com::S_OK);
  ASSERT_EQ(editor->Flush(), com::S_OK);
  EXPECT_EQ(info::test::FfprobeTitle(file), "Through the link");
  struct stat st {};
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));

  const Bytes before = info::test::ReadBytes(file);
  ASSERT_EQ(Open(file), com::S_OK);
  ASSERT_EQ(Set(u"Title", AttributeValue::String(u"Dropped")), com::S_OK);
  ASSERT_EQ(editor->Close(), com::S_OK);
  EXPECT_EQ(info::test::ReadBytes(file), before);
}

}  // namespace
}  // namespace wm
