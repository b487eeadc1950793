// A form whose skin has a full-border layer frame: the frame's objects lie
// on the border's top window. What that window shows (the objects' looks
// with their alpha), the mouse on it (hover, press, release, the watch for
// the mouse leaving, deactivation), and the form itself (no frame of its
// own, a roll-up as tall as the frame says), on the headless platform.
#include <gtest/gtest.h>

#include "LayerBorderTestSkin.h"
#include "host/ui/ImgList.h"
#include "host/platform/headless/HeadlessPlatform.h"
#include "host/ui/Application.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinContainer.h"
#include "skin/form/Orvane.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tools/skinshot/SkinShot.h"

namespace qz {
namespace {

using testing::ButtonLookPixel;
using testing::ButtonMaskGrey;
using testing::Premultiplied;

constexpr TqzBorderSide kTop = TqzBorderSide::Top, kBottom = TqzBorderSide::Bottom;

// Where the outer window's (0, 0) lies in the top strip: the frame's border rect.
constexpr TPoint kOuterInStrip{10, 5};
// The border's extents: the outer window is the form enlarged by them.
constexpr int kExtentLeft = 5, kExtentTop = 20;

using testing::Native;
using testing::WindowRect;

class FullBorderTest : public testing::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = new TForm(Application);
    form->SetCaption("");  // the caption shows its look only
    form->SetBoundsRect(Bounds(100, 100, 200, 150));
    skin = new TqzSkinData(form);
    orvane = new TqzOrvane(form);
    orvane->SetSkinData(skin);
    skin->LoadFromContainer(testing::FullBorderSkin());
    form->Show();
    Pump();
  }

  TqzFormLayerBorder& Border() { return orvane->LayerBorder(); }
  HWND TopWindow() { return Border().Window(kTop); }
  uint32_t StripPixel(int x, int y) { return Native(TopWindow())->Contents().At(x, y); }

  int IndexOf(const std::string& id) {
    auto& list = orvane->ObjectList();
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i]->IDName() == id) return int(i);
    return -1;
  }
  TqzSkinButtonObject& Button(const std::string& id) {
    return dynamic_cast<TqzSkinButtonObject&>(*orvane->ObjectList()[size_t(IndexOf(id))]);
  }
  // The screen point of an outer-window point of the form.
  TPoint ScreenAt(TPoint outer) {
    return {form->Left() - kExtentLeft + outer.X, form->Top() - kExtentTop + outer.Y};
  }
  // Whether the 12 x 10 button at `outer` shows the look cell at `lookX`
  // with the opacity of the mask there.
  bool ShowsLook(TPoint outer, int lookX) {
    for (int j = 0; j < 10; ++j)
      for (int i = 0; i < 12; ++i) {
        const uint32_t expected =
            Premultiplied(ButtonLookPixel(lookX + i, j), ButtonMaskGrey(lookX + i, j));
        if (StripPixel(kOuterInStrip.X + outer.X + i, kOuterInStrip.Y + outer.Y + j) != expected)
          return false;
      }
    return true;
  }

  // The form took the outer rectangle it had before less the extents, so
  // the outer window is 200 x 150. The buttons' row ends 4 pixels before
  // its right edge (the caption rect's distance from the picture's), close
  // outermost.
  static constexpr TPoint kClose{184, 2}, kMaximize{170, 2};
  static constexpr int kLookNormal = 0, kLookHot = 12, kLookDown = 24;

  TForm* form = nullptr;
  TqzSkinData* skin = nullptr;
  TqzOrvane* orvane = nullptr;
};

// ---------------------------------------------------------------------------
// What the form and its border show

