#include <gtest/gtest.h>

#include <atomic>
#include <set>

#include "info/MpegTrack.h"
#include "info/Pictures.h"
#include "info/TrackFactory.h"
#include "info/WmTrack.h"
#include "platform/com/Stream.h"
#include "tests/info/TestFiles.h"

namespace info {
namespace {

using test::Bytes;

class CountingLock final : public com::ModuleLock {
 public:
  void Lock() noexcept override { ++count; }
  void Unlock() noexcept override { --count; }
  std::atomic<int> count{0};
};

class TrackTest : public ::testing::Test {
 protected:
  com::ComPtr<ITrack> NewTrack(EFormat format) {
    com::ComPtr<com::IDispatch> object;
    EXPECT_EQ(factory->CreateInstance(format, object.Put()), com::S_OK);
    return object.As<ITrack>(IID_ITrack);
  }
  com::BOOL Load(ITrack& track, const std::string& path) {
    com::BOOL loaded = 7;
    EXPECT_EQ(track.Load(com::Bstr::FromUtf8(path).Get(), &loaded), com::S_OK);
    return loaded;
  }
  com::BOOL Save(ITrack& track, const std::string& path) {
    com::BOOL saved = 7;
    EXPECT_EQ(track.Save(com::Bstr::FromUtf8(path).Get(), &saved), com::S_OK);
    return saved;
  }
  std::string Text(ITrack& track, EAttribute attribute) {
    com::Variant value;
    track.get_Attribute(attribute, value.Put());
    return value.Type() == com::VT_BSTR ? com::Bstr(value.Get().bstrVal).ToUtf8() : "<not text>";
  }
  com::BOOL Empty(ITrack& track) {
    com::BOOL empty = 7;
    EXPECT_EQ(track.get_Empty(&empty), com::S_OK);
    return empty;
  }
  com::ComPtr<IPictures> PicturesOf(ITrack& track) {
    com::Variant value;
    track.get_Attribute(eaPictures, value.Put());
    if (value.Type() != com::VT_DISPATCH) return {};
    return com::ComPtr<com::IDispatch>(value.Get().pdispVal).As<IPictures>(IID_IPictures);
  }
  static Bytes ReadStream(com::IUnknown* item) {
    auto stream = com::ComPtr<com::IUnknown>(item).As<com::IStream>(com::IID_IStream);
    Bytes out;
    std::uint8_t buffer[4096];
    com::ULONG n = 0;
    while (stream && com::SUCCEEDED(stream->Read(buffer, sizeof buffer, &n)) && n > 0) out.insert(out.end(), buffer, buffer + n);
    return out;
  }

  void TearDown() override {
    factory.Reset();
    EXPECT_EQ(lock.count, 0) << "a library object outlived its last reference";
  }

