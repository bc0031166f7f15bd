// The control as a new object: interfaces, initial values, dispatch by name and DISPID,
// stock properties with change notification, persistence.
#include <gtest/gtest.h>

#include "audioedit/control/ControlRecords.h"
#include "platform/com/Persist.h"
#include "platform/com/Variant.h"
#include "tests/audioedit/control/ControlTestSupport.h"

namespace audioedit::testing {
namespace {

class PropertySink final : public com::ComObject<PropertySink, com::IPropertyNotifySink> {
 public:
  auto Interfaces() {
    return std::array{com::Expose<com::IPropertyNotifySink>(this, com::IID_IUnknown),
                      com::Expose<com::IPropertyNotifySink>(this, com::IID_IPropertyNotifySink)};
  }
  com::HRESULT OnChanged(com::DISPID id) override {
    changed.push_back(id);
    return com::S_OK;
  }
  com::HRESULT OnRequestEdit(com::DISPID id) override {
    return id == refuse ? com::S_FALSE : com::S_OK;
  }
  std::vector<com::DISPID> changed;
  com::DISPID refuse = 0;
};

com::ComPtr<AudioEditCtl> NewControl() { return com::MakeObject<AudioEditCtl>(); }

TEST(AudioEditCtl, AnswersItsInterfacesOnly) {
  auto control = NewControl();
  const com::IID answered[] = {com::IID_IUnknown, com::IID_IDispatch, IID_IAudioEditCtl,
                               com::IID_IConnectionPointContainer, com::IID_IPersistStreamInit,
                               com::IID_IPersist, com::IID_ISupportErrorInfo,
                               IID_IAudioEditWindow};
  for (const com::IID& iid : answered) {
    com::ComPtr<com::IUnknown> p;
    EXPECT_EQ(control->QueryInterface(iid, p.PutVoid()), com::S_OK) << com::GuidToString(iid);
  }
  com::ComPtr<com::IUnknown> p;
  EXPECT_EQ(control->QueryInterface(com::IID_IClassFactory, p.PutVoid()), com::E_NOINTERFACE);
  EXPECT_EQ(control->InterfaceSupportsErrorInfo(IID_IAudioEditCtl), com::S_OK);
  com::CLSID clsid;
  control->GetClassID(&clsid);
  EXPECT_EQ(clsid, CLSID_AudioEditCtl);
}

TEST(AudioEditCtl, NewControlStartsEmpty) {
  auto control = NewControl();
  com::INT code = -1;
  control->get_ErrorCode(&code);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Text(&AudioEditCtl::get_ErrorString, *control), "");
  EXPECT_EQ(Text(&AudioEditCtl::get_AudioFileName, *control), "");
  EXPECT_EQ(Text(&AudioEditCtl::get_PeakFileName, *control), "");
  com::LONG value = -1;
  control->get_IsAudioFileLoaded(&value);
  EXPECT_EQ(value, 0);
  control->get_DividerCount(&value);
  EXPECT_EQ(value, 0);
  com::UINT frames = 0;
  control->get_MinSplitFrames(&frames);
  EXPECT_EQ(frames, 75u);
  com::ULONG frame = 1;
  control->get_CurrentFrame(&frame);
  EXPECT_EQ(frame, 0u);
  AUDIO_INFO info{};
  info.total_peaks = 7;
  info.sample_interval = 12345;
  EXPECT_EQ(control->GetAudioInfo(&info), com::S_OK);
  EXPECT_EQ(info.total_peaks, 0u);
  EXPECT_EQ(info.sample_interval, 12345u);
  com::LONG type = 5, more = 5;
  EXPECT_EQ(control->GetNextDivider(&type, &frame, &more), com::S_FALSE);
  // Members that need a file.
  EXPECT_EQ(control->ZoomIn(), com::S_FALSE);
  EXPECT_EQ(control->ZoomOut(), com::S_FALSE);
  EXPECT_EQ(control->ZoomOutFull(), com::S_FALSE);
  EXPECT_EQ(control->AudioPlay(), com::S_FALSE);
  EXPECT_EQ(control->AudioPause(), com::S_FALSE);
  EXPECT_EQ(control->AudioStop(), com::S_FALSE);
}

TEST(AudioEditCtl, ColourPropertiesHoldTheirInitialValues) {
  auto control = NewControl();
  struct Row {
    com::HRESULT (AudioEditCtl::*get)(com::OLE_COLOR*);
    com::OLE_COLOR initial;
  };
  const Row rows[] = {
      {&AudioEditCtl::get_ColorWave, 0x0000FFFF},          {&AudioEditCtl::get_ColorWaveBg, 0},
      {&AudioEditCtl::get_ColorScaleBg, 0x00E0E0E0},       {&AudioEditCtl::get_ColorChannelDivider, 0x00E0E0E0},
      {&AudioEditCtl::get_ColorChanDivInactive, 0x808080}, {&AudioEditCtl::get_ColorWaveInactive, 0xA0A0},
      {&AudioEditCtl::get_ColorIndex, 0x00FFFF00},         {&AudioEditCtl::get_ColorSplit, 0xFF},
      {&AudioEditCtl::get_ColorStart, 0xFFFFFF},           {&AudioEditCtl::get_ColorEnd, 0xFFFFFF},
      {&AudioEditCtl::get_ColorZeroLevel, 0x808080},       {&AudioEditCtl::get_ColorScaleTicks, 0xC80000},
      {&AudioEditCtl::get_ColorCurrentMark, 0x00FF00},
  };
  for (const Row& row : rows) {
    com::OLE_COLOR value = 1;
    EXPECT_EQ(((*control).*row.get)(&value), com::S_OK);
    EXPECT_EQ(value, row.initial);
  }
}

com::DISPID IdOf(com::IDispatch& object, const char16_t* name) {
  std::u16string copy(name);
  com::LPOLESTR names[] = {copy.data()};
  com::DISPID id = 0;
  EXPECT_EQ(object.GetIDsOfNames(com::GUID_NULL, names, 1, 0, &id), com::S_OK) << '"';
  return id;
}

com::HRESULT Call(com::IDispatch& object, com::DISPID id, com::WORD flags,
                  std::vector<com::Variant> args, com::Variant* result = nullptr) {
  std::vector<com::VARIANT> raw;
  for (auto it = args.rbegin(); it != args.rend(); ++it) raw.push_back(it->Get());
  com::DISPID named = com::DISPID_PROPERTYPUT;
  com::DISPPARAMS params{raw.data(), flags == com::DISPATCH_PROPERTYPUT ? &named : nullptr,
                         static_cast<com::UINT>(raw.size()),
                         flags == com::DISPATCH_PROPERTYPUT ? 1u : 0u};
  return object.Invoke(id, com::GUID_NULL, 0, flags, &params, result ? result->Put() : nullptr,
                       nullptr, nullptr);
}

TEST(AudioEditCtl, DispatchReachesMembersByNameAndById) {
  auto control = NewControl();
  com::IDispatch& dispatch = *control;
  EXPECT_EQ(IdOf(dispatch, u"LoadAudioFile"), 2);
  EXPECT_EQ(IdOf(dispatch, u"colorwave"), 134);
  EXPECT_EQ(IdOf(dispatch, u"MinSplitFrames"), 34);
  EXPECT_EQ(IdOf(dispatch, u"ColorChanDivInactive"), 49);
  EXPECT_EQ(IdOf(dispatch, u"BackColor"), -501);
  EXPECT_EQ(IdOf(dispatch, u"ReadyState"), -525);

  EXPECT_EQ(Call(dispatch, 34, com::DISPATCH_PROPERTYPUT, [] {
              std::vector<com::Variant> v;
              v.push_back(com::Variant::FromULong(150));
              return v;
            }()),
            com::S_OK);
  com::Variant result;
  EXPECT_EQ(Call(dispatch, 34, com::DISPATCH_PROPERTYGET, {}, &result), com::S_OK);
  EXPECT_EQ(result.Get().uintVal, 150u);

  EXPECT_EQ(Call(dispatch, 47, com::DISPATCH_PROPERTYGET, {}, &result), com::S_OK);
  ASSERT_EQ(result.Type(), com::VT_BSTR);
  EXPECT_NE(result.Get().bstrVal, nullptr);

  EXPECT_EQ(Call(dispatch, 5, com::DISPATCH_METHOD, {}), com::S_FALSE);  // ZoomIn, no file
  EXPECT_EQ(Call(dispatch, 46, com::DISPATCH_METHOD, {}), com::S_OK);    // CancelLoading

  EXPECT_EQ(Call(dispatch, -514, com::DISPATCH_PROPERTYGET, {}, &result), com::S_OK);
  EXPECT_EQ(result.Type(), com::VT_BOOL);
  EXPECT_EQ(result.Get().boolVal, com::VARIANT_TRUE);

  // AddDivider without a file: Result 1, status S_FALSE.
  std::vector<com::Variant> add;
  add.push_back(com::Variant::FromULong(10));
  add.push_back(com::Variant::FromLong(DIV_Index));
  EXPECT_EQ(Call(dispatch, 21, com::DISPATCH_METHOD, std::move(add), &result), com::S_FALSE);

  AUDIO_INFO info{};
  info.sample_interval = 12345;
  com::VARIANT byRef;
  com::VariantInit(&byRef);
  byRef.vt = com::VT_RECORD | com::VT_BYREF;
  byRef.record.pvRecord = &info;
  byRef.record.pRecInfo = com::RecordInfoOf<AUDIO_INFO>();
  com::DISPPARAMS params{&byRef, nullptr, 1, 0};
  EXPECT_EQ(dispatch.Invoke(19, com::GUID_NULL, 0, com::DISPATCH_METHOD, &params, nullptr, nullptr,
                            nullptr),
            com::S_OK);
  EXPECT_EQ(info.sample_interval, 12345u);

  EXPECT_EQ(Call(dispatch, 8, com::DISPATCH_METHOD, {}), com::DISP_E_MEMBERNOTFOUND);
}

TEST(AudioEditCtl, StockPropertyChangesAreAnnouncedAndMayBeRefused) {
  auto control = NewControl();
  auto sink = com::MakeObject<PropertySink>();
  Connect(*control, com::IID_IPropertyNotifySink, sink.Get());
  EXPECT_EQ(control->IsDirty(), com::S_FALSE);
  EXPECT_EQ(control->put_BackColor(0x123456), com::S_OK);
  EXPECT_EQ(sink->changed, std::vector<com::DISPID>{DISPID_BACKCOLOR});
  EXPECT_EQ(control->IsDirty(), com::S_OK);
  sink->refuse = DISPID_CAPTION;
  com::Bstr caption(u"Title");
  EXPECT_EQ(control->put_Caption(caption.Get()), com::S_FALSE);
  EXPECT_EQ(Text(&AudioEditCtl::get_Caption, *control), "");
  EXPECT_EQ(control->put_ColorWave(0xFF), com::S_OK);  // own properties do not notify
  EXPECT_EQ(sink->changed.size(), 1u);
}

TEST(AudioEditCtl, SaveAndReloadKeepStockPropertiesButNotOwnOnes) {
  auto control = NewControl();
  control->put_BackColor(0x00102030);
  com::Bstr text(u"caf\u00e9");
  control->put_Text(text.Get());
  control->put_Appearance(-2);
  control->put_ColorWave(0x000000FF);
  auto stream = com::CreateStreamOnMemory();
  ASSERT_EQ(control->Save(stream.Get(), com::TRUE), com::S_OK);
  EXPECT_EQ(control->IsDirty(), com::S_FALSE);

  auto reloaded = NewControl();
  stream->Seek(com::LARGE_INTEGER{0}, com::STREAM_SEEK_SET, nullptr);
  ASSERT_EQ(reloaded->Load(stream.Get()), com::S_OK);
  com::OLE_COLOR colour = 0;
  reloaded->get_BackColor(&colour);
  EXPECT_EQ(colour, 0x00102030u);
  reloaded->get_ColorWave(&colour);
  EXPECT_EQ(colour, 0x0000FFFFu);
  EXPECT_EQ(Text(&AudioEditCtl::get_Text, *reloaded), "caf\xc3\xa9");
  com::SHORT appearance = 0;
  reloaded->get_Appearance(&appearance);
  EXPECT_EQ(appearance, -2);
}

TEST(AudioEditCtl, LoadRefusesAForeignOrShortStream) {
  auto control = NewControl();
  control->put_BackColor(7);
  auto foreign = com::CreateStreamOnMemory({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  EXPECT_EQ(control->Load(foreign.Get()), com::STG_E_READFAULT);
  auto good = com::CreateStreamOnMemory();
  control->Save(good.Get(), com::FALSE);
  com::STATSTG stat;
  good->Stat(&stat, com::STATFLAG_NONAME);
  for (com::ULONGLONG cut : {com::ULONGLONG{10}, stat.cbSize.QuadPart - 1}) {
    good->SetSize(com::ULARGE_INTEGER{cut});
    good->Seek(com::LARGE_INTEGER{0}, com::STREAM_SEEK_SET, nullptr);
    auto other = NewControl();
    EXPECT_EQ(other->Load(good.Get()), com::STG_E_READFAULT) << cut;
    com::OLE_COLOR colour = 1;
    other->get_BackColor(&colour);
    EXPECT_EQ(colour, 0u);
  }
}

TEST(AudioEditCtl, WindowGivesTheScrollBarHiddenAndRoutesMessages) {
  auto control = NewControl();
  win::HeadlessWindow window(640, 120);
  control->Create(window);
  EXPECT_FALSE(window.HorizontalScrollBar().IsVisible());
  com::LONG hwnd = 0;
  control->get_HWND(&hwnd);
  EXPECT_EQ(hwnd, 1);
  window.InvalidateRect(nullptr, true);
  window.RunPending();
  control->Destroy();
  control->get_HWND(&hwnd);
  EXPECT_EQ(hwnd, 0);
}

}  // namespace
}  // namespace audioedit::testing
