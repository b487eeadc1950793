// How the objects answer the mouse and the controller's timers: morphing,
// commands, menus, groups, animation, switches, values, glow and captions.
#include <gtest/gtest.h>

#include "host/ui/Menus.h"
#include "tests/skinform/SkinObjectsTestSupport.h"

namespace qz {
namespace {

using testing::MakeSkin;
using testing::ObjectAs;
using testing::StdButton;
using testing::TObjectText;
using testing::TRecordingHost;
constexpr auto kLeft = TqzMouseButton::mbLeft;

struct TObjects {
  TRecordingHost Host;
  std::unique_ptr<TqzSkinData> Skin;
  TqzSkinObjectList List;
  explicit TObjects(const std::vector<TObjectText>& objects) : Skin(MakeSkin(objects)) {
    Host.Skin = Skin.get();
    List = CreateSkinObjects(Host, *Skin, nullptr);
    for (auto& o : List) o->ObjectRect = OffsetRect(o->Data().SkinRect, 20, 10);
  }
  template <class T = TqzActiveSkinObject>
  T& Get(const std::string& id) {
    return ObjectAs<T>(List, id);
  }
};

const std::string kCloseLooks =
    "activeskinrect=10,0,20,8\ninactiveskinrect=20,0,30,8\ndownrect=30,0,40,8\nmorphing=1\n";

TEST(SkinObjectsMorph, FiveStepsOfOneFifthEachWay) {
  TObjects t({StdButton("closebutton", "cmclose", "0,0,10,8", kCloseLooks)});
  auto& b = t.Get("closebutton");
  ASSERT_TRUE(b.MorphingApplies());
  b.MouseEnter();
  EXPECT_EQ(t.Host.MorphTimerStarts, 1);
  EXPECT_TRUE(b.Active);
  int steps = 0;
  while (b.MorphStep()) ++steps;
  EXPECT_EQ(steps, 5);
  EXPECT_EQ(b.Kf, 1.0);
  EXPECT_FALSE(b.CanMorphing());
  b.MouseLeave();
  steps = 0;
  while (b.MorphStep()) ++steps;
  EXPECT_EQ(steps, 5);
  EXPECT_EQ(b.Kf, 0.0);
  EXPECT_EQ(t.Host.Redrawn.size(), 10u);  // each step repaints
}

TEST(SkinObjectsMorph, WithoutSkinEffectsOrActivePictureTheLookSwitchesAtOnce) {
  TObjects t({StdButton("closebutton", "cmclose", "0,0,10,8", kCloseLooks),
              {"nopicture", "stdbutton", "activepictureindex=7\nmorphing=1\nactiveskinrect=1,1,5,5"}});
  t.Skin->EnableSkinEffects = false;
  auto& b = t.Get("closebutton");
  EXPECT_FALSE(b.MorphingApplies());
  b.MouseEnter();
  EXPECT_EQ(t.Host.MorphTimerStarts, 0);
  ASSERT_EQ(t.Host.Redrawn.size(), 1u);
  EXPECT_FALSE(b.MorphStep());  // the timer finds nothing to do
  EXPECT_EQ(b.Kf, 1.0);
  t.Skin->EnableSkinEffects = true;
  EXPECT_FALSE(t.Get("nopicture").MorphingApplies());  // a missing picture never morphs
  t.Host.FullBorder = true;
  EXPECT_FALSE(b.MorphingApplies());
}

TEST(SkinObjectsInput, MouseUpEventOnlyWhileTheMouseIsIn) {
  TObjects t({{"push", "button", "skinrect=0,0,10,8"}});
  auto& b = t.Get("push");
  b.MouseEnter();
  b.MouseDown(1, 1, kLeft);
  b.MouseLeave();
  b.MouseUp(30, 30, kLeft);  // released outside
  EXPECT_EQ(t.Host.Events, (std::vector<std::string>{"enter:push", "down:push", "leave:push"}));
  b.MouseEnter();
  b.MouseUp(1, 1, kLeft);
  EXPECT_EQ(t.Host.Events.back(), "up:push");
}

TEST(SkinObjectsInput, CommandRunsOnALeftReleaseWhileActive) {
  TObjects t({StdButton("closebutton", "cmclose", "0,0,10,8", kCloseLooks),
              StdButton("custom", "cmdefault", "0,40,8,48")});
  auto& b = t.Get<TqzSkinStdButtonObject>("closebutton");
  b.MouseEnter();
  b.MouseDown(1, 1, kLeft);
  EXPECT_TRUE(t.Host.Commands.empty());  // nothing on the press
  b.MouseUp(1, 1, kLeft);
  EXPECT_EQ(t.Host.Commands, std::vector<TqzStdCommand>{TqzStdCommand::Close});
  EXPECT_FALSE(b.Down());
  // Released after leaving, or with the right button: nothing.
  b.MouseDown(1, 1, kLeft);
  b.MouseLeave();
  b.MouseUp(1, 1, kLeft);
  b.MouseEnter();
  b.MouseUp(1, 1, TqzMouseButton::mbRight);
  // A disabled button does nothing.
  b.Enabled = false;
  b.MouseDown(1, 1, kLeft);
  b.MouseUp(1, 1, kLeft);
  // A custom button only raises events.
  auto& custom = t.Get("custom");
  custom.MouseEnter();
  custom.MouseDown(1, 1, kLeft);
  custom.MouseUp(1, 1, kLeft);
  EXPECT_EQ(t.Host.Commands.size(), 1u);
  EXPECT_EQ(t.Host.Events.back(), "up:custom");
}

TEST(SkinObjectsInput, SystemMenuButtonOpensOnPressAndClosesOnDoubleClick) {
  TObjects t({StdButton("sysmenubutton", "cmsysmenu", "0,30,14,42", "downrect=14,30,28,42")});
  auto& b = t.Get<TqzSkinStdButtonObject>("sysmenubutton");
  b.MouseEnter();
  b.MouseDown(1, 1, kLeft);
  EXPECT_EQ(t.Host.SystemMenus, 1);
  EXPECT_EQ(t.Host.EventsAtMenu, std::vector<size_t>{2});  // after "enter" and "down"
  b.MouseUp(1, 1, kLeft);
  EXPECT_TRUE(t.Host.Commands.empty());
  EXPECT_TRUE(b.Down());  // pressed while its menu is open
  b.MenuClosed();
  EXPECT_FALSE(b.Down());
  b.DblClick();
  EXPECT_EQ(t.Host.Commands, std::vector<TqzStdCommand>{TqzStdCommand::Close});
  // Showing the form's icon: no hover look, every point counts.
  b.MouseLeave();
  t.Host.Icon = true;
  b.MouseEnter();
  EXPECT_FALSE(b.Active);
  EXPECT_TRUE(b.MouseIn);
  EXPECT_TRUE(b.InActiveArea(500, 500));
}

TEST(SkinObjectsInput, GroupedButtonsReleaseEachOtherAndStayDown) {
  TObjects t({{"a", "button", "groupindex=1"}, {"b", "button", "groupindex=1"},
              {"c", "button", "groupindex=2"}, {"plain", "button", ""}});
  auto& a = t.Get<TqzSkinButtonObject>("a");
  auto& b = t.Get<TqzSkinButtonObject>("b");
  auto& c = t.Get<TqzSkinButtonObject>("c");
  auto& plain = t.Get<TqzSkinButtonObject>("plain");
  c.MouseDown(0, 0, kLeft);
  a.MouseEnter();
  a.MouseDown(0, 0, kLeft);
  a.MouseUp(0, 0, kLeft);
  a.MouseLeave();
  EXPECT_TRUE(a.Down());
  b.MouseDown(0, 0, kLeft);
  EXPECT_FALSE(a.Down());
  EXPECT_TRUE(b.Down());
  EXPECT_TRUE(c.Down());  // another group
  plain.MouseEnter();
  plain.MouseDown(0, 0, kLeft);
  EXPECT_TRUE(plain.Down());
  plain.MouseUp(0, 0, kLeft);
  EXPECT_FALSE(plain.Down());
}

TEST(SkinObjectsInput, ButtonMenuOpensBelowAndKeepsTheButtonDownUntilItCloses) {
  TObjects t({{"menu", "button", "skinrect=0,0,10,8"}});
  auto& b = t.Get<TqzSkinButtonObject>("menu");
  TMenuItem items(nullptr);
  items.Add(new TMenuItem(nullptr));  // owned by `items`
  b.Menu = &items;
  b.MouseEnter();
  b.MouseDown(1, 1, kLeft);
  b.MouseUp(1, 1, kLeft);
  EXPECT_EQ(t.Host.Menus, 1);
  EXPECT_EQ(t.Host.EventsAtMenu, std::vector<size_t>{2});
  EXPECT_TRUE(b.Down());
  b.MenuClosed();
  EXPECT_FALSE(b.Down());
  // With every item hidden, or without items, nothing pops up and the
  // release lifts the button.
  items.Items(0)->SetVisible(false);
  b.MouseDown(1, 1, kLeft);
  b.MouseUp(1, 1, kLeft);
  EXPECT_EQ(t.Host.Menus, 1);
  EXPECT_FALSE(b.Down());
  items.Clear();
  b.MouseDown(1, 1, kLeft);
  b.MouseUp(1, 1, kLeft);
  EXPECT_EQ(t.Host.Menus, 1);
  EXPECT_FALSE(b.Down());
}

// A frame menu item opens its sub-items below it; with all of them hidden it
// is a command: the press runs it and nothing stays down.
TEST(SkinObjectsInput, FrameMenuItemWithHiddenSubItemsRunsAsACommand) {
  TRecordingHost host;
  auto skin = MakeSkin({{"MAINMENUITEM", "mainmenuitem", "fontheight=13"}});
  host.Skin = skin.get();
  TMainMenu menu(nullptr);
  auto* file = new TMenuItem(nullptr);  // owned by the menu's tree
  file->SetCaption("&File");
  menu.Items()->Add(file);
  auto* open = new TMenuItem(nullptr);
  open->SetCaption("Open");
  file->Add(open);
  int clicks = 0;
  file->OnClick = [&](TObject*) { ++clicks; };
  TqzSkinObjectList list = CreateSkinObjects(host, *skin, &menu);
  ASSERT_EQ(list.size(), 1u);
  auto& item = dynamic_cast<TqzSkinMainMenuItem&>(*list[0]);
  item.MouseDown(1, 1, kLeft);
  EXPECT_EQ(host.Menus, 1);
  EXPECT_TRUE(item.Down());
  EXPECT_EQ(clicks, 0);
  item.MenuClosed();
  open->SetVisible(false);
  item.MouseDown(1, 1, kLeft);
  EXPECT_EQ(host.Menus, 1);
  EXPECT_FALSE(item.Down());
  EXPECT_EQ(clicks, 1);
}

TEST(SkinObjectsInput, AlternateStateOfTheStandardButtons) {
  TObjects t({StdButton("minbutton", "cmminimize", "0,20,10,28", "hint=Minimize"),
              StdButton("maxbutton", "cmmaximize", "0,10,12,18", "hint=Maximize\nrestorehint=Back"),
              StdButton("rollupbutton", "cmrollup", "0,10,12,18")});
  auto& min = t.Get<TqzSkinStdButtonObject>("minbutton");
  auto& max = t.Get<TqzSkinStdButtonObject>("maxbutton");
  t.Host.IsMinimized = true;
  EXPECT_FALSE(min.AlternateState());  // the main form minimises the application
  EXPECT_EQ(min.Hint(), "Minimize");
  t.Host.MainForm = false;
  EXPECT_TRUE(min.AlternateState());
  EXPECT_FALSE(max.AlternateState());
  EXPECT_EQ(max.Hint(), "Maximize");
  t.Host.IsMaximized = true;
  EXPECT_EQ(max.Hint(), "Back");
  t.Host.IsRolledUp = true;
  EXPECT_TRUE(t.Get<TqzSkinStdButtonObject>("rollupbutton").AlternateState());
}

TEST(SkinObjectsInput, MaskDecidesWhichPointsBelongToTheObject) {
  TObjects t({{"masked", "button", "activepictureindex=0\nactivemaskpictureindex=1"},
              {"plain", "button", ""}});
  auto& masked = t.Get("masked");
  EXPECT_TRUE(masked.InActiveArea(0, 0));
  EXPECT_TRUE(masked.InActiveArea(4, 7));
  EXPECT_FALSE(masked.InActiveArea(5, 0));   // white
  EXPECT_FALSE(masked.InActiveArea(0, 8));   // past the mask's last row
  EXPECT_FALSE(masked.InActiveArea(-1, 0));
  EXPECT_TRUE(t.Get("plain").InActiveArea(500, 500));
}

TEST(SkinObjectsInput, GlowLayerAtTheScreenRectLessItsOffsets) {
  TObjects t({StdButton("closebutton", "cmclose", "0,0,10,8",
                        "glowlayerpictureindex=0\nglowlayeroffsetx=3\nglowlayeroffsety=4\n"
                        "glowlayeralphablendvalue=180\n")});
  auto& b = t.Get("closebutton");  // at (20, 10); the window at (100, 50)
  b.MouseEnter();
  ASSERT_EQ(t.Host.Glows.size(), 1u);
  EXPECT_EQ(t.Host.Glows[0].X, 117);
  EXPECT_EQ(t.Host.Glows[0].Y, 56);
  EXPECT_EQ(t.Host.Glows[0].Alpha, 180);
  b.MouseLeave();
  EXPECT_EQ(t.Host.GlowHides, 1);
  t.Skin->ShowCaptionButtonGlowFrames = false;
  b.MouseEnter();
  EXPECT_EQ(t.Host.Glows.size(), 1u);
}

// ---------------------------------------------------------------------------

TEST(SkinObjectsAnimate, IntervalBelowOneTickStepsEveryTick) {
  TObjects t({{"fast", "animate",
               "activepictureindex=0\nskinrect=0,0,10,8\ncountframes=4\nbuttonstyle=1\n"
               "timerinterval=10\n"},
              {"slow", "animate",
               "activepictureindex=0\nskinrect=0,0,10,8\ncountframes=3\nbuttonstyle=1\n"
               "timerinterval=50\n"}});
  auto& fast = t.Get<TqzSkinAnimateObject>("fast");
  EXPECT_EQ(fast.Interval(), 25);
  fast.MouseEnter();
  EXPECT_EQ(t.Host.AnimateTimerStarts, 1);
  std::vector<int> frames;
  while (fast.AnimateStep()) frames.push_back(fast.Frame());
  EXPECT_EQ(frames, (std::vector<int>{2, 3, 4}));  // stops at the last frame without cycle
  fast.MouseLeave();
  frames.clear();
  while (fast.AnimateStep()) frames.push_back(fast.Frame());
  EXPECT_EQ(frames, (std::vector<int>{3, 2, 1}));

  auto& slow = t.Get<TqzSkinAnimateObject>("slow");
  slow.MouseEnter();
  frames.clear();
  while (slow.AnimateStep()) frames.push_back(slow.Frame());
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 2, 3}));  // a step every second tick
}

