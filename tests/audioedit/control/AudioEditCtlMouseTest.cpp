// The mouse and the context menu as a user works them, on a headless window: selecting,
// dragging and hovering over dividers, the menu's enabling and its commands.
//
// The fixture (stereo16.wav, 240 CD frames) on an 800 x 200 window shows frame f at column
// 2f at zoom 1 (4f at zoom 2); the wave band is rows 23 .. 180, the scroll bar 180 .. 200.
#include <gtest/gtest.h>

#include "audioedit/control/ContextMenu.h"
#include "audioedit/control/ControlView.h"
#include "tests/audioedit/control/ControlTestSupport.h"

namespace audioedit::testing {
namespace {

constexpr int kWaveY = 100;
constexpr std::uint32_t kTotalFrames = 240;
constexpr std::uint32_t kNone = DividerList::kNoSelection;

struct Divider {
  com::LONG type;
  com::ULONG frame;
  friend bool operator==(const Divider&, const Divider&) = default;
};

class MouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(host_.Load(Fixture("stereo16.wav")), com::S_OK);
    ASSERT_TRUE(host_.RunUntilLoaded());
    Settle();
  }

  AudioEditCtl& Control() { return *host_.control; }
  win::HeadlessWindow& Window() { return host_.window; }
  // Handles what is due (paints, posted commands) and forgets the events so far.
  void Settle() {
    host_.window.RunPending();
    seen_ = host_.sink->Events().size();
  }
  std::vector<Event> NewEvents() const {
    const auto all = host_.sink->Events();
    return std::vector<Event>(all.begin() + static_cast<std::ptrdiff_t>(seen_), all.end());
  }
  std::vector<com::ULONG> SelectedEvents() const {
    std::vector<com::ULONG> frames;
    for (const Event& e : NewEvents())
      if (e.id == DISPID_DividerSelected) frames.push_back(e.args.at(0));
    return frames;
  }
  int UpdateEvents() const {
    int n = 0;
    for (const Event& e : NewEvents()) n += e.IsMsg(AEMSG_UpdateDividers, 0) ? 1 : 0;
    return n;
  }
  void Add(std::uint32_t frame, com::LONG type) {
    com::ULONG result = 9;
    ASSERT_EQ(Control().AddDivider(frame, type, &result), com::S_OK);
    ASSERT_EQ(result, 0u) << frame;
    Settle();
  }
  std::vector<Divider> Dividers() {
    std::vector<Divider> out;
    Control().InitEnumDividers();
    for (;;) {
      com::LONG type = 0, more = 0;
      com::ULONG frame = 0;
      Control().GetNextDivider(&type, &frame, &more);
      if (!more) return out;
      out.push_back(Divider{type, frame});
    }
  }
  com::ULONG Selected() {
    com::ULONG frame = 0;
    Control().get_SelectedDivider(&frame);
    return frame;
  }
  com::ULONG Current() {
    com::ULONG frame = 0;
    Control().get_CurrentFrame(&frame);
    return frame;
  }
  const win::PopupMenu& OpenMenu() {
    Window().RightClick(400, kWaveY);
    EXPECT_FALSE(Window().ShownMenus().empty());
    return Window().ShownMenus().back().menu;
  }
  bool Enabled(win::UINT id) {
    const win::MenuItem* item = OpenMenu().Find(id);
    EXPECT_NE(item, nullptr) << id;
    return item && item->enabled;
  }
  // Chooses `id` from the context menu; false when the item was disabled.
  bool Choose(win::UINT id) {
    Window().ChooseFromMenus(id);
    const bool enabled = Enabled(id);
    Window().ChooseFromMenus(0);
    Window().RunPending();
    return enabled;
  }
  // Red pixels (the divider time text) on the text's rows around column x.
  int TimeTextPixels(int x) {
    const gdi::Bitmap& surface = Control().View().Surface();
    int red = 0;
    for (int y = 23; y < 31; ++y)
      for (int dx = std::max(0, x - 40); dx < std::min(surface.Width(), x + 40); ++dx)
        red += surface.Pixels()[static_cast<std::size_t>(y * surface.Width() + dx)] == 0xFF0000u;
    return red;
  }

