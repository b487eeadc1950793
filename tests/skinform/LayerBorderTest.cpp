// The layered border around a form and the glow layer, on the headless
// platform: when the border is used at all, where its four windows lie,
// what they show, their opacity, sizing the form from the border, and the
// glow's fade-in on the virtual clock.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "LayerBorderTestSkin.h"
#include "host/graphics/Bitmap.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"
#include "skin/controls/LayerManager.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

using testing::kPlainLayerKeys;
using testing::ShownFramePixel;

constexpr TqzBorderSide kTop = TqzBorderSide::Top, kBottom = TqzBorderSide::Bottom,
                        kLeft = TqzBorderSide::Left, kRight = TqzBorderSide::Right;

using testing::Native;
using testing::WindowRect;

class LayerBorderTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBoundsRect(Bounds(100, 100, 200, 150));
    form->Show();
    Pump();
    owner = std::make_unique<testing::TTestBorderOwner>(*form);
    border = std::make_unique<TqzFormLayerBorder>(*owner);
  }
  void TearDown() override {
    border.reset();
    UiTest::TearDown();
  }

  void LoadSkin(const std::string& layerKeys) {
    skin = std::make_unique<TqzSkinData>(nullptr);
    skin->LoadFromContainer(testing::LayerFrameSkin(layerKeys).Container());
    border->SetSkin(skin.get());
  }
  size_t PlatformWindows() const { return hp->Windows().size(); }
  bool Shown(TqzBorderSide side) const { return IsWindowVisible(border->Window(side)); }
  uint8_t ShownOpacity(TqzBorderSide side) const { return Native(border->Window(side))->Opacity(); }
  uint32_t ShownPixel(TqzBorderSide side, int x, int y) const {
    return Native(border->Window(side))->Contents().At(x, y);
  }

  TForm* form = nullptr;
  std::unique_ptr<TqzSkinData> skin;
  std::unique_ptr<testing::TTestBorderOwner> owner;
  std::unique_ptr<TqzFormLayerBorder> border;
};

// ---------------------------------------------------------------------------
// When the border is used

TEST_F(LayerBorderTest, NoLayerPictureShowsNoWindows) {
  const size_t before = PlatformWindows();
  LoadSkin("pictureindex=-1\r\nmaskpictureindex=1\r\n");
  border->Show();
  Pump();
  EXPECT_FALSE(border->Used());
  EXPECT_FALSE(border->Visible());
  EXPECT_FALSE(border->FullBorder());
  EXPECT_EQ(PlatformWindows(), before);

  // A picture without its mask gives no frame image: nothing to show.
  LoadSkin("pictureindex=0\r\nfullborder=1\r\n");
  border->Show();
  EXPECT_FALSE(border->Used());
  EXPECT_FALSE(border->FullBorder());
  EXPECT_EQ(PlatformWindows(), before);
}

TEST_F(LayerBorderTest, UseFollowsTheSkinTheFormAndSuspension) {
  LoadSkin(std::string(kPlainLayerKeys) + "fullborder=1\r\n");
  EXPECT_TRUE(border->Used());
  EXPECT_TRUE(border->FullBorder());

  owner->allowed = false;
  EXPECT_FALSE(border->Used());
  owner->allowed = true;
  skin->SetShowLayeredBorders(false);
  EXPECT_FALSE(border->Used());
  skin->SetShowLayeredBorders(true);

  const size_t before = PlatformWindows();
  border->Show();
  EXPECT_TRUE(border->Visible());
  EXPECT_EQ(PlatformWindows(), before + 4);
  border->Suspend();
  EXPECT_FALSE(border->Used());
  EXPECT_FALSE(border->Visible());
  EXPECT_EQ(PlatformWindows(), before);
  border->Resume();  // the form is visible: the border comes back
  EXPECT_TRUE(border->Visible());
  EXPECT_TRUE(Shown(kTop));

  border->Hide();
  EXPECT_EQ(border->Window(kTop), HWND());
  EXPECT_EQ(PlatformWindows(), before);
  border->SetSkin(nullptr);
  EXPECT_FALSE(border->Used());
}

