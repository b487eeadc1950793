// What a popup menu level shows: item looks against compositions made
// directly from the description, the plain look, and which rectangles a
// hover presents.
#include "skin/draw/QZUtils.h"
#include "tests/skinpopups/SkinMenuTestKit.h"

namespace qz::testing {
namespace {

class SkinMenuPaint : public SkinMenuTest {};

TEST_F(SkinMenuPaint, ItemLooksInEachStateAreTheDescriptionsComposition) {
  BuildBlankItems();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  const TRect active = w.Item(0).ItemRect, normal = w.Item(1).ItemRect, divider = w.Item(3).ItemRect;
  EXPECT_EQ(FirstDifference(Shown(w, active), ItemLook({0, 20, 40, 40}, active.Width())), "");
  EXPECT_EQ(FirstDifference(Shown(w, normal), ItemLook({0, 0, 40, 20}, normal.Width())), "");
  // The divider: its own rectangle, offsets 0 (none given).
  TBitmap line;
  CreateHSkinImage(0, 0, line, false, divider.Width(), {0, 40, 40, 44}, *skin->ActivePicture(1));
  EXPECT_EQ(FirstDifference(Shown(w, divider), RgbOf(line.Pixels())), "");
  // A disabled item keeps the normal look.
  popup->Items()->Items(2)->SetEnabled(false);
  w.RepaintItem(2);
  EXPECT_EQ(FirstDifference(Shown(w, w.Item(2).ItemRect), ItemLook({0, 0, 40, 20}, normal.Width())), "");
}

TEST_F(SkinMenuPaint, BackgroundIsTheWindowPictureComposedToTheWindowSize) {
  BuildBlankItems();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  const TSize s = w.WindowSize();
  const TqzDataSkinPopupWindow& d = skin->PopupWindow();
  const TqzSkinGeometry g = d.Geometry({0, 0, 40, 40});
  TBitmap expected;
  CreateSkinImage(g, CalcNewGeometry(g, CalcResizeMode(g), s.cx, s.cy), true, s.cx, s.cy, *skin->ActivePicture(0),
                  expected);
  const TPixmap shown = Shown(w, {0, 0, s.cx, s.cy});
  // The frame around the items area.
  for (int x = 0; x < s.cx; ++x)
    for (int y : {0, 3, s.cy - 4, s.cy - 1}) ASSERT_EQ(shown.At(x, y), Px(expected.Pixels().At(x, y))) << x << "," << y;
}

TEST_F(SkinMenuPaint, CheckMarkIsThePictureCentredInTheImageRect) {
  BuildBlankItems();
  popup->Items()->Items(1)->SetChecked(true);
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  const TRect r = w.Item(1).ItemRect;
  // Image rect (2,0,18,20), an 8 x 8 mark: at (6, 6) in the item.
  const TPixmap shown = Shown(w, {r.Left + 6, r.Top + 6, r.Left + 14, r.Top + 14});
  TPixmap mark(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) mark.At(x, y) = Px(skin->ActivePicture(1)->Pixels().At(40 + x, y));
  EXPECT_EQ(FirstDifference(shown, mark), "");
  // Highlighted, it takes the active mark.
  Key(VK_DOWN);
  const TPixmap hot = Shown(w, {r.Left + 6, r.Top + 6, r.Left + 14, r.Top + 14});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) mark.At(x, y) = Px(skin->ActivePicture(1)->Pixels().At(40 + x, 8 + y));
  EXPECT_EQ(FirstDifference(hot, mark), "");
}

TEST_F(SkinMenuPaint, PlainLookFillsAndFrames) {
  BuildBlankItems();
  OpenAt({200, 200});
  TqzSkinPopupWindow& w = Level(0);
  const TSize s = w.WindowSize();
  const TPixmap shown = Shown(w, {0, 0, s.cx, s.cy});
  EXPECT_EQ(shown.At(0, 0), PixelOf(clBtnShadow));
  EXPECT_EQ(shown.At(1, 1), PixelOf(clWindow));
  const TRect active = w.Item(0).ItemRect, normal = w.Item(1).ItemRect, line = w.Item(3).ItemRect;
  EXPECT_EQ(shown.At(active.Left, active.Top), 0xC1D4F3u);  // RGB(193, 212, 243)
  EXPECT_EQ(shown.At(normal.Left + 5, normal.Top + 5), PixelOf(clWindow));
  // The separator: a shadow line at half its height across the item.
  EXPECT_EQ(shown.At(line.Left, line.Top + 2), PixelOf(clBtnShadow));
  EXPECT_EQ(shown.At(line.Right - 1, line.Top + 2), PixelOf(clBtnShadow));
  EXPECT_EQ(shown.At(line.Left, line.Top + 1), PixelOf(clWindow));
}

TEST_F(SkinMenuPaint, PlainCheckAndRadioMarks) {
  BuildBlankItems();
  popup->Items()->Items(1)->SetChecked(true);
  popup->Items()->Items(2)->SetRadioItem(true);
  popup->Items()->Items(2)->SetChecked(true);
  OpenAt({200, 200});
  TqzSkinPopupWindow& w = Level(0);
  // The plain marks: inner rect = item inset by 2; check at (inner left + 3,
  // middle - 4), radio dot 6 x 6 at middle - 3.
  TBitmap expected(w.Item(1).ItemRect.Width(), 20);
  expected.Canvas().Brush().SetColor(clWindow);
  expected.Canvas().FillRect({0, 0, expected.Width(), 20});
  DrawCheckImage(expected.Canvas(), 2 + 3, 2 + 8 - 4, clWindowText);
  TBitmap shownItem;
  w.DrawItemImage(1, shownItem);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(Px(shownItem.Pixels().At(x, y)), Px(expected.Pixels().At(x, y))) << x << "," << y;
  TBitmap radio;
  w.DrawItemImage(2, radio);
  EXPECT_EQ(Px(radio.Pixels().At(2 + 3 + 3, 2 + 8 - 3 + 3)), PixelOf(clWindowText));
  EXPECT_EQ(Px(radio.Pixels().At(2 + 3 + 3, 2 + 8 - 3 - 2)), PixelOf(clWindow));
}

TEST_F(SkinMenuPaint, HoverPresentsOnlyTheItemsThatChanged) {
  BuildBlankItems();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  THeadlessWindow& pw = PlatformOf(w);
  Move(ItemCentre(0, 0));  // already highlighted from the keyboard: nothing to draw
  const int before = pw.PresentCount();
  Move(ItemCentre(0, 0) + TPoint{3, 0});
  EXPECT_EQ(pw.PresentCount(), before);
  Move(ItemCentre(0, 2));
  EXPECT_EQ(pw.LastPresentDirty(), TRegion(w.Item(0).ItemRect).Union(TRegion(w.Item(2).ItemRect)));
  Move(ItemCentre(0, 1));
  EXPECT_EQ(pw.LastPresentDirty(), TRegion(w.Item(1).ItemRect).Union(TRegion(w.Item(2).ItemRect)));
  EXPECT_EQ(FirstDifference(Shown(w, w.Item(1).ItemRect), ItemLook({0, 20, 40, 40}, w.Item(1).ItemRect.Width())), "");
}

TEST_F(SkinMenuPaint, MorphingFadesTheActiveLookInOnTheClock) {
  BuildBlankItems();
  const_cast<TqzDataSkinMenuItem*>(dynamic_cast<const TqzDataSkinMenuItem*>(
      skin->ObjectList()[static_cast<size_t>(skin->FindObjectIndex("menuitem"))].get()))
      ->Morphing = true;
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  Ticks(6, 20);
  EXPECT_EQ(w.Item(0).Morph, 1.0);
  Move(ItemCentre(0, 1));
  Ticks(1, 20);
  EXPECT_NEAR(w.Item(1).Morph, 0.2, 1e-9);
  EXPECT_NEAR(w.Item(0).Morph, 0.8, 1e-9);
  Ticks(5, 20);
  EXPECT_EQ(w.Item(1).Morph, 1.0);
  EXPECT_EQ(w.Item(0).Morph, 0.0);
  EXPECT_EQ(FirstDifference(Shown(w, w.Item(1).ItemRect), ItemLook({0, 20, 40, 40}, w.Item(1).ItemRect.Width())), "");
}

}  // namespace
}  // namespace qz::testing

