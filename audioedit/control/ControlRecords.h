// Record identities of the control's records, so that they can travel in VARIANTs and safe
// arrays.
#pragma once

#include "audioedit/AudioInfo.h"
#include "audioedit/Divider.h"
#include "platform/com/RecordInfo.h"

namespace com {

template <>
struct RecordTraits<audioedit::AUDIO_INFO> {
  static constexpr GUID guid = audioedit::GUID_AUDIO_INFO;
  static constexpr std::u16string_view name = u"AUDIO_INFO";
};

template <>
struct RecordTraits<audioedit::DIVIDER> {
  static constexpr GUID guid = audioedit::GUID_DIVIDER;
  static constexpr std::u16string_view name = u"DIVIDER";
};

}  // namespace com
