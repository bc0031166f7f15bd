// The numbered attributes of a track and the track formats, as hosts see them.
#pragma once

#include <cstdint>

namespace info {

enum EAttribute : std::int32_t {
  eaBegin = 0,
  eaLocation = 1,
  eaChannels = 2,
  eaBitrate = 3,
  eaFrequency = 4,
  eaDuration = 5,
  eaStatistics = 6,
  eaPictures = 7,
  eaComment = 8,
  eaGeneralObject = 9,
  eaGroupingReg = 10,
  eaInvolvedPeople = 11,
  eaPlayCounter = 12,
  eaPopulariMeter = 13,
  eaAlbum = 14,
  eaComposer = 15,
  eaGenre = 16,
  eaCopyright = 17,
  eaDate = 18,
  eaEncodedBy = 19,
  eaLyricist = 20,
  eaFileType = 21,
  eaTime = 22,
  eaContentGroup = 23,
  eaTitle = 24,
  eaSubtitle = 25,
  eaLanguage = 26,
  eaMediaType = 27,
  eaOrigAlbum = 28,
  eaOrigFileName = 29,
  eaOrigLyricist = 30,
  eaOrigArtist = 31,
  eaLeadArtist = 32,
  eaBand = 33,
  eaConductor = 34,
  eaMixArtist = 35,
  eaPartInSet = 36,
  eaPublisher = 37,
  eaTrackNum = 38,
  eaRecordingDates = 39,
  eaNetRadioStation = 40,
  eaEncoderSettings = 41,
  eaYear = 42,
  eaUserText = 43,
  eaTermsOfUse = 44,
  eaUnsyncedLyrics = 45,
  eaWwwCommercialInfo = 46,
  eaWwwCopyright = 47,
  eaWwwAudioFile = 48,
  eaWwwArtist = 49,
  eaWwwAudioSource = 50,
  eaWwwRadioPage = 51,
  eaWwwPayment = 52,
  eaWwwPublisher = 53,
  eaWwwUser = 54,
  eaAuthor = 55,
  eaPrivate = 56,
  eaEnd = 57,
};

inline constexpr int kAttributeCount = 58;

enum EFormat : std::int32_t {
  efMPEG = 0,
  efWM = 1,
};

}  // namespace info
