// A worked example of the dispatch helper: a small gadget object with a method, a string
// property, an in/out long, record arguments and results, and every failure a caller meets.
#include <gtest/gtest.h>

#include "platform/com/ComObject.h"
#include "platform/com/DispatchTable.h"
#include "platform/com/ErrorInfo.h"
#include "tests/platform/com/TestRecords.h"

namespace com {
namespace {

using test::Point;

inline constexpr IID IID_IGadget = MakeGuid("{E3B0C442-98FC-4C14-9AFB-F4C8996FB924}");

enum Mode : LONG { ModeOff = 0, ModeOn = 1 };

class IGadget : public IDispatch {
 public:
  virtual HRESULT Ping() = 0;
  virtual HRESULT Add(LONG a, ULONG b, LONG* sum) = 0;
  virtual HRESULT get_Name(BSTR* value) = 0;
  virtual HRESULT put_Name(BSTR value) = 0;
  virtual HRESULT Twice(LONG* value) = 0;
  virtual HRESULT Scale(Point* p, SHORT factor) = 0;
  virtual HRESULT get_Origin(Point* value) = 0;
  virtual HRESULT get_Enabled(SHORT* value) = 0;
  virtual HRESULT Fail() = 0;
  virtual HRESULT get_Item(LONG index, VARIANT* value) = 0;
  virtual HRESULT put_Item(LONG index, VARIANT value) = 0;
  virtual HRESULT CountPoints(SAFEARRAY* points, LONG* count) = 0;
  virtual HRESULT put_Mode(Mode mode) = 0;

 protected:
  ~IGadget() = default;
};

using M = DispatchMembers<IGadget>;
inline constexpr DispatchMember<IGadget> kGadgetMembers[] = {
    M::Method<&IGadget::Ping>(1, u"Ping"),
    M::MethodWithResult<&IGadget::Add>(2, u"Add"),
    M::PropGet<&IGadget::get_Name>(3, u"Name"),
    M::PropPut<&IGadget::put_Name>(3, u"Name"),
    M::Method<&IGadget::Twice>(4, u"Twice"),
    M::Method<&IGadget::Scale>(5, u"Scale"),
    M::PropGet<&IGadget::get_Origin>(6, u"Origin"),
    M::PropGet<&IGadget::get_Enabled>(7, u"Enabled").ResultAs(VT_BOOL),
    M::Method<&IGadget::Fail>(8, u"Fail"),
    M::PropGet<&IGadget::get_Item>(DISPID_VALUE, u"Item"),
    M::PropPut<&IGadget::put_Item>(DISPID_VALUE, u"Item"),
    M::MethodWithResult<&IGadget::CountPoints>(9, u"CountPoints"),
    M::PropPut<&IGadget::put_Mode>(10, u"Mode"),
};

// The types of each member come from its signature.
static_assert(kGadgetMembers[1].paramCount == 2);
static_assert(kGadgetMembers[1].params[1] == VT_UI4);
static_assert(kGadgetMembers[1].result == VT_I4);
static_assert(kGadgetMembers[4].params[0] == (VT_BYREF | VT_I4));
static_assert(kGadgetMembers[5].params[0] == (VT_BYREF | VT_RECORD));
static_assert(kGadgetMembers[6].result == VT_RECORD);
static_assert(kGadgetMembers[7].result == VT_BOOL);
static_assert(kGadgetMembers[12].params[0] == VT_I4);

class Gadget final : public ComObject<Gadget, DispatchImpl<IGadget, kGadgetMembers>> {
 public:
  auto Interfaces() {
    return std::array{Expose<IGadget>(this, IID_IUnknown), Expose<IGadget>(this, IID_IDispatch),
                      Expose<IGadget>(this, IID_IGadget)};
  }
  HRESULT Ping() override {
    ++pings;
    return S_OK;
  }
  HRESULT Add(LONG a, ULONG b, LONG* sum) override {
    *sum = a + static_cast<LONG>(b);
    return S_OK;
  }
  HRESULT get_Name(BSTR* value) override {
    *value = name.Copy().Detach();
    return S_OK;
  }
  HRESULT put_Name(BSTR value) override {
    name = Bstr::CopyOf(value);
    return S_OK;
  }
  HRESULT Twice(LONG* value) override {
    *value *= 2;
    return S_OK;
  }
  HRESULT Scale(Point* p, SHORT factor) override {
    p->x *= factor;
    p->y *= factor;
    return S_OK;
  }
  HRESULT get_Origin(Point* value) override {
    *value = {-3, 8};
    return S_OK;
  }
  HRESULT get_Enabled(SHORT* value) override {
    *value = VARIANT_TRUE;
    return S_OK;
  }
  HRESULT Fail() override {
    return ReportError(IID_IGadget, u"Gadget", u"The gadget is out of order", E_FAIL);
  }
  HRESULT get_Item(LONG index, VARIANT* value) override {
    if (index < 0 || index >= 2) return DISP_E_BADINDEX;
    return VariantCopy(value, &items[index].Get());
  }
  HRESULT put_Item(LONG index, VARIANT value) override {
    if (index < 0 || index >= 2) return DISP_E_BADINDEX;
    items[index] = Variant::CopyOf(value);
    return S_OK;
  }
  HRESULT CountPoints(SAFEARRAY* points, LONG* count) override {
    SafeArrayAccess<Point> view(points);
    if (FAILED(view.Status())) return view.Status();
    *count = static_cast<LONG>(view.Items().size());
    return S_OK;
  }
  HRESULT put_Mode(Mode m) override {
    mode = m;
    return S_OK;
  }

