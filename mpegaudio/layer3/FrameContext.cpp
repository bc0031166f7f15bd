#include "mpegaudio/layer3/Layer3Types.h"

namespace mpegaudio::layer3 {

FrameContext FrameContext::FromHeader(const FrameHeader& header) {
  FrameContext ctx;
  ctx.channels = header.channels;
  ctx.bandTable = header.version * 3 + header.samplingRateIndex;
  ctx.frameSizeBits = header.frameSizeBits;
  ctx.mode = header.mode;
  ctx.modeExtension = header.modeExtension;
  ctx.protection = header.protection != 0;
  ctx.bitsBeforeSideInfo = ctx.protection ? 48 : 32;
  ctx.mpeg1 = header.version == 0;
  ctx.granules = ctx.mpeg1 ? 2 : 1;
  if (ctx.mpeg1) {
    ctx.sideInfoBytes = ctx.channels == 1 ? 17 : 32;
  } else {
    ctx.sideInfoBytes = ctx.channels == 1 ? 9 : 17;
  }
  return ctx;
}

}  // namespace mpegaudio::layer3
