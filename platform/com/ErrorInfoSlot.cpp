#include "platform/com/ErrorInfoSlot.h"

#include "platform/com/ErrorInfo.h"

namespace com::detail {

ComPtr<IErrorInfo>& ThreadErrorInfo() {
  thread_local ComPtr<IErrorInfo> slot;
  return slot;
}

}  // namespace com::detail