// Without per-pixel alpha (an X server without a compositor) nothing would
// blend the border: no layered window is made, and the answer is asked
// anew, so the border follows a compositor that stops or starts.
TEST_F(LayerBorderTest, NoLayeredWindowsWithoutPerPixelAlpha) {
  LoadSkin(kPlainLayerKeys);
  const size_t before = PlatformWindows();
  hp->SetPerPixelAlpha(false);
  EXPECT_FALSE(border->Used());
  border->Show();
  EXPECT_FALSE(border->Visible());
  EXPECT_EQ(PlatformWindows(), before);

  hp->SetPerPixelAlpha(true);
  border->Show();
  ASSERT_TRUE(border->Visible());
  EXPECT_EQ(PlatformWindows(), before + 4);
  // The compositor stops: the next update takes the windows away.
  hp->SetPerPixelAlpha(false);
  border->Update();
  EXPECT_FALSE(border->Visible());
  EXPECT_EQ(PlatformWindows(), before);
}

TEST_F(LayerBorderTest, DemoSkinsOnlyTheDialogSkinHasABorder) {
  border->SetSkin(testing::MainSkin().Skin.get());
  EXPECT_FALSE(border->Used());
  const size_t before = PlatformWindows();
  border->Show();
  EXPECT_EQ(PlatformWindows(), before);

  border->SetSkin(testing::DialogSkin().Skin.get());
  ASSERT_TRUE(border->Used());
  EXPECT_FALSE(border->FullBorder());
  border->Show();
  EXPECT_EQ(PlatformWindows(), before + 4);
  // The shadow lies around the form and is clear where the form covers it.
  const TRect top = WindowRect(border->Window(kTop));
  EXPECT_LT(top.Left, form->Left());
  EXPECT_LT(top.Top, form->Top());
  const TPoint insideForm = TPoint{form->Left() + 100, form->Top() + 20} - top.TopLeft();
  EXPECT_EQ(ShownPixel(kTop, insideForm.X, insideForm.Y) >> 24, 0u);
  border->Hide();
}

// ---------------------------------------------------------------------------
// Geometry: the frame picture's client rect (10, 8, 30, 22) lies on the form,
// so the frame is 20 wider and 16 taller than the form.

TEST_F(LayerBorderTest, WindowsLieAroundTheFormAndFollowIt) {
  LoadSkin(kPlainLayerKeys);
  border->Show();
  Pump();
  // Form (100, 100) 200 x 150: frame (90, 92) 220 x 166.
  EXPECT_EQ(WindowRect(border->Window(kTop)), Rect(90, 92, 310, 102));
  EXPECT_EQ(WindowRect(border->Window(kBottom)), Rect(90, 248, 310, 258));
  EXPECT_EQ(WindowRect(border->Window(kLeft)), Rect(90, 102, 100, 248));
  EXPECT_EQ(WindowRect(border->Window(kRight)), Rect(300, 102, 310, 248));
  for (TqzBorderSide side : {kTop, kBottom, kLeft, kRight}) EXPECT_TRUE(Shown(side));
  // The border lies under the form.
  EXPECT_EQ(WindowFromPoint({105, 105}), HWND(form));
  EXPECT_EQ(GetActiveWindow(), HWND(form));

  border->MoveTo(50, 60, 100, 120);  // left, top, height, width
  EXPECT_EQ(WindowRect(border->Window(kTop)), Rect(40, 52, 180, 62));
  EXPECT_EQ(WindowRect(border->Window(kBottom)), Rect(40, 158, 180, 168));
  EXPECT_EQ(WindowRect(border->Window(kLeft)), Rect(40, 62, 50, 158));
  EXPECT_EQ(WindowRect(border->Window(kRight)), Rect(170, 62, 180, 158));

  border->SetPosition(10, 20);  // the form's own size
  EXPECT_EQ(WindowRect(border->Window(kTop)), Rect(0, 12, 220, 22));
  EXPECT_EQ(WindowRect(border->Window(kRight)), Rect(210, 22, 220, 168));

  form->SetBounds(300, 200, 100, 80);
  border->Update();
  EXPECT_EQ(WindowRect(border->Window(kBottom)), Rect(290, 278, 410, 288));
}

TEST_F(LayerBorderTest, OffsetsMoveAndGrowTheFrame) {
  LoadSkin(std::string(kPlainLayerKeys) +
           "leftoffset=2\r\ntopoffset=-3\r\nwidthoffset=4\r\nheightoffset=5\r\n");
  EXPECT_EQ(border->FrameRect(Bounds(100, 100, 200, 150)), Bounds(92, 89, 224, 171));
}

