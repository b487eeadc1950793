// The buttons of the two demo skins: the dialog skin's nine-part push button
// at its own and at a larger size, and the main skin's fixed-size toggle tab
// with its glow frame.
#include <gtest/gtest.h>

#include "skin/controls/LayerManager.h"
#include "skin/controls/SkinButton.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/PixelCopy.h"
#include "skin/draw/QzComposition.h"
#include "tests/skincontrols/SkinButtonTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz {
namespace {

class SkinButtonDemoSkins : public testing::SkinButtonTest {
 protected:
  // A skin data of its own, loaded from the packed demo skin.
  void UseDemoSkin(const testing::TDemoSkin& demo) {
    skin = std::make_unique<TqzSkinData>(nullptr);
    skin->LoadFromStoredSkin(*demo.Holder);
  }
  const TqzDataSkinButtonControl& Description(const std::string& name) {
    const int i = skin->FindControlIndex(name);
    return dynamic_cast<const TqzDataSkinButtonControl&>(*skin->CtrlList().at(size_t(i)));
  }
  TPixmap NinePart(const TqzDataSkinButtonControl& d, const TRect& rect, int w, int h) {
    TqzSkinGeometry g = d.Geometry();
    g.SkinRect = rect;
    TBitmap out;
    CreateSkinImage(g, CalcNewGeometry(g, TqzResizeMode::NinePart, w, h), true, w, h,
                    *skin->ActivePicture(d.PictureIndex), out);
    return out.Pixels();
  }
  TPixmap Cut(const TqzDataSkinButtonControl& d, const TRect& rect) {
    TPixmap out(rect.Width(), rect.Height());
    CopyPixels(skin->ActivePicture(d.PictureIndex)->Pixels(), rect, out, out.Bounds());
    return out;
  }
};

TEST_F(SkinButtonDemoSkins, DialogPushButtonAtItsOwnAndALargerSize) {
  UseDemoSkin(testing::DialogSkin());
  const auto& d = Description("button");
  for (TSize size : {TSize{94, 27}, TSize{140, 38}}) {
    auto* b = MakeButton({10, 10, 10 + size.cx, 10 + size.cy});
    auto* other = MakeButton({10, 100, 80, 125});
    other->SetFocus();
    Pump();
    EXPECT_TRUE(Shows(b, NinePart(d, d.SkinRect, size.cx, size.cy)));
    Move(Center(b));
    Ticks(6);
    EXPECT_TRUE(Shows(b, NinePart(d, d.ActiveSkinRect, size.cx, size.cy)));
    hp->InjectMouseDown();
    Pump();
    EXPECT_TRUE(Shows(b, NinePart(d, d.DownSkinRect, size.cx, size.cy)));
    hp->InjectMouseUp();
    Move({300, 150});
    Ticks(6);
    EXPECT_TRUE(Shows(b, NinePart(d, d.FocusedSkinRect, size.cx, size.cy)));
    delete b;
    delete other;
  }
}

TEST_F(SkinButtonDemoSkins, MainSkinToggleTabKeepsItsSizeAndGlows) {
  UseDemoSkin(testing::MainSkin());
  const auto& d = Description("addtab");
  auto* tab = MakeButton({20, 20, 60, 40});
  tab->SetSkinDataName("addtab");
  tab->SetGroupIndex(1);
  tab->SetSkinData(nullptr);
  tab->SetSkinData(skin.get());  // the name takes effect at the skin change
  Pump();
  EXPECT_EQ(tab->Width(), d.SkinRect.Width());
  EXPECT_EQ(tab->Height(), d.SkinRect.Height());
  EXPECT_TRUE(Shows(tab, Cut(d, d.SkinRect)));
  Move(Center(tab));
  Ticks(6);
  EXPECT_TRUE(Shows(tab, Cut(d, d.ActiveSkinRect)));
  // The glow frame lies around the tab by its show offsets.
  ASSERT_NE(tab->GlowLayer(), nullptr);
  const HWND glow = tab->GlowLayer()->Window();
  ASSERT_TRUE(glow);
  TRect glowRect;
  GetWindowRect(glow, glowRect);
  const TPoint origin = tab->ClientToScreen({0, 0});
  EXPECT_EQ(glowRect.TopLeft(), (TPoint{origin.X - d.GlowLayerShowOffsetX,
                                        origin.Y - d.GlowLayerShowOffsetY}));
  Click(Center(tab));
  EXPECT_TRUE(tab->Down());
  EXPECT_TRUE(Shows(tab, Cut(d, d.DownSkinRect)));
  Move({300, 150});
  EXPECT_FALSE(tab->GlowLayer()->Shown());
}


// UseSkinSize off: a fixed-size look is scaled to whatever size is asked.
TEST_F(SkinButtonDemoSkins, FixedSizeLookScalesWhenTheSkinDoesNotDictateTheSize) {
  UseDemoSkin(testing::MainSkin());
  const auto& d = Description("addtab");
  auto* tab = new TqzSkinButton(form);
  tab->SetParent(form);
  tab->SetUseSkinSize(false);
  tab->SetSkinDataName("addtab");
  tab->SetBounds(20, 20, 90, 60);
  tab->SetSkinData(skin.get());
  Pump();
  EXPECT_EQ(tab->Width(), 90);
  EXPECT_EQ(tab->Height(), 60);
  TPixmap scaled(90, 60);
  CopyPixels(skin->ActivePicture(d.PictureIndex)->Pixels(), d.SkinRect, scaled, scaled.Bounds());
  EXPECT_TRUE(Shows(tab, scaled));
  // Its content rectangle grows with it.
  TRect content;
  tab->OnPaint = [&](TObject*, TCanvas&, TRect r, bool, bool, bool&) { content = r; };
  tab->Invalidate();
  Pump();
  TRect expected = d.ClientRect;
  expected.Right += 90 - d.SkinRect.Width();
  expected.Bottom += 60 - d.SkinRect.Height();
  EXPECT_EQ(content, expected);
}

}  // namespace
}  // namespace qz