TEST(SkinObjectsAnimate, CycleWrapsAndStillPictureOnlyRaisesEvents) {
  TObjects t({{"cyc", "animate",
               "activepictureindex=0\nskinrect=0,0,10,8\ncountframes=2\nbuttonstyle=1\ncycle=1\n"
               "timerinterval=25\ncommand=cmminimize\n"},
              {"still", "animate", "activepictureindex=0\nskinrect=0,0,10,8\ncountframes=2\n"
                                   "command=cmclose\n"}});
  auto& cyc = t.Get<TqzSkinAnimateObject>("cyc");
  cyc.MouseEnter();
  std::vector<int> frames;
  for (int i = 0; i < 4 && cyc.AnimateStep(); ++i) frames.push_back(cyc.Frame());
  EXPECT_EQ(frames, (std::vector<int>{2, 1, 2, 1}));
  cyc.MouseDown(1, 1, kLeft);
  cyc.MouseUp(1, 1, kLeft);
  EXPECT_EQ(t.Host.Commands, std::vector<TqzStdCommand>{TqzStdCommand::Minimize});
  auto& still = t.Get<TqzSkinAnimateObject>("still");
  still.MouseEnter();
  EXPECT_FALSE(still.AnimateStep());
  still.MouseDown(1, 1, kLeft);
  still.MouseUp(1, 1, kLeft);
  EXPECT_EQ(t.Host.Commands.size(), 1u);
}