  Hosted host_;
  std::size_t seen_ = 0;
};

TEST_F(MouseTest, APressWithinThreePixelsSelectsAndFourSetsThePosition) {
  Add(100, DIV_Index);  // column 200
  Window().MouseDown(203, kWaveY);
  EXPECT_EQ(SelectedEvents(), std::vector<com::ULONG>{100});
  EXPECT_EQ(Selected(), 100u);
  EXPECT_TRUE(Window().HasCapture());
  Window().MouseUp(203, kWaveY);
  EXPECT_FALSE(Window().HasCapture());
  Settle();

  Window().MouseDown(196, kWaveY);
  Window().MouseUp(196, kWaveY);
  EXPECT_EQ(SelectedEvents(), std::vector<com::ULONG>{kNone});
  EXPECT_EQ(Selected(), kNone);
  EXPECT_EQ(Current(), 98u);  // the frame under column 196, with the mark shown
  EXPECT_FALSE(Window().HasCapture());
}

TEST_F(MouseTest, TheNearestDividerWinsAndATieGoesToTheLowerFrame) {
  Add(100, DIV_Index);  // column 200
  Add(102, DIV_Index);  // column 204
  Window().MouseDown(202, kWaveY);
  Window().MouseUp(202, kWaveY);
  Window().MouseDown(203, kWaveY);
  Window().MouseUp(203, kWaveY);
  Window().MouseDown(201, kWaveY);
  Window().MouseUp(201, kWaveY);
  EXPECT_EQ(SelectedEvents(), (std::vector<com::ULONG>{100, 102, 100}));
}

TEST_F(MouseTest, TheTopRowAndTheScrollBarStripIgnorePresses) {
  Add(100, DIV_Index);
  for (int y : {0, 180, 185, 199}) {
    Window().MouseDown(200, y);
    Window().MouseUp(200, y);
  }
  EXPECT_TRUE(SelectedEvents().empty());
  EXPECT_EQ(Selected(), kNone);
  Window().MouseDown(200, 1);  // the scale strip below its top row counts
  Window().MouseUp(200, 1);
  Window().MouseDown(200, 179);
  Window().MouseUp(200, 179);
  EXPECT_EQ(SelectedEvents(), (std::vector<com::ULONG>{100, 100}));
}

TEST_F(MouseTest, ADividerFollowsFromSixPixelsOrAtOnceWithCtrl) {
  Add(100, DIV_Index);
  Window().MouseDown(200, kWaveY);
  Window().MouseMove(205, kWaveY, win::MK_LBUTTON);
  Window().MouseMove(195, kWaveY, win::MK_LBUTTON);
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 100}));
  Window().MouseMove(206, kWaveY, win::MK_LBUTTON);
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 103}));
  // Once the threshold is passed, small moves count.
  Window().MouseMove(204, kWaveY, win::MK_LBUTTON);
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 102}));
  EXPECT_EQ(Selected(), 102u);
  // A move without the button held does nothing.
  Window().MouseMove(260, kWaveY, 0);
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 102}));
  Window().MouseUp(260, kWaveY);
  EXPECT_EQ(UpdateEvents(), 1);

  Settle();
  Window().MouseDown(204, kWaveY);
  Window().MouseMove(206, kWaveY, win::MK_LBUTTON | win::MK_CONTROL);
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 103}));
  Window().MouseUp(206, kWaveY);
}

