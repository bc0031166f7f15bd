// WmTrack through the runtime stand-in: what Load stores, what Save writes, and the track's
// behaviour without the runtime.
#include <gtest/gtest.h>

#include "info/WmAttributeNames.h"
#include "info/WmEditorHandle.h"
#include "info/WmTrack.h"
#include "platform/com/CodePage.h"
#include "tests/info/WmTestSupport.h"

namespace info {
namespace {

const std::string kRuntime = std::string(PROJECT_LIB_DIR) + "/libwmvcore.so";

class WmTrackTest : public ::testing::Test {
 protected:
  com::ComPtr<WmTrack> NewTrack(const std::string& runtime = kRuntime) {
    return com::MakeObject<WmTrack>(nullptr, runtime);
  }
  static com::BOOL Load(ITrack& track, const std::string& path) {
    com::BOOL loaded = 7;
    EXPECT_EQ(track.Load(com::Bstr::FromUtf8(path).Get(), &loaded), com::S_OK);
    return loaded;
  }
  static com::BOOL Save(ITrack& track, const std::string& path) {
    com::BOOL saved = 7;
    EXPECT_EQ(track.Save(com::Bstr::FromUtf8(path).Get(), &saved), com::S_OK);
    return saved;
  }
  static com::Variant Value(ITrack& track, EAttribute attribute) {
    com::Variant value;
    EXPECT_EQ(track.get_Attribute(attribute, value.Put()), com::S_OK);
    return value;
  }
  static std::string Text(ITrack& track, EAttribute attribute) {
    const com::Variant value = Value(track, attribute);
    if (value.Type() == com::VT_EMPTY) return "<none>";
    return value.Type() == com::VT_BSTR ? com::Bstr(value.Get().bstrVal).ToUtf8() : "<not text>";
  }
  static com::LONG Number(ITrack& track, EAttribute attribute) {
    const com::Variant value = Value(track, attribute);
    EXPECT_EQ(value.Type(), com::VT_I4);
    return value.Get().lVal;
  }
  static void Put(ITrack& track, EAttribute attribute, const com::Variant& value) {
    ASSERT_EQ(track.put_Attribute(attribute, value.Get()), com::S_OK);
  }
  // The attributes that have a value other than VT_EMPTY.
  static std::vector<EAttribute> Stored(ITrack& track) {
    std::vector<EAttribute> out;
    for (int a = eaBegin; a <= eaEnd; ++a)
      if (Value(track, static_cast<EAttribute>(a)).Type() != com::VT_EMPTY)
        out.push_back(static_cast<EAttribute>(a));
    return out;
  }

