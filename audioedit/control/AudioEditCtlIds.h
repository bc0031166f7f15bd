// Identities of the control, its interfaces, its type library and its module.
#pragma once

#include "platform/com/Types.h"

namespace audioedit {

inline constexpr com::CLSID CLSID_AudioEditCtl =
    com::MakeGuid("{F0884FF2-F827-4F03-8791-293AB03D2455}");
inline constexpr com::IID IID_IAudioEditCtl =
    com::MakeGuid("{44D4279C-37BA-4D8E-B281-715CB2E71090}");
inline constexpr com::IID DIID__IAudioEditCtlEvents =
    com::MakeGuid("{00AEE285-B28A-42D2-9F49-6428CE8A5890}");
inline constexpr com::GUID LIBID_TavolexLib =
    com::MakeGuid("{7F7CB5A0-6B78-4B5B-9E36-BA3CA85BB7CB}");
inline constexpr com::GUID APPID_Tavolex = com::MakeGuid("{33C6FEDB-3380-4884-8331-ACC9F20115DB}");

// Miscellaneous status flags of the control: recompose on resize, can't link inside,
// inside-out, activate when visible, set client site first.
inline constexpr com::DWORD kAudioEditCtlMiscStatus = 131473;

// Members of _IAudioEditCtlEvents.
inline constexpr com::DISPID DISPID_PeakFileProgress = 1;
inline constexpr com::DISPID DISPID_DividerSelected = 3;
inline constexpr com::DISPID DISPID_AudioEditMsg = 4;

}  // namespace audioedit
