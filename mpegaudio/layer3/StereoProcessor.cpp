#include "mpegaudio/layer3/StereoProcessor.h"

#include <algorithm>
#include <cmath>

#include "mpegaudio/layer3/DerivedTables.h"

namespace mpegaudio::layer3 {
namespace {

constexpr float kInvSqrt2 = 0.70710678118654752f;

void MidSide(float* left, float* right, int begin, int end) {
  for (int i = begin; i < end; ++i) {
    const float m = left[i];
    const float s = right[i];
    left[i] = (m + s) * kInvSqrt2;
    right[i] = (m - s) * kInvSqrt2;
  }
}

struct BandAction {
  const StereoInput& in;
  const GranuleInfo& right;
  float* l;
  float* r;

  // Applies intensity with `position` (or mid/side when it is the illegal one).
  void Intensity(int begin, int end, int position, int illegal) const {
    if (position == illegal) {
      if (in.ctx.MidSideStereo()) MidSide(l, r, begin, end);
      return;
    }
    const DerivedTables& t = DerivedTables::Get();
    float kl = 1.0f;
    float kr = 1.0f;
    if (in.ctx.mpeg1) {
      if (position > 6) position = 6;  // positions 0..6 (7 is the illegal one)
      kl = t.mpeg1IsLeft[position];
      kr = t.mpeg1IsRight[position];
    } else {
      const float* factor = t.mpeg2IsFactor[right.intensityScale];
      if (position & 1) {
        kl = factor[std::min((position + 1) / 2, 63)];
      } else {
        kr = factor[std::min(position / 2, 63)];
      }
    }
    for (int i = begin; i < end; ++i) {
      const float x = l[i];
      l[i] = x * kl;
      r[i] = x * kr;
    }
  }
  void Plain(int begin, int end) const {
    if (in.ctx.MidSideStereo()) MidSide(l, r, begin, end);
  }
};

void LongBands(const BandAction& act, int firstBand, int endBand, int bound) {
  const ScaleFactors& sf = act.in.rightScaleFactors;
  for (int b = firstBand; b < endBand; ++b) {
    const int begin = act.in.bands.LongStart(b);
    const int end = act.in.bands.LongStart(b + 1);
    if (b < bound) {
      act.Plain(begin, end);
    } else {
      const int src = b == kLongBands - 1 ? b - 1 : b;  // the last band takes band 20's position
      act.Intensity(begin, end, sf.longBand[src], sf.illegalLong[src]);
    }
  }
}

void ShortBands(const BandAction& act, int firstBand, const int bound[3]) {
  const ScaleFactors& sf = act.in.rightScaleFactors;
  for (int b = firstBand; b < kShortBands; ++b) {
    const int width = act.in.bands.ShortWidth(b);
    const int src = b == kShortBands - 1 ? b - 1 : b;  // the last band takes band 11's position
    for (int w = 0; w < 3; ++w) {
      const int begin = 3 * act.in.bands.ShortStart(b) + w * width;
      if (b < bound[w]) {
        act.Plain(begin, begin + width);
      } else {
        act.Intensity(begin, begin + width, sf.shortBand[src][w], sf.illegalShort[src]);
      }
    }
  }
}

}  // namespace

void FindLastBands(const float spectrum[kLines], const BandLayout& bands, const MixedSplit& split,
                   GranuleInfo& g) {
  g.lastLongBand = -1;
  g.lastShortBand[0] = g.lastShortBand[1] = g.lastShortBand[2] = -1;
  const int nz = g.nonZeroLines;
  if (!g.ShortBlocks()) {
    for (int b = 0; b < kLongBands; ++b) {
      if (bands.LongStart(b) < nz) g.lastLongBand = b;
    }
    return;
  }
  if (g.mixedBlock) {
    for (int b = 0; b < split.longBands; ++b) {
      const int end = std::min(bands.LongStart(b + 1), nz);
      for (int i = bands.LongStart(b); i < end; ++i) {
        if (spectrum[i] != 0.0f) g.lastLongBand = b;
      }
    }
  }
  const int first = g.mixedBlock ? split.firstShortBand : 0;
  for (int b = first; b < kShortBands; ++b) {
    const int width = bands.ShortWidth(b);
    for (int w = 0; w < 3; ++w) {
      const int begin = 3 * bands.ShortStart(b) + w * width;
      const int end = std::min(begin + width, nz);
      for (int i = begin; i < end; ++i) {
        if (spectrum[i] != 0.0f) {
          g.lastShortBand[w] = b;
          break;
        }
      }
    }
  }
}

void ProcessStereo(const StereoInput& in, float* left, float* right, GranuleInfo& leftInfo,
                   GranuleInfo& rightInfo) {
  const int lines = std::max(leftInfo.nonZeroLines, rightInfo.nonZeroLines);
  if (in.ctx.mode == 1) {
    if (!in.ctx.IntensityStereo()) {
      if (in.ctx.MidSideStereo()) MidSide(left, right, 0, lines);
    } else {
      const BandAction act{in, rightInfo, left, right};
      const GranuleInfo& g = rightInfo;
      if (!g.ShortBlocks()) {
        LongBands(act, 0, kLongBands, g.lastLongBand + 1);
      } else {
        const bool shortPartUsed =
            g.lastShortBand[0] >= 0 || g.lastShortBand[1] >= 0 || g.lastShortBand[2] >= 0;
        int bound[3];
        int firstShort = 0;
        if (g.mixedBlock) {
          LongBands(act, 0, in.split.longBands,
                    shortPartUsed ? in.split.longBands : g.lastLongBand + 1);
          firstShort = in.split.firstShortBand;
        }
        for (int w = 0; w < 3; ++w) bound[w] = std::max(g.lastShortBand[w] + 1, firstShort);
        ShortBands(act, firstShort, bound);
      }
    }
  }
  int maxLines = lines;
  if (in.ctx.IntensityStereo()) maxLines = kLines;  // intensity may fill the right channel
  while (maxLines > 0 && left[maxLines - 1] == 0.0f && right[maxLines - 1] == 0.0f) --maxLines;
  maxLines = std::max(maxLines, lines);
  leftInfo.nonZeroLines = rightInfo.nonZeroLines = maxLines;
  const int lastLong = std::max(leftInfo.lastLongBand, rightInfo.lastLongBand);
  leftInfo.lastLongBand = rightInfo.lastLongBand = lastLong;
  for (int w = 0; w < 3; ++w) {
    const int s = std::max(leftInfo.lastShortBand[w], rightInfo.lastShortBand[w]);
    leftInfo.lastShortBand[w] = rightInfo.lastShortBand[w] = s;
  }
}

void DownmixToLeft(float* left, const float* right, int lines) {
  for (int i = 0; i < lines; ++i) left[i] = (left[i] + right[i]) * 0.5f;
}

}  // namespace mpegaudio::layer3
