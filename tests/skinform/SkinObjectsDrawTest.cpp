// The objects' pixels against the source pieces of the patterned pictures
// (MainPixel / ActivePixel) and against TqzEffectBmp's own morphs.
#include <gtest/gtest.h>

#include "host/graphics/Canvas.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QzGlyphs.h"
#include "tests/skinform/SkinObjectsTestSupport.h"

namespace qz {
namespace {

using testing::ActivePixel;
using testing::MainPixel;
using testing::MakeSkin;
using testing::ObjectAs;
using testing::StdButton;
using testing::TObjectText;
using testing::TRecordingHost;
using testing::TTarget;

constexpr uint32_t kFill = 0x123456;

struct TScene {
  TRecordingHost Host;
  std::unique_ptr<TqzSkinData> Skin;
  TqzSkinObjectList List;
  TTarget Target;
  explicit TScene(const std::vector<TObjectText>& objects) : Skin(MakeSkin(objects)) {
    Host.Skin = Skin.get();
    List = CreateSkinObjects(Host, *Skin, nullptr);
    for (auto& o : List)
      o->ObjectRect = Bounds(20, 10, o->Data().SkinRect.Width(), o->Data().SkinRect.Height());
  }
  template <class T = TqzActiveSkinObject>
  T& Get(const std::string& id) {
    return ObjectAs<T>(List, id);
  }
  TTarget Draw(const std::string& id, bool compose = false) {
    TTarget t;
    Get(id).Draw(t.Canvas(), compose);
    return t;
  }
};

// The looks of a 10 x 8 button, each a cell of active picture 0.
auto ActiveCell(int left, int top) {
  return [=](int i, int j) { return ActivePixel(left + i, top + j); };
}
auto MainCell(int left, int top) {
  return [=](int i, int j) { return MainPixel(left + i, top + j); };
}

TEST(SkinObjectsDraw, StateLooksAreTheSourcePieces) {
  TScene s({StdButton("closebutton", "cmclose", "0,0,10,8",
                      "activeskinrect=10,0,20,8\ninactiveskinrect=20,0,30,8\ndownrect=30,0,40,8\n")});
  auto& b = s.Get<TqzSkinStdButtonObject>("closebutton");
  EXPECT_TRUE(s.Draw("closebutton").BlockIs(20, 10, 10, 8, ActiveCell(0, 0)));
  b.MouseEnter();
  EXPECT_TRUE(s.Draw("closebutton").BlockIs(20, 10, 10, 8, ActiveCell(10, 0)));
  b.MouseDown(1, 1, TqzMouseButton::mbLeft);
  EXPECT_TRUE(s.Draw("closebutton").BlockIs(20, 10, 10, 8, ActiveCell(30, 0)));
  b.MouseLeave();  // down, but the mouse is out: the base look
  EXPECT_TRUE(s.Draw("closebutton").BlockIs(20, 10, 10, 8, ActiveCell(0, 0)));
  s.Host.FormIsActive = false;
  const TTarget inactive = s.Draw("closebutton");
  EXPECT_TRUE(inactive.BlockIs(20, 10, 10, 8, ActiveCell(20, 0)));
  EXPECT_EQ(inactive.At(30, 10), kFill);  // nothing beyond the object
  EXPECT_EQ(inactive.At(19, 10), kFill);
}

TEST(SkinObjectsDraw, HalfWayMorphIsTheEffectBitmapsMorph) {
  TScene s({StdButton("closebutton", "cmclose", "0,0,10,8",
                      "activeskinrect=10,0,20,8\nmorphing=1\nmorphkind=mkgradient\n")});
  auto& b = s.Get("closebutton");
  b.MouseEnter();
  b.MorphStep();
  b.MorphStep();
  b.MorphStep();
  ASSERT_DOUBLE_EQ(b.Kf, 0.6);
  TPixmap normal(10, 8), active(10, 8);
  for (int j = 0; j < 8; ++j)
    for (int i = 0; i < 10; ++i) {
      normal.At(i, j) = ActivePixel(i, j);
      active.At(i, j) = ActivePixel(10 + i, j);
    }
  TqzEffectBmp expected(normal);
  expected.MorphGrad(TqzEffectBmp(active), b.Kf);
  EXPECT_TRUE(s.Draw("closebutton").BlockIs(20, 10, 10, 8,
                                           [&](int i, int j) { return expected.GetPixel(i, j); }));
}

TEST(SkinObjectsDraw, FramePictureLookIsDrawnOnlyWhenComposing) {
  TScene s({{"framed", "button",
             "activepictureindex=0\nskinrect=150,4,160,12\nactiveskinrect=10,0,20,8\n"}});
  const TTarget plain = s.Draw("framed");
  EXPECT_TRUE(plain.BlockIs(20, 10, 10, 8, [](int, int) { return kFill; }));
  EXPECT_TRUE(s.Draw("framed", true).BlockIs(20, 10, 10, 8, MainCell(150, 4)));
  s.Get("framed").MouseEnter();
  EXPECT_TRUE(s.Draw("framed").BlockIs(20, 10, 10, 8, ActiveCell(10, 0)));
}

TEST(SkinObjectsDraw, RestoreLooksOnlyInTheAlternateState) {
  const std::string restore = "restorerect=40,0,50,8\nrestoreactiverect=50,0,60,8\n";
  TScene s({StdButton("maxbutton", "cmmaximize", "0,0,10,8", "activeskinrect=10,0,20,8\n" + restore),
            StdButton("minbutton", "cmminimize", "0,0,10,8", restore)});
  EXPECT_TRUE(s.Draw("maxbutton").BlockIs(20, 10, 10, 8, ActiveCell(0, 0)));
  s.Host.IsMaximized = true;
  EXPECT_TRUE(s.Draw("maxbutton").BlockIs(20, 10, 10, 8, ActiveCell(40, 0)));
  s.Get("maxbutton").MouseEnter();
  EXPECT_TRUE(s.Draw("maxbutton").BlockIs(20, 10, 10, 8, ActiveCell(50, 0)));
  // The main form is never seen minimised: its minimise button keeps its look.
  s.Host.IsMinimized = true;
  EXPECT_TRUE(s.Draw("minbutton").BlockIs(20, 10, 10, 8, ActiveCell(0, 0)));
  s.Host.MainForm = false;
  EXPECT_TRUE(s.Draw("minbutton").BlockIs(20, 10, 10, 8, ActiveCell(40, 0)));
}

TEST(SkinObjectsDraw, GaugeSplitsAtTheRoundedShare) {
  const std::string gauge =
      "activepictureindex=0\nskinrect=100,4,110,12\nactiveskinrect=0,50,10,58\n"
      "minvalue=0\nmaxvalue=100\n";
  TScene s({{"h", "gauge", gauge}, {"v", "gauge", gauge + "kind=gkvertical\n"}});
  auto& h = s.Get<TqzSkinGaugeObject>("h");
  EXPECT_TRUE(s.Draw("h").BlockIs(20, 10, 10, 8, [](int, int) { return kFill; }));
  h.SetValue(25);  // 2.5 pixels: two, halves to even
  TTarget quarter = s.Draw("h");
  EXPECT_TRUE(quarter.BlockIs(20, 10, 2, 8, ActiveCell(0, 50)));
  EXPECT_TRUE(quarter.BlockIs(22, 10, 8, 8, MainCell(102, 4)));
  h.SetValue(35);  // 3.5: four
  EXPECT_TRUE(s.Draw("h").BlockIs(20, 10, 4, 8, ActiveCell(0, 50)));
  // Back at the minimum the old fill is cleared with the empty look.
  h.SetValue(0);
  EXPECT_TRUE(s.Draw("h").BlockIs(20, 10, 10, 8, MainCell(100, 4)));

  auto& v = s.Get<TqzSkinGaugeObject>("v");
  v.SetValue(25);  // the top 6 of 8 rows stay empty
  TTarget vertical = s.Draw("v");
  EXPECT_TRUE(vertical.BlockIs(20, 10, 10, 6, MainCell(100, 4)));
  EXPECT_TRUE(vertical.BlockIs(20, 16, 10, 2, ActiveCell(0, 56)));
}

TEST(SkinObjectsDraw, FrameGaugeSwitchAndUserObject) {
  TScene s({{"fg", "framegauge",
             "activepictureindex=0\nskinrect=0,0,10,8\nactiveskinrect=0,30,10,38\n"
             "minvalue=0\nmaxvalue=40\ncountframes=5\n"},
            {"sw", "switch", "activepictureindex=0\nskinrect=150,4,160,12\nactiveskinrect=10,0,20,8"},
            {"user", "userobject", "skinrect=0,0,10,8"}});
  s.Get<TqzSkinFrameGaugeObject>("fg").SetValue(20);  // frame 3
  EXPECT_TRUE(s.Draw("fg").BlockIs(20, 10, 10, 8, ActiveCell(20, 30)));
  // A switch shows its off look even when not composing.
  EXPECT_TRUE(s.Draw("sw").BlockIs(20, 10, 10, 8, MainCell(150, 4)));
  s.Get("sw").MouseDown(0, 0, TqzMouseButton::mbLeft);
  EXPECT_TRUE(s.Draw("sw").BlockIs(20, 10, 10, 8, ActiveCell(10, 0)));
  const TTarget user = s.Draw("user", true);
  EXPECT_EQ(s.Host.Events.back(), "paint:user");
  EXPECT_EQ(user.At(20, 10), kFill);
}

TEST(SkinObjectsDraw, BitLabelCopiesSymbolCellsInsideTheObject) {
  TScene s({{"bits", "bitlabel",
             "activepictureindex=0\nskinrect=0,0,10,5\nactiveskinrect=0,40,16,50\n"
             "symbolwidth=4\nsymbolheight=5\nsymbolslinecount=2\nsymbolsline0=0123\n"
             "symbolsline1=ABCD\ntextvalue=1B?\n"}});
  auto& label = s.Get<TqzSkinBitLabelObject>("bits");
  EXPECT_EQ(label.SymbolCell('C'), (TRect{8, 45, 12, 50}));
  EXPECT_TRUE(label.SymbolCell('?').IsEmpty());
  const TTarget t = s.Draw("bits");
  EXPECT_TRUE(t.BlockIs(20, 10, 4, 5, ActiveCell(4, 40)));
  EXPECT_TRUE(t.BlockIs(24, 10, 4, 5, ActiveCell(4, 45)));
  // The third symbol would pass the object's right edge: the look stays.
  EXPECT_TRUE(t.BlockIs(28, 10, 2, 5, MainCell(8, 0)));
  EXPECT_EQ(t.At(30, 10), kFill);
}

TEST(SkinObjectsDraw, AlphaLayerTakesTheMaskOfTheState) {
  TScene s({StdButton("closebutton", "cmclose", "0,0,10,8",
                      "alphamaskpictureindex=1\nalphamaskactivepictureindex=0\n"
                      "activeskinrect=10,0,20,8\n")});
  auto& b = s.Get("closebutton");
  TTarget t;
  b.DrawAlphaLayer(t.Canvas(), t.Bitmap->Pixels());
  EXPECT_TRUE(t.BlockIs(20, 10, 10, 8, ActiveCell(0, 0)));
  EXPECT_EQ(t.Pixels().At(24, 17) >> 24, 0u);  // black half of the mask
  EXPECT_EQ(t.Pixels().At(25, 10) >> 24, 255u);
  // Hovered: active picture 0 is its own mask, read at the active look's cell.
  b.MouseEnter();
  TTarget hot;
  b.DrawAlphaLayer(hot.Canvas(), hot.Bitmap->Pixels());
  const uint32_t p = ActivePixel(13, 5);
  const uint32_t sum = (p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF);  // 13 + 5 + 200
  EXPECT_EQ(sum, 218u);
  EXPECT_EQ(hot.Pixels().At(23, 15) >> 24, 73u);  // 218 / 3 = 72.67
}

TEST(SkinObjectsDraw, DefaultButtonsDrawTheCaptionGlyphs) {
  TRecordingHost host;  // no skin
  TqzSkinObjectList buttons = CreateDefaultButtons(host);
  buttons[0]->ObjectRect = {0, 0, 16, 14};
  TTarget drawn(16, 14), expected(16, 14);
  buttons[0]->Draw(drawn.Canvas(), true);
  expected.Canvas().Brush().SetColor(clBtnFace);
  expected.Canvas().FillRect({0, 0, 16, 14});
  DrawCloseGlyph(expected.Canvas(), 3, 2, clBtnText);
  EXPECT_TRUE(drawn.Pixels() == expected.Pixels());
  EXPECT_NE(drawn.At(4, 3), drawn.At(0, 0));  // the glyph is there
}

}  // namespace
}  // namespace qz
