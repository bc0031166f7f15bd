#include <gtest/gtest.h>

#include <cstring>

#include "audioedit/PeakHeader.h"
#include "audioedit/Pec.h"

namespace audioedit {
namespace {

TEST(Pec, EveryCodeHasItsMessageAndOthersTheUnknownOne) {
  EXPECT_STREQ(PecMessage(PEC_Success), "AudioEditCtl: Success");
  EXPECT_STREQ(PecMessage(PEC_UnknownAudioFormat), "Unknown audio format.");
  EXPECT_STREQ(PecMessage(PEC_PeakFileIsOld), "The peak is older than the audio file.");
  EXPECT_STREQ(PecMessage(PEC_LoadingCanceled), "Loading has been canceled.");
  for (std::int32_t code : {-1, 9, 0x7FFFFFFF})
    EXPECT_STREQ(PecMessage(code), "AudioEditCtl: Unknown error code") << code;
}

TEST(PeakHeader, LittleEndianFieldsAtTheRecordsOffsetsWithZeroPadding) {
  const AUDIO_INFO info{0x0102,     0x0304, 0x05060708, 0x090A,
                        0x0B0C0D0E, 0x0F10, 0x11121314, 0x15161718};
  const PeakHeaderBytes b = EncodePeakHeader(info);
  const PeakHeaderBytes expected = {0x02, 0x01, 0x04, 0x03, 0x08, 0x07, 0x06, 0x05, 0x0A, 0x09,
                                    0,    0,    0x0E, 0x0D, 0x0C, 0x0B, 0x10, 0x0F, 0,    0,
                                    0x14, 0x13, 0x12, 0x11, 0x18, 0x17, 0x16, 0x15};
  EXPECT_EQ(b, expected);
  const AUDIO_INFO back = DecodePeakHeader(b);
  EXPECT_EQ(std::memcmp(&back.channels, &info.channels, 4), 0);
  EXPECT_EQ(back.total_peaks, info.total_peaks);
  EXPECT_EQ(back.sample_interval, info.sample_interval);
  EXPECT_TRUE(SameAudioFormat(back, info));
  AUDIO_INFO other = info;
  other.duration += 1;
  EXPECT_FALSE(SameAudioFormat(other, info));
  other = info;
  other.total_peaks = 0;
  other.sample_interval = 1;
  EXPECT_TRUE(SameAudioFormat(other, info));
}

}  // namespace
}  // namespace audioedit
