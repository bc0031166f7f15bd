#include <gtest/gtest.h>

#include "platform/com/SafeArray.h"
#include "platform/com/Variant.h"
#include "tests/platform/com/TrackedObject.h"

namespace com {
namespace {

// The shape of a record as a control would define it: 24 bytes with inner padding.
struct Marker {
  LONG kind;
  ULONGLONG position;
  ULONG frame;
};
static_assert(sizeof(Marker) == 24);

}  // namespace

template <>
struct RecordTraits<Marker> {
  static constexpr GUID guid = MakeGuid("{0B1C2D3E-4F50-4617-8293-A4B5C6D7E8F9}");
  static constexpr std::u16string_view name = u"Marker";
};

namespace {

TEST(SafeArray, BoundsAndElementChecks) {
  SafeArrayPtr sa(SafeArrayCreateVector(VT_I4, 5, 3));
  ASSERT_TRUE(sa);
  EXPECT_EQ(SafeArrayGetDim(sa.get()), 1u);
  EXPECT_EQ(SafeArrayGetElemsize(sa.get()), 4u);
  LONG lo = 0, hi = 0;
  EXPECT_EQ(SafeArrayGetLBound(sa.get(), 1, &lo), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(sa.get(), 1, &hi), S_OK);
  EXPECT_EQ(lo, 5);
  EXPECT_EQ(hi, 7);
  EXPECT_EQ(SafeArrayGetLBound(sa.get(), 2, &lo), DISP_E_BADINDEX);

  LONG value = 11;
  for (LONG i : {5, 6, 7}) {
    value = i * 10;
    EXPECT_EQ(SafeArrayPutElement(sa.get(), &i, &value), S_OK);
  }
  for (LONG bad : {4, 8, -1, 0x7FFFFFFF}) {
    EXPECT_EQ(SafeArrayPutElement(sa.get(), &bad, &value), DISP_E_BADINDEX) << bad;
    EXPECT_EQ(SafeArrayGetElement(sa.get(), &bad, &value), DISP_E_BADINDEX) << bad;
  }
  LONG i = 6;
  ASSERT_EQ(SafeArrayGetElement(sa.get(), &i, &value), S_OK);
  EXPECT_EQ(value, 60);
}

TEST(SafeArray, EmptyArrayHasUpperBelowLower) {
  SafeArrayPtr sa(SafeArrayCreateVector(VT_UI1, 0, 0));
  ASSERT_TRUE(sa);
  LONG hi = 0;
  EXPECT_EQ(SafeArrayGetUBound(sa.get(), 1, &hi), S_OK);
  EXPECT_EQ(hi, -1);
  LONG i = 0;
  BYTE b;
  EXPECT_EQ(SafeArrayGetElement(sa.get(), &i, &b), DISP_E_BADINDEX);
}

TEST(SafeArray, UnsupportedTypesAreRefused) {
  EXPECT_EQ(SafeArrayCreateVector(VT_RECORD, 0, 1), nullptr);  // needs its description
  EXPECT_EQ(SafeArrayCreateVector(VT_NULL, 0, 1), nullptr);
  EXPECT_EQ(SafeArrayCreateVectorEx(VT_RECORD, 0, 1, nullptr), nullptr);
  const SAFEARRAYBOUND two[2] = {{1, 0}, {1, 0}};
  EXPECT_EQ(SafeArrayCreate(VT_I4, 2, two), nullptr);
  EXPECT_EQ(SafeArrayCreateVector(VT_R8, 0, 0x40000000u), nullptr);  // 8 GiB
}

TEST(SafeArray, LockedArrayCannotBeDestroyed) {
  SAFEARRAY* sa = SafeArrayCreateVector(VT_I2, 0, 4);
  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(sa, &data), S_OK);
  EXPECT_EQ(sa->cLocks, 1u);
  EXPECT_EQ(SafeArrayDestroy(sa), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayUnaccessData(sa), S_OK);
  EXPECT_EQ(SafeArrayUnaccessData(sa), E_UNEXPECTED);
  EXPECT_EQ(SafeArrayDestroy(sa), S_OK);
}

TEST(SafeArray, RecordArraysKeepTheirDescription) {
  ComPtr<IRecordInfo> info =
      CreatePodRecordInfo(RecordTraits<Marker>::guid, RecordTraits<Marker>::name, sizeof(Marker));
  SafeArrayPtr sa(SafeArrayCreateVectorEx(VT_RECORD, 0, 2, info.Get()));
  ASSERT_TRUE(sa);
  EXPECT_EQ(sa->cbElements, 24u);
  EXPECT_TRUE(sa->fFeatures & FADF_RECORD);
  ComPtr<IRecordInfo> got;
  ASSERT_EQ(SafeArrayGetRecordInfo(sa.get(), got.Put()), S_OK);
  EXPECT_EQ(got, info);
  BSTR name = nullptr;
  ASSERT_EQ(got->GetName(&name), S_OK);
  EXPECT_EQ(std::u16string(name), u"Marker");
  SysFreeString(name);
  got.Reset();

  Marker m{2, 44100, 75};
  LONG i = 1;
  ASSERT_EQ(SafeArrayPutElement(sa.get(), &i, &m), S_OK);
  m.frame = 0;
  Marker out{};
  ASSERT_EQ(SafeArrayGetElement(sa.get(), &i, &out), S_OK);
  EXPECT_EQ(out.frame, 75u);
  EXPECT_EQ(out.position, 44100u);

  SafeArrayAccess<Marker> view(sa.get());
  ASSERT_EQ(view.Status(), S_OK);
  ASSERT_EQ(view.Items().size(), 2u);
  EXPECT_EQ(view.Items()[0].kind, 0);  // zero-initialised
  EXPECT_EQ(view.Items()[1].kind, 2);
  EXPECT_EQ(sa->cLocks, 1u);
}

TEST(SafeArray, TypedAccessRejectsOtherShapes) {
  SafeArrayPtr longs(SafeArrayCreateVector(VT_I4, 0, 6));
  EXPECT_EQ(SafeArrayAccess<Marker>(longs.get()).Status(), DISP_E_BADVARTYPE);
  EXPECT_EQ(SafeArrayAccess<Marker>(nullptr).Status(), E_INVALIDARG);
  ComPtr<IRecordInfo> other = CreatePodRecordInfo(
      MakeGuid("{11111111-2222-3333-4444-555555555555}"), u"Other", sizeof(Marker));
  SafeArrayPtr foreign(SafeArrayCreateVectorEx(VT_RECORD, 0, 1, other.Get()));
  EXPECT_EQ(SafeArrayAccess<Marker>(foreign.get()).Status(), DISP_E_BADVARTYPE);
  SafeArrayAccess<LONG> view(longs.get(), VT_I4);
  EXPECT_EQ(view.Status(), S_OK);
  EXPECT_EQ(view.Items().size(), 6u);
}

TEST(SafeArray, OwnedElementsAreCopiedAndReleased) {
  ComPtr<test::TrackedObject> obj = MakeObject<test::TrackedObject>();
  SAFEARRAY* sa = SafeArrayCreateVector(VT_UNKNOWN, 0, 2);
  LONG i = 0;
  ASSERT_EQ(SafeArrayPutElement(sa, &i, static_cast<IUnknown*>(static_cast<IDispatch*>(obj.Get()))), S_OK);
  EXPECT_EQ(obj->Refs(), 2u);
  IUnknown* out = nullptr;
  ASSERT_EQ(SafeArrayGetElement(sa, &i, &out), S_OK);
  EXPECT_EQ(obj->Refs(), 3u);
  out->Release();
  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(SafeArrayCopy(sa, &copy), S_OK);
  EXPECT_EQ(obj->Refs(), 3u);
  ASSERT_EQ(SafeArrayPutElement(sa, &i, nullptr), S_OK);  // replaces and releases
  EXPECT_EQ(obj->Refs(), 2u);
  SafeArrayDestroy(copy);
  SafeArrayDestroy(sa);
  EXPECT_EQ(obj->Refs(), 1u);

  SafeArrayPtr variants(SafeArrayCreateVector(VT_VARIANT, 0, 1));
  Variant text = Variant::FromString(u"v");
  ASSERT_EQ(SafeArrayPutElement(variants.get(), &i, text.Raw()), S_OK);
  Variant back;
  ASSERT_EQ(SafeArrayGetElement(variants.get(), &i, back.Raw()), S_OK);
  EXPECT_EQ(std::u16string(back.Get().bstrVal), u"v");
  EXPECT_NE(back.Get().bstrVal, text.Get().bstrVal);
}

}  // namespace
}  // namespace com