TEST_F(MouseTest, DraggingPastTheRightEdgePinsAtItsColumnAndNeverBeyondTheEnd) {
  Add(100, DIV_Index);
  ASSERT_EQ(Control().ZoomIn(), com::S_OK);  // zoom 2: columns 0 .. 800 show frames 0 .. 200
  Settle();
  Window().MouseDown(400, kWaveY);
  Window().MouseMove(900, kWaveY, win::MK_LBUTTON);
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 200}));
  Window().MouseMove(-30, kWaveY, win::MK_LBUTTON);  // column 0: the start stands there
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 200}));
  Window().MouseMove(4, kWaveY, win::MK_LBUTTON);
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 1}));
  Window().MouseUp(4, kWaveY);

  ASSERT_EQ(Control().ZoomOutFull(), com::S_OK);  // column 800 is frame 400 now
  Settle();
  Window().MouseDown(480, kWaveY);  // the end
  Window().MouseMove(440, kWaveY, win::MK_LBUTTON);
  EXPECT_EQ(Dividers().back(), (Divider{DIV_End, 220}));
  Window().MouseMove(1000, kWaveY, win::MK_LBUTTON);
  EXPECT_EQ(Dividers().back(), (Divider{DIV_End, kTotalFrames}));
  Window().MouseUp(1000, kWaveY);
}

TEST_F(MouseTest, RefusedFramesLeaveTheDividerAndTheDragGoesOn) {
  Control().put_MinSplitFrames(30);  // splits keep 30 frames apart
  Add(100, DIV_Split);               // column 200
  Add(200, DIV_Split);
  Window().MouseDown(200, kWaveY);
  Window().MouseMove(360, kWaveY, win::MK_LBUTTON);  // frame 180: too close to 200
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Split, 100}));
  EXPECT_EQ(Selected(), 100u);
  Window().MouseMove(330, kWaveY, win::MK_LBUTTON);  // frame 165: allowed
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Split, 165}));
  Window().MouseMove(20, kWaveY, win::MK_LBUTTON);  // frame 10: too close to the start
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Split, 165}));
  Window().MouseUp(20, kWaveY);
  EXPECT_EQ(UpdateEvents(), 1);
}

TEST_F(MouseTest, ADraggedDividerIsResortedAndFollowedPastAnother) {
  Add(100, DIV_Index);
  Add(150, DIV_Index);
  Window().MouseDown(200, kWaveY);
  Window().MouseMove(300, kWaveY, win::MK_LBUTTON);  // frame 150 is taken
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 100}));
  Window().MouseMove(302, kWaveY, win::MK_LBUTTON);
  EXPECT_EQ(Dividers(), (std::vector<Divider>{{DIV_Start, 0},
                                               {DIV_Index, 150},
                                               {DIV_Index, 151},
                                               {DIV_End, kTotalFrames}}));
  EXPECT_EQ(Selected(), 151u);
  Window().MouseMove(320, kWaveY, win::MK_LBUTTON);  // still the same divider
  EXPECT_EQ(Dividers()[2], (Divider{DIV_Index, 160}));
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 150}));
  Window().MouseUp(320, kWaveY);
}

TEST_F(MouseTest, APressAndReleaseWithoutMovingOnlySelects) {
  Add(100, DIV_Index);
  Window().MouseDown(200, kWaveY);
  Window().MouseMove(202, kWaveY, win::MK_LBUTTON);
  Window().MouseUp(202, kWaveY);
  const auto events = NewEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].id, DISPID_DividerSelected);
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 100}));
  EXPECT_FALSE(Window().HasCapture());
}

TEST_F(MouseTest, ReleasingAMovedStartOrEndRepaintsEverything) {
  Add(100, DIV_Index);
  Window().MouseDown(200, kWaveY);
  Window().MouseMove(220, kWaveY, win::MK_LBUTTON);
  Window().MouseUp(220, kWaveY);
  EXPECT_FALSE(Window().PaintPending());  // an index moves by quick repaints only
  Settle();

  for (int from : {480, 0}) {  // the end, then the start
    Window().MouseDown(from, kWaveY);
    Window().MouseMove(from == 0 ? 40 : 440, kWaveY, win::MK_LBUTTON);
    EXPECT_FALSE(Window().PaintPending());
    Window().MouseUp(from == 0 ? 40 : 440, kWaveY);
    EXPECT_EQ(UpdateEvents(), 1);
    EXPECT_TRUE(Window().PaintPending());
    const unsigned paints = Window().PaintCount();
    Settle();
    EXPECT_EQ(Window().PaintCount(), paints + 1);
    EXPECT_TRUE(Window().LastPaintErased());
  }
  EXPECT_EQ(Dividers().front(), (Divider{DIV_Start, 20}));
  EXPECT_EQ(Dividers().back(), (Divider{DIV_End, 220}));
}

