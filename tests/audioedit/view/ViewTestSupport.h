// Test doubles for the view: a control state (ViewSource), a window (ViewWindow) with a
// scroll bar model and a surface, and a writer of small peak files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "audioedit/view/ViewSource.h"
#include "audioedit/view/ViewWindow.h"
#include "audioedit/view/WaveView.h"
#include "platform/gdi/Bitmap.h"
#include "platform/window/ScrollBar.h"

namespace audioedit::view::testing {

class FakeSource final : public ViewSource {
 public:
  bool HasAudio() const override { return loaded && info.total_peaks > 0; }
  AUDIO_INFO AudioInfo() const override { return info; }
  std::string PeakFilePath() const override { return peakPath; }
  void VisitDividers(const DividerVisitor& visit) const override {
    for (std::size_t i = 0; i < dividers.size(); ++i) visit(dividers[i], selected == i);
  }
  std::uint32_t CurrentFrame() const override { return currentFrame; }
  bool CurrentMarkShown() const override { return markShown; }

  void AddDivider(DivType type, std::uint32_t frame) {
    dividers.push_back(DIVIDER{type, std::uint64_t{frame} * info.freq / 75, frame});
  }

  bool loaded = false;
  AUDIO_INFO info{};
  std::string peakPath;
  std::vector<DIVIDER> dividers;
  std::optional<std::size_t> selected;
  std::uint32_t currentFrame = 0;
  bool markShown = false;
};

class FakeWindow final : public ViewWindow {
 public:
  FakeWindow(int width, int height) : surface(width, height), width_(width), height_(height) {}

  win::Rect ClientRect() const override { return win::Rect{0, 0, width_, height_}; }
  win::ScrollBar& HorizontalScrollBar() override { return scrollBar; }
  void InvalidateAll() override { ++invalidations; }
  void DrawOnWindow(const std::function<void(gdi::DeviceContext&)>& draw) override {
    gdi::DeviceContext dc(surface);
    draw(dc);
  }
  void Resize(int width, int height) {
    width_ = width;
    height_ = height;
    surface = gdi::Bitmap(width, height);
  }

  win::ScrollBarModel scrollBar;
  gdi::Bitmap surface;
  int invalidations = 0;

 private:
  int width_;
  int height_;
};

// AUDIO_INFO for records of `channels` × `bits`.
inline AUDIO_INFO MakeInfo(std::uint16_t channels, std::uint16_t bits, std::uint32_t freq,
                           std::uint32_t interval, std::uint32_t records) {
  AUDIO_INFO info{};
  info.channels = channels;
  info.bits = bits;
  info.freq = freq;
  info.blockalign = static_cast<std::uint16_t>(channels * bits / 8);
  info.BPS = static_cast<std::uint16_t>(channels * (bits / 8));
  info.total_peaks = records;
  info.sample_interval = interval;
  info.duration = static_cast<std::uint32_t>(std::uint64_t{records} * interval * 1000 / freq);
  return info;
}

// Writes the 28-byte header and the given values (channel values in record order).
inline std::string WritePeakFile(const std::string& name, const AUDIO_INFO& info,
                                 const std::vector<std::int32_t>& values) {
  const std::string path = (std::filesystem::path(TEST_DATA_DIR) / name).string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  for (std::int32_t v : values) {
    if (info.bits == 8) {
      out.put(static_cast<char>(v & 0xFF));
    } else {
      out.put(static_cast<char>(v & 0xFF));
      out.put(static_cast<char>((v >> 8) & 0xFF));
    }
  }
  return path;
}

// A source, window and view over a peak file, painted on demand.
struct ViewRig {
  ViewRig(int width, int height) : window(width, height), view(source, window) {}

  void Load(const AUDIO_INFO& info, const std::vector<std::int32_t>& values,
            const std::string& name) {
    source.info = info;
    source.peakPath = WritePeakFile(name, info, values);
    source.loaded = true;
    view.ClosePeakFile();
    view.Reset();
  }
  void Paint() {
    gdi::DeviceContext dc(window.surface);
    const win::Rect c = window.ClientRect();
    view.Paint(dc, gdi::RECT{c.left, c.top, c.right, c.bottom});
  }
  gdi::COLORREF At(int x, int y) const { return window.surface.GetPixel(x, y); }

  FakeSource source;
  FakeWindow window;
  WaveView view;
};

}  // namespace audioedit::view::testing
