// A library standing for a component library: it reports an error that its caller, in
// another module, must be able to read.
#include "platform/com/ErrorInfo.h"

extern "C" __attribute__((visibility("default"))) com::HRESULT ReportErrorFromModule() {
  return com::ReportError(com::GUID_NULL, u"module", u"reported inside a library", com::E_FAIL);
}
