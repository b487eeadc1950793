// The controller with the real frame objects, painting and host popup menu
// on the dialog skin: what reaches the screen, the system menu through the
// mouse, and the window-state arithmetic through real windows.
#include <gtest/gtest.h>

#include "host/graphics/Canvas.h"
#include "host/ui/PopupMenuWindow.h"
#include "skin/form/FramePaint.h"
#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {
namespace {

using OrvaneIntegration = OrvaneTest;

THeadlessWindow& PlatformWindow(TForm* f) {
  return *static_cast<THeadlessWindow*>(f->WindowData()->platform.get());
}

// The frame as PaintFrame composes it for the form's present state.
TPixmap ComposedFrame(TqzOrvane& o, TForm* f, bool active) {
  TBitmap bitmap;
  bitmap.SetSize(f->Width(), f->Height());
  TqzFramePaintInput in;
  in.Skin = o.SkinData();
  in.Rects = &o.Rects();
  in.Window = {f->Width(), f->Height()};
  in.FormActive = active;
  in.Objects = &o.ObjectList();
  PaintFrame(bitmap.Canvas(), in);
  return bitmap.Pixels();
}

// Pixels of the frame (outside the client rectangle, inside the window's
// shape) where the two pictures differ.
int FrameDifferences(const TPixmap& shown, const TPixmap& composed, const TRect& client,
                     const TRegion& shape) {
  int differences = 0;
  for (int y = 0; y < composed.Height(); ++y)
    for (int x = 0; x < composed.Width(); ++x) {
      if (client.Contains({x, y}) || !shape.Contains({x, y})) continue;
      if ((shown.At(x, y) & 0xFFFFFF) != (composed.At(x, y) & 0xFFFFFF)) ++differences;
    }
  return differences;
}

TqzActiveSkinObject& ObjectNamed(TqzOrvane& o, const std::string& name) {
  for (auto& object : o.ObjectList())
    if (object->IDName() == name) return *object;
  throw std::runtime_error("no object " + name);
}

int ItemIndex(TqzSkinPopupWindow& window, const std::string& name) {
  for (int i = 0; i < window.ItemCount(); ++i)
    if (window.Item(i).MenuItem->Name() == name) return i;
  return -1;
}

TEST_F(OrvaneIntegration, PaintedFrameIsPaintFramesCompositionActiveAndInactive) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  THeadlessWindow& w = PlatformWindow(s.Form);
  ASSERT_TRUE(w.Shape().has_value());
  const TRect client = s.Orvane->Rects().NewClRect;
  SendMessage(s.Form->Handle(), WM_NCPAINT, 1, 0);
  Pump();
  EXPECT_EQ(FrameDifferences(w.Contents(), ComposedFrame(*s.Orvane, s.Form, true), client, *w.Shape()), 0);

  // Another form takes the activation: the caption shows its inactive look.
  const TPixmap activeLook = w.Contents();
  auto* other = MakeForm(Bounds(900, 600, 300, 200));
  Pump();
  ASSERT_FALSE(s.Orvane->FormActive());
  const TPixmap inactive = ComposedFrame(*s.Orvane, s.Form, false);
  EXPECT_EQ(FrameDifferences(w.Contents(), inactive, client, *w.Shape()), 0);
  EXPECT_GT(FrameDifferences(activeLook, inactive, client, *w.Shape()), 0);
  delete other;
}

TEST_F(OrvaneIntegration, RegionFollowsTheWindowSize) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  THeadlessWindow& w = PlatformWindow(s.Form);
  ASSERT_TRUE(w.Shape().has_value());
  // The rounded mask cuts the corners, the edges stay inside the shape.
  EXPECT_FALSE(w.Shape()->Contains({0, 0}));
  EXPECT_TRUE(w.Shape()->Contains({597, 200}));
  EXPECT_TRUE(w.Shape()->Contains({300, 397}));
  EXPECT_FALSE(w.Shape()->Contains({599, 399}));
  s.Form->SetBounds(100, 100, 800, 500);
  EXPECT_TRUE(w.Shape()->Contains({797, 300}));
  EXPECT_TRUE(w.Shape()->Contains({400, 497}));
  EXPECT_FALSE(w.Shape()->Contains({799, 499}));
  // The right border takes the mouse at the new size.
  EXPECT_EQ(hp->WindowAt({100 + 797, 400}), &w);
}

