#include <gtest/gtest.h>

#include "platform/com/Unknown.h"

namespace com {
namespace {

TEST(Guid, ParsesAndPrintsTheBracedForm) {
  GUID g;
  ASSERT_TRUE(ParseGuid("{F0884FF2-F827-4F03-8791-293AB03D2455}", g));
  EXPECT_EQ(g.Data1, 0xF0884FF2u);
  EXPECT_EQ(g.Data2, 0xF827u);
  EXPECT_EQ(g.Data3, 0x4F03u);
  EXPECT_EQ(g.Data4[0], 0x87u);
  EXPECT_EQ(g.Data4[7], 0x55u);
  EXPECT_EQ(GuidToString(g), "{F0884FF2-F827-4F03-8791-293AB03D2455}");
  GUID lower;
  ASSERT_TRUE(ParseGuid("{f0884ff2-f827-4f03-8791-293ab03d2455}", lower));
  EXPECT_EQ(lower, g);
}

TEST(Guid, RejectsMalformedText) {
  GUID g = IID_IUnknown;
  for (const char* bad : {"", "{}", "F0884FF2-F827-4F03-8791-293AB03D2455",
                          "{F0884FF2-F827-4F03-8791-293AB03D245}",
                          "{F0884FF2-F827-4F03-8791-293AB03D24555}",
                          "{F0884FF2F827-4F03-8791-293AB03D2455-}",
                          "{G0884FF2-F827-4F03-8791-293AB03D2455}"}) {
    EXPECT_FALSE(ParseGuid(bad, g)) << bad;
  }
  EXPECT_EQ(g, IID_IUnknown);
}

TEST(Guid, CompileTimeLiteralsMatchRuntimeParsing) {
  static_assert(IID_IUnknown.Data4[0] == 0xC0);
  GUID g;
  ASSERT_TRUE(ParseGuid("{00000001-0000-0000-C000-000000000046}", g));
  EXPECT_EQ(g, IID_IClassFactory);
  EXPECT_TRUE(IID_IUnknown < IID_IClassFactory);
}

}  // namespace
}  // namespace com
