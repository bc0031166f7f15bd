#include "mpegaudio/layer3/DerivedTables.h"

#include <cmath>

#include "mpegaudio/StandardTables.h"

namespace mpegaudio::layer3 {
namespace {

void FillImdctWindows(DerivedTables& t) {
  const double pi = std::acos(-1.0);
  for (int i = 0; i < 36; ++i) {
    const double longWin = std::sin(pi / 36 * (i + 0.5));
    t.imdctWindow[0][i] = static_cast<float>(longWin);
    // Start block: long rise, flat, short fall, zeros.
    double start = 0;
    if (i < 18) start = longWin;
    else if (i < 24) start = 1.0;
    else if (i < 30) start = std::sin(pi / 12 * (i - 18 + 0.5));
    t.imdctWindow[1][i] = static_cast<float>(start);
    // Stop block: the mirror image.
    double stop = 0;
    if (i >= 18) stop = longWin;
    else if (i >= 12) stop = 1.0;
    else if (i >= 6) stop = std::sin(pi / 12 * (i - 6 + 0.5));
    t.imdctWindow[3][i] = static_cast<float>(stop);
    t.imdctWindow[2][i] = i < 12 ? static_cast<float>(std::sin(pi / 12 * (i + 0.5))) : 0.0f;
  }
}

DerivedTables Build() {
  DerivedTables t{};
  for (int i = 0; i < 128; ++i) {
    t.gain[i] = static_cast<float>(32768.0 * std::pow(2.0, -i / 4.0));
    t.pow43[i] = static_cast<float>(std::pow(static_cast<double>(i), 4.0 / 3.0));
  }
  const double pi = std::acos(-1.0);
  for (int p = 0; p < 7; ++p) {
    if (p == 6) {
      t.mpeg1IsLeft[p] = 1.0f;
      t.mpeg1IsRight[p] = 0.0f;
      continue;
    }
    const double r = std::tan(p * pi / 12);
    t.mpeg1IsLeft[p] = static_cast<float>(r / (1 + r));
    t.mpeg1IsRight[p] = static_cast<float>(1 / (1 + r));
  }
  for (int s = 0; s < 2; ++s) {
    for (int p = 0; p < 64; ++p) {
      t.mpeg2IsFactor[s][p] = static_cast<float>(std::pow(2.0, -(s + 1) * p / 4.0));
    }
  }
  FillImdctWindows(t);
  for (int i = 0; i < 512; ++i) {
    t.synthesisWindow[i] = static_cast<float>(tables::kSynthesisWindowK[i] / 65536.0);
  }
  return t;
}

}  // namespace

const DerivedTables& DerivedTables::Get() {
  static const DerivedTables tables = Build();
  return tables;
}

float Power43(int magnitude) {
  if (magnitude < 128) return DerivedTables::Get().pow43[magnitude];
  const double v = magnitude;
  return static_cast<float>(v * std::cbrt(v));
}

}  // namespace mpegaudio::layer3