namespace qz::testing {
namespace {

TEST_F(SkinMenuTest, AlphaBlendedMenusShowAtTheirAlphaAfterFadingIn) {
  BuildTwoLevels();
  engine->Settings.AlphaBlend = true;
  engine->Settings.AlphaBlendValue = 180;
  OpenAt({200, 200}, skin.get());
  EXPECT_EQ(PlatformOf(Level(0)).Opacity(), 180);
  engine->CloseAll();
  // The fade-in runs on the first level only and ends at the same alpha.
  engine->Settings.AlphaBlendAnimation = true;
  OpenAt({200, 200}, skin.get());
  EXPECT_EQ(PlatformOf(Level(0)).Opacity(), 180);
  Key(VK_DOWN);
  Key(VK_RIGHT);
  ASSERT_EQ(engine->LevelCount(), 2);
  EXPECT_EQ(PlatformOf(Level(1)).Opacity(), 180);
}

// With a fade-in, what is waiting is processed before the first level is
// built; a waiting message that closes the menu leaves nothing open.
TEST_F(SkinMenuTest, FadingMenusProcessWaitingMessagesBeforeTheyBuild) {
  constexpr uint32_t kProbe = WM_USER + 77;
  BuildTwoLevels();
  engine->Settings.AlphaBlend = true;
  engine->Settings.AlphaBlendAnimation = true;
  bool closeOnProbe = false;
  std::vector<int> itemsSeen;
  int closes = 0;
  auto previous = form->WindowProc;
  form->WindowProc = [&, previous](TMessage& m) {
    if (m.Msg != kProbe) return previous(m);
    TqzSkinPopupWindow* w = engine->Level(0);
    itemsSeen.push_back(w ? w->ItemCount() : -1);
    if (closeOnProbe) engine->CloseAll();
  };
  PostMessage(form->Handle(), kProbe, 0, 0);
  OpenAt({200, 200}, skin.get());
  EXPECT_EQ(itemsSeen, (std::vector<int>{0}));
  ASSERT_TRUE(engine->Visible());
  EXPECT_EQ(Level(0).ItemCount(), 5);
  engine->CloseAll();

  closeOnProbe = true;
  itemsSeen.clear();
  PostMessage(form->Handle(), kProbe, 0, 0);
  engine->OnClose = [&](TObject*) { ++closes; };
  engine->Popup(nullptr, skin.get(), 0, {200, 200, 200, 200}, *popup->Items(), false);
  EXPECT_EQ(itemsSeen, (std::vector<int>{0}));
  EXPECT_FALSE(engine->Visible());
  EXPECT_EQ(engine->LevelCount(), 0);
  EXPECT_EQ(closes, 1);
  Pump();
  form->WindowProc = previous;
}

}  // namespace
}  // namespace qz::testing