TEST(SkinObjectsValues, SwitchStartsOffAndTogglesOnLeftPresses) {
  TObjects t({{"sw", "switch", "activepictureindex=0\nskinrect=0,0,10,8\nactiveskinrect=10,0,20,8"}});
  auto& sw = t.Get<TqzSkinSwitchObject>("sw");
  EXPECT_EQ(sw.State(), swsOff);
  sw.MouseEnter();
  EXPECT_FALSE(sw.Active);  // hovering keeps the look
  sw.MouseDown(0, 0, kLeft);
  sw.MouseDown(0, 0, TqzMouseButton::mbRight);
  sw.MouseDown(0, 0, kLeft);
  EXPECT_EQ(sw.State(), swsOff);
  EXPECT_EQ(t.Host.Events, (std::vector<std::string>{"enter:sw", "switch:sw:on", "down:sw",
                                                      "down:sw", "switch:sw:off", "down:sw"}));
}

TEST(SkinObjectsValues, TrackBarMapsTheThumbOntoTheRange) {
  TObjects t({{"h", "trackbar",
               "skinrect=0,0,110,10\nbuttonrect=0,0,6,6\nbeginpoint=5,5\nendpoint=105,5\n"
               "minvalue=0\nmaxvalue=50\nmousedownchangevalue=1\n"},
              {"v", "trackbar",
               "skinrect=0,0,10,110\nbuttonrect=0,0,6,6\nbeginpoint=5,105\nendpoint=5,5\n"
               "minvalue=0\nmaxvalue=100\n"}});
  auto& h = t.Get<TqzSkinTrackBarObject>("h");
  EXPECT_FALSE(h.Vertical());
  EXPECT_EQ(h.ThumbRect(), (TRect{2, 2, 8, 8}));
  h.MouseDown(5, 5, kLeft);  // on the thumb: drag
  h.MouseMove(31, 9);
  h.MouseMove(500, 9);       // clamped to the end
  h.MouseUp(500, 9, kLeft);
  h.MouseDown(56, 5, kLeft);  // off the thumb: jumps there; 51 of 100 -> 25.5 -> 26
  EXPECT_EQ(t.Host.Values, (std::vector<int>{13, 50, 26}));
  EXPECT_EQ(h.Value(), 26);

  auto& v = t.Get<TqzSkinTrackBarObject>("v");
  EXPECT_TRUE(v.Vertical());
  v.MouseDown(5, 105, kLeft);  // the minimum sits at the bottom
  v.MouseMove(5, 80);
  EXPECT_EQ(v.Value(), 25);
  v.MouseUp(5, 80, kLeft);
  v.MouseDown(5, 10, kLeft);  // without mousedownchangevalue a press elsewhere does nothing
  EXPECT_EQ(v.Value(), 25);
}

