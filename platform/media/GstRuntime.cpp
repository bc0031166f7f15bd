#include "platform/media/GstRuntime.h"

#include <gst/gst.h>

#include <mutex>

namespace media {

void EnsureGstInitialized() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (!gst_is_initialized()) gst_init(nullptr, nullptr);
  });
}

}  // namespace media
