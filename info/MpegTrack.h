// The track of an MPEG audio file: attributes from its ID3 tags and stream figures, and its
// attached pictures.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
  com::HRESULT Load(com::BSTR location, com::BOOL* loaded) override;
  // Writes the text attributes into the file's tags. Frames the attributes do not hold
  // (pictures, other frames, texts the library cannot read) stay as the file has them; an
  // attribute set to an empty text removes its frame.
  com::HRESULT Save(com::BSTR location, com::BOOL* saved) override;

  const std::vector<PictureRecord>& pictures() const { return pictures_; }
  // What went wrong in the last failed Save, naming the file.
  const std::string& saveError() const { return saveError_; }

 private:
  void StoreStreamFigures(const std::string& path);
  void StoreTexts(const TagSet& tags);
  void StorePictures(const TagSet& tags);

  std::vector<PictureRecord> pictures_;
  std::string saveError_;
};

}  // namespace info
