// The interface and class of the small component server the server and activation tests load.
#pragma once

#include "platform/com/Unknown.h"

namespace testserver {

inline constexpr com::CLSID CLSID_TestThing =
    com::MakeGuid("{5A0F1C2E-7D43-4B8A-9E61-0C2B7F9A4D11}");
inline constexpr com::IID IID_ITestThing = com::MakeGuid("{5A0F1C2E-7D43-4B8A-9E61-0C2B7F9A4D12}");
inline constexpr const char16_t* kProgId = u"Test.Thing";

class ITestThing : public com::IUnknown {
 public:
  // Answers 42 into `value`.
  virtual com::HRESULT Answer(com::LONG* value) = 0;

 protected:
  ~ITestThing() = default;
};

}  // namespace testserver