TEST_F(LayerBorderTest, RolledUpFullBorderFormKeepsTheRollUpHeight) {
  LoadSkin(std::string(kPlainLayerKeys) +
           "fullborder=1\r\nrollupformheight=5\r\nheightoffset=7\r\n");
  owner->rolledUp = true;
  border->Show();
  // The form's height term is rollupformheight: 5 + 30 - 14 = 21 frame rows,
  // whatever the form's height and the height offset.
  EXPECT_EQ(border->FrameRect(Bounds(100, 100, 200, 150)), Bounds(90, 92, 220, 21));
  EXPECT_EQ(WindowRect(border->Window(kTop)), Rect(90, 92, 310, 102));
  EXPECT_EQ(WindowRect(border->Window(kBottom)), Rect(90, 103, 310, 113));
  EXPECT_EQ(WindowRect(border->Window(kLeft)), Rect(90, 102, 100, 103));

  // Without the full border a rolled-up form keeps its height; a minimised
  // form other than the main form takes the roll-up height too.
  LoadSkin(std::string(kPlainLayerKeys) + "rollupformheight=4\r\n");
  EXPECT_EQ(border->FrameRect(Bounds(0, 0, 200, 150)).Height(), 166);
  owner->rolledUp = false;
  owner->minimized = true;
  EXPECT_EQ(border->FrameRect(Bounds(0, 0, 200, 150)).Height(), 166);
  owner->mainForm = false;
  EXPECT_EQ(border->FrameRect(Bounds(0, 0, 200, 150)).Height(), 20);
  // 20 rows: the top and bottom strips take all, the side windows hide.
  border->Show();
  EXPECT_TRUE(Shown(kTop));
  EXPECT_TRUE(Shown(kBottom));
  EXPECT_FALSE(Shown(kLeft));
  EXPECT_FALSE(Shown(kRight));
}

// ---------------------------------------------------------------------------
// Pixels: the picture's pieces with the mask's opacity, premultiplied.

TEST_F(LayerBorderTest, StripsShowThePicturePiecesWithTheMaskOpacity) {
  LoadSkin(kPlainLayerKeys);
  border->Show();
  // Top strip 220 x 10: corners 14 and 14 wide as they are.
  EXPECT_EQ(ShownPixel(kTop, 0, 0), ShownFramePixel(0, 0));
  EXPECT_EQ(ShownPixel(kTop, 13, 9), ShownFramePixel(13, 9));
  EXPECT_EQ(ShownPixel(kTop, 206, 3), ShownFramePixel(26, 3));
  EXPECT_EQ(ShownPixel(kTop, 219, 9), ShownFramePixel(39, 9));
  // The stretched middle starts and ends on the middle's end columns.
  EXPECT_EQ(ShownPixel(kTop, 14, 5), ShownFramePixel(14, 5));
  EXPECT_EQ(ShownPixel(kTop, 205, 5), ShownFramePixel(25, 5));
  // Bottom strip: the picture's rows 20..30.
  EXPECT_EQ(ShownPixel(kBottom, 0, 0), ShownFramePixel(0, 20));
  EXPECT_EQ(ShownPixel(kBottom, 219, 9), ShownFramePixel(39, 29));
  // Side strips: the edges between, repeated downwards (146 rows of 10).
  for (int y = 0; y < 146; ++y)
    for (int x = 0; x < 10; ++x) {
      ASSERT_EQ(ShownPixel(kLeft, x, y), ShownFramePixel(x, 10 + y % 10)) << x << "," << y;
      ASSERT_EQ(ShownPixel(kRight, x, y), ShownFramePixel(30 + x, 10 + y % 10)) << x << "," << y;
    }
}