TEST_F(OrvaneIntegration, HoverOverACaptionButtonPresentsOnlyThatButton) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  THeadlessWindow& w = PlatformWindow(s.Form);
  const TRect button = ObjectNamed(*s.Orvane, "closebutton").ObjectRect;
  Ticks(4, 60);  // the first showing settles
  const int before = w.PresentCount();
  Move({100 + button.Left + 5, 100 + button.Top + 5});
  for (int i = 0; i < 8; ++i) {
    Ticks(1, 25);  // morph steps towards the hot look
    const TRect dirty = w.LastPresentDirty().Bounds();
    EXPECT_TRUE(dirty.IsEmpty() || (dirty.Left >= button.Left && dirty.Top >= button.Top &&
                                    dirty.Right <= button.Right && dirty.Bottom <= button.Bottom))
        << i << ": " << dirty.Left << "," << dirty.Top << "," << dirty.Right << "," << dirty.Bottom;
  }
  EXPECT_GT(w.PresentCount(), before);
  EXPECT_FALSE(s.Orvane->MorphTimerActive());
  EXPECT_TRUE(ObjectNamed(*s.Orvane, "closebutton").Active);
}

TEST_F(OrvaneIntegration, RightClickOnTheCaptionOpensTheSystemMenuWhoseItemsWork) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  int opened = 0, closed = 0;
  s.Orvane->OnSkinMenuOpen = [&](TObject*) { ++opened; };
  s.Orvane->OnSkinMenuClose = [&](TObject*) { ++closed; };
  // On a rolled-up frame the keyboard opens the menu: the short cut works
  // whatever the roll-up objects of the skin.
  auto choose = [&](const std::string& name) {
    Ticks(1, 1000);  // apart from the last click: no double click
    if (s.Orvane->IsRolledUp()) Key(VK_SPACE, kModAlt);
    else hp->InjectClick({400, 115}, TMouseButtonId::Right);
    Pump();
    TqzSkinPopupWindow* menu = s.Orvane->SkinMenu().Level(0);
    ASSERT_NE(menu, nullptr) << name;
    const int index = ItemIndex(*menu, name);
    ASSERT_NE(index, -1) << name;
    menu->ActivateItem(index);
    Ticks(1, 60);  // the controller notices the closed menu
  };

  choose("ORV_MAXITEM");
  EXPECT_EQ(s.Orvane->WindowState(), wsMaximized);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(closed, 1);
  // The maximised form's caption is at the top of the screen now.
  hp->InjectClick({400, 15}, TMouseButtonId::Right);
  Pump();
  TqzSkinPopupWindow* menu = s.Orvane->SkinMenu().Level(0);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(ItemIndex(*menu, "ORV_MAXITEM"), -1);
  menu->ActivateItem(ItemIndex(*menu, "ORV_RESTORE"));
  Ticks(1, 60);
  EXPECT_EQ(s.Orvane->WindowState(), wsNormal);
  EXPECT_EQ(s.Form->BoundsRect(), Bounds(100, 100, 600, 400));

  choose("ORV_ROLLUP");
  EXPECT_TRUE(s.Orvane->IsRolledUp());
  choose("ORV_RESTORE");
  EXPECT_FALSE(s.Orvane->IsRolledUp());
  EXPECT_EQ(closed, opened);

  TComponentRef<TForm> form(s.Form);
  choose("ORV_CLOSE");
  Pump();
  EXPECT_FALSE(form && form->Visible());
}

TEST_F(OrvaneIntegration, SystemMenuButtonStaysDownUntilItsMenuCloses) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  auto& button = dynamic_cast<TqzSkinStdButtonObject&>(ObjectNamed(*s.Orvane, "sysmenubutton"));
  const TRect r = button.ObjectRect;
  hp->InjectClick({100 + r.Left + 4, 100 + r.Top + 4});
  Pump();
  ASSERT_TRUE(s.Orvane->MenuShowing());
  EXPECT_TRUE(button.Down());
  Ticks(2, 60);
  EXPECT_TRUE(button.Down());  // still open
  s.Orvane->SkinMenu().CloseAll();
  Ticks(1, 60);
  EXPECT_FALSE(s.Orvane->MenuShowing());
  EXPECT_FALSE(button.Down());

  // A menu shown by a popup hook closes through WM_CLOSESKINMENU.
  int closed = 0;
  s.Orvane->OnSkinMenuClose = [&](TObject*) { ++closed; };
  s.Orvane->DefaultSystemMenu().PopupHook = [](TPopupMenu&, int, int) {};
  Ticks(1, 1000);  // no double click: that closes the form
  hp->InjectClick({100 + r.Left + 4, 100 + r.Top + 4});
  Pump();
  EXPECT_TRUE(button.Down());
  Ticks(2, 60);
  EXPECT_TRUE(button.Down());
  SendMessage(s.Form->Handle(), WM_CLOSESKINMENU);
  EXPECT_FALSE(button.Down());
  EXPECT_EQ(closed, 1);
}

