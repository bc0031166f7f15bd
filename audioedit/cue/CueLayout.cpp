#include "audioedit/cue/CueLayout.h"

#include <algorithm>

#include "audioedit/CdFrames.h"
#include "audioedit/cue/CueTime.h"

namespace audioedit::cue {
namespace {

constexpr struct {
  DivType type;
  const char* name;
} kKindNames[] = {
    {DIV_Start, "start"}, {DIV_End, "end"}, {DIV_Split, "split"}, {DIV_Index, "index"}};

std::string Where(const DIVIDER& d) {
  const char* name = DividerKindName(d.type);
  return std::string(name ? name : "divider") + " at frame " + std::to_string(d.frame) + " (" +
         FormatMsf(d.frame) + ")";
}

}  // namespace

const char* DividerKindName(std::int32_t type) {
  for (const auto& k : kKindNames)
    if (k.type == type) return k.name;
  return nullptr;
}

DivType DividerKindFromName(std::string_view name) {
  for (const auto& k : kKindNames)
    if (name == k.name) return k.type;
  return DIV_UNKNOWN;
}

CueLayoutResult BuildCueLayout(std::span<const DIVIDER> dividers) {
  std::vector<DIVIDER> sorted(dividers.begin(), dividers.end());
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const DIVIDER& a, const DIVIDER& b) { return a.frame < b.frame; });
  const DIVIDER* start = nullptr;
  const DIVIDER* end = nullptr;
  for (const DIVIDER& d : sorted) {
    if (!DividerKindName(d.type))
      return {std::nullopt, "divider of kind " + std::to_string(d.type) + " at frame " +
                                std::to_string(d.frame) + " has no place in a CUE sheet"};
    if (d.type != DIV_Start && d.type != DIV_End) continue;
    const DIVIDER*& slot = d.type == DIV_Start ? start : end;
    if (slot)
      return {std::nullopt, "more than one " + std::string(DividerKindName(d.type)) + " divider (" +
                                Where(*slot) + ", " + Where(d) + ")"};
    slot = &d;
  }
  if (!start) return {std::nullopt, "the layout has no start divider"};
  if (!end) return {std::nullopt, "the layout has no end divider"};
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i].frame == sorted[i - 1].frame)
      return {std::nullopt,
              "two dividers on one frame: " + Where(sorted[i - 1]) + " and " + Where(sorted[i])};
  }
  if (sorted.front().type != DIV_Start)
    return {std::nullopt, "the " + Where(sorted.front()) + " lies before the start"};
  if (sorted.back().type != DIV_End)
    return {std::nullopt, "the " + Where(sorted.back()) + " lies after the end"};

  CueLayout layout;
  layout.end = end->frame;
  for (const DIVIDER& d : sorted) {
    if (d.type == DIV_Start || d.type == DIV_Split) {
      if (!layout.tracks.empty()) layout.tracks.back().end = d.frame;
      layout.tracks.push_back(CueTrack{d.frame, {}, 0});
    } else if (d.type == DIV_Index) {
      layout.tracks.back().indexMarks.push_back(d.frame);
    }
  }
  layout.tracks.back().end = layout.end;
  return {std::move(layout), {}};
}

std::vector<DIVIDER> LayoutDividers(const CueLayout& layout, std::uint32_t freq) {
  std::vector<DIVIDER> dividers;
  auto add = [&](DivType type, std::uint32_t frame) {
    dividers.push_back(DIVIDER{type, FrameToSample(frame, freq), frame});
  };
  for (std::size_t t = 0; t < layout.tracks.size(); ++t) {
    add(t == 0 ? DIV_Start : DIV_Split, layout.tracks[t].start);
    for (const std::uint32_t mark : layout.tracks[t].indexMarks) add(DIV_Index, mark);
  }
  add(DIV_End, layout.end);
  return dividers;
}

}  // namespace audioedit::cue
