#include "platform/media/PlaybackPipeline.h"

#include <sys/stat.h>

#include <cstdlib>
#include <mutex>
#include <utility>

#include "platform/media/GstHandles.h"
#include "platform/media/GstRuntime.h"

namespace media {
namespace {

constexpr const char* kSinkVariable = "TAVOLEX_AUDIO_SINK";
constexpr const char* kDefaultSink = "autoaudiosink";
constexpr GstClockTime kOpenTimeout = 30 * GST_SECOND;
constexpr guint kPlayAudioOnly = 1u << 1;  // the playback element's "audio" flag

GstClockTime ToClockTime(std::chrono::milliseconds timeout) {
  return timeout.count() <= 0 ? 0 : static_cast<GstClockTime>(timeout.count()) * GST_MSECOND;
}

}  // namespace

struct PlaybackPipeline::Parts {
  Listener listener;
  ElementPtr playbin;
  BusPtr bus;
  std::mutex errorMutex;
  std::string lastError;  // guarded by errorMutex

  ~Parts() {
    if (playbin) gst_element_set_state(playbin.get(), GST_STATE_NULL);
    if (bus) gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
  }

  std::string LastError() {
    std::lock_guard lock(errorMutex);
    return lastError;
  }

  // Every message of the pipeline passes here, on the thread that posts it.
  static GstBusSyncReply OnMessage(GstBus*, GstMessage* message, gpointer data) {
    auto* self = static_cast<Parts*>(data);
    switch (GST_MESSAGE_TYPE(message)) {
      case GST_MESSAGE_EOS:
        self->listener(Note::kEndOfStream, {});
        break;
      case GST_MESSAGE_ERROR: {
        GError* raw = nullptr;
        gchar* debug = nullptr;
        gst_message_parse_error(message, &raw, &debug);
        const ErrorPtr error(raw);
        const TextPtr debugText(debug);
        std::string text = ErrorMessage(error.get());
        if (text.empty()) text = "unknown failure";
        {
          std::lock_guard lock(self->errorMutex);
          self->lastError = text;
        }
        self->listener(Note::kError, text);
        break;
      }
      case GST_MESSAGE_ASYNC_DONE:
        self->listener(Note::kSettled, {});
        break;
      default:
        break;
    }
    return GST_BUS_DROP;
  }

  // Makes the playback element with its sink; the empty string when that worked.
  std::string Build(const std::string& uri) {
    playbin = TakeElement(gst_element_factory_make("playbin", nullptr));
    if (!playbin) return "the media framework's playback element is not installed";
    const std::string description = SinkDescription();
    GError* raw = nullptr;
    ElementPtr sink = TakeElement(gst_parse_bin_from_description(description.c_str(), TRUE, &raw));
    const ErrorPtr error(raw);
    if (!sink || error) {
      return "cannot make the audio sink '" + description + "'" +
             (error ? ": " + ErrorMessage(error.get()) : std::string());
    }
    g_object_set(playbin.get(), "uri", uri.c_str(), "flags", kPlayAudioOnly, "audio-sink",
                 sink.get(), nullptr);
    bus.reset(gst_element_get_bus(playbin.get()));
    if (!bus) return "the playback element has no message bus";
    gst_bus_set_sync_handler(bus.get(), &Parts::OnMessage, this, nullptr);
    return {};
  }

  // Pauses at the start and waits for that; the empty string when it worked.
  std::string Preroll() {
    GstStateChangeReturn result = gst_element_set_state(playbin.get(), GST_STATE_PAUSED);
    if (result == GST_STATE_CHANGE_ASYNC)
      result = gst_element_get_state(playbin.get(), nullptr, nullptr, kOpenTimeout);
    if (result == GST_STATE_CHANGE_FAILURE) {
      std::string why = LastError();
      return why.empty() ? "the media framework cannot play it" : why;
    }
    if (result == GST_STATE_CHANGE_ASYNC) return "playback did not get ready within 30 seconds";
    gint audioStreams = 0;
    g_object_get(playbin.get(), "n-audio", &audioStreams, nullptr);
    if (audioStreams <= 0) return "it has no audio stream";
    return {};
  }
};

PlaybackPipeline::PlaybackPipeline(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

PlaybackPipeline::~PlaybackPipeline() = default;

std::string PlaybackPipeline::SinkDescription() {
  const char* value = std::getenv(kSinkVariable);
  return value != nullptr && *value != '\0' ? std::string(value) : std::string(kDefaultSink);
}

std::unique_ptr<PlaybackPipeline> PlaybackPipeline::Open(const std::string& path, Listener listener,
                                                         OpenError& error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    error.missing = true;
    error.text = "Cannot play '" + path + "': it does not exist or is not a regular file";
    return nullptr;
  }
  EnsureGstInitialized();
  GError* rawError = nullptr;
  const TextPtr uri(gst_filename_to_uri(path.c_str(), &rawError));
  const ErrorPtr uriError(rawError);
  if (!uri) {
    error.text = "Cannot play '" + path +
                 "': " + (uriError ? ErrorMessage(uriError.get()) : std::string("bad file name"));
    return nullptr;
  }
  auto parts = std::make_unique<Parts>();
  parts->listener = std::move(listener);
  std::string why = parts->Build(uri.get());
  if (why.empty()) why = parts->Preroll();
  if (!why.empty()) {
    error.text = "Cannot play '" + path + "': " + why;
    return nullptr;
  }
  return std::unique_ptr<PlaybackPipeline>(new PlaybackPipeline(std::move(parts)));
}

bool PlaybackPipeline::Play() {
  return gst_element_set_state(parts_->playbin.get(), GST_STATE_PLAYING) !=
         GST_STATE_CHANGE_FAILURE;
}

bool PlaybackPipeline::Pause() {
  return gst_element_set_state(parts_->playbin.get(), GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

bool PlaybackPipeline::WaitSettled(std::chrono::milliseconds timeout) {
  const GstStateChangeReturn result =
      gst_element_get_state(parts_->playbin.get(), nullptr, nullptr, ToClockTime(timeout));
  return result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL;
}

bool PlaybackPipeline::Seek(std::int64_t ns) {
  const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
  return gst_element_seek_simple(parts_->playbin.get(), GST_FORMAT_TIME, flags, ns) != FALSE;
}

bool PlaybackPipeline::PositionNs(std::int64_t& ns) const {
  gint64 value = 0;
  if (!gst_element_query_position(parts_->playbin.get(), GST_FORMAT_TIME, &value) || value < 0)
    return false;
  ns = value;
  return true;
}

bool PlaybackPipeline::DurationNs(std::int64_t& ns) const {
  gint64 value = 0;
  if (!gst_element_query_duration(parts_->playbin.get(), GST_FORMAT_TIME, &value) || value < 0)
    return false;
  ns = value;
  return true;
}

void PlaybackPipeline::SetVolume(double linear) {
  g_object_set(parts_->playbin.get(), "volume", linear, nullptr);
}

}  // namespace media