  test::TempDir dir;
};

TEST_F(WmTrackTest, LoadFillsTheNamedAttributesAndTheFigures) {
  auto track = NewTrack();
  ASSERT_EQ(Load(*track, test::WmaFixture("tagged.wma")), com::TRUE);
  EXPECT_EQ(Text(*track, eaLocation), test::WmaFixture("tagged.wma"));
  EXPECT_EQ(Text(*track, eaTitle), "Fixture Title");
  EXPECT_EQ(Text(*track, eaLeadArtist), "Fixture Artist");
  EXPECT_EQ(Text(*track, eaAuthor), "Fixture Artist");
  EXPECT_EQ(Text(*track, eaAlbum), "Fixture Album");
  EXPECT_EQ(Text(*track, eaGenre), "Rock");
  EXPECT_EQ(Text(*track, eaYear), "2004");
  EXPECT_EQ(Text(*track, eaTrackNum), "7");  // a DWORD in the file
  EXPECT_EQ(Text(*track, eaContentGroup), "Fixture comment");
  EXPECT_EQ(Text(*track, eaCopyright), "(c) Fixture");
  EXPECT_EQ(Text(*track, eaMediaType), "Yes");
  EXPECT_EQ(Text(*track, eaFileType), "No");
  EXPECT_EQ(Text(*track, eaPlayCounter), "12345678901");
  EXPECT_EQ(Text(*track, eaPartInSet), "2");
  EXPECT_EQ(Text(*track, eaGroupingReg), "1f00000000000000");  // halves 0x1 and 0x0f00000000000000
  EXPECT_EQ(Text(*track, eaPictures), "<none>");               // binary values give no text
  EXPECT_EQ(Text(*track, eaUserText), "<none>");
  EXPECT_GE(Number(*track, eaDuration), 1900);
  EXPECT_LE(Number(*track, eaDuration), 2100);
  EXPECT_EQ(Number(*track, eaBitrate), 64000);
  EXPECT_EQ(Text(*track, eaChannels), "<none>");
}

TEST_F(WmTrackTest, ValueTextsPerType) {
  const std::uint8_t guid[16] = {0xEF, 0xCD, 0xAB, 0x89, 0x67, 0x45, 0x23, 0x01,
                                 0,    0,    0,    0,    0,    0,    0,    0};
  EXPECT_EQ(FormatAttribute(wm::WMT_TYPE_GUID, guid, 16), u"123456789abcdef0");
  const std::uint8_t dword[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(FormatAttribute(wm::WMT_TYPE_DWORD, dword, 4), u"4294967295");
  EXPECT_EQ(FormatAttribute(wm::WMT_TYPE_BOOL, dword, 4), u"Yes");
  EXPECT_EQ(FormatAttribute(wm::WMT_TYPE_WORD, dword, 2), u"65535");
  EXPECT_EQ(FormatAttribute(wm::WMT_TYPE_BINARY, dword, 4), u"");
  EXPECT_EQ(FormatAttribute(static_cast<wm::WMT_ATTR_DATATYPE>(9), dword, 3),
            u"Type = 9, Length 3");
}

TEST_F(WmTrackTest, SupportedAttributesAreTheNamedOnes) {
  auto track = NewTrack();
  int supported = 0;
  for (int a = eaBegin; a <= eaEnd; ++a) {
    com::BOOL answer = 7;
    ASSERT_EQ(track->get_AttributeSupported(static_cast<EAttribute>(a), &answer), com::S_OK);
    EXPECT_EQ(answer, WmNameOfAttribute(a).empty() ? com::FALSE : com::TRUE) << a;
    supported += answer;
  }
  EXPECT_EQ(supported, 49);
  com::BOOL answer = 0;
  track->get_AttributeSupported(eaYear, &answer);
  EXPECT_EQ(answer, com::TRUE);
  track->get_AttributeSupported(eaUserText, &answer);
  EXPECT_EQ(answer, com::TRUE);
  track->get_AttributeSupported(eaPrivate, &answer);
  EXPECT_EQ(answer, com::FALSE);
}

TEST_F(WmTrackTest, SaveWritesTextsOnlyWithAuthorLast) {
  const std::string file = test::CopyWma(dir, "tagged.wma");
  auto track = NewTrack();
  ASSERT_EQ(Load(*track, file), com::TRUE);
  Put(*track, eaTitle, com::Variant::FromLong(5));  // not text: the file keeps its title
  Put(*track, eaAlbum, com::Variant::FromString(u"Album \u00e9\u4e2d"));
  Put(*track, eaLeadArtist, com::Variant::FromString(u"Lead"));
  Put(*track, eaAuthor, com::Variant::FromString(u"Writer"));
  Put(*track, eaUserText, com::Variant::FromString(u"user text"));
  ASSERT_EQ(Save(*track, file), com::TRUE);

  auto tags = test::MutagenAsf(file);
  EXPECT_EQ(tags["Title"], "ASFUnicodeAttribute:Fixture Title");
  EXPECT_EQ(tags["WM/AlbumTitle"], "ASFUnicodeAttribute:Album é中");
  EXPECT_EQ(tags["Author"], "ASFUnicodeAttribute:Writer");
  EXPECT_EQ(tags["ID3/TXXX"], "ASFUnicodeAttribute:user text");
  EXPECT_EQ(tags["WM/Track"], "ASFDWordAttribute:7");  // unchanged values keep their types
  EXPECT_EQ(tags["ID3/GRID"], "ASFGUIDAttribute:0100000000000000000000000000000f");
  EXPECT_EQ(tags["ID3/TMED"], "ASFBoolAttribute:True");
  EXPECT_TRUE(test::FfmpegDecodes(file));

  auto reloaded = NewTrack();
  ASSERT_EQ(Load(*reloaded, file), com::TRUE);
  EXPECT_EQ(Text(*reloaded, eaAlbum), "Album é中");
  EXPECT_EQ(Text(*reloaded, eaLeadArtist), "Writer");
}

TEST_F(WmTrackTest, ChangedValuesAreWrittenAsStrings) {
  const std::string file = test::CopyWma(dir, "tagged.wma");
  auto track = NewTrack();
  ASSERT_EQ(Load(*track, file), com::TRUE);
  Put(*track, eaTrackNum, com::Variant::FromString(u"8"));
  Put(*track, eaMediaType, com::Variant::FromString(u"No"));
  Put(*track, eaLeadArtist, com::Variant::FromString(u"Only the lead changed"));
  ASSERT_EQ(Save(*track, file), com::TRUE);
  auto tags = test::MutagenAsf(file);
  EXPECT_EQ(tags["WM/Track"], "ASFUnicodeAttribute:8");
  EXPECT_EQ(tags["ID3/TMED"], "ASFUnicodeAttribute:No");
  EXPECT_EQ(tags["Author"], "ASFUnicodeAttribute:Only the lead changed");  // eaAuthor was unchanged
}

TEST_F(WmTrackTest, SaveOfANewTrackLeavesItNotEmpty) {
  const std::string file = test::CopyWma(dir, "plain.wma");
  auto track = NewTrack();
  Put(*track, eaTitle, com::Variant::FromString(u"Fresh"));
  ASSERT_EQ(Save(*track, file), com::TRUE);
  EXPECT_EQ(test::FfprobeTitle(file), "Fresh");
  EXPECT_EQ(Stored(*track), std::vector<EAttribute>{eaTitle});
  com::BOOL empty = 7;
  auto other = NewTrack();
  ASSERT_EQ(Save(*other, file), com::TRUE);  // nothing to write
  other->get_Empty(&empty);
  EXPECT_EQ(empty, com::FALSE);  // looking the values up made their entries
  EXPECT_EQ(test::FfprobeTitle(file), "Fresh");
}

TEST_F(WmTrackTest, WithoutTheRuntimeOrAReadableFileLoadAndSaveFail) {
  auto track = NewTrack(dir.File("libwmvcore.so"));
  const std::string file = test::CopyWma(dir, "tagged.wma");
  const test::Bytes before = test::ReadBytes(file);
  ASSERT_EQ(Load(*track, file), com::FALSE);
  EXPECT_EQ(Stored(*track), std::vector<EAttribute>{eaLocation});
  Put(*track, eaTitle, com::Variant::FromString(u"Never"));
  EXPECT_EQ(Save(*track, file), com::FALSE);
  EXPECT_EQ(test::ReadBytes(file), before);

  auto withRuntime = NewTrack();
  EXPECT_EQ(Load(*withRuntime, test::WmaFixture("notasf.wma")), com::FALSE);
  EXPECT_EQ(Stored(*withRuntime), std::vector<EAttribute>{eaLocation});
  EXPECT_EQ(Load(*withRuntime, dir.File("missing.wma")), com::FALSE);
  EXPECT_EQ(Save(*withRuntime, dir.File("missing.wma")), com::FALSE);
}

TEST_F(WmTrackTest, AVideoFileLoadsToo) {
  auto track = NewTrack();
  ASSERT_EQ(Load(*track, test::WmaFixture("clip.wmv")), com::TRUE);
  EXPECT_EQ(Text(*track, eaTitle), "Video Title");
}

}  // namespace
}  // namespace info
