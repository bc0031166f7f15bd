#include "info/AttributeFrameMap.h"

namespace info {

namespace {

constexpr std::array<AttributeFrameRow, kAttributeCount> kRows = {{
    {eaBegin, "eaBegin", ""},
    {eaLocation, "eaLocation", ""},
    {eaChannels, "eaChannels", ""},
    {eaBitrate, "eaBitrate", ""},
    {eaFrequency, "eaFrequency", ""},
    {eaDuration, "eaDuration", ""},
    {eaStatistics, "eaStatistics", ""},
    {eaPictures, "eaPictures", ""},
    {eaComment, "eaComment", "COMM"},
    {eaGeneralObject, "eaGeneralObject", "GEOB"},
    {eaGroupingReg, "eaGroupingReg", "GRID"},
    {eaInvolvedPeople, "eaInvolvedPeople", "IPLS"},
    {eaPlayCounter, "eaPlayCounter", "PCNT"},
    {eaPopulariMeter, "eaPopulariMeter", "POPM"},
    {eaAlbum, "eaAlbum", "TALB"},
    {eaComposer, "eaComposer", "TCOM"},
    {eaGenre, "eaGenre", "TCON"},
    {eaCopyright, "eaCopyright", "TCOP"},
    {eaDate, "eaDate", "TDAT"},
    {eaEncodedBy, "eaEncodedBy", "TENC"},
    {eaLyricist, "eaLyricist", "TEXT"},
    {eaFileType, "eaFileType", "TFLT"},
    {eaTime, "eaTime", "TIME"},
    {eaContentGroup, "eaContentGroup", "TIT1"},
    {eaTitle, "eaTitle", "TIT2"},
    {eaSubtitle, "eaSubtitle", "TIT3"},
    {eaLanguage, "eaLanguage", "TLAN"},
    {eaMediaType, "eaMediaType", "TMED"},
    {eaOrigAlbum, "eaOrigAlbum", "TOAL"},
    {eaOrigFileName, "eaOrigFileName", "TOFN"},
    {eaOrigLyricist, "eaOrigLyricist", "TOLY"},
    {eaOrigArtist, "eaOrigArtist", "TOPE"},
    {eaLeadArtist, "eaLeadArtist", "TPE1"},
    {eaBand, "eaBand", "TPE2"},
    {eaConductor, "eaConductor", "TPE3"},
    {eaMixArtist, "eaMixArtist", "TPE4"},
    {eaPartInSet, "eaPartInSet", "TPOS"},
    {eaPublisher, "eaPublisher", "TPUB"},
    {eaTrackNum, "eaTrackNum", "TRCK"},
    {eaRecordingDates, "eaRecordingDates", "TRDA"},
    {eaNetRadioStation, "eaNetRadioStation", "TRSN"},
    {eaEncoderSettings, "eaEncoderSettings", "TSSE"},
    {eaYear, "eaYear", "TYER"},
    {eaUserText, "eaUserText", "TXXX"},
    {eaTermsOfUse, "eaTermsOfUse", "USER"},
    {eaUnsyncedLyrics, "eaUnsyncedLyrics", "USLT"},
    {eaWwwCommercialInfo, "eaWwwCommercialInfo", "WCOM"},
    {eaWwwCopyright, "eaWwwCopyright", "WCOP"},
    {eaWwwAudioFile, "eaWwwAudioFile", "WOAF"},
    {eaWwwArtist, "eaWwwArtist", "WOAR"},
    {eaWwwAudioSource, "eaWwwAudioSource", "WOAS"},
    {eaWwwRadioPage, "eaWwwRadioPage", "WORS"},
    {eaWwwPayment, "eaWwwPayment", "WPAY"},
    {eaWwwPublisher, "eaWwwPublisher", "WPUB"},
    {eaWwwUser, "eaWwwUser", "WXXX"},
    {eaAuthor, "eaAuthor", ""},
    {eaPrivate, "eaPrivate", "PRIV"},
    {eaEnd, "eaEnd", ""},
}};

static_assert([] {
  for (int i = 0; i < kAttributeCount; ++i)
    if (kRows[static_cast<std::size_t>(i)].attribute != i) return false;
  return true;
}());

}  // namespace

const std::array<AttributeFrameRow, kAttributeCount>& AttributeFrameMap() { return kRows; }

std::string_view FrameOfAttribute(int attribute) {
  if (attribute < 0 || attribute >= kAttributeCount) return {};
  return kRows[static_cast<std::size_t>(attribute)].frame;
}

int AttributeByName(std::string_view name) {
  for (const AttributeFrameRow& row : kRows)
    if (row.name == name) return row.attribute;
  return -1;
}

}  // namespace info
