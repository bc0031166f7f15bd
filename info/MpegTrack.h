// The track of an MPEG audio file: attributes from its ID3 tags and stream figures, and its
// attached pictures.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "info/FileSnapshot.h"
#include "info/Track.h"

namespace info {

class TagSet;

// One attached picture: the bytes of the APIC frame's image, shared with the streams handed
// to hosts so that a stream never outlives its data.
struct PictureRecord {
  std::shared_ptr<std::vector<std::uint8_t>> data;
  std::uint32_t size = 0;
};

class MpegTrack final : public Track {
 public:
  explicit MpegTrack(com::ModuleLock* module = nullptr) : Track(module) {}

  // 1 for the attributes kept in an ID3v2 frame: eaComment..eaWwwUser and eaPrivate.
  com::HRESULT get_AttributeSupported(EAttribute attribute, com::BOOL* supported) override;
  // The location is a file name as LocationFromPath makes it (any bytes). A failure leaves
  // its reason as the thread's error information.
  com::HRESULT Load(com::BSTR location, com::BOOL* loaded) override;
  // Writes the text attributes that differ from what Load read from the same file (all text
  // attributes for another file) into the file's tags; every other frame, the audio and the
  // file's attributes stay as they are, and an attribute set to an empty text removes its
  // frame. Refuses (result 0, reason as error information, file untouched) a file that
  // changed since Load, and whatever TagSet::Update refuses.
  com::HRESULT Save(com::BSTR location, com::BOOL* saved) override;

  const std::vector<PictureRecord>& pictures() const { return pictures_; }
  // What went wrong in the last failed Load or Save, naming the file.
  const std::string& saveError() const { return error_; }

 private:
  void StoreStreamFigures(std::span<const std::uint8_t> file);
  void StoreTexts(const TagSet& tags);
  void StorePictures(const TagSet& tags);
  void Report(const std::string& message);

  std::vector<PictureRecord> pictures_;
  std::string error_;
  // What Load read: the file, its version and the texts, to tell what the host changed.
  std::optional<std::string> loadedPath_;
  FileIdentity loadedIdentity_;
  std::map<int, std::u16string> loadedTexts_;
};

}  // namespace info