TEST_F(OrvaneIntegration, CaptionMenuButtonTakesTheMenuButtonProperties) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  // The dialog skin has no caption menu button: one made from a description.
  TqzDataSkinCaptionMenuButton data("captionmenubutton");
  s.Orvane->ObjectList().push_back(std::make_unique<TqzSkinCaptionMenuButton>(*s.Orvane, data));
  auto& button = static_cast<TqzSkinCaptionMenuButton&>(*s.Orvane->ObjectList().back());
  auto* popup = new TPopupMenu(s.Form);
  popup->Items()->Add(new TMenuItem(popup));
  s.Orvane->MenuButtonCaption = "Menu";
  s.Orvane->MenuButtonImageIndex = 2;
  s.Orvane->SetMenuButtonPopupMenu(popup);
  EXPECT_EQ(button.Caption, "Menu");
  EXPECT_EQ(button.ImageIndex, 2);
  EXPECT_EQ(button.Menu, popup->Items());
  // The popup menu going away takes its items out of the button.
  delete popup;
  EXPECT_EQ(button.Menu, nullptr);
  s.Orvane->ObjectList().pop_back();
}

TEST_F(OrvaneIntegration, ObjectMenuOpenWhileTheFormGoesAway) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  auto* popup = new TPopupMenu(s.Form);
  auto* item = new TMenuItem(popup);
  item->SetCaption("Item");
  popup->Items()->Add(item);
  int opened = 0;
  s.Orvane->OnSkinMenuOpen = [&](TObject*) { ++opened; };
  s.Orvane->PopupMenuBelow(*popup->Items(), {20, 5, 60, 25});
  ASSERT_TRUE(s.Orvane->MenuShowing());
  EXPECT_EQ(opened, 1);
  // The popup's items and the controller go with the form; the menu closes.
  delete s.Form;
  Ticks(2, 60);
  for (THeadlessWindow* w : hp->Windows()) EXPECT_FALSE(w->Visible());
}

