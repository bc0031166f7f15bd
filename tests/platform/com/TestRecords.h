// A record type shared by the tests of VARIANTs and of the dispatch helper.
#pragma once

#include "platform/com/RecordInfo.h"

namespace com::test {

struct Point {
  LONG x;
  LONG y;
};

}  // namespace com::test

template <>
struct com::RecordTraits<com::test::Point> {
  static constexpr GUID guid = MakeGuid("{5B0E3C1A-77A2-4D43-9B51-0C8D1F2E3A41}");
  static constexpr std::u16string_view name = u"Point";
};