// Strips are composed once per picture and frame size and shared through
// the skin: a second border of the same size shows the same pixels without
// composing, another size or the inactive picture gets strips of its own,
// and loading the skin again drops them all.
TEST_F(LayerBorderTest, ComposedStripsAreSharedByPictureAndSizeAndGoWithTheSkin) {
  LoadSkin(std::string(kPlainLayerKeys) + "inactivepictureindex=2\r\ninactivemaskpictureindex=1\r\n");
  const TqzComposedCache& cache = skin->ImageCache().Composed();
  auto contents = [](const TqzFormLayerBorder& b) {
    std::vector<TPixmap> shown;
    for (TqzBorderSide side : {kTop, kBottom, kLeft, kRight})
      shown.push_back(Native(b.Window(side))->Contents());
    return shown;
  };
  border->Show();
  const std::vector<TPixmap> first = contents(*border);
  const size_t composed = cache.Count();
  EXPECT_GT(composed, 0u);

  testing::TTestBorderOwner secondOwner(*form);
  TqzFormLayerBorder second(secondOwner);
  second.SetSkin(skin.get());
  second.Show();
  EXPECT_EQ(cache.Count(), composed) << "same picture and size: nothing composed";
  EXPECT_EQ(contents(second), first);

  struct TStep {
    const char* what;
    TRect bounds;
    bool active;
  };
  const TStep steps[] = {
      {"narrower", Bounds(100, 100, 120, 150), true},
      {"inactive picture", Bounds(100, 100, 200, 150), false},
      {"back to the first", Bounds(100, 100, 200, 150), true},
  };
  for (const TStep& step : steps) {
    border->SetActive(step.active, false);
    border->MoveTo(step.bounds.Left, step.bounds.Top, step.bounds.Height(), step.bounds.Width());
    EXPECT_EQ(WindowRect(border->Window(kTop)).Width(), step.bounds.Width() + 20) << step.what;
    EXPECT_EQ(ShownPixel(kTop, 3, 4),
              step.active ? ShownFramePixel(3, 4) : ShownFramePixel(3, 4, testing::kInactiveFrameColour))
        << step.what;
    EXPECT_EQ(ShownPixel(kRight, 2, 0),
              step.active ? ShownFramePixel(32, 10) : ShownFramePixel(32, 10, testing::kInactiveFrameColour))
        << step.what;
  }
  EXPECT_EQ(contents(*border), first);

  second.Hide();
  skin->LoadFromContainer(testing::LayerFrameSkin(kPlainLayerKeys).Container());
  EXPECT_EQ(cache.Count(), 0u);
}

TEST_F(LayerBorderTest, ComposedCacheKeepsTheNewestEntriesOfEachType) {
  TqzComposedCache cache;
  int sources[TqzComposedCache::kCapacity + 1];
  auto key = [&](int i) { return TqzComposedCache::TKey{&sources[i], {10, 10}, 0}; };
  for (int i = 0; i <= int(TqzComposedCache::kCapacity); ++i)
    cache.Store(key(i), std::make_shared<const int>(i));
  EXPECT_EQ(cache.Count(), TqzComposedCache::kCapacity);
  EXPECT_EQ(cache.Find<int>(key(0)), nullptr) << "the oldest went";
  ASSERT_NE(cache.Find<int>(key(1)), nullptr);
  EXPECT_EQ(*cache.Find<int>(key(1)), 1);
  EXPECT_EQ(cache.Find<double>(key(1)), nullptr) << "another type under the same key";
  cache.Store(key(1), std::make_shared<const int>(7));  // replaces, does not add
  EXPECT_EQ(*cache.Find<int>(key(1)), 7);
  EXPECT_EQ(cache.Count(), TqzComposedCache::kCapacity);
  EXPECT_EQ(cache.Find<int>({&sources[1], {10, 11}, 0}), nullptr);
  EXPECT_EQ(cache.Find<int>({&sources[1], {10, 10}, 1}), nullptr);
}

TEST_F(LayerBorderTest, FullStretchStretchesTheSides) {
  LoadSkin(std::string(kPlainLayerKeys) + "fullstretch=1\r\n");
  form->SetBounds(100, 100, 200, 20);
  border->Show();  // 16 side rows from the picture's 10
  EXPECT_EQ(WindowRect(border->Window(kLeft)).Height(), 16);
  EXPECT_EQ(ShownPixel(kLeft, 0, 0), ShownFramePixel(0, 10));
  EXPECT_EQ(ShownPixel(kLeft, 9, 15), ShownFramePixel(9, 19));
}

TEST_F(LayerBorderTest, WholePictureIsOneTopStripWithoutCornerPoints) {
  skin = std::make_unique<TqzSkinData>(nullptr);
  testing::TTestSkin s = testing::LayerFrameSkin(kPlainLayerKeys);
  s.text.replace(s.text.find("rightbottompoint=26,20"), 22, "rightbottompoint=0,0");
  skin->LoadFromContainer(s.Container());
  border->SetSkin(skin.get());
  border->Show();
  EXPECT_EQ(WindowRect(border->Window(kTop)), Bounds(90, 92, 40, 30));
  EXPECT_EQ(ShownPixel(kTop, 39, 29), ShownFramePixel(39, 29));
  EXPECT_FALSE(Shown(kBottom));
  EXPECT_FALSE(Shown(kLeft));
}