TEST_F(MouseTest, AClickOnEmptyWaveShowsTheMarkAndEnablesAdding) {
  EXPECT_FALSE(Enabled(ID_AE_ADDSPLIT));
  EXPECT_FALSE(Enabled(ID_AE_ADDINDEX));
  Window().MouseDown(300, kWaveY);
  Window().MouseUp(300, kWaveY);
  EXPECT_EQ(SelectedEvents(), std::vector<com::ULONG>{kNone});
  EXPECT_EQ(Current(), 150u);
  EXPECT_TRUE(Enabled(ID_AE_ADDSPLIT));
  EXPECT_TRUE(Enabled(ID_AE_ADDINDEX));
  EXPECT_FALSE(Enabled(ID_AE_REMOVE));
}

TEST_F(MouseTest, HoveringOverADividerShowsItsTimeAndTheSizingCursor) {
  Add(100, DIV_Index);  // 00:01:25
  EXPECT_EQ(TimeTextPixels(200), 0);
  Window().MouseMove(202, kWaveY);
  EXPECT_EQ(Window().Cursor(), win::CursorShape::kSizeWE);
  EXPECT_GT(TimeTextPixels(200), 20);
  Window().MouseMove(260, kWaveY);
  EXPECT_EQ(Window().Cursor(), win::CursorShape::kArrow);
  EXPECT_EQ(TimeTextPixels(200), 0);
  // Outside the wave band (the scale strip) a divider is not hit.
  Window().MouseMove(200, 10);
  EXPECT_EQ(Window().Cursor(), win::CursorShape::kArrow);
  // While dragging, the cursor stays as it is.
  Window().MouseMove(200, kWaveY);
  Window().MouseDown(200, kWaveY);
  Window().SetCursor(win::CursorShape::kArrow);
  Window().MouseMove(260, kWaveY, win::MK_LBUTTON);
  EXPECT_EQ(Window().Cursor(), win::CursorShape::kArrow);
  Window().MouseUp(260, kWaveY);
}

TEST_F(MouseTest, TheMenuHasItsItemsInOrderWithSeparators) {
  const win::PopupMenu& menu = OpenMenu();
  EXPECT_EQ(menu.Title(), "AE_CONTEXT");
  std::vector<std::string> shown;
  for (const win::MenuItem& item : menu.Items())
    shown.push_back(item.separator ? "-" : std::to_string(item.id) + " " + item.text);
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "32777 Add Split", "32778 Add Index", "32779 Remove", "-",
                       "32780 Convert to Split", "32781 Convert to Index",
                       "32783 Convert all indices to splits", "-", "32784 Zoom In",
                       "32785 Zoom Out", "32787 Full View", "-", "32788 Play", "32789 Pause",
                       "32790 Stop"}));
  EXPECT_EQ(Window().ShownMenus().back().screen, (win::Point{400, kWaveY}));
}

