// Window-state transitions the controller runs from the mouse, the keyboard
// and the objects' commands, on the dialog skin in frame mode.
#include <gtest/gtest.h>

#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {
namespace {

using OrvaneStates = OrvaneTest;

TEST_F(OrvaneStates, DraggingAboveTheWorkAreaMaximisesOnRelease) {
  // A task bar along the top: the work area starts 40 pixels down.
  hp->SetMonitors({{Rect(0, 0, 1920, 1080), Rect(0, 40, 1920, 1080), true}});
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  AddCaption(*s.Orvane, {9, 1, 588, 29});
  Drag({300, 115}, {300, 35});  // window top 20: above the work area, below the monitor top
  EXPECT_EQ(s.Orvane->WindowState(), wsMaximized);
  EXPECT_EQ(s.Form->BoundsRect(), (TRect{0, 40, 1920, 1080}));
  EXPECT_EQ(s.Orvane->NormalBounds(), Bounds(100, 20, 600, 400));

  // A drag that stays inside the work area only moves the window.
  auto t = MakeSkinned(DialogSkin(), Bounds(100, 300, 600, 400));
  AddCaption(*t.Orvane, {9, 1, 588, 29});
  Drag({300, 315}, {350, 265});
  EXPECT_EQ(t.Orvane->WindowState(), wsNormal);
  EXPECT_EQ(t.Form->BoundsRect(), Bounds(150, 250, 600, 400));
}

TEST_F(OrvaneStates, MaximisedFormMovesOnlyByADragDownwards) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  AddCaption(*s.Orvane, {9, 1, 588, 29});
  s.Orvane->SetWindowState(wsMaximized);
  const TRect maximized = s.Form->BoundsRect();
  // Sideways at the same top: the window stays.
  Drag({300, 15}, {500, 15});
  EXPECT_EQ(s.Form->BoundsRect(), maximized);
  EXPECT_EQ(s.Orvane->WindowState(), wsMaximized);
  // Downwards: restored on the way.
  Drag({300, 15}, {300, 200});
  EXPECT_EQ(s.Orvane->WindowState(), wsNormal);
  EXPECT_TRUE(s.Orvane->NormalBounds().IsEmpty());
}

TEST_F(OrvaneStates, AltSpaceOpensTheSystemMenuUnlessDisabled) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  int shown = 0;
  s.Orvane->DefaultSystemMenu().PopupHook = [&](TPopupMenu&, int, int) { ++shown; };
  Key(VK_SPACE, kModAlt);
  EXPECT_EQ(shown, 1);
  // The user's short-cut handler comes first.
  s.Orvane->OnShortCut = [](TMessage&, bool& handled) { handled = true; };
  Key(VK_SPACE, kModAlt);
  EXPECT_EQ(shown, 1);
  s.Orvane->OnShortCut = nullptr;
  s.Orvane->DisableSystemMenu = true;
  Key(VK_SPACE, kModAlt);
  EXPECT_EQ(shown, 1);
}

TEST_F(OrvaneStates, ObjectCommandsFollowTheControllersRules) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  TqzObjectHost& host = *s.Orvane;
  host.ExecuteCommand(TqzStdCommand::Maximize);
  EXPECT_TRUE(host.Maximized());
  host.ExecuteCommand(TqzStdCommand::Maximize);
  EXPECT_FALSE(host.Maximized());
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(100, 100, 600, 400));

  host.ExecuteCommand(TqzStdCommand::RollUp);
  EXPECT_TRUE(host.RolledUp());
  host.ExecuteCommand(TqzStdCommand::RollUp);
  EXPECT_FALSE(host.RolledUp());

  // Maximise is refused without biMaximize.
  s.Orvane->SetBorderIcons({biSystemMenu, biMinimize});
  host.ExecuteCommand(TqzStdCommand::Maximize);
  EXPECT_FALSE(host.Maximized());

  host.ExecuteCommand(TqzStdCommand::Close);
  Pump();
  EXPECT_FALSE(IsWindowVisible(s.Form->Handle()));
}

TEST_F(OrvaneStates, TurningSkinnableFormOffGivesTheNativeFrameBack) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Skin->SetSkinnableForm(false);
  Pump();
  EXPECT_EQ(s.Form->ClientWidth(), 600 - 2 * kFrameWidth);
  EXPECT_EQ(s.Form->ClientHeight(), 400 - 2 * kFrameWidth - kCaptionHeight);
  EXPECT_TRUE(s.Form->BorderIcons().Contains(TBorderIcon::biMaximize));
  s.Skin->SetSkinnableForm(true);
  Pump();
  EXPECT_EQ(s.Form->ClientWidth(), 590);
  EXPECT_EQ(s.Form->ClientHeight(), 365);
  EXPECT_TRUE(s.Form->BorderIcons().Empty());
}

TEST_F(OrvaneStates, FormCursorInTheFrameKeepsTheSizingCursors) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Orvane->UseFormCursorInNCArea = true;
  s.Form->SetCursor(crHandPoint);
  const HWND h = s.Form->Handle();
  SendMessage(h, WM_SETCURSOR, h.Value(), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), CursorHandle(crHandPoint));
  SendMessage(h, WM_SETCURSOR, h.Value(), MAKELPARAM(HTLEFT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZEWE));
  s.Orvane->UseFormCursorInNCArea = false;
  SendMessage(h, WM_SETCURSOR, h.Value(), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace
}  // namespace qz::testing