TEST(SkinObjectsValues, FrameGaugeAndRegulatorChooseSafeFrames) {
  TObjects t({{"fg", "framegauge", "minvalue=0\nmaxvalue=100\ncountframes=5"},
              {"one", "framegauge", "minvalue=0\nmaxvalue=100\ncountframes=1"},
              {"reg", "frameregulator",
               "skinrect=0,0,100,20\nminvalue=0\nmaxvalue=10\ncountframes=11\nkind=rkhorizontal"}});
  auto& fg = t.Get<TqzSkinFrameGaugeObject>("fg");
  fg.SetValue(49);
  EXPECT_EQ(fg.CurrentFrame(), 2);  // step 25
  fg.SetValue(100);
  EXPECT_EQ(fg.CurrentFrame(), 5);
  fg.SetValue(400);
  EXPECT_EQ(fg.CurrentFrame(), 5);  // never past the strip
  auto& one = t.Get<TqzSkinFrameGaugeObject>("one");
  one.SetValue(70);
  EXPECT_EQ(one.CurrentFrame(), 1);

  auto& reg = t.Get<TqzSkinFrameRegulatorObject>("reg");
  reg.SetValue(3);
  reg.SetValue(3);   // unchanged: no event
  reg.SetValue(11);  // out of range: ignored
  reg.SetValue(-1);
  EXPECT_EQ(t.Host.Values, std::vector<int>{3});
  reg.MouseDown(10, 10, kLeft);
  reg.MouseMove(50, 10);   // +40 of 100 pixels: +4
  reg.MouseMove(500, 10);  // past the end: the maximum
  EXPECT_EQ(t.Host.Values, (std::vector<int>{3, 7, 10}));
  EXPECT_EQ(reg.CurrentFrame(), 11);
}