// ---------------------------------------------------------------------------
// Opacity and the inactive look

TEST_F(LayerBorderTest, DeactivationHalvesTheOpacity) {
  LoadSkin(kPlainLayerKeys);
  border->Show();
  EXPECT_EQ(ShownOpacity(kTop), 255);
  border->SetActive(false, true);
  for (TqzBorderSide side : {kTop, kBottom, kLeft, kRight}) EXPECT_EQ(ShownOpacity(side), 128);
  // Without an inactive picture the pixels stay those of the active one.
  EXPECT_EQ(ShownPixel(kTop, 0, 0), ShownFramePixel(0, 0));
  border->SetActive(true, true);
  EXPECT_EQ(ShownOpacity(kLeft), 255);
}

// A move that keeps the frame's size moves the strips as they are; the
// opacity still follows SetAlpha, and a new size composes them anew.
TEST_F(LayerBorderTest, MovingKeepsTheStripsAndFadingStillApplies) {
  LoadSkin(kPlainLayerKeys);
  border->Show();
  Pump();
  const uint32_t corner = ShownPixel(kTop, 3, 4), edge = ShownPixel(kRight, 2, 0);
  const int presents = Native(border->Window(kTop))->PresentCount();
  border->SetPosition(10, 20);
  EXPECT_EQ(WindowRect(border->Window(kTop)), Rect(0, 12, 220, 22));
  EXPECT_EQ(WindowRect(border->Window(kRight)), Rect(210, 22, 220, 168));
  EXPECT_EQ(ShownPixel(kTop, 3, 4), corner);
  EXPECT_EQ(ShownPixel(kRight, 2, 0), edge);
  EXPECT_EQ(Native(border->Window(kTop))->PresentCount(), presents) << "moved, not presented again";
  border->SetAlpha(128, true);
  EXPECT_LT(border->Opacity(), 255);
  EXPECT_EQ(ShownOpacity(kTop), border->Opacity());
  EXPECT_EQ(ShownPixel(kTop, 3, 4), corner);
  border->MoveTo(10, 20, 100, 120);
  EXPECT_EQ(WindowRect(border->Window(kTop)), Rect(0, 12, 140, 22));
  EXPECT_EQ(ShownPixel(kTop, 3, 4), corner);
}

TEST_F(LayerBorderTest, InactivePictureReplacesTheActiveOne) {
  LoadSkin(std::string(kPlainLayerKeys) + "inactivepictureindex=2\r\ninactivemaskpictureindex=1\r\n");
  border->Show();
  border->SetActive(false, true);
  EXPECT_EQ(ShownPixel(kTop, 3, 4), ShownFramePixel(3, 4, testing::kInactiveFrameColour));
  EXPECT_EQ(ShownPixel(kRight, 2, 0), ShownFramePixel(32, 10, testing::kInactiveFrameColour));
  border->SetActive(true, true);
  EXPECT_EQ(ShownPixel(kTop, 3, 4), ShownFramePixel(3, 4));
}

TEST_F(LayerBorderTest, SetAlphaScalesBothOpacitiesRoundingToNearest) {
  LoadSkin(kPlainLayerKeys);
  border->Show();
  border->SetAlpha(0, true);
  EXPECT_EQ(ShownOpacity(kTop), 0);
  border->SetAlpha(3, false);  // 255 * 3 / 255 = 3; 128 * 3 / 255 = 1.506 -> 2
  EXPECT_EQ(ShownOpacity(kTop), 0);  // not updated yet
  EXPECT_EQ(border->Opacity(), 3);
  border->SetActive(false, true);
  EXPECT_EQ(border->Opacity(), 2);
  EXPECT_EQ(ShownOpacity(kBottom), 2);
  border->SetAlpha(200, true);  // 128 * 200 / 255 = 100.39 -> 100
  EXPECT_EQ(ShownOpacity(kBottom), 100);
  border->SetAlpha(2, true);  // 128 * 2 / 255 = 1.004 -> 1
  EXPECT_EQ(ShownOpacity(kBottom), 1);
  border->SetActive(true, true);
  border->SetAlpha(255, true);
  EXPECT_EQ(ShownOpacity(kBottom), 255);
}

