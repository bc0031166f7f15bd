#include <gtest/gtest.h>

#include "platform/com/SafeArray.h"
#include "platform/com/Variant.h"
#include "tests/platform/com/TrackedObject.h"
#include "tests/platform/com/TestRecords.h"

namespace com {
namespace {

using test::Point;
using test::TrackedObject;

TEST(Variant, CopyOfStringIsIndependent) {
  Variant source = Variant::FromString(u"abc");
  Variant copy = source.Copy();
  ASSERT_EQ(copy.Type(), VT_BSTR);
  EXPECT_NE(copy.Get().bstrVal, source.Get().bstrVal);
  copy.Raw()->bstrVal[0] = u'X';
  EXPECT_EQ(source.Get().bstrVal[0], u'a');
  VARIANT nullString;
  VariantInit(&nullString);
  nullString.vt = VT_BSTR;  // a null BSTR is a legal empty string
  Variant fromNull = Variant::CopyOf(nullString);
  EXPECT_EQ(fromNull.Type(), VT_BSTR);
  EXPECT_EQ(fromNull.Get().bstrVal, nullptr);
}

TEST(Variant, CopiesAndClearsCountInterfaceReferences) {
  ComPtr<TrackedObject> obj = MakeObject<TrackedObject>();
  {
    Variant v = Variant::FromDispatch(obj.Get());
    EXPECT_EQ(obj->Refs(), 2u);
    Variant copy = v.Copy();
    EXPECT_EQ(obj->Refs(), 3u);
    VariantClear(copy.Raw());
    EXPECT_EQ(copy.Type(), VT_EMPTY);
    EXPECT_EQ(obj->Refs(), 2u);
    Variant moved = std::move(v);
    EXPECT_EQ(obj->Refs(), 2u);
    Variant unk = Variant::FromUnknown(obj.Get());
    EXPECT_EQ(obj->Refs(), 3u);
    *unk.Put() = *Variant::FromLong(5).Raw();  // Put releases the previous value
    EXPECT_EQ(obj->Refs(), 2u);
  }
  EXPECT_EQ(obj->Refs(), 1u);
}

TEST(Variant, CopyIntoOccupiedDestinationReleasesIt) {
  ComPtr<TrackedObject> obj = MakeObject<TrackedObject>();
  Variant dest = Variant::FromDispatch(obj.Get());
  Variant text = Variant::FromString(u"t");
  ASSERT_EQ(VariantCopy(dest.Raw(), &text.Get()), S_OK);
  EXPECT_EQ(obj->Refs(), 1u);
  EXPECT_EQ(VariantCopy(dest.Raw(), dest.Raw()), S_OK);  // self copy keeps the value
  EXPECT_EQ(dest.Get().bstrVal[0], u't');
}

TEST(Variant, ByReferenceIsShallowUnlessIndirect) {
  LONG target = 7;
  VARIANT ref;
  VariantInit(&ref);
  ref.vt = VT_I4 | VT_BYREF;
  ref.plVal = &target;
  Variant shallow = Variant::CopyOf(ref);
  EXPECT_EQ(shallow.Get().plVal, &target);
  Variant deep;
  ASSERT_EQ(VariantCopyInd(deep.Raw(), &ref), S_OK);
  EXPECT_EQ(deep.Type(), VT_I4);
  EXPECT_EQ(deep.Get().lVal, 7);
  VariantClear(&ref);  // not owned: nothing freed
  EXPECT_EQ(target, 7);
}

TEST(Variant, RecordCopiesAreDeep) {
  IRecordInfo* info = RecordInfoOf<Point>();
  Point p{3, 4};
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_RECORD;
  v.record.pvRecord = &p;
  v.record.pRecInfo = info;
  Variant copy = Variant::CopyOf(v);
  ASSERT_EQ(copy.Type(), VT_RECORD);
  auto* q = static_cast<Point*>(copy.Get().record.pvRecord);
  ASSERT_NE(q, &p);
  EXPECT_EQ(q->y, 4);
  q->y = 9;
  EXPECT_EQ(p.y, 4);
  EXPECT_TRUE(IsRecordOf<Point>(copy.Get().record.pRecInfo));
}

TEST(Variant, ArrayCopiesAreDeep) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ARRAY | VT_BSTR;
  v.parray = SafeArrayCreateVector(VT_BSTR, 0, 2);
  LONG i = 1;
  Bstr one(u"one");
  ASSERT_EQ(SafeArrayPutElement(v.parray, &i, one.Get()), S_OK);
  Variant owner;
  owner.Attach(&v);
  EXPECT_EQ(v.vt, VT_EMPTY);
  Variant copy = owner.Copy();
  ASSERT_NE(copy.Get().parray, owner.Get().parray);
  BSTR got = nullptr;
  ASSERT_EQ(SafeArrayGetElement(copy.Get().parray, &i, &got), S_OK);
  EXPECT_EQ(std::u16string(got), u"one");
  SysFreeString(got);
}

TEST(VariantChangeType, IntegerRangesOverflow) {
  Variant big = Variant::FromLong(70000);
  Variant out;
  EXPECT_EQ(VariantChangeType(out.Raw(), &big.Get(), 0, VT_I2), DISP_E_OVERFLOW);
  EXPECT_EQ(out.Type(), VT_EMPTY);  // unchanged on failure
  EXPECT_EQ(VariantChangeType(out.Raw(), &big.Get(), 0, VT_UI4), S_OK);
  EXPECT_EQ(out.Get().ulVal, 70000u);
  Variant negative = Variant::FromLong(-1);
  EXPECT_EQ(VariantChangeType(out.Raw(), &negative.Get(), 0, VT_UI4), DISP_E_OVERFLOW);
  EXPECT_EQ(VariantChangeType(out.Raw(), &negative.Get(), 0, VT_UI1), DISP_E_OVERFLOW);
  Variant huge = Variant::FromULong(0x80000000u);
  EXPECT_EQ(VariantChangeType(out.Raw(), &huge.Get(), 0, VT_I4), DISP_E_OVERFLOW);
  EXPECT_EQ(VariantChangeType(out.Raw(), &huge.Get(), 0, VT_UINT), S_OK);
}

TEST(VariantChangeType, TextAndNumbers) {
  Variant out;
  Variant text = Variant::FromString(u" -42 ");
  ASSERT_EQ(VariantChangeType(out.Raw(), &text.Get(), 0, VT_I4), S_OK);
  EXPECT_EQ(out.Get().lVal, -42);
  Variant real = Variant::FromString(u"2.5");
  ASSERT_EQ(VariantChangeType(out.Raw(), &real.Get(), 0, VT_I4), S_OK);
  EXPECT_EQ(out.Get().lVal, 2);  // ties to even
  Variant tooBig = Variant::FromString(u"99999999999999999999");
  EXPECT_EQ(VariantChangeType(out.Raw(), &tooBig.Get(), 0, VT_I4), DISP_E_OVERFLOW);
  Variant junk = Variant::FromString(u"12ab");
  EXPECT_EQ(VariantChangeType(out.Raw(), &junk.Get(), 0, VT_I4), DISP_E_TYPEMISMATCH);
  Variant empty = Variant::FromString(u"");
  EXPECT_EQ(VariantChangeType(out.Raw(), &empty.Get(), 0, VT_UI4), DISP_E_TYPEMISMATCH);
  for (const char16_t* bad : {u"+-3", u"-", u"inf", u"nan", u"0x10", u"1,5"}) {
    Variant v = Variant::FromString(bad);
    EXPECT_EQ(VariantChangeType(out.Raw(), &v.Get(), 0, VT_R8), DISP_E_TYPEMISMATCH);
  }
  Variant plus = Variant::FromString(u"+7");
  ASSERT_EQ(VariantChangeType(out.Raw(), &plus.Get(), 0, VT_R8), S_OK);
  EXPECT_EQ(out.Get().dblVal, 7.0);

  Variant n = Variant::FromLong(-1234);
  ASSERT_EQ(VariantChangeType(out.Raw(), &n.Get(), 0, VT_BSTR), S_OK);
  EXPECT_EQ(std::u16string(out.Get().bstrVal), u"-1234");
  Variant u = Variant::FromULong(4000000000u);
  ASSERT_EQ(VariantChangeType(out.Raw(), &u.Get(), 0, VT_BSTR), S_OK);
  EXPECT_EQ(std::u16string(out.Get().bstrVal), u"4000000000");
}

TEST(VariantChangeType, Booleans) {
  Variant out;
  Variant t = Variant::FromString(u"True");
  ASSERT_EQ(VariantChangeType(out.Raw(), &t.Get(), 0, VT_BOOL), S_OK);
  EXPECT_EQ(out.Get().boolVal, VARIANT_TRUE);
  Variant seven = Variant::FromLong(7);
  ASSERT_EQ(VariantChangeType(out.Raw(), &seven.Get(), 0, VT_BOOL), S_OK);
  EXPECT_EQ(out.Get().boolVal, VARIANT_TRUE);
  Variant b = Variant::FromBool(true);
  ASSERT_EQ(VariantChangeType(out.Raw(), &b.Get(), 0, VT_I4), S_OK);
  EXPECT_EQ(out.Get().lVal, -1);
  ASSERT_EQ(VariantChangeType(out.Raw(), &b.Get(), VARIANT_ALPHABOOL, VT_BSTR), S_OK);
  EXPECT_EQ(std::u16string(out.Get().bstrVal), u"True");
  ASSERT_EQ(VariantChangeType(out.Raw(), &b.Get(), 0, VT_BSTR), S_OK);
  EXPECT_EQ(std::u16string(out.Get().bstrVal), u"-1");
}

TEST(VariantChangeType, InPlaceAndByReference) {
  Variant v = Variant::FromString(u"17");
  ASSERT_EQ(v.ChangeType(VT_UI2), S_OK);
  EXPECT_EQ(v.Type(), VT_UI2);
  EXPECT_EQ(v.Get().uiVal, 17);

  BSTR text = SysAllocString(u"300");
  VARIANT ref;
  VariantInit(&ref);
  ref.vt = VT_BSTR | VT_BYREF;
  ref.pbstrVal = &text;
  Variant out;
  ASSERT_EQ(VariantChangeType(out.Raw(), &ref, 0, VT_I4), S_OK);
  EXPECT_EQ(out.Get().lVal, 300);
  EXPECT_EQ(VariantChangeType(out.Raw(), &ref, 0, VT_UI1), DISP_E_OVERFLOW);
  SysFreeString(text);

  VARIANT inner;
  VariantInit(&inner);
  inner.vt = VT_I2;
  inner.iVal = -5;
  VARIANT outer;
  VariantInit(&outer);
  outer.vt = VT_VARIANT | VT_BYREF;
  outer.pvarVal = &inner;
  ASSERT_EQ(VariantChangeType(out.Raw(), &outer, 0, VT_I4), S_OK);
  EXPECT_EQ(out.Get().lVal, -5);
}

TEST(VariantChangeType, ObjectsAndTheirValueProperty) {
  ComPtr<TrackedObject> obj = MakeObject<TrackedObject>(99);
  Variant unk = Variant::FromUnknown(obj.Get());
  Variant out;
  ASSERT_EQ(VariantChangeType(out.Raw(), &unk.Get(), 0, VT_DISPATCH), S_OK);
  EXPECT_EQ(out.Get().pdispVal, static_cast<IDispatch*>(obj.Get()));
  EXPECT_EQ(obj->Refs(), 3u);
  Variant disp = Variant::FromDispatch(obj.Get());
  ASSERT_EQ(VariantChangeType(out.Raw(), &disp.Get(), 0, VT_BSTR), S_OK);
  EXPECT_EQ(std::u16string(out.Get().bstrVal), u"99");
  EXPECT_EQ(VariantChangeType(out.Raw(), &disp.Get(), VARIANT_NOVALUEPROP, VT_I4),
            DISP_E_TYPEMISMATCH);
  Variant number = Variant::FromLong(1);
  EXPECT_EQ(VariantChangeType(out.Raw(), &number.Get(), 0, VT_DISPATCH), DISP_E_TYPEMISMATCH);
  out = Variant();
  disp = Variant();
  unk = Variant();
  EXPECT_EQ(obj->Refs(), 1u);
}

}  // namespace
}  // namespace com
