// What the view reads from the control that owns it: the loaded audio's figures, the peak
// file, the divider list with its selection, and the current mark. The view never changes
// any of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
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

  // The divider list in its order (the first is the start, the last the end of the audio).
  virtual std::size_t DividerCount() const = 0;
  virtual DIVIDER DividerAt(std::size_t index) const = 0;
  virtual std::optional<std::size_t> SelectedDivider() const = 0;

  virtual std::uint32_t CurrentFrame() const = 0;
  virtual bool CurrentMarkShown() const = 0;

 protected:
  ViewSource() = default;
  ~ViewSource() = default;
  ViewSource(const ViewSource&) = delete;
  ViewSource& operator=(const ViewSource&) = delete;
};

}  // namespace audioedit::view
