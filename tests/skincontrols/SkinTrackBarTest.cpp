// The skinned track bar: thumb geometry and the value of a position, drags
// past both ends, clicks, keys and wheel, an upside-down range, handlers
// that free the bar, streaming, and the pixels of the skinned and the plain
// looks against references composed straight from the description.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/components/FormResource.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "tests/skincontrols/SkinControlTestKit.h"

namespace qz {
namespace {

using testing::LoadTestSkin;
using testing::Pattern;
using testing::TTestSkinParts;

// Picture 0 is a 120 x 100 pattern.
//   htrackbar   a horizontal bar 100 x 20 (ends of 10) with a filled look
//               below it, the whole bar as track, thumbs 10 x 16
//   trackbar    a vertical bar 20 x 60 (ends of 10), thumbs 16 x 10
//   keyed       htrackbar whose thumb leaves out one colour
//   fixed       htrackbar without corner points: it keeps its size
constexpr TRect kHBar{0, 0, 100, 20}, kHFilled{0, 20, 100, 40}, kHThumb{100, 0, 110, 16},
    kHThumbHot{100, 16, 110, 32};
constexpr TRect kVBar{0, 40, 20, 100}, kVFilled{20, 40, 40, 100}, kVThumb{100, 32, 116, 42},
    kVThumbHot{100, 42, 116, 52};

std::string RectKey(const char* key, const TRect& r) {
  return std::string(key) + "=" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
         std::to_string(r.Right) + "," + std::to_string(r.Bottom) + "\r\n";
}

// The colour value of the pattern's pixel: the key of "keyed".
TColor PatternColor(int x, int y) {
  const uint32_t p = testing::PatternPixel(x, y, 3);
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

TTestSkinParts TrackSkinParts() {
  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 9);
  parts.Active.push_back(Pattern(120, 100, 3));
  const std::string h = "pictureindex=0\r\n" + RectKey("skinrect", kHBar) +
                        "lefttoppoint=10,0\r\nrighttoppoint=90,0\r\nclientrect=0,0,100,20\r\n" +
                        RectKey("activeskinrect", kHFilled) + "trackarea=0,0,100,20\r\n" +
                        RectKey("buttonrect", kHThumb) + RectKey("activebuttonrect", kHThumbHot);
  const std::string v = "pictureindex=0\r\n" + RectKey("skinrect", kVBar) +
                        "lefttoppoint=0,10\r\nleftbottompoint=0,50\r\nclientrect=0,0,20,60\r\n" +
                        RectKey("activeskinrect", kVFilled) + "trackarea=0,0,20,60\r\n" +
                        RectKey("buttonrect", kVThumb) + RectKey("activebuttonrect", kVThumbHot) +
                        "vertical=1\r\n";
  parts.Text = "[SKINCONTROLS]\r\ncount=4\r\n0=htrackbar:trackbar\r\n1=trackbar:trackbar\r\n"
               "2=keyed:trackbar\r\n3=fixed:trackbar\r\n"
               "[htrackbar]\r\n" + h + "[trackbar]\r\n" + v + "[keyed]\r\n" + h +
               "buttontransparent=1\r\nbuttontransparentcolor=" +
               std::to_string(PatternColor(103, 5)) + "\r\n"
               "[fixed]\r\npictureindex=0\r\n" + RectKey("skinrect", kHBar) +
               "trackarea=0,0,100,20\r\n" + RectKey("buttonrect", kHThumb);
  return parts;
}

// ---------------------------------------------------------------- rules

TEST(SkinTrackBarRules, ThumbGeometryAndValueOfAPosition) {
  // A 121-pixel wide plain bar of height 20: an 8 x 16 thumb.
  EXPECT_EQ(PlainThumbSize(121, 20, false), (TSize{8, 16}));
  EXPECT_EQ(PlainThumbSize(20, 121, true), (TSize{16, 8}));
  // Halves round to even: 0.5 of 109 is 54.5 -> 54; 0.33 of 150 is 49.5 -> 50.
  TqzTrackGeometry g = CalcTrackGeometry({2, 2, 119, 18}, {8, 16}, false, 50, 0, 100);
  EXPECT_EQ(g.Start, 6);
  EXPECT_EQ(g.End, 115);
  EXPECT_EQ(g.Offset, 54);
  EXPECT_EQ(g.Thumb, (TRect{56, 2, 64, 18}));
  EXPECT_EQ(CalcTrackGeometry({0, 0, 160, 20}, {10, 16}, false, 33, 0, 100).Offset, 50);
  // Vertical: values grow upward.
  g = CalcTrackGeometry({0, 0, 20, 60}, {16, 10}, true, 25, 0, 100);
  EXPECT_EQ(g.Offset, 12);  // 12.5
  EXPECT_EQ(g.Thumb, (TRect{2, 38, 18, 48}));
  EXPECT_EQ(CalcTrackGeometry({0, 0, 20, 60}, {16, 10}, true, 0, 0, 100).Thumb.Bottom, 60);
  // No range: the thumb at the start, every position the minimum.
  EXPECT_EQ(CalcTrackGeometry({0, 0, 100, 20}, {10, 16}, false, 7, 7, 7).Thumb.Left, 0);
  EXPECT_EQ(TrackValueAt(80, 5, 95, 7, 7), 7);
  // Positions clamp to the track; halves to even.
  EXPECT_EQ(TrackValueAt(-30, 0, 4, 0, 2), 0);
  EXPECT_EQ(TrackValueAt(99, 0, 4, 0, 2), 2);
  EXPECT_EQ(TrackValueAt(1, 0, 4, 0, 2), 0);  // 0.5
  EXPECT_EQ(TrackValueAt(3, 0, 4, 0, 2), 2);  // 1.5
  EXPECT_EQ(TrackValueAt(10, 0, 0, 3, 9), 3);  // a track without length
  // An upside-down range runs backwards.
  EXPECT_EQ(TrackValueAt(0, 0, 10, 80, 20), 80);
  EXPECT_EQ(TrackValueAt(10, 0, 10, 80, 20), 20);
  // The whole int range does not overflow.
  EXPECT_EQ(TrackValueAt(10, 0, 10, INT32_MIN, INT32_MAX), INT32_MAX);
}

// ---------------------------------------------------------------- control

// The control base tests' form and screen shots, with the skin above.
class SkinTrackBarTest : public testing::SkinControlTest {
 protected:
  void SetUp() override {
    SkinControlTest::SetUp();
    skin = LoadTestSkin(TrackSkinParts());
  }

