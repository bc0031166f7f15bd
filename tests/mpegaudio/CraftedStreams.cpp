// Writes Layer III streams that encoders never make, for the reference comparison: start
// and stop blocks with the mixed flag (window switching on, block type 1 or 3), followed by
// long, short and mixed short granules, in mono and joint stereo, MPEG-1, 2 and 2.5.
//
//   mpegaudio_crafted_streams OUTDIR    writes OUTDIR/NAME.mp3 and prints each NAME
#include <cstdio>
#include <string>
#include <vector>

#include "tests/mpegaudio/Layer3StreamWriter.h"

namespace {

using mpegaudio::test::BitWriter;
using mpegaudio::test::FrameFields;
using mpegaudio::test::GranuleFields;
using mpegaudio::test::HeaderFields;

struct Block {
  int type;   // 0 long, 1 start, 2 short, 3 stop
  int mixed;  // mixed flag (window switching granules only)
};

// The granule sequence of every stream: each start/stop kind meets long, short and mixed
// short neighbours on both sides.
const std::vector<Block> kSequence = {
    {0, 0}, {0, 0}, {1, 1}, {2, 0}, {2, 0}, {3, 1}, {0, 0}, {1, 1}, {2, 1}, {3, 1},
    {2, 0}, {3, 1}, {1, 1}, {0, 0}, {3, 1}, {1, 1}, {1, 0}, {2, 1}, {3, 0}, {3, 1},
    {2, 1}, {1, 1}, {3, 1}, {0, 0}, {0, 0}, {0, 0}};

// A spectrum with energy from line 0 up to `count` (the lowest subbands are where the
// mixed flag changes the window), coded with two tables so that region boundaries count.
GranuleFields Granule(std::uint32_t seed, int count, Block block, bool mpeg1) {
  GranuleFields g;
  g.lines.assign(static_cast<std::size_t>(count), 0);
  std::uint32_t state = 2463534242u ^ (seed * 2654435761u);
  for (int i = 0; i < count; ++i) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    const int range = i < 40 ? 15 : 5;
    g.lines[static_cast<std::size_t>(i)] = static_cast<int>(state % static_cast<std::uint32_t>(range)) - range / 2;
  }
  g.globalGain = 178;  // loud, below clipping
  // A wrong region boundary decodes region 1 with the wrong code table. Mixed short blocks
  // of MPEG-2 and 2.5 keep one table: there the decoder places region 1 by its own rule.
  g.regionTable = (block.type == 2 && block.mixed && !mpeg1) ? -1 : 24;
  if (block.type != 0) {
    g.windowSwitching = 1;
    g.blockType = block.type;
    g.mixedBlock = block.mixed;
    g.subblockGain[1] = block.type == 2 ? 1 : 0;
  } else {
    g.region0Count = 7;
    g.region1Count = 5;
  }
  return g;
}

struct StreamSpec {
  const char* name;
  HeaderFields header;
  int leftLines;
  int rightLines;  // fewer lines on the right let intensity stereo start below the top
};

std::vector<std::uint8_t> Build(const StreamSpec& spec) {
  const bool mpeg1 = spec.header.version == 0;
  const int granules = mpeg1 ? 2 : 1;
  const int channels = spec.header.mode == 3 ? 1 : 2;
  const bool eightKhz = spec.header.version == 2 && spec.header.samplingRateIndex == 2;
  BitWriter w;
  std::uint32_t seed = 1;
  std::size_t next = 0;
  while (next < kSequence.size()) {
    FrameFields f;
    f.header = spec.header;
    for (int gr = 0; gr < granules && next < kSequence.size(); ++gr, ++next) {
      for (int ch = 0; ch < channels; ++ch) {
        Block block = kSequence[next];
        // Mixed short blocks at 8000 Hz hold four long subbands here, two in the reference.
        if (eightKhz && block.type == 2) block.mixed = 0;
        f.granule[gr][ch] = Granule(seed++, ch == 0 ? spec.leftLines : spec.rightLines, block, mpeg1);
      }
    }
    if (!mpegaudio::test::PutFrame(w, f)) {
      std::fprintf(stderr, "mpegaudio_crafted_streams: %s: main data does not fit a frame\n", spec.name);
      return {};
    }
  }
  return w.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mpegaudio_crafted_streams OUTDIR\n");
    return 2;
  }
  // Bit rates leave room for every granule's main data in its own frame.
  const StreamSpec specs[] = {
      {"m1_crafted_mixed_mono", {.bitrateIndex = 11, .mode = 3}, 200, 0},
      {"m1_crafted_mixed_joint", {.bitrateIndex = 14, .mode = 1, .modeExtension = 3}, 200, 120},
      {"m1_crafted_mixed_joint_ms", {.bitrateIndex = 14, .samplingRateIndex = 1, .mode = 1, .modeExtension = 2}, 180, 180},
      {"m2_crafted_mixed_mono", {.version = 1, .bitrateIndex = 12, .mode = 3}, 200, 0},
      {"m2_crafted_mixed_joint", {.version = 1, .bitrateIndex = 14, .mode = 1, .modeExtension = 2}, 200, 200},
      {"m25_crafted_mixed_joint", {.version = 2, .bitrateIndex = 12, .mode = 1, .modeExtension = 3}, 200, 100},
      {"m25_crafted_mixed_8000_mono", {.version = 2, .bitrateIndex = 10, .samplingRateIndex = 2, .mode = 3}, 200, 0},
  };
  for (const StreamSpec& spec : specs) {
    const std::string path = std::string(argv[1]) + "/" + spec.name + ".mp3";
    const std::vector<std::uint8_t> bytes = Build(spec);
    if (bytes.empty()) return 1;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
      std::fprintf(stderr, "mpegaudio_crafted_streams: %s: cannot create\n", path.c_str());
      return 1;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !ok) {
      std::fprintf(stderr, "mpegaudio_crafted_streams: %s: write failed\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", spec.name);
  }
  return 0;
}
