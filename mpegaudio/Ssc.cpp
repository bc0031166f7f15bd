#include "mpegaudio/Ssc.h"

namespace mpegaudio {
namespace {

struct SscRow {
  SSC code;
  const char* text;
};

constexpr SscRow kSscTexts[] = {
    {SscOk, "(Mp3Ssc) success: no error"},
    {SscBadParameter, "(Mp3Ssc) error: at least one parameter is wrong"},
    {SscOutOfMemory, "(Mp3Ssc) error: not enough memory"},
    {SscInvalidHandle, "(Mp3Ssc) error: invalid handle"},
    {SscIoError, "(Mp3Ssc) error: I/O - generic error"},
    {SscIoOpenFailed, "(Mp3Ssc) error: I/O - open failed"},
    {SscIoCloseFailed, "(Mp3Ssc) error: I/O - close failed"},
    {SscIoReadError, "(Mp3Ssc) error: I/O - read error"},
    {SscCrcError, "(Mp3Ssc) info: Decoder - CRC error"},
    {SscNoMainData, "(Mp3Ssc) info: Decoder - not enough main data present"},
    {SscDecoderError, "(Mp3Ssc) error: Decoder - generic error"},
    {SscWrongLayer, "(Mp3Ssc) error: Decoder - wrong MPEG layer"},
    {SscBufferTooSmall, "(Mp3Ssc) error: Decoder - buffer is too small"},
    {SscSyncSearched, "(Mp3Ssc) warning: Decoder - sync searched"},
    {SscSyncLost, "(Mp3Ssc) warning: Decoder - sync lost"},
    {SscSyncNeedData, "(Mp3Ssc) warning: Decoder - sync need data"},
    {SscSyncEof, "(Mp3Ssc) warning: Decoder - sync eof"},
};

}  // namespace

const char* SscText(SSC s) {
  for (const SscRow& row : kSscTexts) {
    if (row.code == s) return row.text;
  }
  return "(Mp3Ssc) unknown SSC";
}

}  // namespace mpegaudio