  // A bar counting its events; without `name` in its plain look.
  TqzSkinTrackBar* Make(TRect b, const std::string& name = "") {
    auto* t = SkinControlTest::Make<TqzSkinTrackBar>(name, b.Left, b.Top, b.Width(), b.Height());
    t->OnChange = [this](TObject* s) { changes.push_back(static_cast<TqzSkinTrackBar*>(s)->Value()); };
    t->OnLastChange = [this](TObject*) { ++lastChanges; };
    t->OnStartDragButton = [this](TObject*) { ++dragStarts; };
    return t;
  }

  TPoint At(TControl* c, int x, int y) { return c->ClientToScreen({x, y}); }
  TPoint ThumbCenter(TqzSkinTrackBar* t) {
    const TRect r = t->ThumbGeometry().Thumb;
    return At(t, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  void Press(TPoint p) {
    hp->InjectMouseMove(p);
    hp->InjectMouseDown();
    Pump();
  }
  void Release() {
    hp->InjectMouseUp();
    Pump();
  }
  void Wheel(int delta) {
    hp->InjectWheel(delta);
    Pump();
  }

  // The pixel colour (0xRRGGBB) of a colour value.
  static uint32_t Colour(TColor c) { return UiTest::Rgb(c) & 0xFFFFFFu; }
  TBitmap& Picture() { return SkinPicture(); }
  TPixmap Piece(const TRect& r) {
    TPixmap out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) out.At(x, y) = Picture().Pixels().At(r.Left + x, r.Top + y);
    return out;
  }
  // The horizontal bar at width w: the bar, the filled look up to column
  // `filledTo`, the thumb at (thumbLeft, 2).
  TPixmap HorizontalLook(int w, int filledTo, const TRect& thumbRect, int thumbLeft) {
    TBitmap bar, filled;
    CreateHSkinImage(10, 10, bar, false, w, kHBar, Picture());
    CreateHSkinImage(10, 10, filled, false, w, kHFilled, Picture());
    TPixmap expected = bar.Pixels();
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < filledTo; ++x) expected.At(x, y) = filled.Pixels().At(x, y);
    const TPixmap thumb = Piece(thumbRect);
    for (int y = 0; y < thumb.Height(); ++y)
      for (int x = 0; x < thumb.Width(); ++x) expected.At(thumbLeft + x, 2 + y) = thumb.At(x, y);
    return expected;
  }