TEST_F(MouseTest, TheEnablingFollowsZoomSelectionAndDividers) {
  // Zoom 1 with two peaks per column.
  EXPECT_TRUE(Enabled(ID_AE_ZOOMIN));
  EXPECT_FALSE(Enabled(ID_AE_ZOOMOUT));
  EXPECT_FALSE(Enabled(ID_AE_FULLVIEW));
  EXPECT_TRUE(Enabled(ID_AE_PLAY));
  EXPECT_FALSE(Enabled(ID_AE_PAUSE));
  EXPECT_FALSE(Enabled(ID_AE_STOP));
  EXPECT_FALSE(Enabled(ID_AE_ALLTOSPLITS));
  Control().ZoomIn();  // one peak per column
  EXPECT_FALSE(Enabled(ID_AE_ZOOMIN));
  EXPECT_TRUE(Enabled(ID_AE_ZOOMOUT));
  EXPECT_TRUE(Enabled(ID_AE_FULLVIEW));
  Control().ZoomOutFull();
  Settle();

  Add(100, DIV_Split);
  Add(130, DIV_Index);
  EXPECT_TRUE(Enabled(ID_AE_ALLTOSPLITS));
  Control().put_SelectedDivider(100);
  EXPECT_TRUE(Enabled(ID_AE_REMOVE));
  EXPECT_TRUE(Enabled(ID_AE_TOINDEX));
  EXPECT_FALSE(Enabled(ID_AE_TOSPLIT));
  Control().put_SelectedDivider(130);
  EXPECT_TRUE(Enabled(ID_AE_REMOVE));
  EXPECT_FALSE(Enabled(ID_AE_TOINDEX));
  EXPECT_TRUE(Enabled(ID_AE_TOSPLIT));
  for (com::ULONG edge : {0u, kTotalFrames}) {
    Control().put_SelectedDivider(edge);
    EXPECT_FALSE(Enabled(ID_AE_REMOVE));
    EXPECT_FALSE(Enabled(ID_AE_TOINDEX));
    EXPECT_FALSE(Enabled(ID_AE_TOSPLIT));
  }
}

TEST(ContextMenuRules, PlayPauseAndStopFollowThePlaybackState) {
  MenuConditions c;
  for (PlayState state : {PlayState::kStopped, PlayState::kPaused, PlayState::kRunning}) {
    c.play = state;
    EXPECT_EQ(ContextItemEnabled(c, ID_AE_PLAY), state != PlayState::kRunning);
    EXPECT_EQ(ContextItemEnabled(c, ID_AE_PAUSE), state != PlayState::kStopped);
    EXPECT_EQ(ContextItemEnabled(c, ID_AE_STOP), state != PlayState::kStopped);
  }
  EXPECT_FALSE(ContextItemEnabled(c, 32782));
}

TEST_F(MouseTest, AddSplitAndAddIndexInsertAtTheMark) {
  Window().MouseDown(200, kWaveY);
  Window().MouseUp(200, kWaveY);
  Settle();
  EXPECT_TRUE(Choose(ID_AE_ADDSPLIT));
  EXPECT_EQ(UpdateEvents(), 1);
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Split, 100}));
  EXPECT_EQ(Selected(), kNone);
  EXPECT_FALSE(Enabled(ID_AE_ADDINDEX));  // the insertion hid the mark

  Window().MouseDown(230, kWaveY);  // frame 115: too close to the split for another split
  Window().MouseUp(230, kWaveY);
  Settle();
  EXPECT_TRUE(Choose(ID_AE_ADDSPLIT));
  EXPECT_EQ(UpdateEvents(), 0);
  EXPECT_TRUE(Choose(ID_AE_ADDINDEX));
  EXPECT_EQ(UpdateEvents(), 1);
  EXPECT_EQ(Dividers()[2], (Divider{DIV_Index, 115}));
  // A command whose condition no longer holds does nothing.
  Settle();
  Window().PostMessage(win::WM_COMMAND, win::MakeWParam(ID_AE_ADDSPLIT, 0), 0);
  Window().RunPending();
  EXPECT_EQ(UpdateEvents(), 0);
  EXPECT_EQ(Dividers().size(), 4u);
}

