#include "info/dialog/DialogLayout.h"

#include <array>

namespace info::dialog {

namespace {

using K = FieldKind;

constexpr DialogField kBasic[] = {
    {eaLocation, "File location:", K::kReadOnly, 20},
    {eaTitle, "Title/songname/content description:", K::kText, 20},
    {eaLeadArtist, "Lead performer(s)/Soloist(s):", K::kText, 20},
    {eaAlbum, "Album/Movie/Show title:", K::kText, 20},
    {eaYear, "Year:", K::kNumber, 20},
    {eaTrackNum, "Track number/Position in set:", K::kText, 20},
    {eaGenre, "Content type:", K::kDropDown, 160},
    {eaAuthor, "Author(s):", K::kText, 20},
    {eaComment, "Comments:", K::kMultiLine, 25},
};

constexpr DialogField kLyrics[] = {
    {eaUnsyncedLyrics, "Unsychronized lyric/text transcription:", K::kMultiLine, 120},
    {eaOrigLyricist, "Original lyricist(s)/text writer(s):", K::kText, 20},
    {eaLyricist, "Lyricist/Text writer:", K::kText, 20},
    {eaLanguage, "Language(s):", K::kText, 20},
};

constexpr DialogField kTrack[] = {
    {eaContentGroup, "Content group description:", K::kText, 20},
    {eaOrigAlbum, "Original album/movie/show title:", K::kText, 20},
    {eaSubtitle, "Subtitle/Description refinement:", K::kText, 20},
    {eaPlayCounter, "Play counter:", K::kReadOnly, 20},
    {eaPopulariMeter, "Popularity:", K::kReadOnly, 20},
};

constexpr DialogField kFile[] = {
    {eaOrigFileName, "Original filename:", K::kText, 20},
    {eaDate, "Date:", K::kText, 20},
    {eaTime, "Time:", K::kText, 20},
    {eaTermsOfUse, "Terms of use and ownership of the file:", K::kText, 20},
    {eaEncodedBy, "Encoded by:", K::kText, 20},
    {eaStatistics, "Statistcs:", K::kReadOnly, 140},
};

constexpr DialogField kArtist[] = {
    {eaOrigArtist, "Original artist(s)/performer(s):", K::kText, 20},
    {eaBand, "Band/orchestra/accompaniment:", K::kText, 20},
    {eaConductor, "Conductor/performer refinement:", K::kText, 20},
    {eaComposer, "Composer:", K::kText, 20},
    {eaMixArtist, "Interpreted, remixed, or otherwise modified by:", K::kText, 20},
};

constexpr DialogField kPublisher[] = {
    {eaCopyright, "Copyright:", K::kText, 20},
    {eaWwwCopyright, "Legal information:", K::kText, 20},
    {eaPartInSet, "Part of a set:", K::kText, 20},
    {eaPublisher, "Publisher:", K::kText, 20},
    {eaRecordingDates, "Recording dates:", K::kText, 20},
    {eaNetRadioStation, "Internet radio station:", K::kText, 20},
    {eaInvolvedPeople, "Involved people:", K::kText, 20},
};

constexpr DialogField kWebLinks[] = {
    {eaWwwAudioFile, "Audio file:", K::kText, 20},
    {eaWwwArtist, "Artist/performer:", K::kText, 20},
    {eaWwwPayment, "Payment:", K::kText, 20},
    {eaWwwCommercialInfo, "Commercial information:", K::kText, 20},
    {eaWwwAudioSource, "Audio source:", K::kText, 20},
    {eaWwwRadioPage, "Internet radio station:", K::kText, 20},
    {eaWwwPublisher, "Publishers:", K::kText, 20},
};

constexpr std::array<DialogCategory, kCategoryCount> kCategories = {{
    {"Basic", kBasic},
    {"Lyrics", kLyrics},
    {"Track", kTrack},
    {"File", kFile},
    {"Artist", kArtist},
    {"Publisher", kPublisher},
    {"Web Links", kWebLinks},
}};

}  // namespace

std::span<const DialogCategory, kCategoryCount> DialogCategories() { return kCategories; }

}  // namespace info::dialog
