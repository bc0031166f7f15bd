// The waveform view painting a peak file of arbitrary contents: the input is the file (a
// 28-byte header, then records); its first byte also picks the zoom and where to scroll.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifndef TEST_DATA_DIR
#define TEST_DATA_DIR "/tmp"
#endif
#include "tests/audioedit/view/ViewTestSupport.h"

namespace {

// The run's peak file in $TMPDIR (else /tmp), removed when the fuzzer exits.
class ScratchFile {
 public:
  ScratchFile() {
    const char* tmp = std::getenv("TMPDIR");
    path_ = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/peakview_fuzz_" +
            std::to_string(::getpid()) + ".peaks";
  }
  ~ScratchFile() { ::unlink(path_.c_str()); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using audioedit::view::testing::ViewRig;
  if (size < sizeof(audioedit::AUDIO_INFO)) return 0;
  static const ScratchFile scratch;
  const std::string& path = scratch.Path();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  ViewRig rig(97, 71);
  std::memcpy(&rig.source.info, data, sizeof rig.source.info);
  rig.source.peakPath = path;
  rig.source.loaded = true;
  rig.source.AddDivider(audioedit::DIV_Start, data[1]);
  rig.source.AddDivider(audioedit::DIV_Split, data[2] * 7u);
  rig.source.AddDivider(audioedit::DIV_End, data[3] * 1000u);
  rig.source.selected = 1;
  rig.source.currentFrame = data[4] * 3u;
  rig.source.markShown = true;
  rig.view.Reset();
  rig.view.PutCurrentZoom(1u << (data[0] % 24));
  rig.view.OnHScroll(data[0] & 0x80 ? win::SB_RIGHT : win::SB_PAGERIGHT);
  rig.Paint();
  rig.view.ZoomIn();
  rig.view.QuickRepaint();
  rig.view.ClosePeakFile();
  return 0;
}
