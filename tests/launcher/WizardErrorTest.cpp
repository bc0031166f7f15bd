#include <gtest/gtest.h>

#include <array>

#include "launcher/WizardError.h"
#include "launcher/WizardInterface.h"
#include "platform/com/ComObject.h"
#include "platform/com/ErrorInfo.h"

namespace launcher {
namespace {

using namespace com;

class Supporting final : public ComObject<Supporting, ISupportErrorInfo> {
 public:
  Supporting() = default;
  auto Interfaces() {
    return std::array{Expose<ISupportErrorInfo>(this, IID_IUnknown),
                      Expose<ISupportErrorInfo>(this, IID_ISupportErrorInfo)};
  }
  HRESULT InterfaceSupportsErrorInfo(REFIID riid) override {
    return riid == wizard::IID_IDiscWizard ? S_OK : S_FALSE;
  }
};

class Silent final : public ComObject<Silent, IUnknown> {
 public:
  Silent() = default;
  auto Interfaces() { return std::array{Expose<IUnknown>(this, IID_IUnknown)}; }
};

TEST(WizardError, DescriptionOnlyWhenTheObjectSuppliesErrorInformation) {
  auto supporting = MakeObject<Supporting>();
  auto silent = MakeObject<Silent>();
  ReportError(wizard::IID_IDiscWizard, u"wizard", u"drive not\nready \u00e9", E_FAIL);
  EXPECT_EQ(WizardErrorDescription(*silent, wizard::IID_IDiscWizard), "");
  EXPECT_EQ(WizardErrorDescription(*supporting, IID_IDispatch), "");
  EXPECT_EQ(WizardErrorDescription(*supporting, wizard::IID_IDiscWizard),
            "drive not ready \xC3\xA9");
  EXPECT_EQ(WizardErrorDescription(*supporting, wizard::IID_IDiscWizard), "");  // consumed
}

}  // namespace
}  // namespace launcher