TEST_F(FullBorderTest, ObjectsLieOnTheOuterWindowAndShowTheirAlphaInTheTopStrip) {
  ASSERT_TRUE(Border().FullBorder());
  ASSERT_TRUE(IsWindowVisible(TopWindow()));
  EXPECT_EQ(form->BoundsRect(), Bounds(105, 120, 190, 125));
  // The row of buttons and the caption before it.
  EXPECT_EQ(Button("closebutton").ObjectRect, Rect(184, 2, 196, 12));
  EXPECT_EQ(Button("maxbutton").ObjectRect, Rect(170, 2, 182, 12));
  EXPECT_EQ(orvane->ObjectList()[size_t(IndexOf("caption"))]->ObjectRect, Rect(4, 2, 168, 18));

  EXPECT_TRUE(ShowsLook(kClose, kLookNormal));
  EXPECT_TRUE(ShowsLook(kMaximize, kLookNormal));
  // The caption's left end is the picture's caption piece as it is, opaque.
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 6; ++i)
      ASSERT_EQ(StripPixel(kOuterInStrip.X + 4 + i, kOuterInStrip.Y + 2 + j),
                testing::FullFormPixel(4 + i, 2 + j))
          << i << "," << j;
  // Beside the objects the frame picture shows with its mask's opacity.
  EXPECT_EQ(StripPixel(3, 1),
            Premultiplied(testing::FullFramePixel(3, 1), testing::kFullFrameGrey));
}

TEST_F(FullBorderTest, QuickButtonsTakeTheOpacityOfTheirMask) {
  skin->LoadFromContainer(
      testing::FullBorderSkin("", "", "quickbuttonalphamaskpictureindex=1\n"));
  auto* images = new TCustomImageList(form);
  images->SetSize(8, 8);
  TBitmap image(8, 8);
  image.Pixels().Resize(8, 8, 0x00C000);
  images->Add(image);
  orvane->SetQuickImageList(images);
  orvane->QuickButtons().Add()->ImageIndex = 0;
  orvane->ConfigureObjects();
  Border().Update();
  auto& caption =
      dynamic_cast<TqzSkinCaptionObject&>(*orvane->ObjectList()[size_t(IndexOf("caption"))]);
  const TRect button = caption.LayoutExtras().QuickButtons.at(0);
  ASSERT_FALSE(button.IsEmpty());
  // The 48 x 10 mask scaled over the button; its grey is the opacity.
  const int w = button.Width(), h = button.Height();
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      ASSERT_EQ(
          StripPixel(kOuterInStrip.X + button.Left + i, kOuterInStrip.Y + button.Top + j) >> 24,
          uint32_t(ButtonMaskGrey(i * 48 / w, j * 10 / h)))
          << i << "," << j;
}

TEST_F(FullBorderTest, CaptionTabsTakeTheOpacityOfTheirLook) {
  // Tab looks 24 wide in the button cells, every look masked by picture 1.
  skin->LoadFromContainer(testing::FullBorderSkin(
      "", "", "",
      "activepictureindex=0\nskinrect=0,0,24,10\nactiveskinrect=12,0,36,10\n"
      "downrect=24,0,48,10\nleftoffset=4\nrightoffset=4\nalphamaskpictureindex=1\n"
      "alphamaskactivepictureindex=1\nalphamaskinactivepictureindex=1\n"));
  orvane->CaptionTabs().Add()->Caption = "One";
  orvane->CaptionTabs().Add()->Caption = "Two";
  orvane->ConfigureObjects();
  Border().Update();
  auto& caption =
      dynamic_cast<TqzSkinCaptionObject&>(*orvane->ObjectList()[size_t(IndexOf("caption"))]);
  const auto tabs = caption.LayoutExtras().Tabs;
  ASSERT_EQ(tabs.size(), 2u);
  ASSERT_GE(tabs[1].Width(), 8);
  // The fixed ends of the three-part look keep the mask's opacity: the
  // selected first tab from the pressed cell at x 24, the second from the
  // normal one at x 0.
  auto alpha = [&](const TRect& tab, int x, int y) {
    return StripPixel(kOuterInStrip.X + tab.Left + x, kOuterInStrip.Y + tab.Top + y) >> 24;
  };
  for (int j = 0; j < std::min(10, tabs[1].Height()); ++j)
    for (int i = 0; i < 4; ++i) {
      ASSERT_EQ(alpha(tabs[0], i, j), uint32_t(ButtonMaskGrey(24 + i, j))) << i << "," << j;
      ASSERT_EQ(alpha(tabs[1], i, j), uint32_t(ButtonMaskGrey(i, j))) << i << "," << j;
      ASSERT_EQ(alpha(tabs[1], tabs[1].Width() - 4 + i, j), uint32_t(ButtonMaskGrey(20 + i, j)));
    }
}