  CountingLock lock;
  com::ComPtr<TrackFactory> factory = com::MakeObject<TrackFactory>(&lock);
  test::TempDir dir;
};

TEST_F(TrackTest, EmptyBeforeAndAfterAFailedLoad) {
  auto track = NewTrack(efMPEG);
  ASSERT_TRUE(track);
  EXPECT_EQ(Empty(*track), -1);
  com::Variant value;
  EXPECT_EQ(track->get_Attribute(eaTitle, value.Put()), com::S_OK);
  EXPECT_EQ(value.Type(), com::VT_EMPTY);
  EXPECT_EQ(Empty(*track), -1);
  EXPECT_EQ(Load(*track, dir.File("missing.mp3")), com::FALSE);
  EXPECT_EQ(Empty(*track), 0);
  EXPECT_EQ(Text(*track, eaLocation), dir.File("missing.mp3"));
  EXPECT_EQ(track->get_Empty(nullptr), com::E_POINTER);
  EXPECT_EQ(track->get_Attribute(eaTitle, nullptr), com::E_POINTER);
  EXPECT_EQ(track->Load(nullptr, nullptr), com::E_POINTER);
}

TEST_F(TrackTest, LoadsWhatMutagenReads) {
  const std::string path = test::CopyFixture(dir, "tagged.mp3");
  auto dump = test::MutagenDump(path);
  auto track = NewTrack(efMPEG);
  ASSERT_EQ(Load(*track, path), com::TRUE);
  const std::pair<EAttribute, const char*> expected[] = {
      {eaTitle, "TIT2"}, {eaLeadArtist, "TPE1"}, {eaAlbum, "TALB"}, {eaYear, "TYER"}, {eaGenre, "TCON"},
      {eaTrackNum, "TRCK"}, {eaComment, "COMM"}, {eaTermsOfUse, "USER"}, {eaBand, "TPE2"}, {eaPartInSet, "TPOS"},
      {eaUserText, "TXXX"}, {eaWwwArtist, "WOAR"}, {eaWwwUser, "WXXX"}, {eaPrivate, "PRIV"}};
  for (const auto& [attribute, key] : expected) EXPECT_EQ(Text(*track, attribute), dump[key]) << key;
  EXPECT_EQ(Text(*track, eaUnsyncedLyrics), "Line one\nLine two");
  com::Variant bitrate;
  track->get_Attribute(eaBitrate, bitrate.Put());
  EXPECT_EQ(bitrate.Type(), com::VT_I4);
  EXPECT_EQ(bitrate.Get().lVal, 128000);
  EXPECT_EQ(Text(*track, eaStatistics).substr(0, 14), "Mode: Stereo\r\n");
}

TEST_F(TrackTest, PicturesAreTheEmbeddedBytesAndSurviveASave) {
  const std::string path = test::CopyFixture(dir, "tagged.mp3");
  auto track = NewTrack(efMPEG);
  ASSERT_EQ(Load(*track, path), com::TRUE);
  auto pictures = PicturesOf(*track);
  ASSERT_TRUE(pictures);
  com::LONG count = 0;
  ASSERT_EQ(pictures->get_Count(&count), com::S_OK);
  ASSERT_EQ(count, 2);
  ASSERT_TRUE(test::MutagenPictures(path, dir.path()));
  const std::set<Bytes> embedded{test::ReadBytes(dir.File("mutagen-1.bin")), test::ReadBytes(dir.File("mutagen-2.bin"))};
  std::set<Bytes> ours;
  for (int i = 0; i < 2; ++i) {
    com::ComPtr<com::IUnknown> item;
    ASSERT_EQ(pictures->get_ItemData(i, item.Put()), com::S_OK);
    const Bytes first = ReadStream(item.Get());
    item.Reset();
    ASSERT_EQ(pictures->get_ItemData(i, item.Put()), com::S_OK);  // rewound for every reader
    EXPECT_EQ(ReadStream(item.Get()), first);
    ours.insert(first);
  }
  EXPECT_EQ(ours, embedded);
  com::ComPtr<com::IUnknown> item;
  EXPECT_EQ(pictures->get_ItemData(count, item.Put()), com::E_INVALIDARG);
  EXPECT_EQ(pictures->get_ItemData(-1, item.Put()), com::E_INVALIDARG);
  EXPECT_EQ(pictures->get_ItemData(0, nullptr), com::E_POINTER);
  EXPECT_EQ(pictures->get_Count(nullptr), com::E_POINTER);
  EXPECT_EQ(pictures->Add(nullptr), com::E_POINTER);

  com::Variant title = com::Variant::FromString(u"Changed title");
  track->put_Attribute(eaTitle, title.Get());
  ASSERT_EQ(Save(*track, path), com::TRUE);
  auto dump = test::MutagenDump(path);
  EXPECT_EQ(dump["TIT2"], "Changed title");
  EXPECT_EQ(dump["pictures"], "2");
  EXPECT_EQ(dump["v1.TIT2"], "Changed title");
}

TEST_F(TrackTest, OnlyTextValuesAreSaved) {
  const std::string path = test::CopyFixture(dir, "cbr128.mp3");
  auto track = NewTrack(efMPEG);
  com::Variant five = com::Variant::FromLong(5);
  track->put_Attribute(eaTitle, five.Get());
  com::Variant back;
  track->get_Attribute(eaTitle, back.Put());
  EXPECT_EQ(back.Type(), com::VT_I4);
  EXPECT_EQ(back.Get().lVal, 5);
  com::Variant empty = com::Variant::FromString(u"");
  track->put_Attribute(eaAlbum, empty.Get());
  com::Variant artist = com::Variant::FromString(u"Someone");
  track->put_Attribute(eaLeadArtist, artist.Get());
  com::Variant popularity = com::Variant::FromString(u"me@example");
  track->put_Attribute(eaPopulariMeter, popularity.Get());
  ASSERT_EQ(Save(*track, path), com::TRUE);
  auto dump = test::MutagenDump(path);
  EXPECT_EQ(dump.count("TIT2"), 0u);
  EXPECT_EQ(dump.count("TALB"), 0u);
  EXPECT_EQ(dump["TPE1"], "Someone");
  EXPECT_EQ(dump["audio_head"].substr(0, 3), "fff");

  auto reloaded = NewTrack(efMPEG);
  ASSERT_EQ(Load(*reloaded, path), com::TRUE);
  EXPECT_EQ(Text(*reloaded, eaLeadArtist), "Someone");
  EXPECT_EQ(Text(*reloaded, eaPopulariMeter), "me@example");
  EXPECT_EQ(Save(*track, dir.File("no/such/folder.mp3")), com::FALSE);
}

TEST_F(TrackTest, AttributesAreCopiedInAndOut) {
  auto track = NewTrack(efMPEG);
  com::Variant title = com::Variant::FromString(u"first");
  track->put_Attribute(eaTitle, title.Get());
  title = com::Variant::FromString(u"changed by the host");
  com::Variant out;
  track->get_Attribute(eaTitle, out.Put());
  com::VariantClear(out.Raw());
  EXPECT_EQ(Text(*track, eaTitle), "first");

  com::ComPtr<Pictures> pictures = com::MakeObject<Pictures>(&lock);
  com::ComPtr<IPictures> other = com::MakeObject<Pictures>(&lock);
  EXPECT_EQ(pictures->Add(other.Get()), com::S_OK);  // not a stream: handed out as it is
  com::ComPtr<com::IUnknown> item;
  EXPECT_EQ(pictures->get_ItemData(0, item.Put()), com::S_OK);
  EXPECT_EQ(item.Get(), static_cast<com::IUnknown*>(other.Get()));
}

TEST_F(TrackTest, SupportedAttributes) {
  auto mpeg = NewTrack(efMPEG);
  auto wm = NewTrack(efWM);
  std::set<int> mpegYes, wmYes;
  for (int a = eaBegin; a <= eaEnd; ++a) {
    com::BOOL yes = 7;
    ASSERT_EQ(mpeg->get_AttributeSupported(static_cast<EAttribute>(a), &yes), com::S_OK);
    ASSERT_TRUE(yes == 0 || yes == 1);
    if (yes) mpegYes.insert(a);
    ASSERT_EQ(wm->get_AttributeSupported(static_cast<EAttribute>(a), &yes), com::S_OK);
    if (yes) wmYes.insert(a);
  }
  std::set<int> expected;
  for (int a = eaComment; a <= eaWwwUser; ++a) expected.insert(a);
  expected.insert(eaPrivate);
  EXPECT_EQ(mpegYes, expected);
  expected.clear();
  for (int a = eaPictures; a <= eaAuthor; ++a) expected.insert(a);
  EXPECT_EQ(wmYes, expected);
}

TEST_F(TrackTest, FactoryFormatsAndWindowsMediaWithoutRuntime) {
  com::ComPtr<com::IDispatch> none;
  EXPECT_EQ(factory->CreateInstance(static_cast<EFormat>(2), none.Put()), com::S_OK);
  EXPECT_FALSE(none);
  EXPECT_EQ(factory->CreateInstance(efMPEG, nullptr), com::E_POINTER);
  for (const std::string& url : {test::FixturePath("cbr128.mp3"), dir.File("nowhere.wma")}) {
    com::ComPtr<com::IDispatch> object;
    ASSERT_EQ(factory->CreateInstanceFromUrl(com::Bstr::FromUtf8(url).Get(), object.Put()), com::S_OK);
    auto track = object.As<ITrack>(IID_ITrack);
    ASSERT_TRUE(track);
    EXPECT_EQ(Empty(*track), -1);
    EXPECT_EQ(Load(*track, url), com::FALSE);
    EXPECT_EQ(Text(*track, eaLocation), url);
    EXPECT_EQ(Save(*track, url), com::FALSE);
  }
}

TEST_F(TrackTest, InterfacesAndDispatch) {
  auto track = NewTrack(efMPEG);
  for (const com::IID& iid : {com::IID_IUnknown, com::IID_IDispatch, IID_ITrack}) {
    com::ComPtr<com::IUnknown> other;
    EXPECT_EQ(track->QueryInterface(iid, other.PutVoid()), com::S_OK);
  }
  com::ComPtr<com::IUnknown> other;
  EXPECT_EQ(track->QueryInterface(IID_IPictures, other.PutVoid()), com::E_NOINTERFACE);
  EXPECT_EQ(factory->QueryInterface(IID_ITrack, other.PutVoid()), com::E_NOINTERFACE);

  const char16_t* names[] = {u"load"};
  com::DISPID id = 0;
  ASSERT_EQ(track->GetIDsOfNames(com::GUID_NULL, const_cast<com::LPOLESTR*>(names), 1, 0, &id), com::S_OK);
  com::Bstr path = com::Bstr::FromUtf8(test::FixturePath("tagged.mp3"));
  com::VARIANT arg{};
  arg.vt = com::VT_BSTR;
  arg.bstrVal = path.Get();
  com::DISPPARAMS params{&arg, nullptr, 1, 0};
  com::Variant result;
  ASSERT_EQ(track->Invoke(id, com::GUID_NULL, 0, com::DISPATCH_METHOD, &params, result.Put(), nullptr, nullptr), com::S_OK);
  EXPECT_EQ(result.Get().lVal, com::TRUE);

  // put Attribute(eaTitle) = "x" by DISPID, then get it back by name.
  com::Bstr text = com::Bstr::FromUtf8("x");
  com::VARIANT putArgs[2]{};
  putArgs[0].vt = com::VT_BSTR;
  putArgs[0].bstrVal = text.Get();
  putArgs[1].vt = com::VT_I4;
  putArgs[1].lVal = eaTitle;
  com::DISPID named = com::DISPID_PROPERTYPUT;
  com::DISPPARAMS put{putArgs, &named, 2, 1};
  ASSERT_EQ(track->Invoke(dispid::kAttribute, com::GUID_NULL, 0, com::DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr), com::S_OK);
  EXPECT_EQ(Text(*track, eaTitle), "x");
  const char16_t* unknown[] = {u"Nope"};
  EXPECT_EQ(track->GetIDsOfNames(com::GUID_NULL, const_cast<com::LPOLESTR*>(unknown), 1, 0, &id), com::DISP_E_UNKNOWNNAME);
  EXPECT_EQ(track->Invoke(99, com::GUID_NULL, 0, com::DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), com::DISP_E_MEMBERNOTFOUND);
}

}  // namespace
}  // namespace info