// ---------------------------------------------------------------------------

const std::string kGlowCaption =
    "activepictureindex=0\nskinrect=4,2,196,24\nactiveskinrect=0,0,100,22\n"
    "animateskinrect=0,0,100,66\nframecount=3\nanimateinterval=50\n";

TEST(SkinObjectsCaption, GlowFramesFollowTheFormsActiveState) {
  TObjects t({{"caption", "caption", kGlowCaption}});
  auto& c = t.Get<TqzSkinCaptionObject>("caption");
  EXPECT_TRUE(c.Active);
  c.SetFormActive(false, true);
  c.SetFormActive(true, true);
  EXPECT_EQ(t.Host.AnimateTimerStarts, 2);
  EXPECT_EQ(c.FrameDelay(), 25);
  std::vector<int> frames;
  while (c.AnimateStep()) frames.push_back(c.GlowFrame());
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 1, 2, 2, 3}));
  c.SetFormActive(false, true);
  frames.clear();
  while (c.AnimateStep()) frames.push_back(c.GlowFrame());
  EXPECT_EQ(frames, (std::vector<int>{3, 2, 2, 1, 1, 0}));
  // Hovering the caption never takes its active look.
  c.MouseEnter();
  EXPECT_FALSE(c.Active);
  EXPECT_TRUE(c.MouseIn);
}

TEST(SkinObjectsCaption, ClientModePressStartsTheDragUnlessMaximised) {
  TObjects t({{"caption", "caption", kGlowCaption}});
  auto& c = t.Get<TqzSkinCaptionObject>("caption");  // at (24, 12)
  c.MouseDown(5, 6, kLeft);
  EXPECT_TRUE(t.Host.ClientDrags.empty());  // frame mode: the host drags by HTCAPTION
  t.Host.Client = true;
  c.MouseDown(5, 6, kLeft);
  ASSERT_EQ(t.Host.ClientDrags.size(), 1u);
  EXPECT_EQ(t.Host.ClientDrags[0], (TPoint{29, 18}));
  t.Host.IsMaximized = true;
  c.MouseDown(5, 6, kLeft);
  t.Host.IsMaximized = false;
  t.Host.Draggable = false;
  c.MouseDown(5, 6, kLeft);
  EXPECT_EQ(t.Host.ClientDrags.size(), 1u);
  EXPECT_TRUE(c.CaptionDragPoint({30, 20}));
  EXPECT_FALSE(c.CaptionDragPoint({3, 20}));
}

}  // namespace
}  // namespace qz