  std::vector<int> changes;
  int lastChanges = 0, dragStarts = 0;
};

TEST_F(SkinTrackBarTest, DraggingPastBothEndsClampsAndReportsRealChangesOnly) {
  auto* t = Make({10, 10, 131, 30});  // plain, 121 wide
  EXPECT_EQ(t->ThumbSize(), (TSize{8, 16}));
  Press(ThumbCenter(t));
  EXPECT_TRUE(t->Dragging());
  EXPECT_EQ(dragStarts, 1);
  Move(At(t, -200, 10));
  EXPECT_EQ(t->Value(), 0);
  Move(At(t, -300, 10));  // still past the start: no change
  Move(At(t, 500, 10));
  EXPECT_EQ(t->Value(), 100);
  Move(At(t, 600, 10));
  EXPECT_EQ(changes, (std::vector<int>{0, 100}));
  EXPECT_EQ(lastChanges, 0);
  // The thumb follows the pointer by the distance dragged: pressed at 60
  // with the offset 54, the pointer at 46 puts it at 40 of 109.
  Move(At(t, 46, 10));
  EXPECT_EQ(lastChanges, 0);
  Release();
  EXPECT_FALSE(t->Dragging());
  EXPECT_EQ(lastChanges, 1);
  EXPECT_EQ(t->Value(), 37);  // 36.7
}

TEST_F(SkinTrackBarTest, CaptureTakenByAnotherWindowEndsTheDrag) {
  auto* t = Make({10, 10, 131, 30});
  Press(ThumbCenter(t));
  Move(At(t, 100, 10));
  const int dragged = t->Value();
  SetCapture(form->Handle());  // as a dialog opened by a handler would
  Pump();
  EXPECT_FALSE(t->Dragging());
  EXPECT_EQ(lastChanges, 1);
  Move(At(t, 10, 10));
  EXPECT_EQ(t->Value(), dragged);
  Release();
  ReleaseCapture();
  EXPECT_EQ(lastChanges, 1);
}

TEST_F(SkinTrackBarTest, VerticalDragAndJumpWhenClick) {
  auto* v = Make({10, 10, 30, 70}, "trackbar");
  EXPECT_TRUE(v->IsVertical());
  v->SetValue(0);
  Press(ThumbCenter(v));
  Move(At(v, 10, -100));  // up: the maximum
  EXPECT_EQ(v->Value(), 100);
  Release();
  // A click beside the thumb does nothing without JumpWhenClick.
  Click(At(v, 10, 55));
  EXPECT_EQ(v->Value(), 100);
  v->SetJumpWhenClick(true);
  // The thumb centre runs from 55 (minimum) up to 5 (maximum).
  Click(At(v, 10, 55));
  EXPECT_EQ(v->Value(), 0);
  Click(At(v, 10, 30));
  EXPECT_EQ(v->Value(), 50);
  EXPECT_EQ(lastChanges, 1);  // only the drag's release

  auto* h = Make({10, 100, 131, 120});
  h->SetJumpWhenClick(true);
  Click(At(h, 6 + 109, 10));
  EXPECT_EQ(h->Value(), 100);
  Click(At(h, 2, 10));
  EXPECT_EQ(h->Value(), 0);
  // Without MouseSupport the mouse does nothing.
  h->SetMouseSupport(false);
  Click(At(h, 60, 10));
  EXPECT_EQ(h->Value(), 0);
}

TEST_F(SkinTrackBarTest, KeysAndWheelStepWhenItTakesTheFocus) {
  auto* t = Make({10, 10, 131, 30});
  t->SetFocus();
  Pump();
  Key(VK_RIGHT);  // without CanFocused nothing
  EXPECT_EQ(t->Value(), 50);
  t->SetCanFocused(true);
  EXPECT_TRUE(t->TabStop());
  t->SetFocus();
  Pump();
  Key(VK_RIGHT);
  Key(VK_UP);
  EXPECT_EQ(t->Value(), 52);
  Key(VK_LEFT);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(t->Value(), 49);
  Key(VK_PRIOR);
  EXPECT_EQ(t->Value(), 59);
  Key(VK_NEXT);
  Key(VK_NEXT);
  EXPECT_EQ(t->Value(), 39);
  Key(VK_END);
  EXPECT_EQ(t->Value(), 100);
  Key(VK_RIGHT);  // at the end: no change, still a step
  Key(VK_HOME);
  EXPECT_EQ(t->Value(), 0);
  EXPECT_EQ(lastChanges, 11);
  // Horizontally the wheel towards the user increases, vertically it
  // decreases.
  Wheel(-120);
  EXPECT_EQ(t->Value(), 1);
  Wheel(120);
  EXPECT_EQ(t->Value(), 0);
  auto* v = Make({200, 10, 220, 70}, "trackbar");
  v->SetCanFocused(true);
  v->SetFocus();
  Pump();
  Wheel(-120);
  EXPECT_EQ(v->Value(), 49);
  Wheel(120);
  Wheel(120);
  EXPECT_EQ(v->Value(), 51);
}

TEST_F(SkinTrackBarTest, RangeChangesKeepTheValueInside) {
  auto* t = Make({10, 10, 131, 30});
  t->SetValue(500);
  EXPECT_EQ(t->Value(), 100);
  t->SetValue(100);  // no change, no event
  EXPECT_EQ(changes, (std::vector<int>{100}));
  t->SetMaxValue(60);  // pulled in without OnChange
  EXPECT_EQ(t->Value(), 60);
  EXPECT_EQ(changes.size(), 1u);
  // Upside down: the value stays between the two, the minimum at the start.
  t->SetMinValue(90);
  EXPECT_EQ(t->Value(), 60);
  t->SetValue(0);
  EXPECT_EQ(t->Value(), 60);
  t->SetValue(90);
  EXPECT_EQ(t->ThumbGeometry().Offset, 0);
  t->SetCanFocused(true);
  t->SetFocus();
  Pump();
  Key(VK_HOME);
  EXPECT_EQ(t->Value(), 90);
  Key(VK_RIGHT);
  EXPECT_EQ(t->Value(), 90);
  Key(VK_LEFT);
  EXPECT_EQ(t->Value(), 89);
  Press(ThumbCenter(t));
  Move(At(t, 500, 10));
  Release();
  EXPECT_EQ(t->Value(), 60);
  // No range at all.
  t->SetMinValue(60);
  EXPECT_EQ(t->ThumbGeometry().Offset, 0);
  Press(ThumbCenter(t));
  Move(At(t, 100, 10));
  Release();
  EXPECT_EQ(t->Value(), 60);
}

// Handlers that free what raised them: run under the sanitizers.
TEST_F(SkinTrackBarTest, HandlersThatFreeTheirOwnBar) {
  auto freeSender = [](TObject* s) { delete static_cast<TqzSkinTrackBar*>(s); };
  TComponentRef<TqzSkinTrackBar> onStart = Make({10, 10, 131, 30});
  onStart->OnStartDragButton = freeSender;
  Press(ThumbCenter(onStart.Get()));
  EXPECT_FALSE(onStart);
  Move(At(form, 300, 10));
  Release();

  TComponentRef<TqzSkinTrackBar> onChange = Make({10, 10, 131, 30});
  onChange->OnChange = freeSender;
  Press(ThumbCenter(onChange.Get()));
  Move(At(form, 300, 10));
  EXPECT_FALSE(onChange);
  Release();

  TComponentRef<TqzSkinTrackBar> onLast = Make({10, 10, 131, 30}, "htrackbar");
  onLast->SetCanFocused(true);
  onLast->OnLastChange = freeSender;
  onLast->SetFocus();
  Pump();
  Key(VK_RIGHT);
  EXPECT_FALSE(onLast);

  TComponentRef<TqzSkinTrackBar> byWheel = Make({10, 10, 131, 30});
  byWheel->SetCanFocused(true);
  byWheel->OnChange = freeSender;
  byWheel->SetFocus();
  Pump();
  Wheel(120);
  EXPECT_FALSE(byWheel);

  TComponentRef<TqzSkinTrackBar> byJump = Make({10, 10, 131, 30});
  byJump->SetJumpWhenClick(true);
  byJump->OnChange = freeSender;
  Click(At(byJump.Get(), 3, 10));
  EXPECT_FALSE(byJump);
}

TEST_F(SkinTrackBarTest, DefaultsAndStreaming) {
  auto* fresh = new TqzSkinTrackBar(form);
  EXPECT_EQ(fresh->SkinDataName(), "htrackbar");
  EXPECT_EQ(fresh->Width(), 100);
  EXPECT_EQ(fresh->Height(), 20);
  EXPECT_EQ(fresh->Value(), 50);
  EXPECT_FALSE(fresh->CanFocused());
  EXPECT_FALSE(fresh->TabStop());
  EXPECT_TRUE(fresh->MouseSupport());

  form->SetName("Form1");
  auto* t = Make({10, 10, 131, 30});
  t->SetName("qzSkinTrackBar1");
  t->SetMinValue(200);
  t->SetMaxValue(300);
  t->SetValue(250);
  t->SetJumpWhenClick(true);
  changes.clear();
  const std::string text = WriteComponentRes(form);
  EXPECT_NE(text.find("MinValue = 200"), std::string::npos) << text;
  EXPECT_EQ(text.find("Vertical"), std::string::npos) << text;

  form->SetName("Original");
  auto* copy = new TForm(Application);
  ReadComponentRes(copy, text);
  auto* read = dynamic_cast<TqzSkinTrackBar*>(copy->FindComponent("qzSkinTrackBar1"));
  ASSERT_NE(read, nullptr);
  // The range read before the value holds it, whatever the order of the two ends.
  EXPECT_EQ(read->MinValue(), 200);
  EXPECT_EQ(read->MaxValue(), 300);
  EXPECT_EQ(read->Value(), 250);
  EXPECT_TRUE(read->JumpWhenClick());
}

// ---------------------------------------------------------------- looks

TEST_F(SkinTrackBarTest, HorizontalLookAtSkinSizeAndStretched) {
  auto* t = Make({10, 10, 110, 30}, "htrackbar");
  // Thumb 10 x 16: centre from 5 to 95, offset 45, filled up to column 50.
  EXPECT_EQ(FirstDifference(Shot(t), HorizontalLook(100, 50, kHThumb, 45)), "");
  t->SetBounds(10, 10, 160, 40);
  EXPECT_EQ(t->Height(), 20);
  EXPECT_EQ(FirstDifference(Shot(t), HorizontalLook(160, 80, kHThumb, 75)), "");
  t->SetValue(33);  // offset 49.5 -> 50
  EXPECT_EQ(FirstDifference(Shot(t), HorizontalLook(160, 55, kHThumb, 50)), "");
  // While dragged: the active thumb.
  Press(ThumbCenter(t));
  EXPECT_EQ(FirstDifference(Shot(t), HorizontalLook(160, 55, kHThumbHot, 50)), "");
  Release();
  // A fixed description keeps the bar at its size.
  auto* fixed = Make({10, 50, 200, 90}, "fixed");
  EXPECT_EQ(fixed->Width(), 100);
  EXPECT_EQ(fixed->Height(), 20);
}

TEST_F(SkinTrackBarTest, VerticalLookAtSkinSizeAndStretched) {
  auto* v = Make({10, 10, 30, 70}, "trackbar");
  auto look = [&](int h, int thumbTop) {
    TBitmap bar, filled;
    CreateVSkinImage(10, 10, bar, false, h, kVBar, Picture());
    CreateVSkinImage(10, 10, filled, false, h, kVFilled, Picture());
    TPixmap expected = bar.Pixels();
    for (int y = thumbTop + 5; y < h; ++y)
      for (int x = 0; x < 20; ++x) expected.At(x, y) = filled.Pixels().At(x, y);
    const TPixmap thumb = Piece(kVThumb);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 16; ++x) expected.At(2 + x, thumbTop + y) = thumb.At(x, y);
    return expected;
  };
  v->SetValue(25);  // offset 12.5 -> 12 of 50: top 55 - 12 - 5
  EXPECT_EQ(FirstDifference(Shot(v), look(60, 38)), "");
  v->SetBounds(10, 10, 50, 100);
  EXPECT_EQ(v->Width(), 20);
  // 25 of 90: 22.5 -> 22; top 95 - 22 - 5.
  EXPECT_EQ(FirstDifference(Shot(v), look(100, 68)), "");
}

TEST_F(SkinTrackBarTest, TranslucentAndKeyedThumbs) {
  auto* t = Make({10, 10, 110, 30}, "htrackbar");
  t->SetAlphaBlend(true);
  t->SetAlphaBlendValue(100);
  TPixmap expected = HorizontalLook(100, 50, kHThumb, 45);
  // Only the thumb is blended: value/255 of it over what lies under it.
  TPixmap under(10, 16), thumb = Piece(kHThumb);
  TBitmap bar, filled;
  CreateHSkinImage(10, 10, filled, false, 100, kHFilled, Picture());
  CreateHSkinImage(10, 10, bar, false, 100, kHBar, Picture());
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 10; ++x)
      under.At(x, y) = (45 + x < 50 ? filled : bar).Pixels().At(45 + x, 2 + y);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 10; ++x) {
      uint32_t out = 0;
      for (int shift : {0, 8, 16}) {
        const double a = (thumb.At(x, y) >> shift) & 0xFF, b = (under.At(x, y) >> shift) & 0xFF;
        out |= uint32_t(std::nearbyint(100.0 / 255 * a + (1 - 100.0 / 255) * b)) << shift;
      }
      expected.At(45 + x, 2 + y) = out;
    }
  EXPECT_EQ(FirstDifference(Shot(t), expected), "");

  auto* keyed = Make({10, 50, 110, 70}, "keyed");
  TPixmap keyedLook = HorizontalLook(100, 50, kHThumb, 45);
  const uint32_t key = Colour(PatternColor(103, 5));
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 10; ++x)
      if ((thumb.At(x, y) & 0xFFFFFFu) == key)
        keyedLook.At(45 + x, 2 + y) = (45 + x < 50 ? filled : bar).Pixels().At(45 + x, 2 + y);
  EXPECT_EQ(FirstDifference(Shot(keyed), keyedLook), "");
}

