#include "platform/media/AudioDecodeStream.h"

#include <gst/app/gstappsink.h>
#include <gst/audio/audio.h>
#include <gst/gst.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/media/GstRuntime.h"

namespace media {
namespace {

constexpr GstClockTime kPrerollTimeout = 30 * GST_SECOND;
constexpr GstClockTime kPullSlice = 100 * GST_MSECOND;
constexpr guint kQueuedBuffers = 8;

// The format delivered for a decoder's raw format: its own when it is one of the three
// integer layouts, else the nearest of them; floating point becomes 16-bit.
GstAudioFormat TargetFormat(const GstAudioInfo& info) {
  if (!GST_AUDIO_INFO_IS_INTEGER(&info)) return GST_AUDIO_FORMAT_S16LE;
  const int depth = GST_AUDIO_INFO_DEPTH(&info);
  if (depth <= 8) return GST_AUDIO_FORMAT_U8;
  if (depth <= 16) return GST_AUDIO_FORMAT_S16LE;
  return GST_AUDIO_FORMAT_S24LE;
}

std::string ErrorText(GstMessage* message) {
  GError* err = nullptr;
  gchar* debug = nullptr;
  gst_message_parse_error(message, &err, &debug);
  std::string text = err != nullptr ? err->message : "unknown failure";
  if (err != nullptr) g_error_free(err);
  g_free(debug);
  return text;
}

}  // namespace

struct AudioDecodeStream::Pipeline {
  std::string path;
  GstElement* pipeline = nullptr;
  // Set on a streaming thread when the audio stream appears; owned by the pipeline.
  std::atomic<GstElement*> appsink{nullptr};
  std::atomic<bool> audioLinked{false};
  GstSample* sample = nullptr;
  GstBuffer* buffer = nullptr;
  GstMapInfo map{};
  std::size_t offset = 0;

  ~Pipeline() {
    Unmap();
    if (pipeline != nullptr) {
      gst_element_set_state(pipeline, GST_STATE_NULL);
      gst_object_unref(pipeline);
    }
  }
  void Unmap() {
    if (buffer != nullptr) gst_buffer_unmap(buffer, &map);
    if (sample != nullptr) gst_sample_unref(sample);
    buffer = nullptr;
    sample = nullptr;
    offset = 0;
    map = GstMapInfo{};
  }
  std::string TakeBusError() const {
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* msg = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
    std::string text = msg != nullptr ? ErrorText(msg) : std::string();
    if (msg != nullptr) gst_message_unref(msg);
    gst_object_unref(bus);
    return text;
  }

  void LinkToFakeSink(GstPad* pad) {
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
    gst_bin_add(GST_BIN(pipeline), sink);
    gst_element_sync_state_with_parent(sink);
    GstPad* sinkPad = gst_element_get_static_pad(sink, "sink");
    gst_pad_link(pad, sinkPad);
    gst_object_unref(sinkPad);
  }

  void LinkAudio(GstPad* pad, const GstAudioInfo& info) {
    const GstAudioFormat target = TargetFormat(info);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING,
                                        gst_audio_format_to_string(target), "layout", G_TYPE_STRING,
                                        "interleaved", nullptr);
    g_object_set(sink, "caps", caps, "sync", FALSE, "max-buffers", kQueuedBuffers, "drop", FALSE,
                 "emit-signals", FALSE, "enable-last-sample", FALSE, nullptr);
    gst_caps_unref(caps);
    gst_bin_add(GST_BIN(pipeline), sink);
    appsink.store(sink);
    GstElement* head = sink;
    const bool native = GST_AUDIO_INFO_FORMAT(&info) == target &&
                        GST_AUDIO_INFO_LAYOUT(&info) == GST_AUDIO_LAYOUT_INTERLEAVED;
    if (!native) {
      head = gst_element_factory_make("audioconvert", nullptr);
      // Plain truncation: the same file always decodes to the same samples.
      g_object_set(head, "dithering", 0, "noise-shaping", 0, nullptr);
      gst_bin_add(GST_BIN(pipeline), head);
      gst_element_link(head, sink);
      gst_element_sync_state_with_parent(head);
    }
    gst_element_sync_state_with_parent(sink);
    GstPad* sinkPad = gst_element_get_static_pad(head, "sink");
    gst_pad_link(pad, sinkPad);
    gst_object_unref(sinkPad);
  }

  // Called on a streaming thread for each decoded stream: the first audio stream goes to
  // the caller, every other stream is discarded.
  static void OnPadAdded(GstElement*, GstPad* pad, gpointer data) {
    auto* self = static_cast<Pipeline*>(data);
    GstCaps* caps = gst_pad_get_current_caps(pad);
    if (caps == nullptr) caps = gst_pad_query_caps(pad, nullptr);
    GstAudioInfo info;
    const bool audio = caps != nullptr && gst_audio_info_from_caps(&info, caps);
    if (caps != nullptr) gst_caps_unref(caps);
    if (audio && !self->audioLinked.exchange(true)) {
      self->LinkAudio(pad, info);
    } else {
      self->LinkToFakeSink(pad);
    }
  }

