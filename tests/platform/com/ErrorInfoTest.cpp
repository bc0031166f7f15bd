#include <gtest/gtest.h>

#include <dlfcn.h>

#include <thread>

#include "platform/com/Bstr.h"
#include "platform/com/ErrorInfo.h"

namespace com {
namespace {

inline constexpr IID IID_IWizard = MakeGuid("{3D1F0A7E-9C11-4B2A-8E00-5A5A5A5A0001}");

TEST(ErrorInfo, ReportedErrorReachesTheCallerOnce) {
  const HRESULT failure = MakeHresult(0x80040301);
  EXPECT_EQ(ReportError(IID_IWizard, u"Disc.Wizard", u"No recorder found", failure), failure);
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  ASSERT_TRUE(info);
  GUID guid;
  ASSERT_EQ(info->GetGUID(&guid), S_OK);
  EXPECT_EQ(guid, IID_IWizard);
  Bstr source, description, help;
  ASSERT_EQ(info->GetSource(source.Put()), S_OK);
  ASSERT_EQ(info->GetDescription(description.Put()), S_OK);
  ASSERT_EQ(info->GetHelpFile(help.Put()), S_OK);
  EXPECT_EQ(source.ToUtf8(), "Disc.Wizard");
  EXPECT_EQ(description.ToUtf8(), "No recorder found");
  EXPECT_NE(help.Get(), nullptr);
  EXPECT_TRUE(help.Empty());
  ComPtr<IErrorInfo> again;
  EXPECT_EQ(GetErrorInfo(0, again.Put()), S_FALSE);  // taken by the first read
  EXPECT_FALSE(again);
}

TEST(ErrorInfo, EachThreadHasItsOwn) {
  ReportError(IID_IWizard, u"main", u"main thread", E_FAIL);
  std::thread other([] {
    ComPtr<IErrorInfo> info;
    EXPECT_EQ(GetErrorInfo(0, info.Put()), S_FALSE);
    ReportError(IID_IWizard, u"other", u"other thread", E_FAIL);
  });
  other.join();
  ComPtr<IErrorInfo> info;
  ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
  Bstr source;
  info->GetSource(source.Put());
  EXPECT_EQ(source.ToUtf8(), "main");
  SetErrorInfo(0, info.Get());
  SetErrorInfo(0, nullptr);  // clears
  EXPECT_EQ(GetErrorInfo(0, info.Put()), S_FALSE);
}

TEST(ErrorInfo, ExcepInfoCarriesTheDescription) {
  EXCEPINFO e;
  ReportError(IID_IWizard, u"src", u"what went wrong", E_ACCESSDENIED);
  FillExcepInfo(&e, E_ACCESSDENIED);
  EXPECT_EQ(e.scode, E_ACCESSDENIED);
  EXPECT_EQ(std::u16string(e.bstrDescription), u"what went wrong");
  ClearExcepInfo(&e);
  EXPECT_EQ(e.bstrDescription, nullptr);
  FillExcepInfo(&e, E_FAIL);  // nothing reported: only the code
  EXPECT_EQ(e.scode, E_FAIL);
  EXPECT_EQ(e.bstrDescription, nullptr);
}

TEST(ErrorInfo, ReachesTheCallerAcrossLibraries) {
  void* module = dlopen(PROJECT_LIB_DIR "/libcom_error_module.so", RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(module, nullptr) << dlerror();
  auto report = reinterpret_cast<HRESULT (*)()>(dlsym(module, "ReportErrorFromModule"));
  ASSERT_NE(report, nullptr);
  EXPECT_EQ(report(), E_FAIL);
  {
    ComPtr<IErrorInfo> info;
    ASSERT_EQ(GetErrorInfo(0, info.Put()), S_OK);
    Bstr description;
    info->GetDescription(description.Put());
    EXPECT_EQ(description.ToUtf8(), "reported inside a library");
  }  // released while the library that made it is still loaded
  dlclose(module);
}

}  // namespace
}  // namespace com
