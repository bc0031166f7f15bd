// The members of AudioEditCtl that belong to playback: play, pause and stop, the playback
// graph of a loaded file, its position timer and its notifications.
#include "audioedit/control/AudioEditCtl.h"

namespace audioedit {

void AudioEditCtl::SetUpPlayback() {}
void AudioEditCtl::TearDownPlayback() {}

win::LRESULT AudioEditCtl::PlaybackMessage(win::UINT, win::WPARAM, win::LPARAM, bool& handled) {
  handled = false;
  return 0;
}

PlayState AudioEditCtl::PlaybackState() const { return PlayState::kStopped; }

// Until the playback graph exists, a loaded file answers E_NOTIMPL: the host must not be
// told that something played.
HRESULT AudioEditCtl::AudioPlay() { return state_.IsAudioFileLoaded() ? com::E_NOTIMPL : com::S_FALSE; }
HRESULT AudioEditCtl::AudioPause() { return state_.IsAudioFileLoaded() ? com::E_NOTIMPL : com::S_FALSE; }
HRESULT AudioEditCtl::AudioStop() { return state_.IsAudioFileLoaded() ? com::E_NOTIMPL : com::S_FALSE; }

}  // namespace audioedit