  // Waits until the pipeline has prerolled; false with `error` set on failure.
  bool Preroll(std::string& error) {
    if (gst_element_set_state(pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
      error = TakeBusError();
      if (error.empty()) error = "the media framework cannot open it";
      return false;
    }
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* msg = gst_bus_timed_pop_filtered(
        bus, kPrerollTimeout,
        static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR));
    gst_object_unref(bus);
    if (msg == nullptr) {
      error = "decoding did not start within 30 seconds";
      return false;
    }
    const bool failed = GST_MESSAGE_TYPE(msg) == GST_MESSAGE_ERROR;
    if (failed) error = ErrorText(msg);
    gst_message_unref(msg);
    if (failed) return false;
    if (!audioLinked.load()) {
      error = "it has no audio stream";
      return false;
    }
    return true;
  }
};

AudioDecodeStream::AudioDecodeStream(std::unique_ptr<Pipeline> pipeline)
    : pipeline_(std::move(pipeline)) {}

AudioDecodeStream::~AudioDecodeStream() = default;

std::unique_ptr<AudioDecodeStream> AudioDecodeStream::Open(const std::string& path,
                                                           std::string& error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    error = "Audio file '" + path + "' does not exist or is not a regular file";
    return nullptr;
  }
  EnsureGstInitialized();
  GError* uriError = nullptr;
  gchar* uri = gst_filename_to_uri(path.c_str(), &uriError);
  if (uri == nullptr) {
    error = "Cannot decode '" + path + "': " + (uriError ? uriError->message : "bad path");
    if (uriError != nullptr) g_error_free(uriError);
    return nullptr;
  }
  auto p = std::make_unique<Pipeline>();
  p->path = path;
  p->pipeline = gst_pipeline_new(nullptr);
  GstElement* source = gst_element_factory_make("uridecodebin", nullptr);
  if (p->pipeline == nullptr || source == nullptr) {
    g_free(uri);
    if (source != nullptr) gst_object_unref(source);
    error = "Cannot decode '" + path + "': the media framework's decoders are not installed";
    return nullptr;
  }
  g_object_set(source, "uri", uri, nullptr);
  g_free(uri);
  gst_bin_add(GST_BIN(p->pipeline), source);
  g_signal_connect(source, "pad-added", G_CALLBACK(&Pipeline::OnPadAdded), p.get());

  std::string why;
  if (!p->Preroll(why)) {
    error = "Cannot decode '" + path + "': " + why;
    return nullptr;
  }
  GstPad* pad = gst_element_get_static_pad(p->appsink.load(), "sink");
  GstCaps* caps = gst_pad_get_current_caps(pad);
  gst_object_unref(pad);
  GstAudioInfo info;
  const bool known = caps != nullptr && gst_audio_info_from_caps(&info, caps);
  if (caps != nullptr) gst_caps_unref(caps);
  if (!known) {
    error = "Cannot decode '" + path + "': the audio format could not be agreed";
    return nullptr;
  }
  std::unique_ptr<AudioDecodeStream> stream(new AudioDecodeStream(std::move(p)));
  stream->format_.channels = static_cast<std::uint16_t>(GST_AUDIO_INFO_CHANNELS(&info));
  stream->format_.rate = static_cast<std::uint32_t>(GST_AUDIO_INFO_RATE(&info));
  stream->format_.bits = static_cast<std::uint16_t>(GST_AUDIO_INFO_WIDTH(&info));
  if (gst_element_set_state(stream->pipeline_->pipeline, GST_STATE_PLAYING) ==
      GST_STATE_CHANGE_FAILURE) {
    error = "Cannot decode '" + path + "': " + stream->pipeline_->TakeBusError();
    return nullptr;
  }
  return stream;
}

bool AudioDecodeStream::DurationNs(std::uint64_t& ns) const {
  gint64 value = 0;
  if (!gst_element_query_duration(pipeline_->pipeline, GST_FORMAT_TIME, &value) || value < 0)
    return false;
  ns = static_cast<std::uint64_t>(value);
  return true;
}

bool AudioDecodeStream::PullNext() {
  Pipeline& p = *pipeline_;
  p.Unmap();
  auto* sink = GST_APP_SINK(p.appsink.load());
  for (;;) {
    GstSample* sample = gst_app_sink_try_pull_sample(sink, kPullSlice);
    if (sample != nullptr) {
      GstBuffer* buffer = gst_sample_get_buffer(sample);
      if (buffer == nullptr || !gst_buffer_map(buffer, &p.map, GST_MAP_READ)) {
        gst_sample_unref(sample);
        continue;
      }
      p.sample = sample;
      p.buffer = buffer;
      return true;
    }
    if (gst_app_sink_is_eos(sink)) return false;
    // No data in this slice: a decoder failure stops the stream without an end marker.
    std::string failure = p.TakeBusError();
    if (!failure.empty()) {
      error_ = "Decoding '" + p.path + "' failed: " + failure;
      return false;
    }
  }
}

std::size_t AudioDecodeStream::Read(std::uint8_t* dest, std::size_t size) {
  std::size_t copied = 0;
  Pipeline& p = *pipeline_;
  while (copied < size && !ended_) {
    if (p.buffer == nullptr || p.offset >= p.map.size) {
      if (!PullNext()) {
        ended_ = true;
        p.Unmap();
        break;
      }
    }
    const std::size_t n = std::min(size - copied, p.map.size - p.offset);
    std::memcpy(dest + copied, p.map.data + p.offset, n);
    p.offset += n;
    copied += n;
  }
  return copied;
}

}  // namespace media