TEST_F(FullBorderTest, TheFormIsAllClientWithoutAFrameOfItsOwn) {
  EXPECT_EQ(form->ClientWidth(), form->Width());
  EXPECT_EQ(form->ClientHeight(), form->Height());
  TRegion region;
  ASSERT_NE(GetWindowRgn(form->Handle(), region), 0);
  EXPECT_EQ(region.Bounds(), Rect(0, 0, 190, 125));
  EXPECT_EQ(SendMessage(form->Handle(), WM_NCPAINT, 1, 0), 1);
  // The client background starts at the window's corner: the picture's
  // client piece, where a painted frame would show its caption corner.
  EXPECT_EQ(Native(form->Handle())->Contents().At(1, 1) | 0xFF000000u,
            testing::FullFormPixel(6, 21));
}

TEST_F(FullBorderTest, RolledUpFormsBorderIsTheRollUpHeightTall) {
  skin->LoadFromContainer(testing::FullBorderSkin("rollupformheight=6\n"));
  Pump();
  orvane->RollUp();
  Pump();
  ASSERT_TRUE(orvane->IsRolledUp());
  // 6 rows of form plus the frame's 90 - 55 rows without its client part.
  const TRect top = WindowRect(TopWindow()), bottom = WindowRect(Border().Window(kBottom));
  EXPECT_EQ(top.Top, form->Top() - 25);
  EXPECT_EQ(bottom.Bottom - top.Top, 41);
  TRegion region;
  ASSERT_NE(GetWindowRgn(form->Handle(), region), 0);
  EXPECT_EQ(region.Bounds(), Rect(0, 0, form->Width(), 6));
}

// ---------------------------------------------------------------------------
// The mouse on the top window

TEST_F(FullBorderTest, HitCodesTellCaptionFromObjects) {
  auto hit = [&](TPoint outer) {
    const TPoint s = ScreenAt(outer);
    return SendMessage(TopWindow(), WM_NCHITTEST, 0, MAKELPARAM(s.X, s.Y));
  };
  EXPECT_EQ(hit({kClose.X + 3, kClose.Y + 3}), HTOBJECT);
  EXPECT_EQ(hit({kMaximize.X, kMaximize.Y}), HTOBJECT);
  EXPECT_EQ(hit({60, 10}), HTCAPTION);
  EXPECT_EQ(hit({2, 1}), HTTOPLEFT);  // no object there: the sizing band
}

TEST_F(FullBorderTest, HoverPressAndReleaseRunTheButtonsCommand) {
  const int maximize = IndexOf("maxbutton");
  const TPoint over = ScreenAt({kMaximize.X + 5, kMaximize.Y + 5});
  Move(over);
  EXPECT_EQ(Border().HotObject(), maximize);
  EXPECT_TRUE(ShowsLook(kMaximize, kLookHot));
  EXPECT_TRUE(ShowsLook(kClose, kLookNormal));

  hp->InjectMouseDown();
  Pump();
  EXPECT_EQ(Border().PressedObject(), maximize);
  EXPECT_TRUE(ShowsLook(kMaximize, kLookDown));
  EXPECT_EQ(orvane->ActualWindowState(), wsNormal);
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(orvane->ActualWindowState(), wsMaximized);
  EXPECT_EQ(Border().PressedObject(), -1);
}

TEST_F(FullBorderTest, ReleaseAwayFromThePressedButtonIsNoClick) {
  Move(ScreenAt({kMaximize.X + 5, kMaximize.Y + 5}));
  hp->InjectMouseDown();
  Pump();
  // Over the close button while the maximise button holds the mouse: no
  // other button turns hot, and the pressed one is no longer.
  Move(ScreenAt({kClose.X + 5, kClose.Y + 5}));
  EXPECT_EQ(Border().HotObject(), -1);
  hp->InjectMouseUp();
  Pump();
  EXPECT_EQ(orvane->ActualWindowState(), wsNormal);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(Border().PressedObject(), -1);
  EXPECT_TRUE(ShowsLook(kMaximize, kLookNormal));
}