  int pings = 0;
  Bstr name;
  Variant items[2];
  Mode mode = ModeOff;
};

// Builds DISPPARAMS from arguments in declaration order (stored last first, as callers do).
class Call {
 public:
  Call& Arg(Variant v) {
    args_.insert(args_.begin(), std::move(v));
    return *this;
  }
  Call& ArgLong(LONG v) { return Arg(Variant::FromLong(v)); }
  Call& ArgRef(VARTYPE vt, void* p) {
    Variant v;
    v.Raw()->vt = VT_BYREF | vt;
    v.Raw()->byref = p;
    return Arg(std::move(v));
  }
  Call& Named(DISPID id) {
    named_.push_back(id);
    return *this;
  }
  HRESULT Invoke(IDispatch* d, DISPID id, WORD flags) {
    raw_.clear();
    for (auto& a : args_) raw_.push_back(a.Get());
    DISPPARAMS p;
    p.rgvarg = raw_.data();
    p.cArgs = static_cast<UINT>(raw_.size());
    p.rgdispidNamedArgs = named_.data();
    p.cNamedArgs = static_cast<UINT>(named_.size());
    argErr = 12345;
    ClearExcepInfo(&excep);
    return d->Invoke(id, GUID_NULL, LOCALE_USER_DEFAULT, flags, &p, result.Put(), &excep, &argErr);
  }
  ~Call() { ClearExcepInfo(&excep); }

  Variant result;
  UINT argErr = 0;
  EXCEPINFO excep;

 private:
  std::vector<Variant> args_;
  std::vector<VARIANT> raw_;
  std::vector<DISPID> named_;
};

class DispatchTableTest : public ::testing::Test {
 protected:
  ComPtr<Gadget> gadget = MakeObject<Gadget>();
  IDispatch* disp = gadget.Get();

