// Owning handles for the media framework's reference-counted objects and its allocations.
#pragma once

#include <gst/gst.h>

#include <memory>
#include <string>

namespace media {

struct GstObjectUnref {
  void operator()(gpointer object) const { gst_object_unref(object); }
};
struct GstMessageUnref {
  void operator()(GstMessage* message) const { gst_message_unref(message); }
};
struct GErrorFree {
  void operator()(GError* error) const { g_error_free(error); }
};
struct GFree {
  void operator()(gchar* text) const { g_free(text); }
};

using ElementPtr = std::unique_ptr<GstElement, GstObjectUnref>;
using BusPtr = std::unique_ptr<GstBus, GstObjectUnref>;
using MessagePtr = std::unique_ptr<GstMessage, GstMessageUnref>;
using ErrorPtr = std::unique_ptr<GError, GErrorFree>;
using TextPtr = std::unique_ptr<gchar, GFree>;

// Takes the reference of a newly made element, sinking its floating reference so that the
// handle really owns it even after a bin took its own.
inline ElementPtr TakeElement(GstElement* element) {
  if (element != nullptr) gst_object_ref_sink(element);
  return ElementPtr(element);
}

// The message of an error (empty for none).
inline std::string ErrorMessage(const GError* error) {
  return error != nullptr && error->message != nullptr ? error->message : std::string();
}

}  // namespace media
