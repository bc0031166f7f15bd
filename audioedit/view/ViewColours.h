// The view's colours (colour references 0x00BBGGRR, used as given) and the pen or brush each
// one owns.
//
//   colour            default    object
//   Wave              0x00FFFF   pen 1   wave inside the active range
//   WaveInactive      0x00A0A0   pen 1   wave outside the active range
//   WaveBg            0x000000   brush   background of the view
//   ScaleBg           0xE0E0E0   brush   background of the scale strip
//   ScaleTicks        0xC80000   pen 1   scale ticks and base line
//   ZeroLevel         0x808080   pen 1   zero level of each band
//   ChannelDivider    0xE0E0E0   pen 1   line between the channels, active range
//   ChanDivInactive   0x808080   pen 1   line between the channels, elsewhere
//   Start, End        0xFFFFFF   pen 2   dividers of these kinds and their handles
//   Index             0xFFFF00   pen 2
//   Split             0x0000FF   pen 2
//   CurrentMark       0x00FF00   pen 2 when made by the first paint, 1 when made by a put
//
// A put replaces the colour's object at once but repaints nothing. CreateAll (the first
// paint) makes every object from the current values.
#pragma once

#include <array>
#include <cstddef>

#include "platform/gdi/Brush.h"
#include "platform/gdi/Pen.h"
#include "platform/gdi/Types.h"

namespace audioedit::view {

enum class ViewColour : std::size_t {
  Wave,
  WaveInactive,
  WaveBg,
  ScaleBg,
  ScaleTicks,
  ZeroLevel,
  ChannelDivider,
  ChanDivInactive,
  Start,
  End,
  Index,
  Split,
  CurrentMark,
};
inline constexpr std::size_t kViewColourCount = 13;

// Colours without a property: scale labels and the divider time text.
inline constexpr gdi::COLORREF kScaleLabelColour = 0xFF0000;  // RGB 0, 0, 255
inline constexpr gdi::COLORREF kTimeTextColour = 0x0000FF;    // RGB 255, 0, 0
inline constexpr int kDividerPenWidth = 2;

class ViewColours {
 public:
  ViewColours();
  ViewColours(const ViewColours&) = delete;
  ViewColours& operator=(const ViewColours&) = delete;

  gdi::COLORREF Get(ViewColour which) const { return values_[Index(which)]; }
  void Put(ViewColour which, gdi::COLORREF value);
  void CreateAll();

  const gdi::Pen& PenOf(ViewColour which) const { return pens_[Index(which)]; }
  const gdi::Brush& BrushOf(ViewColour which) const { return brushes_[Index(which)]; }
  // A solid brush in a colour's current value (the selection handle's brush).
  gdi::Brush SolidBrushOf(ViewColour which) const { return gdi::Brush(Get(which)); }

 private:
  static constexpr std::size_t Index(ViewColour c) { return static_cast<std::size_t>(c); }
  void Make(ViewColour which, int currentMarkWidth);

  std::array<gdi::COLORREF, kViewColourCount> values_{};
  std::array<gdi::Pen, kViewColourCount> pens_{};
  std::array<gdi::Brush, kViewColourCount> brushes_{};
};

}  // namespace audioedit::view