TEST_F(FullBorderTest, WatchLetsGoOfTheHotButtonOnceTheMouseHasLeft) {
  Move(ScreenAt({kClose.X + 5, kClose.Y + 5}));
  ASSERT_EQ(Border().HotObject(), IndexOf("closebutton"));
  EXPECT_TRUE(Border().HotWatchRunning());
  // Still over the top window: the watch keeps the button hot.
  hp->AdvanceClock(500);
  Pump();
  EXPECT_EQ(Border().HotObject(), IndexOf("closebutton"));
  EXPECT_TRUE(Border().HotWatchRunning());

  // Onto the form: the top window hears nothing more, the watch does.
  Move({form->Left() + 100, form->Top() + 80});
  EXPECT_EQ(Border().HotObject(), IndexOf("closebutton"));
  hp->AdvanceClock(500);
  Pump();
  EXPECT_EQ(Border().HotObject(), -1);
  EXPECT_FALSE(Border().HotWatchRunning());
  EXPECT_FALSE(Button("closebutton").Active);
  EXPECT_TRUE(ShowsLook(kClose, kLookNormal));
}

TEST_F(FullBorderTest, DeactivationLetsGoOfHotAndPressedButtons) {
  Move(ScreenAt({kClose.X + 5, kClose.Y + 5}));
  hp->InjectMouseDown();
  Pump();
  ASSERT_EQ(Border().PressedObject(), IndexOf("closebutton"));
  ASSERT_TRUE(Button("closebutton").Down());

  TForm* other = MakeForm(Bounds(500, 400, 100, 80));
  ASSERT_EQ(qz::Screen->ActiveForm(), other);
  EXPECT_EQ(Border().HotObject(), -1);
  EXPECT_EQ(Border().PressedObject(), -1);
  EXPECT_FALSE(Border().HotWatchRunning());
  EXPECT_FALSE(Button("closebutton").Down());
  EXPECT_FALSE(Button("closebutton").Active);
  EXPECT_TRUE(ShowsLook(kClose, kLookNormal));
  // The release that follows clicks nothing.
  hp->InjectMouseUp();
  Pump();
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

// ---------------------------------------------------------------------------
// A click that ends the form

TEST_F(FullBorderTest, CloseButtonClosesTheFormAndItsBorder) {
  form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  TComponentRef<TForm> alive(form);
  Move(ScreenAt({kClose.X + 5, kClose.Y + 5}));
  hp->InjectMouseDown();
  hp->InjectMouseUp();
  Pump();
  EXPECT_FALSE(alive);
}

TEST_F(FullBorderTest, HandlerClosingTheFormOnARelease) {
  form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  orvane->OnMouseUpEvent = [this](const std::string&, int, int, const TRect&, TqzMouseButton) {
    form->Close();
  };
  TComponentRef<TForm> alive(form);
  Move(ScreenAt({kMaximize.X + 5, kMaximize.Y + 5}));
  hp->InjectMouseDown();
  hp->InjectMouseUp();
  Pump();
  EXPECT_FALSE(alive);
  EXPECT_EQ(hp->Windows().size(), 0u);  // the border's windows went with it
}

TEST_F(FullBorderTest, HandlerFreeingTheFormOnEnteringAButton) {
  orvane->OnMouseEnterEvent = [this](const std::string&) { delete form; };
  TComponentRef<TForm> alive(form);
  Move(ScreenAt({kClose.X + 5, kClose.Y + 5}));
  EXPECT_FALSE(alive);
  hp->AdvanceClock(1000);
  Pump();
}

// ---------------------------------------------------------------------------
// The skinshot tool shows the whole frame, caption and buttons included.

TEST(FullBorderShot, LookSpansTheLayeredFrame) {
  const auto compressed = DeflateSkinStream(testing::FullBorderSkin());
  skinshot::TShotOptions options;
  options.Size = TSize{200, 150};
  const TPixmap look = skinshot::RenderSkinShot(compressed, options);
  // The form keeps the outer 200 x 150 (190 x 125 of its own); the frame
  // adds 30 - 10 columns and 35 - 25 rows beyond the border rect.
  ASSERT_EQ(look.Width(), 220);
  ASSERT_EQ(look.Height(), 160);
  // The caption's opaque left end, and the form's client from its corner.
  for (int j = 0; j < 16; ++j)
    for (int i = 0; i < 6; ++i)
      ASSERT_EQ(look.At(kOuterInStrip.X + 4 + i, kOuterInStrip.Y + 2 + j),
                testing::FullFormPixel(4 + i, 2 + j));
  EXPECT_EQ(look.At(15, 25), testing::FullFormPixel(5, 20));
}

}  // namespace
}  // namespace qz