// ---------------------------------------------------------------------------
// Input on the border

TEST_F(LayerBorderTest, BandAroundTheFormSizesItDiagonallyAtTheCorners) {
  LoadSkin(kPlainLayerKeys);  // hit extents 4 on each side
  border->Show();
  EXPECT_EQ(border->HitExtents(), Rect(4, 4, 4, 4));
  auto hit = [&](TqzBorderSide side, int x, int y) {
    return SendMessage(border->Window(side), WM_NCHITTEST, 0, MAKELPARAM(x, y));
  };
  EXPECT_EQ(hit(kLeft, 97, 170), HTLEFT);
  EXPECT_EQ(hit(kLeft, 97, 110), HTTOPLEFT);
  EXPECT_EQ(hit(kTop, 110, 97), HTTOPLEFT);
  EXPECT_EQ(hit(kTop, 200, 97), HTTOP);
  EXPECT_EQ(hit(kTop, 290, 98), HTTOPRIGHT);
  EXPECT_EQ(hit(kRight, 302, 240), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(kBottom, 150, 252), HTBOTTOM);
  EXPECT_EQ(hit(kBottom, 101, 253), HTBOTTOMLEFT);
  // Outside the band the border only takes the press.
  EXPECT_EQ(hit(kLeft, 92, 170), HTCLIENT);
  EXPECT_EQ(hit(kTop, 200, 93), HTCLIENT);
  // A rolled-up form is not sized.
  owner->rolledUp = true;
  EXPECT_EQ(hit(kLeft, 97, 170), HTCLIENT);
}

TEST_F(LayerBorderTest, DraggingTheBandSizesTheFormAndActivatesIt) {
  auto* other = new TForm(Application);
  other->SetBoundsRect(Bounds(600, 600, 100, 100));
  other->Show();
  Pump();
  ASSERT_EQ(GetActiveWindow(), HWND(other));
  LoadSkin(kPlainLayerKeys);
  border->Show();

  hp->InjectMouseMove({97, 170});
  Pump();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_SIZEWE));
  hp->InjectMouseDown();
  hp->InjectMouseMove({80, 175});
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(form->BoundsRect(), Rect(83, 100, 300, 250));
  EXPECT_EQ(GetActiveWindow(), HWND(form));
  EXPECT_FALSE(border->SizingForm());

  // Activated by the window system all the same, a border window passes the
  // activation on to its form.
  SetActiveWindow(other);
  SetActiveWindow(border->Window(kBottom));
  Pump();
  EXPECT_EQ(GetActiveWindow(), HWND(form));
}

TEST_F(LayerBorderTest, FullBorderCaptionMovesTheForm) {
  // The caption spans the top corner pieces: it grows with the frame, to
  // (10, 0, 210, 8) of the 220-wide frame at (90, 92).
  LoadSkin(std::string(kPlainLayerKeys) + "fullborder=1\r\ncaptionrect=10,0,30,8\r\n");
  border->Show();
  auto hit = [&](int x, int y) {
    return SendMessage(border->Window(kTop), WM_NCHITTEST, 0, MAKELPARAM(x, y));
  };
  EXPECT_EQ(hit(100, 92), HTCAPTION);
  EXPECT_EQ(hit(299, 95), HTCAPTION);
  EXPECT_EQ(hit(300, 95), HTCLIENT);
  EXPECT_EQ(hit(200, 98), HTTOP);  // the sizing band comes first

  hp->InjectMouseMove({200, 93});
  hp->InjectMouseDown();
  hp->InjectMouseMove({230, 113});
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(form->BoundsRect(), Bounds(130, 120, 200, 150));
}

