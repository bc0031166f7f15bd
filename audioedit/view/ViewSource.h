// What the view reads from the control that owns it: the loaded audio's figures, the peak
// file, the divider list with its selection, and the current mark. The view never changes
// any of it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "audioedit/AudioInfo.h"
#include "audioedit/Divider.h"

namespace audioedit::view {

class ViewSource {
 public:
  // A file is loaded: the audio file name is set and the peak file has records.
  virtual bool HasAudio() const = 0;
  virtual AUDIO_INFO AudioInfo() const = 0;
  virtual std::string PeakFilePath() const = 0;

  // Calls `visit` for each divider in list order (the first is the start, the last the end
  // of the audio), telling whether it is the selected one.
  using DividerVisitor = std::function<void(const DIVIDER& divider, bool selected)>;
  virtual void VisitDividers(const DividerVisitor& visit) const = 0;

  virtual std::uint32_t CurrentFrame() const = 0;
  virtual bool CurrentMarkShown() const = 0;

 protected:
  ViewSource() = default;
  ~ViewSource() = default;
  ViewSource(const ViewSource&) = delete;
  ViewSource& operator=(const ViewSource&) = delete;
};

}  // namespace audioedit::view