TEST_F(OrvaneIntegration, LayeredBorderFollowsTheFormsShowingMovesAndActivation) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  TqzFormLayerBorder& border = s.Orvane->LayerBorder();
  ASSERT_TRUE(border.Used());
  Ticks(2, 10);  // the fade-in timer gives the border its full opacity
  EXPECT_TRUE(border.Visible());
  EXPECT_EQ(border.Opacity(), 255);
  auto topWindowAt = [&] {
    TRect r;
    GetWindowRect(border.Window(TqzBorderSide::Top), r);
    return r.TopLeft();
  };
  EXPECT_EQ(topWindowAt(), border.FrameRect(s.Form->BoundsRect()).TopLeft());
  s.Form->SetBounds(300, 200, 600, 400);
  EXPECT_EQ(topWindowAt(), border.FrameRect(s.Form->BoundsRect()).TopLeft());

  auto* other = MakeForm(Bounds(900, 600, 300, 200));
  Pump();
  EXPECT_EQ(border.Opacity(), 150);  // the skin's inactive opacity
  delete other;
  SetActiveWindow(s.Form->Handle());
  Pump();
  EXPECT_EQ(border.Opacity(), 255);

  s.Form->Hide();
  Pump();
  EXPECT_FALSE(border.Visible());
  s.Form->Show();
  Ticks(2, 10);
  EXPECT_TRUE(border.Visible());
  EXPECT_EQ(topWindowAt(), border.FrameRect(s.Form->BoundsRect()).TopLeft());

  // Maximising asked of the window (by the border or the system) is refused
  // without biMaximize.
  const TRect bounds = s.Form->BoundsRect();
  s.Orvane->SetBorderIcons({biSystemMenu, biMinimize});
  SendMessage(s.Form->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  Pump();
  EXPECT_EQ(s.Form->BoundsRect(), bounds);
  // With it, the controller maximises (and can restore) the form itself.
  s.Orvane->SetBorderIcons({biSystemMenu, biMinimize, biMaximize});
  SendMessage(s.Form->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_EQ(s.Orvane->WindowState(), wsMaximized);
  EXPECT_EQ(s.Orvane->NormalBounds(), bounds);
  s.Orvane->SetWindowState(wsNormal);
  EXPECT_EQ(s.Form->BoundsRect(), bounds);

  // The main form minimised to the task bar leaves no border behind.
  Application->SetMainForm(s.Form);
  s.Orvane->SetWindowState(wsMinimized);
  EXPECT_FALSE(border.Visible());
}

// Client mode places objects in client coordinates: the mouse finds them
// through the form's client origin, wherever the form is.
TEST_F(OrvaneIntegration, ClientModeObjectsAreFoundInClientCoordinates) {
  auto s = MakeSkinned(MainSkin(), Bounds(300, 200, 820, 602), true);
  // A button whose centre no earlier object covers (the caption spans the
  // top of the skin).
  auto& objects = s.Orvane->ObjectList();
  auto centreOf = [&](size_t i) {
    const TRect& r = objects[i]->ObjectRect;
    return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  };
  int target = -1;
  for (size_t i = 0; i < objects.size() && target == -1; ++i) {
    if (objects[i]->IsCaption() || !objects[i]->Enabled || !objects[i]->Visible ||
        objects[i]->RollUp() || objects[i]->ObjectRect.IsEmpty())
      continue;
    bool covered = false;
    for (size_t j = 0; j < i; ++j)
      covered = covered || (!objects[j]->RollUp() && objects[j]->ObjectRect.Contains(centreOf(i)));
    if (!covered) target = int(i);
  }
  ASSERT_NE(target, -1);
  const TRect r = objects[size_t(target)]->ObjectRect;
  const TPoint centre = centreOf(size_t(target));
  ASSERT_TRUE(objects[size_t(target)]->InActiveArea(centre.X - r.Left, centre.Y - r.Top));
  Move(s.Form->ClientToScreen(centre));
  Ticks(1, 60);
  EXPECT_EQ(s.Orvane->ActiveObject(), target);
  // Glow layers and menus open at the object's screen place.
  EXPECT_EQ(s.Orvane->WindowToScreen(centre), s.Form->ClientToScreen(centre));
}

// ---- Window states through real windows ----

TEST_F(OrvaneIntegration, MagneticSnapInsideTheZoneOnly) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Orvane->Magnetic = true;
  auto moving = [&](int left, int top) {
    TRect r = Bounds(left, top, 600, 400);
    SendMessage(s.Form->Handle(), WM_SIZE, 0, MAKELPARAM(600, 400));  // resets the stuck flags
    SendMessage(s.Form->Handle(), WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
    return r.TopLeft();
  };
  EXPECT_EQ(moving(9, 300), (TPoint{0, 300}));
  EXPECT_EQ(moving(10, 300), (TPoint{10, 300}));
  EXPECT_EQ(moving(500, 1040 - 400 - 9), (TPoint{500, 1040 - 400}));
  EXPECT_EQ(moving(500, 1040 - 400 - 10), (TPoint{500, 1040 - 410}));
  EXPECT_EQ(moving(1920 - 600 - 9, 300), (TPoint{1920 - 600, 300}));
}

TEST_F(OrvaneIntegration, MinimisedFormsLieSideBySideAlongTheBottom) {
  auto main = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  Application->SetMainForm(main.Form);
  std::vector<TSkinnedForm> forms;
  for (int i = 0; i < 3; ++i) forms.push_back(MakeSkinned(DialogSkin(), Bounds(200, 200, 600, 400)));
  for (auto& f : forms) f.Orvane->SetWindowState(wsMinimized);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(forms[size_t(i)].Form->BoundsRect(), Bounds(220 * i, 1040 - 35, 220, 35));
  }
}

TEST_F(OrvaneIntegration, MaximisedFormDraggedAwayRestoresUnderTheCursor) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Orvane->SetWindowState(wsMaximized);
  Drag({1000, 15}, {1000, 215});
  EXPECT_EQ(s.Orvane->WindowState(), wsNormal);
  EXPECT_EQ(s.Form->Width(), 600);
  EXPECT_EQ(s.Form->Height(), 400);
  // Centred on the cursor at the top the maximised form had.
  EXPECT_EQ(s.Form->Left(), 1000 - 300);
  EXPECT_EQ(s.Form->Top(), 0);
  EXPECT_TRUE(s.Orvane->NormalBounds().IsEmpty());
}

TEST_F(OrvaneIntegration, MaximiseLeavesAMarginForAnAutoHiddenTaskBar) {
  hp->SetMonitors({{Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1080), true}});
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Orvane->SetWindowState(wsMaximized);
  EXPECT_EQ(s.Form->BoundsRect(), (TRect{1, 1, 1919, 1079}));
  // A full-screen maximise covers the monitor on purpose.
  s.Orvane->SetWindowState(wsNormal);
  s.Orvane->MaximizeOnFullScreen = true;
  s.Orvane->SetWindowState(wsMaximized);
  EXPECT_EQ(s.Form->BoundsRect(), (TRect{0, 0, 1920, 1080}));
}

}  // namespace
}  // namespace qz::testing