TEST_F(LayerBorderTest, MousePassesThroughAFrameWithoutHitRects) {
  LoadSkin("pictureindex=0\r\nmaskpictureindex=1\r\n");
  border->Show();
  EXPECT_TRUE(GetWindowLong(border->Window(kLeft), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  EXPECT_EQ(border->HitExtents(), TRect{});
  LoadSkin(std::string("pictureindex=0\r\nmaskpictureindex=1\r\nborderrect=7,6,33,25\r\n"));
  EXPECT_TRUE(border->Visible());  // shown again with the new skin
  EXPECT_FALSE(GetWindowLong(border->Window(kLeft), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  EXPECT_EQ(border->Extents(), Rect(3, 2, 3, 3));
  EXPECT_EQ(border->HitExtents(), Rect(3, 2, 3, 3));
}

TEST_F(LayerBorderTest, StayOnTopFormGetsStayOnTopBorder) {
  form->SetFormStyle(fsStayOnTop);
  LoadSkin(kPlainLayerKeys);
  border->Show();
  EXPECT_TRUE(Native(border->Window(kTop))->Topmost());
  EXPECT_EQ(WindowFromPoint({105, 105}), HWND(form));
}

// ---------------------------------------------------------------------------
// Glow layer

class LayerManagerTest : public LayerBorderTest {
 protected:
  // A 6 x 4 red picture whose mask is grey 200.
  void SetUp() override {
    LayerBorderTest::SetUp();
    picture.SetSize(6, 4);
    picture.Pixels().Resize(6, 4, 0xFFFF0000u);
    picture.Modified();
    mask.SetSize(6, 4);
    mask.Pixels().Resize(6, 4, 0xFFC8C8C8u);
    mask.Modified();
  }
  // The glow window goes before the application's windows are reset.
  void TearDown() override {
    glowManager.reset();
    LayerBorderTest::TearDown();
  }
  void Tick() {
    hp->AdvanceClock(25);
    Pump();
  }
  TBitmap picture, mask;
  std::unique_ptr<TqzLayerManager> glowManager = std::make_unique<TqzLayerManager>();
  TqzLayerManager& glow = *glowManager;
};

TEST_F(LayerManagerTest, NoGlowWindowWithoutPerPixelAlpha) {
  const size_t before = PlatformWindows();
  for (bool perPixel : {false, true, false}) {
    hp->SetPerPixelAlpha(perPixel);
    glow.ShowLayer(150, 120, 255, &mask, picture);
    EXPECT_EQ(glow.Shown(), perPixel);
    EXPECT_EQ(PlatformWindows(), before + (perPixel ? 1 : 0));
  }
}

TEST_F(LayerManagerTest, FadesInOverTenStepsWithoutActivating) {
  glow.ShowLayer(150, 120, 255, &mask, picture);
  ASSERT_TRUE(glow.Shown());
  const HWND window = glow.Window();
  EXPECT_EQ(WindowRect(window), Bounds(150, 120, 6, 4));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetActiveWindow(), HWND(form));
  const auto ex = GetWindowLong(window, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TRANSPARENT);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_EQ(Native(window)->Opacity(), 0);
  // Red with opacity 200, premultiplied.
  EXPECT_EQ(Native(window)->Contents().At(5, 3), 0xC8C80000u);

  for (int step = 1; step < 10; ++step) {
    Tick();
    ASSERT_LT(Native(window)->Opacity(), 255) << "step " << step;
  }
  EXPECT_EQ(Native(window)->Opacity(), 234);
  Tick();
  EXPECT_EQ(Native(window)->Opacity(), 255);
  Tick();
  EXPECT_EQ(Native(window)->Opacity(), 255);

  const size_t before = hp->Windows().size();
  glow.HideLayer();
  EXPECT_FALSE(glow.Shown());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(hp->Windows().size(), before - 1);
}

TEST_F(LayerManagerTest, SmallTargetsStillArriveAndANewLayerReplacesTheOld) {
  glow.TopMost = false;
  glow.ShowLayer(10, 10, 5, nullptr, picture);
  const HWND first = glow.Window();
  EXPECT_FALSE(GetWindowLong(first, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(Native(first)->Contents().At(0, 0), 0xFFFF0000u);  // opaque without a mask
  for (int step = 0; step < 5; ++step) Tick();
  EXPECT_EQ(Native(first)->Opacity(), 5);

  glow.ShowLayer(20, 20, 100, &mask, picture);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(WindowRect(glow.Window()).TopLeft(), (TPoint{20, 20}));
  Tick();
  EXPECT_EQ(glow.Opacity(), 10);

  glow.ShowLayer(0, 0, 0, nullptr, picture);
  EXPECT_EQ(glow.Opacity(), 0);
  TBitmap empty;
  glow.ShowLayer(0, 0, 255, nullptr, empty);
  EXPECT_FALSE(glow.Shown());
}

}  // namespace
}  // namespace qz