  DISPID IdOf(const char16_t* name) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = 777;
    EXPECT_EQ(disp->GetIDsOfNames(GUID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    return id;
  }
};

TEST_F(DispatchTableTest, NamesResolveIgnoringCase) {
  EXPECT_EQ(IdOf(u"Ping"), 1);
  EXPECT_EQ(IdOf(u"pInG"), 1);
  EXPECT_EQ(IdOf(u"NAME"), 3);
  EXPECT_EQ(IdOf(u"item"), DISPID_VALUE);

  LPOLESTR names[] = {const_cast<LPOLESTR>(u"Pin"), const_cast<LPOLESTR>(u"x")};
  DISPID ids[2] = {5, 5};
  EXPECT_EQ(disp->GetIDsOfNames(GUID_NULL, names, 1, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);
  names[0] = const_cast<LPOLESTR>(u"Add");
  EXPECT_EQ(disp->GetIDsOfNames(GUID_NULL, names, 2, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(ids[0], 2);  // the member is known, its parameter names are not
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  EXPECT_EQ(disp->GetIDsOfNames(IID_IGadget, names, 1, 0, ids), DISP_E_UNKNOWNINTERFACE);
}

TEST_F(DispatchTableTest, MethodsAndResults) {
  Call ping;
  ASSERT_EQ(ping.Invoke(disp, IdOf(u"Ping"), DISPATCH_METHOD), S_OK);
  EXPECT_EQ(gadget->pings, 1);
  EXPECT_EQ(ping.result.Type(), VT_EMPTY);

  Call add;
  add.ArgLong(40).Arg(Variant::FromString(u"2"));  // text converts to the declared type
  ASSERT_EQ(add.Invoke(disp, 2, DISPATCH_METHOD), S_OK);
  EXPECT_EQ(add.result.Type(), VT_I4);
  EXPECT_EQ(add.result.Get().lVal, 42);

  DISPPARAMS none;
  EXPECT_EQ(disp->Invoke(2, GUID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(disp->Invoke(1, GUID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr),
            S_OK);  // no DISPPARAMS reads as no arguments
}

TEST_F(DispatchTableTest, StringPropertyGetAndPut) {
  Call put;
  put.Arg(Variant::FromString(u"Cable")).Named(DISPID_PROPERTYPUT);
  ASSERT_EQ(put.Invoke(disp, 3, DISPATCH_PROPERTYPUT), S_OK);
  EXPECT_EQ(gadget->name.ToUtf8(), "Cable");

  Call get;
  ASSERT_EQ(get.Invoke(disp, 3, DISPATCH_PROPERTYGET | DISPATCH_METHOD), S_OK);
  ASSERT_EQ(get.result.Type(), VT_BSTR);
  EXPECT_EQ(std::u16string(get.result.Get().bstrVal), u"Cable");

  Call unnamed;  // a put without the named argument is accepted too
  unnamed.ArgLong(12);
  ASSERT_EQ(unnamed.Invoke(disp, 3, DISPATCH_PROPERTYPUT), S_OK);
  EXPECT_EQ(gadget->name.ToUtf8(), "12");

  DISPPARAMS none;  // a result nobody asked for is freed
  EXPECT_EQ(disp->Invoke(3, GUID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr),
            S_OK);
}

TEST_F(DispatchTableTest, InOutLongArgument) {
  LONG value = 21;
  Call twice;
  twice.ArgRef(VT_I4, &value);
  ASSERT_EQ(twice.Invoke(disp, 4, DISPATCH_METHOD), S_OK);
  EXPECT_EQ(value, 42);

  VARIANT variable;  // a script variable passed by reference takes the parameter's type
  VariantInit(&variable);
  variable.vt = VT_I2;
  variable.iVal = 5;
  Call viaVariant;
  viaVariant.ArgRef(VT_VARIANT, &variable);
  ASSERT_EQ(viaVariant.Invoke(disp, 4, DISPATCH_METHOD), S_OK);
  EXPECT_EQ(variable.vt, VT_I4);
  EXPECT_EQ(variable.lVal, 10);

  Call byValue;  // by value: the member works on a copy
  byValue.ArgLong(8);
  EXPECT_EQ(byValue.Invoke(disp, 4, DISPATCH_METHOD), S_OK);

  SHORT small = 3;
  Call wrongRef;
  wrongRef.ArgRef(VT_I2, &small);
  EXPECT_EQ(wrongRef.Invoke(disp, 4, DISPATCH_METHOD), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(wrongRef.argErr, 0u);
  EXPECT_EQ(small, 3);
}

TEST_F(DispatchTableTest, RecordArgumentsAndResults) {
  Point p{2, 5};
  Call scale;
  Variant rec;
  rec.Raw()->vt = VT_RECORD | VT_BYREF;
  rec.Raw()->record.pvRecord = &p;
  rec.Raw()->record.pRecInfo = RecordInfoOf<Point>();
  scale.Arg(std::move(rec)).ArgLong(3);
  ASSERT_EQ(scale.Invoke(disp, 5, DISPATCH_METHOD), S_OK);
  EXPECT_EQ(p.x, 6);
  EXPECT_EQ(p.y, 15);

  ComPtr<IRecordInfo> foreign = CreatePodRecordInfo(
      MakeGuid("{00000001-0002-0003-0004-000000000005}"), u"Other", sizeof(Point));
  Call wrongRecord;
  Variant other;
  other.Raw()->vt = VT_RECORD | VT_BYREF;
  other.Raw()->record.pvRecord = &p;
  other.Raw()->record.pRecInfo = foreign.Get();
  wrongRecord.Arg(std::move(other)).ArgLong(3);
  EXPECT_EQ(wrongRecord.Invoke(disp, 5, DISPATCH_METHOD), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(wrongRecord.argErr, 1u);  // rgvarg index of the first argument

  Call origin;
  ASSERT_EQ(origin.Invoke(disp, 6, DISPATCH_PROPERTYGET), S_OK);
  ASSERT_EQ(origin.result.Type(), VT_RECORD);
  EXPECT_TRUE(IsRecordOf<Point>(origin.result.Get().record.pRecInfo));
  EXPECT_EQ(static_cast<Point*>(origin.result.Get().record.pvRecord)->y, 8);

  SAFEARRAY* points = SafeArrayCreateVectorEx(VT_RECORD, 0, 3, RecordInfoOf<Point>());
  Call count;
  Variant array;  // owns the array
  array.Raw()->vt = VT_ARRAY | VT_RECORD;
  array.Raw()->parray = points;
  count.Arg(std::move(array));
  ASSERT_EQ(count.Invoke(disp, 9, DISPATCH_METHOD), S_OK);
  EXPECT_EQ(count.result.Get().lVal, 3);
  EXPECT_EQ(points->cLocks, 0u);  // the member let go of it
}

TEST_F(DispatchTableTest, IndexedPropertyAndEnumeration) {
  Call put;
  put.ArgLong(1).Arg(Variant::FromString(u"second")).Named(DISPID_PROPERTYPUT);
  ASSERT_EQ(put.Invoke(disp, DISPID_VALUE, DISPATCH_PROPERTYPUT), S_OK);
  Call get;
  get.ArgLong(1);
  ASSERT_EQ(get.Invoke(disp, DISPID_VALUE, DISPATCH_PROPERTYGET), S_OK);
  EXPECT_EQ(std::u16string(get.result.Get().bstrVal), u"second");

  Call enabled;
  ASSERT_EQ(enabled.Invoke(disp, 7, DISPATCH_PROPERTYGET), S_OK);
  EXPECT_EQ(enabled.result.Type(), VT_BOOL);
  EXPECT_EQ(enabled.result.Get().boolVal, VARIANT_TRUE);

  Call mode;
  mode.Arg(Variant::FromString(u"1"));
  ASSERT_EQ(mode.Invoke(disp, 10, DISPATCH_PROPERTYPUT), S_OK);
  EXPECT_EQ(gadget->mode, ModeOn);
}

TEST_F(DispatchTableTest, EveryFailureStatus) {
  Call c;
  EXPECT_EQ(c.Invoke(disp, 99, DISPATCH_METHOD), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(c.Invoke(disp, 1, DISPATCH_PROPERTYGET), DISP_E_MEMBERNOTFOUND);  // a method
  EXPECT_EQ(c.Invoke(disp, 6, DISPATCH_PROPERTYPUT), DISP_E_MEMBERNOTFOUND);  // read-only
  EXPECT_EQ(c.Invoke(disp, 10, DISPATCH_PROPERTYGET), DISP_E_MEMBERNOTFOUND);  // write-only
  EXPECT_EQ(c.Invoke(disp, 3, DISPATCH_PROPERTYPUTREF), DISP_E_MEMBERNOTFOUND);

  Call extra;
  extra.ArgLong(1);
  EXPECT_EQ(extra.Invoke(disp, 1, DISPATCH_METHOD), DISP_E_BADPARAMCOUNT);

  Call named;
  named.ArgLong(1).ArgLong(2).Named(0);
  EXPECT_EQ(named.Invoke(disp, 2, DISPATCH_METHOD), DISP_E_NONAMEDARGS);
  Call namedPut;
  namedPut.Arg(Variant::FromString(u"x")).Named(5);
  EXPECT_EQ(namedPut.Invoke(disp, 3, DISPATCH_PROPERTYPUT), DISP_E_NONAMEDARGS);

  Call mismatch;
  mismatch.ArgLong(1).Arg(Variant::FromString(u"two"));
  EXPECT_EQ(mismatch.Invoke(disp, 2, DISPATCH_METHOD), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(mismatch.argErr, 0u);  // "two" is rgvarg[0]

  Call overflow;
  overflow.ArgLong(1).ArgLong(-1);  // -1 does not fit the unsigned parameter
  EXPECT_EQ(overflow.Invoke(disp, 2, DISPATCH_METHOD), DISP_E_OVERFLOW);
  EXPECT_EQ(overflow.argErr, 0u);

  Call notArray;
  notArray.ArgLong(1);
  EXPECT_EQ(notArray.Invoke(disp, 9, DISPATCH_METHOD), DISP_E_TYPEMISMATCH);

  DISPPARAMS none;
  EXPECT_EQ(disp->Invoke(1, IID_IGadget, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
}

TEST_F(DispatchTableTest, MemberFailureCarriesErrorInformation) {
  Call fail;
  ASSERT_EQ(fail.Invoke(disp, 8, DISPATCH_METHOD), DISP_E_EXCEPTION);
  EXPECT_EQ(fail.excep.scode, E_FAIL);
  EXPECT_EQ(std::u16string(fail.excep.bstrSource), u"Gadget");
  EXPECT_EQ(std::u16string(fail.excep.bstrDescription), u"The gadget is out of order");

  DISPPARAMS none;  // without an EXCEPINFO the member's own status comes back
  EXPECT_EQ(disp->Invoke(8, GUID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            E_FAIL);
  ComPtr<IErrorInfo> info;
  EXPECT_EQ(GetErrorInfo(0, info.Put()), S_OK);

  Call badIndex;
  badIndex.ArgLong(7);
  EXPECT_EQ(badIndex.Invoke(disp, DISPID_VALUE, DISPATCH_PROPERTYGET), DISP_E_EXCEPTION);
  EXPECT_EQ(badIndex.excep.scode, DISP_E_BADINDEX);
  EXPECT_EQ(badIndex.excep.bstrDescription, nullptr);
}

}  // namespace
}  // namespace com
