// The interface of the disc wizard component ("Pyrelle.DiscWizard") as the launcher calls it.
// It derives from IDispatch, so Start is the 8th slot of the method table counted from
// QueryInterface, and Open the 9th.
#pragma once

#include "platform/com/Dispatch.h"

namespace wizard {

inline constexpr com::IID IID_IDiscWizard = com::MakeGuid("{70422A6A-2A9B-4E71-9902-BDCC578263CA}");
inline constexpr const char16_t* kWizardProgId = u"Pyrelle.DiscWizard";

// Wizard modes of Open.
inline constexpr com::LONG kModeList = 0;  // option -l
inline constexpr com::LONG kModeOpen = 1;  // option -o

class IDiscWizard : public com::IDispatch {
 public:
  // Starts the wizard. `result` receives a value the launcher does not use.
  virtual com::HRESULT Start(com::SHORT* result) = 0;
  // Starts the wizard on `path` (zero-terminated, UTF-8) in `mode`.
  virtual com::HRESULT Open(const char* path, com::LONG mode, com::SHORT* result) = 0;

 protected:
  ~IDiscWizard() = default;
};

}  // namespace wizard
