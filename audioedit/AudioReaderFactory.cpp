#include "audioedit/AudioReader.h"
#include "audioedit/MediaStreamReader.h"
#include "audioedit/Mp3FileReader.h"

namespace audioedit {

bool HasMp3Extension(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view ext = name.substr(dot);
  constexpr std::string_view kMp3 = ".mp3";
  if (ext.size() != kMp3.size()) return false;
  for (std::size_t i = 0; i < ext.size(); ++i) {
    char c = ext[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kMp3[i]) return false;
  }
  return true;
}

std::unique_ptr<AudioReader> CreateAudioReader(const std::string& path) {
  if (HasMp3Extension(path)) return CreateMp3FileReader();
  return std::make_unique<MediaStreamReader>();
}

}  // namespace audioedit
