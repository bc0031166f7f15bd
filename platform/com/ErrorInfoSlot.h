// The calling thread's pending error information. There is one slot per thread for the
// whole process, kept in the runtime's shared library, so that an object in a component
// library can leave information that its caller in another module reads.
#pragma once

#include "platform/com/ComPtr.h"

namespace com {

class IErrorInfo;

namespace detail {
ComPtr<IErrorInfo>& ThreadErrorInfo();
}  // namespace detail

}  // namespace com
