#include <gtest/gtest.h>

#include <vector>

#include "audioedit/CdFrames.h"
#include "audioedit/DividerList.h"

namespace audioedit {
namespace {

using com::S_FALSE;
using com::S_OK;

struct FakeHost : DividerListHost {
  bool loaded = true;
  int redraws = 0;
  int repaints = 0;
  std::vector<std::uint32_t> broughtIntoView;
  bool IsLoaded() const override { return loaded; }
  void RedrawDividers() override { ++redraws; }
  void RepaintAll() override { ++repaints; }
  void BringIntoView(std::uint32_t frame) override { broughtIntoView.push_back(frame); }
};

// A 3-minute file at 44100 Hz: T = 13500.
class DividerListTest : public testing::Test {
 protected:
  static constexpr std::uint32_t kT = 13500;
  DividerListTest() {
    list.SetTimeBase(44100, TotalFrames(180000));
    list.InstallDefaultDividers();
  }
  void Install(std::vector<std::pair<std::int32_t, std::uint32_t>> items) {
    std::vector<DIVIDER> array;
    for (auto [type, frame] : items) array.push_back(DIVIDER{type, 999, frame});
    list.InstallDividers(array);
  }
  std::vector<std::pair<std::int32_t, std::uint32_t>> Items() const {
    std::vector<std::pair<std::int32_t, std::uint32_t>> out;
    for (const DIVIDER& d : list.Dividers()) out.emplace_back(d.type, d.frame);
    return out;
  }
  com::ULONG Add(std::uint32_t frame, std::int32_t type) {
    com::ULONG result = 77;
    EXPECT_EQ(list.AddDivider(frame, type, &result), S_OK);
    return result;
  }
  com::ULONG Set(std::uint32_t from, std::uint32_t to) {
    com::ULONG result = 77;
    EXPECT_EQ(list.SetDivider(from, to, &result), S_OK);
    return result;
  }
  using Items_t = std::vector<std::pair<std::int32_t, std::uint32_t>>;

