// What the divider list needs from the control that owns it: whether a file is loaded,
// and the repaints its edits call for.
#pragma once

#include <cstdint>

namespace audioedit {

class DividerListHost {
 public:
  DividerListHost() = default;
  DividerListHost(const DividerListHost&) = delete;
  DividerListHost& operator=(const DividerListHost&) = delete;
  virtual ~DividerListHost() = default;

  // A file is loaded: AudioFileName not empty and total_peaks > 0.
  virtual bool IsLoaded() const = 0;
  // Redraw the dividers and marks over the cached waveform.
  virtual void RedrawDividers() {}
  // Repaint the whole window, erasing the background.
  virtual void RepaintAll() {}
  // The selected divider at `frame` must be visible: scroll to it, centred, when its
  // column is outside the view, else redraw the dividers and marks.
  virtual void BringIntoView(std::uint32_t /*frame*/) {}
};

}  // namespace audioedit
