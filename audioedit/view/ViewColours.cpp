#include "audioedit/view/ViewColours.h"

namespace audioedit::view {
namespace {

enum class Object { Pen, Brush };

struct ColourRow {
  gdi::COLORREF initial;
  Object object;
  int width;
};

// In the order of ViewColour.
constexpr std::array<ColourRow, kViewColourCount> kTable{{
    {0x0000FFFF, Object::Pen, 1},                 // Wave
    {0x0000A0A0, Object::Pen, 1},                 // WaveInactive
    {0x00000000, Object::Brush, 0},               // WaveBg
    {0x00E0E0E0, Object::Brush, 0},               // ScaleBg
    {0x00C80000, Object::Pen, 1},                 // ScaleTicks
    {0x00808080, Object::Pen, 1},                 // ZeroLevel
    {0x00E0E0E0, Object::Pen, 1},                 // ChannelDivider
    {0x00808080, Object::Pen, 1},                 // ChanDivInactive
    {0x00FFFFFF, Object::Pen, kDividerPenWidth},  // Start
    {0x00FFFFFF, Object::Pen, kDividerPenWidth},  // End
    {0x00FFFF00, Object::Pen, kDividerPenWidth},  // Index
    {0x000000FF, Object::Pen, kDividerPenWidth},  // Split
    {0x0000FF00, Object::Pen, 2},                 // CurrentMark (first paint)
}};

}  // namespace

ViewColours::ViewColours() {
  for (std::size_t i = 0; i < kViewColourCount; ++i) values_[i] = kTable[i].initial;
}

void ViewColours::Make(ViewColour which, int currentMarkWidth) {
  const std::size_t i = Index(which);
  if (kTable[i].object == Object::Brush) {
    brushes_[i] = gdi::Brush(values_[i]);
    return;
  }
  const int width = which == ViewColour::CurrentMark ? currentMarkWidth : kTable[i].width;
  pens_[i] = gdi::Pen(width, values_[i]);
}

void ViewColours::Put(ViewColour which, gdi::COLORREF value) {
  values_[Index(which)] = value;
  Make(which, 1);
}

void ViewColours::CreateAll() {
  for (std::size_t i = 0; i < kViewColourCount; ++i) {
    Make(static_cast<ViewColour>(i), kTable[Index(ViewColour::CurrentMark)].width);
  }
}

}  // namespace audioedit::view
