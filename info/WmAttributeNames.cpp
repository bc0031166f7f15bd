#include "info/WmAttributeNames.h"

namespace info {

namespace {

constexpr std::array<WmAttributeName, kAttributeCount> kNames = {{
    {eaBegin, u""},
    {eaLocation, u""},
    {eaChannels, u""},
    {eaBitrate, u""},
    {eaFrequency, u""},
    {eaDuration, u""},
    {eaStatistics, u""},
    {eaPictures, u"ID3/APIC"},
    {eaComment, u"ID3/COMM"},
    {eaGeneralObject, u"ID3/GEOB"},
    {eaGroupingReg, u"ID3/GRID"},
    {eaInvolvedPeople, u"ID3/IPLS"},
    {eaPlayCounter, u"ID3/PCNT"},
    {eaPopulariMeter, u"Rating"},
    {eaAlbum, u"WM/AlbumTitle"},
    {eaComposer, u"ID3/TCOM"},
    {eaGenre, u"WM/Genre"},
    {eaCopyright, u"Copyright"},
    {eaDate, u"ID3/TDAT"},
    {eaEncodedBy, u"ID3/TENC"},
    {eaLyricist, u"ID3/TEXT"},
    {eaFileType, u"ID3/TFLT"},
    {eaTime, u"ID3/TIME"},
    {eaContentGroup, u"Description"},
    {eaTitle, u"Title"},
    {eaSubtitle, u"ID3/TIT3"},
    {eaLanguage, u"ID3/TLAN"},
    {eaMediaType, u"ID3/TMED"},
    {eaOrigAlbum, u"ID3/TOAL"},
    {eaOrigFileName, u"ID3/TOFN"},
    {eaOrigLyricist, u"ID3/TOLY"},
    {eaOrigArtist, u"ID3/TOPE"},
    {eaLeadArtist, u"Author"},
    {eaBand, u"ID3/TPE2"},
    {eaConductor, u"ID3/TPE3"},
    {eaMixArtist, u"ID3/TPE4"},
    {eaPartInSet, u"ID3/TPOS"},
    {eaPublisher, u"ID3/TPUB"},
    {eaTrackNum, u"WM/Track"},
    {eaRecordingDates, u"ID3/TRDA"},
    {eaNetRadioStation, u"ID3/TRSN"},
    {eaEncoderSettings, u"ID3/TSSE"},
    {eaYear, u"WM/Year"},
    {eaUserText, u"ID3/TXXX"},
    {eaTermsOfUse, u"ID3/USER"},
    {eaUnsyncedLyrics, u"ID3/USLT"},
    {eaWwwCommercialInfo, u"ID3/WCOM"},
    {eaWwwCopyright, u"ID3/WCOP"},
    {eaWwwAudioFile, u"ID3/WOAF"},
    {eaWwwArtist, u"ID3/WOAR"},
    {eaWwwAudioSource, u"ID3/WOAS"},
    {eaWwwRadioPage, u"ID3/WORS"},
    {eaWwwPayment, u"ID3/WPAY"},
    {eaWwwPublisher, u"ID3/WPUB"},
    {eaWwwUser, u"ID3/WXXX"},
    {eaAuthor, u"Author"},
    {eaPrivate, u""},
    {eaEnd, u""},
}};

constexpr bool IndexedByAttribute() {
  for (std::size_t i = 0; i < kNames.size(); ++i)
    if (kNames[i].attribute != static_cast<EAttribute>(i)) return false;
  return true;
}
static_assert(IndexedByAttribute(), "one row per attribute, in attribute order");

}  // namespace

const std::array<WmAttributeName, kAttributeCount>& WmAttributeNames() { return kNames; }

std::u16string_view WmNameOfAttribute(int attribute) {
  if (attribute < 0 || attribute >= kAttributeCount) return {};
  return kNames[static_cast<std::size_t>(attribute)].name;
}

}  // namespace info