TEST_F(SkinTrackBarTest, PlainLook) {
  auto* t = Make({10, 10, 131, 30});
  // Track (2, 2, 119, 18); thumb 8 x 16 at offset 54: (56, 2, 64, 18).
  TPixmap shot = Shot(t);
  EXPECT_EQ(shot.At(0, 0), Colour(clBtnFace));
  EXPECT_EQ(shot.At(4, 9), Colour(clBtnShadow));    // the groove's frame
  EXPECT_EQ(shot.At(116, 10), Colour(clBtnShadow));
  EXPECT_EQ(shot.At(4, 8), Colour(clBtnFace));
  EXPECT_EQ(shot.At(56, 2), Colour(clBtnShadow));   // the thumb's frame
  EXPECT_EQ(shot.At(63, 17), Colour(clBtnShadow));
  EXPECT_EQ(shot.At(60, 10), Colour(clBtnFace));
  EXPECT_EQ(shot.At(55, 2), Colour(clBtnFace));
  Press(ThumbCenter(t));
  shot = Shot(t);
  EXPECT_EQ(shot.At(56, 2), 0x3B6BB7u);
  EXPECT_EQ(shot.At(60, 5), 0xA2BCE4u);
  Release();
  t->SetCanFocused(true);
  t->SetFocus();
  Pump();
  shot = Shot(t);
  EXPECT_EQ(shot.At(56, 2), 0x3B6BB7u);
  EXPECT_EQ(shot.At(60, 5), 0xC1D4F3u);
  // Vertical: the groove runs down the middle.
  auto* v = Make({200, 10, 220, 131});
  v->SetVertical(true);
  shot = Shot(v);
  EXPECT_EQ(shot.At(9, 4), Colour(clBtnShadow));
  EXPECT_EQ(v->ThumbGeometry().Thumb, (TRect{2, 57, 18, 65}));
}

}  // namespace
}  // namespace qz