TEST_F(MouseTest, RemoveAndTheConversionsChangeTheSelectedDivider) {
  Control().put_MinSplitFrames(30);
  Add(100, DIV_Index);
  Add(200, DIV_Split);
  Window().MouseDown(200, kWaveY);  // the index
  Window().MouseUp(200, kWaveY);
  Settle();
  EXPECT_TRUE(Choose(ID_AE_TOSPLIT));
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Split, 100}));
  EXPECT_EQ(UpdateEvents(), 1);
  Settle();
  EXPECT_TRUE(Choose(ID_AE_TOINDEX));
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 100}));
  EXPECT_EQ(UpdateEvents(), 1);
  EXPECT_TRUE(Window().LastPaintErased());  // conversions repaint fully
  Settle();
  // Too close to the split at 200 (after 180) is refused quietly.
  com::ULONG result = 9;
  Control().SetDivider(100, 180, &result);
  ASSERT_EQ(result, 0u);
  Control().put_SelectedDivider(180);
  Settle();
  EXPECT_TRUE(Choose(ID_AE_TOSPLIT));
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 180}));
  EXPECT_EQ(UpdateEvents(), 0);
  EXPECT_TRUE(Choose(ID_AE_ALLTOSPLITS));  // still too close: nothing changes, but it says so
  EXPECT_EQ(UpdateEvents(), 1);
  EXPECT_EQ(Dividers()[1], (Divider{DIV_Index, 180}));
  Settle();
  EXPECT_TRUE(Choose(ID_AE_REMOVE));
  EXPECT_EQ(UpdateEvents(), 1);
  EXPECT_EQ(Dividers(), (std::vector<Divider>{
                            {DIV_Start, 0}, {DIV_Split, 200}, {DIV_End, kTotalFrames}}));
  EXPECT_EQ(Selected(), kNone);
  // The start cannot be removed.
  Settle();
  Control().put_SelectedDivider(0);
  EXPECT_FALSE(Choose(ID_AE_REMOVE));
  Window().PostMessage(win::WM_COMMAND, win::MakeWParam(ID_AE_REMOVE, 0), 0);
  Window().RunPending();
  EXPECT_EQ(Dividers().size(), 3u);
  EXPECT_EQ(UpdateEvents(), 0);
}

TEST_F(MouseTest, ZoomAndPlaybackCommands) {
  EXPECT_TRUE(Choose(ID_AE_ZOOMIN));
  com::UINT zoom = 0;
  Control().get_CurrentZoom(&zoom);
  EXPECT_EQ(zoom, 2u);
  EXPECT_TRUE(Choose(ID_AE_ZOOMOUT));
  Control().get_CurrentZoom(&zoom);
  EXPECT_EQ(zoom, 1u);
  Control().ZoomIn();
  EXPECT_TRUE(Choose(ID_AE_FULLVIEW));
  Control().get_CurrentZoom(&zoom);
  EXPECT_EQ(zoom, 1u);
  Settle();
  // Each playback command reports the state it reached.
  EXPECT_TRUE(Choose(ID_AE_PLAY));
  const auto events = NewEvents();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_GE(events[0].args.at(0), static_cast<com::ULONG>(AEMSG_State_Stopped));
  EXPECT_LE(events[0].args.at(0), static_cast<com::ULONG>(AEMSG_State_Running));
}

TEST_F(MouseTest, TheMenuKeyOpensTheMenuAtTheMarksColumn) {
  Window().SetScreenOrigin(win::Point{100, 50});
  Window().MouseDown(300, kWaveY);
  Window().MouseUp(300, kWaveY);
  Window().MenuKey();
  ASSERT_EQ(Window().ShownMenus().size(), 1u);
  EXPECT_EQ(Window().ShownMenus().back().screen, (win::Point{400, 73}));
  // A right click carries its own screen point.
  Window().RightClick(10, 60);
  EXPECT_EQ(Window().ShownMenus().back().screen, (win::Point{110, 110}));
}

TEST(MouseWithoutFile, MessagesAreSwallowedAndNoMenuOpens) {
  Hosted host;
  host.window.MouseDown(100, kWaveY);
  host.window.MouseMove(120, kWaveY, win::MK_LBUTTON);
  host.window.MouseUp(120, kWaveY);
  host.window.RightClick(100, kWaveY);
  host.window.MenuKey();
  EXPECT_EQ(host.window.Cursor(), win::CursorShape::kArrow);
  EXPECT_TRUE(host.window.ShownMenus().empty());
  EXPECT_FALSE(host.window.HasCapture());
  EXPECT_TRUE(host.sink->Events().empty());
}

}  // namespace
}  // namespace audioedit::testing