  FakeHost host;
  DividerList list{host};
};

TEST_F(DividerListTest, DefaultPairSpansTheWholeFile) {
  ASSERT_EQ(list.Dividers().size(), 2u);
  const DIVIDER& end = list.Dividers().back();
  EXPECT_EQ(list.Dividers().front().type, DIV_Start);
  EXPECT_EQ(list.Dividers().front().frame, 0u);
  EXPECT_EQ(end.type, DIV_End);
  EXPECT_EQ(end.frame, kT);
  EXPECT_EQ(end.sample, 7938000u);
  com::LONG count = 0;
  EXPECT_EQ(list.DividerCount(&count), S_OK);
  EXPECT_EQ(count, 2);
}

TEST_F(DividerListTest, SplitsKeepMinSplitFramesFromStartEndAndOtherSplits) {
  EXPECT_EQ(Add(50, DIV_Split), 1u);
  EXPECT_EQ(Add(50, DIV_Index), 0u);
  EXPECT_EQ(Add(74, DIV_Split), 1u);
  EXPECT_EQ(Add(75, DIV_Split), 0u);  // exactly the minimum is enough
  EXPECT_EQ(Add(149, DIV_Split), 1u);
  EXPECT_EQ(Add(150, DIV_Split), 0u);
  EXPECT_EQ(Add(kT - 74, DIV_Split), 1u);
  EXPECT_EQ(Add(kT - 75, DIV_Split), 0u);
  EXPECT_EQ(Add(151, DIV_Index), 0u);  // indices may lie anywhere inside
  EXPECT_EQ(list.put_MinSplitFrames(10), S_OK);
  EXPECT_EQ(Add(170, DIV_Split), 0u);
}

TEST_F(DividerListTest, AddRefusesBoundsKindsAndOccupiedFrames) {
  EXPECT_EQ(Add(0, DIV_Index), 1u);
  EXPECT_EQ(Add(kT, DIV_Index), 1u);
  EXPECT_EQ(Add(kT + 1, DIV_Index), 1u);
  EXPECT_EQ(Add(500, DIV_Start), 1u);
  EXPECT_EQ(Add(500, DIV_End), 1u);
  EXPECT_EQ(Add(500, DIV_UNKNOWN), 1u);
  EXPECT_EQ(Add(500, DIV_Current), 0u);
  EXPECT_EQ(Add(500, DIV_Index), 1u);
  EXPECT_EQ(list.Dividers().size(), 3u);
}

TEST_F(DividerListTest, EndMovesUpToTButNotTooCloseToASplit) {
  Install({{DIV_Start, 0}, {DIV_Split, 12950}, {DIV_End, 13000}});
  EXPECT_EQ(Set(13000, kT + 1), 1u);
  EXPECT_EQ(Set(13000, kT), 0u);
  EXPECT_EQ(list.Dividers().back().sample, 7938000u);
  EXPECT_EQ(host.repaints, 1);
  Install({{DIV_Start, 0}, {DIV_Split, 13440}, {DIV_End, 13460}});
  EXPECT_EQ(Set(13460, kT), 1u);     // 60 frames after the split
  EXPECT_EQ(Set(13460, 13440), 1u);  // occupied
}

TEST_F(DividerListTest, StartMovesStayBeforeTheNextAndAwayFromTheFirstSplit) {
  Install({{DIV_Start, 0}, {DIV_Index, 60}, {DIV_Split, 200}, {DIV_End, 1000}});
  EXPECT_EQ(Set(0, 100), 1u);  // past the index after it
  EXPECT_EQ(Set(0, 50), 0u);   // split 150 frames away
  Install({{DIV_Start, 0}, {DIV_Split, 150}, {DIV_End, 1000}});
  EXPECT_EQ(Set(0, 100), 1u);
  EXPECT_EQ(Set(0, 75), 0u);
  EXPECT_EQ((Items_t{{DIV_Start, 75}, {DIV_Split, 150}, {DIV_End, 1000}}), Items());
}

TEST_F(DividerListTest, SplitMovesIgnoreThemselvesButKeepOthersApart) {
  Install({{DIV_Start, 0}, {DIV_Split, 1000}, {DIV_Split, 1100}, {DIV_End, 5000}});
  EXPECT_EQ(Set(1000, 1010), 0u);
  EXPECT_EQ(Set(1010, 1030), 1u);
  EXPECT_EQ(Set(1100, 6000), 1u);  // beyond the end
  EXPECT_EQ(Set(1100, 4000), 0u);
  EXPECT_EQ((Items_t{{DIV_Start, 0}, {DIV_Split, 1010}, {DIV_Split, 4000}, {DIV_End, 5000}}),
            Items());
}

TEST_F(DividerListTest, SetWithUnknownOldFrameReportsDoneAndChangesNothing) {
  const Items_t before = Items();
  EXPECT_EQ(Set(4321, 4400), 0u);
  EXPECT_EQ(Set(4321, 4321), 0u);
  EXPECT_EQ(Items(), before);
}

TEST_F(DividerListTest, RemoveLeavesStartAndEndAndClearsSelection) {
  ASSERT_EQ(Add(300, DIV_Index), 0u);
  EXPECT_EQ(list.RemoveDivider(0), S_OK);
  EXPECT_EQ(list.RemoveDivider(kT), S_OK);
  EXPECT_EQ(list.Dividers().size(), 3u);
  EXPECT_EQ(list.put_SelectedDivider(300), S_OK);
  EXPECT_EQ(list.RemoveDivider(300), S_OK);
  com::ULONG selected = 0;
  EXPECT_EQ(list.get_SelectedDivider(&selected), S_OK);
  EXPECT_EQ(selected, DividerList::kNoSelection);
  EXPECT_EQ(list.Dividers().size(), 2u);
}

TEST_F(DividerListTest, SelectionSetsCurrentFrameHidesMarkAndIsClearedByAdd) {
  list.ShowCurrentMark(4000);
  com::ULONG value = 0;
  EXPECT_EQ(list.get_CurrentFrame(&value), S_OK);
  EXPECT_EQ(value, 4000u);
  EXPECT_EQ(list.put_SelectedDivider(kT), S_OK);
  EXPECT_EQ(host.broughtIntoView, std::vector<std::uint32_t>{kT});
  EXPECT_EQ(list.get_SelectedDivider(&value), S_OK);
  EXPECT_EQ(value, kT);
  EXPECT_EQ(list.CurrentFrameValue(), kT);
  EXPECT_EQ(list.get_CurrentFrame(&value), S_OK);
  EXPECT_EQ(value, 0u);                              // the mark is hidden
  EXPECT_EQ(list.put_SelectedDivider(12345), S_OK);  // no divider there: unchanged
  EXPECT_EQ(list.get_SelectedDivider(&value), S_OK);
  EXPECT_EQ(value, kT);
  ASSERT_EQ(Add(700, DIV_Index), 0u);
  EXPECT_EQ(list.get_SelectedDivider(&value), S_OK);
  EXPECT_EQ(value, DividerList::kNoSelection);
}

TEST_F(DividerListTest, EnumerationNeedsInitAndSurvivesRemovalUnderTheCursor) {
  com::LONG type = -5;
  com::ULONG frame = 55;
  com::LONG result = 9;
  EXPECT_EQ(list.GetNextDivider(&type, &frame, &result), S_OK);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(type, -5);
  EXPECT_EQ(frame, 55u);

  ASSERT_EQ(Add(100, DIV_Index), 0u);
  ASSERT_EQ(list.InitEnumDividers(), S_OK);
  ASSERT_EQ(list.GetNextDivider(&type, &frame, &result), S_OK);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(type, DIV_Start);
  list.DeleteDividerAt(100);  // the divider under the cursor
  ASSERT_EQ(list.GetNextDivider(&type, &frame, &result), S_OK);
  EXPECT_EQ(type, DIV_End);
  EXPECT_EQ(frame, kT);
  ASSERT_EQ(list.GetNextDivider(&type, &frame, &result), S_OK);
  EXPECT_EQ(result, 0);
}

TEST_F(DividerListTest, IndicesBecomeSplitsInOrderWhereFarEnough) {
  Install({{DIV_Start, 0}, {DIV_Index, 100}, {DIV_Index, 120}, {DIV_Index, 300}, {DIV_End, 1000}});
  EXPECT_EQ(list.ConvertIndicesToSplits(), S_OK);
  EXPECT_EQ(
      (Items_t{
          {DIV_Start, 0}, {DIV_Split, 100}, {DIV_Index, 120}, {DIV_Split, 300}, {DIV_End, 1000}}),
      Items());
  EXPECT_EQ(host.repaints, 1);
  EXPECT_EQ(list.ConvertSplitsToIndices(), S_OK);
  EXPECT_EQ(
      (Items_t{
          {DIV_Start, 0}, {DIV_Index, 100}, {DIV_Index, 120}, {DIV_Index, 300}, {DIV_End, 1000}}),
      Items());
  EXPECT_EQ(host.repaints, 2);
  EXPECT_EQ(list.ConvertSplitsToIndices(), S_OK);
  EXPECT_EQ(host.repaints, 2);  // nothing changed, nothing repainted
}

TEST_F(DividerListTest, SingleConversionsOfTheSelection) {
  Install({{DIV_Start, 0}, {DIV_Index, 50}, {DIV_Index, 500}, {DIV_End, 1000}});
  list.put_SelectedDivider(50);
  EXPECT_FALSE(list.ConvertSelectedToSplit());  // too close to the start
  list.put_SelectedDivider(500);
  EXPECT_TRUE(list.ConvertSelectedToSplit());
  EXPECT_FALSE(list.ConvertSelectedToSplit());
  EXPECT_TRUE(list.ConvertSelectedToIndex());
}

TEST_F(DividerListTest, InstallTakesArraysUncheckedAndRecomputesSamples) {
  Install({{DIV_Index, 700}});
  EXPECT_EQ((Items_t{{DIV_Start, 0}, {DIV_End, kT}}), Items());
  Install({{DIV_End, 900}, {DIV_Split, 10}, {DIV_UNKNOWN, 20}, {DIV_Split, 10}, {42, 30}});
  EXPECT_EQ(
      (Items_t{{DIV_Split, 10}, {DIV_Split, 10}, {DIV_Split, 20}, {DIV_Index, 30}, {DIV_End, 900}}),
      Items());
  EXPECT_EQ(list.Dividers().back().sample, FrameToSample(900, 44100));
}

TEST_F(DividerListTest, NotLoadedAnswersOnlyCountMinSplitAndCurrentFrame) {
  host.loaded = false;
  com::ULONG result = 77;
  EXPECT_EQ(list.AddDivider(500, DIV_Index, &result), S_FALSE);
  EXPECT_EQ(result, 1u);
  result = 77;
  EXPECT_EQ(list.SetDivider(0, 10, &result), S_FALSE);
  EXPECT_EQ(result, 77u);
  com::ULONG selected = 5;
  EXPECT_EQ(list.get_SelectedDivider(&selected), S_FALSE);
  EXPECT_EQ(selected, 5u);
  EXPECT_EQ(list.InitEnumDividers(), S_FALSE);
  EXPECT_EQ(list.ConvertIndicesToSplits(), S_FALSE);
  EXPECT_EQ(list.RemoveDivider(0), S_FALSE);
  com::LONG count = 0;
  EXPECT_EQ(list.DividerCount(&count), S_OK);
  EXPECT_EQ(count, 2);
  com::ULONG value = 1;
  EXPECT_EQ(list.get_MinSplitFrames(&value), S_OK);
  EXPECT_EQ(value, 75u);
  EXPECT_EQ(list.get_CurrentFrame(&value), S_OK);
  EXPECT_EQ(value, 0u);
}

TEST(CdFrames, ConversionsUseSixtyFourBitsAndRoundTheLengthUp) {
  EXPECT_EQ(FrameToSample(0xFFFFFFFFu, 192000), 0xFFFFFFFFull * 192000 / 75);
  EXPECT_EQ(TotalFrames(1000), 75u);
  EXPECT_EQ(TotalFrames(1001), 76u);
  EXPECT_EQ(TotalFrames(0), 0u);
  EXPECT_EQ(FrameToMs(75), 1000u);
  EXPECT_EQ(MsToFrame(1013), 75u);
  EXPECT_EQ(MsToFrame(0xFFFFFFFFu), static_cast<std::uint32_t>(0xFFFFFFFFull * 75 / 1000));
}

}  // namespace
}  // namespace audioedit
