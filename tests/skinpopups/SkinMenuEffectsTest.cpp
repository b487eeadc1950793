// Item animation frames, see-through items, header rows, software alpha,
// merged popups and the window's cursor, each against compositions made
// directly from the description.
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "tests/skinpopups/SkinMenuTestKit.h"

namespace qz::testing {
namespace {

class SkinMenuEffects : public SkinMenuTest {
 protected:
  // The kit's skin with more keys for the "menuitem" section (the last one)
  // and any further sections.
  void UseSkin(const std::string& itemKeys, const std::string& sections = "") {
    TTestSkinParts parts = MenuSkinParts();
    parts.Text += itemKeys + sections;
    skin = LoadTestSkin(parts);
  }
  // The window picture composed to the window's size.
  TPixmap Background(TqzSkinPopupWindow& w) {
    const TSize s = w.WindowSize();
    const TqzSkinGeometry g = skin->PopupWindow().Geometry({0, 0, 40, 40});
    TBitmap composed;
    CreateSkinImage(g, CalcNewGeometry(g, CalcResizeMode(g), s.cx, s.cy), true, s.cx, s.cy,
                    *skin->ActivePicture(0), composed);
    return RgbOf(composed.Pixels());
  }
  static TPixmap Crop(const TPixmap& p, const TRect& r) {
    TPixmap out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) out.At(x, y) = p.At(r.Left + x, r.Top + y);
    return out;
  }
};

// Three frames stacked in (0,0,40,60) of picture 1, 30 ms apart.
constexpr const char* kFrames = "animateskinrect=0,0,40,60\r\nframecount=3\r\nanimateinterval=30\r\n";

TEST_F(SkinMenuEffects, FramesStepOnTheAnimationIntervalWhileTheItemIsHot) {
  UseSkin(kFrames);
  BuildBlankItems();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  ASSERT_TRUE(w.Animates());
  const TRect r = w.Item(0).ItemRect;
  EXPECT_EQ(w.Item(0).Frame, 0);
  Ticks(1, 29);
  EXPECT_EQ(w.Item(0).Frame, 0);
  const TRect slices[] = {{0, 0, 40, 20}, {0, 20, 40, 40}, {0, 40, 40, 60}};
  for (int k = 1; k <= 3; ++k) {
    Ticks(1, k == 1 ? 1 : 30);
    ASSERT_EQ(w.Item(0).Frame, k);
    EXPECT_EQ(FirstDifference(Shown(w, r), ItemLook(slices[k - 1], r.Width())), "") << "frame " << k;
  }
  // Past the last frame the active look stays and the frames stop.
  Ticks(3, 30);
  EXPECT_EQ(w.Item(0).Frame, 4);
  EXPECT_EQ(FirstDifference(Shown(w, r), ItemLook({0, 20, 40, 40}, r.Width())), "");
  // Leaving without inactiveanimation drops to the normal look at once.
  Move(ItemCentre(0, 1));
  EXPECT_EQ(w.Item(0).Frame, 0);
  EXPECT_EQ(FirstDifference(Shown(w, r), ItemLook({0, 0, 40, 20}, r.Width())), "");
  EXPECT_EQ(w.Item(1).Frame, 0);
  Ticks(1, 30);
  EXPECT_EQ(w.Item(1).Frame, 1);
}

// The skin reloaded while an animated item is hot: leaving the item reads
// the new descriptions, never the freed ones (sanitizer build).
TEST_F(SkinMenuEffects, LeavingAHotItemAfterTheSkinWasReloadedReadsTheNewLooks) {
  UseSkin(std::string(kFrames) + "inactiveanimation=1\r\n");
  BuildBlankItems();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  Ticks(4, 30);
  ASSERT_EQ(w.Item(0).Frame, 4);
  TTestSkinParts parts = MenuSkinParts();
  parts.Text += "animateskinrect=0,0,40,60\r\nframecount=2\r\nanimateinterval=30\r\n";
  ReloadTestSkin(*skin, parts);
  Move(ItemCentre(0, 1));
  EXPECT_EQ(w.Item(0).Frame, 0);  // the new look plays no frames back
}

TEST_F(SkinMenuEffects, InactiveAnimationPlaysTheFramesBackwards) {
  UseSkin(std::string(kFrames) + "inactiveanimation=1\r\n");
  BuildBlankItems();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  Ticks(4, 30);
  ASSERT_EQ(w.Item(0).Frame, 4);
  Move(ItemCentre(0, 1));
  EXPECT_EQ(w.Item(0).Frame, 4);
  std::vector<int> frames;
  for (int i = 0; i < 5; ++i) {
    Ticks(1, 30);
    frames.push_back(w.Item(0).Frame);
  }
  EXPECT_EQ(frames, (std::vector<int>{3, 2, 1, 0, 0}));
  EXPECT_EQ(w.Item(1).Frame, 4);
}

TEST_F(SkinMenuEffects, EffectsSwitchedOffShowNoFrames) {
  UseSkin(kFrames);
  skin->EnableSkinEffects = false;
  BuildBlankItems();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  EXPECT_FALSE(w.Animates());
  Ticks(2, 30);
  EXPECT_EQ(FirstDifference(Shown(w, w.Item(0).ItemRect), ItemLook({0, 20, 40, 40}, w.Item(0).ItemRect.Width())),
            "");
}

TEST_F(SkinMenuEffects, InactiveTransparentItemsShowTheWindowBackground) {
  UseSkin("inactivetransparent=1\r\n");
  BuildBlankItems();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  const TPixmap background = Background(w);
  const TRect hot = w.Item(0).ItemRect, dark = w.Item(1).ItemRect;
  EXPECT_EQ(FirstDifference(Shown(w, dark), Crop(background, dark)), "");
  EXPECT_EQ(FirstDifference(Shown(w, hot), ItemLook({0, 20, 40, 40}, hot.Width())), "");
  // The divider keeps its own picture.
  TBitmap line;
  CreateHSkinImage(0, 0, line, false, w.Item(3).ItemRect.Width(), {0, 40, 40, 44}, *skin->ActivePicture(1));
  EXPECT_EQ(FirstDifference(Shown(w, w.Item(3).ItemRect), RgbOf(line.Pixels())), "");
  Move(ItemCentre(0, 1));
  EXPECT_EQ(FirstDifference(Shown(w, hot), Crop(background, hot)), "");
}

TEST_F(SkinMenuEffects, HeaderShowsTheWordOverTheHeaderPicture) {
  // "menuheader": the 40 x 40 window picture, nine-part on (4,4)-(36,36).
  UseSkin("", "[SKINCONTROLS]\r\ncount=1\r\n0=menuheader:label\r\n"
              "[menuheader]\r\npictureindex=0\r\nskinrect=0,0,40,40\r\nlefttoppoint=4,4\r\n"
              "righttoppoint=36,4\r\nleftbottompoint=4,36\r\nrightbottompoint=36,36\r\n"
              "clientrect=4,4,36,36\r\nleftstretch=1\r\ntopstretch=1\r\nrightstretch=1\r\nbottomstretch=1\r\n");
  Add(popup->Items(), "&Open");
  TMenuItem* header = Add(popup->Items(), "-Files-");
  header->SetEnabled(false);
  Add(popup->Items(), "-Files-");
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  const TRect r = w.Item(1).ItemRect;

  const TqzDataSkinCustomControl& d =
      dynamic_cast<const TqzDataSkinCustomControl&>(*skin->CtrlList()[static_cast<size_t>(skin->FindControlIndex("menuheader"))]);
  const TqzSkinGeometry g = d.Geometry();
  TBitmap expected;
  CreateSkinImage(g, CalcNewGeometry(g, CalcResizeMode(g), r.Width(), r.Height()), true, r.Width(), r.Height(),
                  *skin->ActivePicture(0), expected);
  TCanvas& c = expected.Canvas();
  c.Font().SetName("Tahoma");
  c.Font().SetHeight(13);
  c.Font().SetColor(static_cast<TColor>(8421504));
  c.Brush().SetStyle(TBrushStyle::bsClear);
  TRect whole{0, 0, r.Width(), r.Height()};
  c.DrawText("Files", whole, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  EXPECT_EQ(FirstDifference(Shown(w, r), RgbOf(expected.Pixels())), "");

  // Enabled, the same caption is an ordinary item on the normal look.
  const TRect plain = w.Item(2).ItemRect;
  const TPixmap look = ItemLook({0, 0, 40, 20}, plain.Width());
  const TPixmap shown = Shown(w, plain);
  for (int y = 0; y < plain.Height(); ++y) ASSERT_EQ(shown.At(0, y), look.At(0, y)) << y;
}

TEST_F(SkinMenuEffects, SoftwareAlphaBlendsOverTheCapturedScreenAfterADelay) {
  hp->SetPerPixelAlpha(false);
  UseSkin("");
  BuildBlankItems();
  engine->Settings.AlphaBlend = true;
  engine->Settings.AlphaBlendValue = 100;
  form->SetColor(static_cast<TColor>(0x2080C0));
  Pump();
  const TPixmap screen = hp->ComposeScreen();
  OpenAt({200, 200}, skin.get());
  TqzSkinPopupWindow& w = Level(0);
  EXPECT_TRUE(w.SoftwareAlpha());
  EXPECT_FALSE(w.Visible());
  Ticks(1, 99);
  EXPECT_FALSE(w.Visible());
  Ticks(1, 1);
  ASSERT_TRUE(w.Visible());
  EXPECT_EQ(PlatformOf(w).Opacity(), 255);
  EXPECT_EQ(w.ScreenUnder().Width(), w.Width() + 1);
  EXPECT_EQ(w.ItemAt(w.ScreenToClient(ItemCentre(0, 0))), 0);
  EXPECT_EQ(w.ActiveIndex(), 0);

  // Each pixel: the menu's share is 100/255, the screen's the rest.
  auto blend = [](uint32_t menu, uint32_t under) {
    TPixmap a(1, 1, menu | 0xFF000000u), b(1, 1, under | 0xFF000000u);
    TqzEffectBmp mixed(a);
    mixed.Morph(TqzEffectBmp(b), 1.0 - 100 / 255.0);
    return mixed.GetPixel(0, 0) & 0xFFFFFFu;
  };
  const TPixmap background = Background(w);
  const TRect bounds = w.BoundsRect();
  const TRect item = w.Item(1).ItemRect;
  const TPixmap look = ItemLook({0, 0, 40, 20}, item.Width());
  const TPixmap shown = Shown(w, {0, 0, w.Width(), w.Height()});
  for (TPoint p : {TPoint{0, 0}, TPoint{2, 2}, TPoint{w.Width() - 1, w.Height() - 1}})
    EXPECT_EQ(shown.At(p.X, p.Y), blend(background.At(p.X, p.Y), Px(screen.At(bounds.Left + p.X, bounds.Top + p.Y))))
        << p.X << "," << p.Y;
  for (int x : {0, 5, item.Width() - 1}) {
    const int y = item.Top + 7;
    EXPECT_EQ(shown.At(item.Left + x, y),
              blend(look.At(x, 7), Px(screen.At(bounds.Left + item.Left + x, bounds.Top + y))))
        << x;
  }
}

TEST_F(SkinMenuEffects, SoftwareAlphaMenuClosedBeforeItShowsStaysHidden) {
  hp->SetPerPixelAlpha(false);
  BuildTwoLevels();
  engine->Settings.AlphaBlend = true;
  OpenAt({200, 200}, skin.get());
  TComponentRef<TqzSkinPopupWindow> w(&Level(0));
  engine->CloseAll();
  Ticks(2, 100);
  EXPECT_FALSE(engine->Visible());
  EXPECT_FALSE(w && w->Visible());
}

TEST_F(SkinMenuEffects, MergedPopupReplacesMainGroupsByChildGroups) {
  TMenuItem* main = popup->Items();
  auto grouped = [&](TMenuItem* parent, const std::string& caption, int group) {
    TMenuItem* item = Add(parent, caption);
    item->SetGroupIndex(group);
    return item;
  };
  grouped(main, "File", 0);
  grouped(main, "Edit", 1);
  grouped(main, "Help", 5);
  auto* childMenu = new TPopupMenu(form);
  TMenuItem* child = childMenu->Items();
  grouped(child, "Window", 3);
  grouped(child, "Child edit", 1);
  grouped(child, "Hidden", 4)->SetVisible(false);
  auto names = [](const std::vector<TMenuItem*>& items) {
    std::vector<std::string> out;
    for (TMenuItem* i : items) out.push_back(i->Caption());
    return out;
  };
  EXPECT_EQ(names(TqzSkinMenu::MergedItems(child, *main)),
            (std::vector<std::string>{"File", "Child edit", "Window", "Hidden", "Help"}));
  EXPECT_EQ(names(TqzSkinMenu::MergedItems(nullptr, *main)), (std::vector<std::string>{"File", "Edit", "Help"}));

  engine->PopupMerged(nullptr, skin.get(), 1, {200, 200, 200, 200}, child, *main, false);
  Pump();
  ASSERT_TRUE(engine->Visible());
  EXPECT_EQ(Captions(Level(0)), (std::vector<std::string>{"Child edit", "Window", "Help"}));
  engine->CloseAll();
  // Past both counts, or with no main items, nothing opens.
  engine->PopupMerged(nullptr, skin.get(), 6, {200, 200, 200, 200}, child, *main, false);
  EXPECT_FALSE(engine->Visible());
  TPopupMenu empty(nullptr);
  engine->PopupMerged(nullptr, skin.get(), 0, {200, 200, 200, 200}, child, *empty.Items(), false);
  EXPECT_FALSE(engine->Visible());
}

TEST_F(SkinMenuEffects, WindowTakesTheSkinsCursor) {
  TTestSkinParts parts = MenuSkinParts();
  const std::string key = "scrollmarkercolor=255\r\n";
  parts.Text.replace(parts.Text.find(key), key.size(), key + "cursorindex=2\r\n");
  skin = LoadTestSkin(parts);
  BuildBlankItems();
  OpenAt({200, 200}, skin.get());
  EXPECT_EQ(Level(0).Cursor(), static_cast<TCursor>(skin->StartCursorIndex() + 2));
  engine->CloseAll();
  UseSkin("");
  OpenAt({200, 200}, skin.get());
  EXPECT_EQ(Level(0).Cursor(), crDefault);
}

}  // namespace
}  // namespace qz::testing
