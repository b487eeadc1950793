// The skinned check box and radio button: the state cycle and the radio
// group by mouse and keyboard, handlers that free the box, streaming, and
// the pixels of the flat look, the plate and the plain look against
// references made straight from the description.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/components/FormResource.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "tests/skincontrols/SkinControlTestKit.h"

namespace qz {
namespace {

using testing::LoadTestSkin;
using testing::Pattern;
using testing::TTestSkinParts;

// Picture 0 is an 80 x 60 pattern.
//   checkbox  a horizontal plate 60 x 20 (ends of 10) with a hot plate below
//             it, check area (0,0,20,20), text area (22,0,58,20), every
//             check image (12 x 12) and font colours
//   bare      only the checked and unchecked images: the fall-backs
//   radiobox  like bare
//   morph     checkbox with the fade
constexpr TRect kCheck{60, 0, 72, 12}, kUncheck{60, 12, 72, 24}, kActiveCheck{60, 24, 72, 36},
    kActiveUncheck{60, 36, 72, 48}, kDisabledCheck{68, 48, 80, 60}, kGrayed{0, 40, 12, 52},
    kActiveGrayed{12, 40, 24, 52};
constexpr TRect kPlate{0, 0, 60, 20}, kHotPlate{0, 20, 60, 40};
constexpr TColor kFrameFont = RGB(250, 0, 0), kDisabledFont = RGB(0, 0, 250),
                 kPlateFont = RGB(0, 250, 0), kHotFont = RGB(250, 250, 0);

std::string RectKey(const char* key, const TRect& r) {
  return std::string(key) + "=" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
         std::to_string(r.Right) + "," + std::to_string(r.Bottom) + "\r\n";
}

TTestSkinParts CheckSkinParts() {
  TTestSkinParts parts;
  parts.Picture = Pattern(8, 8, 9);
  parts.Active.push_back(Pattern(80, 60, 3));
  const std::string plate = "pictureindex=0\r\n" + RectKey("skinrect", kPlate) +
                            "lefttoppoint=10,0\r\nrighttoppoint=50,0\r\nclientrect=10,0,50,20\r\n";
  const std::string bare = "pictureindex=0\r\n" + RectKey("checkimagerect", kCheck) +
                           RectKey("uncheckimagerect", kUncheck);
  const std::string full =
      plate + RectKey("activeskinrect", kHotPlate) + "checkimagearea=0,0,20,20\r\n" +
      "textarea=22,0,58,20\r\n" + RectKey("checkimagerect", kCheck) +
      RectKey("uncheckimagerect", kUncheck) + RectKey("activecheckimagerect", kActiveCheck) +
      RectKey("activeuncheckimagerect", kActiveUncheck) +
      RectKey("unenabledcheckimagerect", kDisabledCheck) +
      RectKey("grayedcheckimagerect", kGrayed) + RectKey("activegrayedcheckimagerect", kActiveGrayed) +
      "fontcolor=" + std::to_string(kPlateFont) + "\r\nactivefontcolor=" + std::to_string(kHotFont) +
      "\r\nframefontcolor=" + std::to_string(kFrameFont) +
      "\r\nunenabledfontcolor=" + std::to_string(kDisabledFont) + "\r\n";
  parts.Text = "[SKINCONTROLS]\r\ncount=4\r\n0=checkbox:checkradio\r\n1=bare:checkradio\r\n"
               "2=radiobox:checkradio\r\n3=morph:checkradio\r\n"
               "[checkbox]\r\n" + full + "[bare]\r\n" + bare + "[radiobox]\r\n" + bare +
               "[morph]\r\n" + full + "morphing=1\r\n";
  return parts;
}

// The control base tests' form and screen shots, with the skin above.
class SkinCheckRadio : public testing::SkinControlTest {
 protected:
  void SetUp() override {
    SkinControlTest::SetUp();
    skin = LoadTestSkin(CheckSkinParts());
  }

  TqzSkinCheckRadioBox* Make(const std::string& name, TRect b, const std::string& caption = "",
                             TWinControl* parent = nullptr) {
    auto* c = SkinControlTest::Make<TqzSkinCheckRadioBox>(name, b.Left, b.Top, b.Width(), b.Height(),
                                                           parent);
    c->SetCaption(caption);
    return c;
  }
  TqzSkinCheckRadioBox* MakeRadio(int top, int group, const std::string& name = "radiobox") {
    auto* r = Make(name, {10, top, 160, top + 20});
    r->SetRadio(true);
    r->SetGroupIndex(group);
    return r;
  }

  TPoint Center(TControl* c) { return c->ClientToScreen({c->Width() / 2, c->Height() / 2}); }
  void ClickOn(TControl* c) { Click(Center(c)); }
  void Ticks(int count) {
    for (int i = 0; i < count; ++i) {
      hp->AdvanceClock(20);
      Pump();
    }
  }

  static bool Contains(const TPixmap& p, const TRect& area, uint32_t rgb) {
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x)
        if ((p.At(x, y) & 0xFFFFFFu) == rgb) return true;
    return false;
  }
  // Whether a pixel of `area` is within a small distance of `rgb` in each
  // channel: smoothed text reaches its colour only nearly.
  static bool HasTextIn(const TPixmap& p, const TRect& area, uint32_t rgb) {
    auto near = [](uint32_t a, uint32_t b, int shift) {
      return std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) <= 0x28;
    };
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x)
        if (near(p.At(x, y), rgb, 0) && near(p.At(x, y), rgb, 8) && near(p.At(x, y), rgb, 16))
          return true;
    return false;
  }

  // The picture's piece at r as its own pixels.
  TPixmap Piece(const TRect& r) {
    TPixmap out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) out.At(x, y) = SkinPicture().Pixels().At(r.Left + x, r.Top + y);
    return out;
  }
  // `image` laid over `into` at (left, top) without the pixels of its
  // bottom-left pixel's colour.
  static void LayTransparent(TPixmap& into, const TPixmap& image, int left, int top) {
    const uint32_t key = image.At(0, image.Height() - 1) & 0xFFFFFFu;
    for (int y = 0; y < image.Height(); ++y)
      for (int x = 0; x < image.Width(); ++x)
        if ((image.At(x, y) & 0xFFFFFFu) != key) into.At(left + x, top + y) = image.At(x, y);
  }
  // The flat look without caption: the form's colour with the image at
  // (3, centred).
  static TPixmap FlatLook(const TPixmap& image, int w, int h) {
    TPixmap expected(w, h, Colour(kFormColor));
    LayTransparent(expected, image, 3, (h - image.Height()) / 2);
    return expected;
  }
  // The plate at w x 20 composed from `plateRect` with the image centred in
  // the check area (0,0,20,20).
  TPixmap PlateLook(const TRect& plateRect, const TPixmap& image, int w) {
    TBitmap plate;
    CreateHSkinImage(10, 10, plate, false, w, plateRect, SkinPicture());
    TPixmap expected = plate.Pixels();
    LayTransparent(expected, image, (20 - image.Width()) / 2, (20 - image.Height()) / 2);
    return expected;
  }
  // The pixel colour (0xRRGGBB) of a colour value.
  static uint32_t Colour(TColor c) { return UiTest::Rgb(c) & 0xFFFFFFu; }

  std::vector<std::string> events;
};

// ---------------------------------------------------------------- behaviour

TEST_F(SkinCheckRadio, AllowGrayedClicksCycleThroughGrayedCheckedUnchecked) {
  auto* box = Make("checkbox", {10, 10, 160, 35}, "Box");
  box->SetAllowGrayed(true);
  box->OnClick = [&](TObject*) { events.push_back("click"); };
  box->OnChange = [&](TObject*) { events.push_back("change"); };
  std::vector<TqzCheckBoxState> states;
  for (int i = 0; i < 3; ++i) {
    ClickOn(box);
    states.push_back(box->State());
  }
  EXPECT_EQ(states, (std::vector<TqzCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(events.size(), 6u);
  // Without AllowGrayed a click toggles; a grayed state set in code goes to
  // checked.
  box->SetAllowGrayed(false);
  ClickOn(box);
  EXPECT_EQ(box->State(), cbChecked);
  box->SetState(cbGrayed);
  EXPECT_FALSE(box->Checked());
  box->SetChecked(false);  // a grayed box stays grayed
  EXPECT_EQ(box->State(), cbGrayed);
  ClickOn(box);
  EXPECT_EQ(box->State(), cbChecked);
}

TEST_F(SkinCheckRadio, ReleaseOutsideTheBoxDoesNotToggle) {
  auto* box = Make("checkbox", {10, 10, 160, 35});
  hp->InjectMouseMove(Center(box));
  hp->InjectMouseDown();
  Pump();
  EXPECT_TRUE(box->MouseIn());
  Move(box->ClientToScreen({200, 12}));
  EXPECT_FALSE(box->MouseIn());
  hp->InjectMouseUp();
  Pump();
  EXPECT_FALSE(box->Checked());
  // Out and back in before the release: it toggles.
  hp->InjectMouseMove(Center(box));
  hp->InjectMouseDown();
  Pump();
  Move(box->ClientToScreen({200, 12}));
  Move(Center(box));
  EXPECT_TRUE(box->MouseIn());
  hp->InjectMouseUp();
  Pump();
  EXPECT_TRUE(box->Checked());
}

TEST_F(SkinCheckRadio, RadioGroupIsExclusiveAndClicksOnlyTheNewlyChecked) {
  auto* r1 = MakeRadio(10, 1);
  auto* r2 = MakeRadio(40, 1);
  auto* other = MakeRadio(70, 2);
  auto* check = Make("checkbox", {10, 100, 160, 120});  // group 0: never unchecked
  for (auto* r : {r1, r2, other})
    r->OnClick = [&, r](TObject*) { events.push_back(r == r1 ? "r1" : r == r2 ? "r2" : "other"); };
  check->SetChecked(true);
  ClickOn(other);
  ClickOn(r1);
  ClickOn(r2);
  EXPECT_FALSE(r1->Checked());
  EXPECT_TRUE(r2->Checked());
  EXPECT_TRUE(other->Checked());
  EXPECT_TRUE(check->Checked());
  ClickOn(r2);  // already checked: nothing happens
  EXPECT_TRUE(r2->Checked());
  r1->SetChecked(true);  // in code as well
  EXPECT_FALSE(r2->Checked());
  EXPECT_EQ(events, (std::vector<std::string>{"other", "r1", "r2", "r1"}));
  // A state set to checked keeps the group exclusive too.
  r2->SetState(cbChecked);
  EXPECT_FALSE(r1->Checked());
  // Group members under another parent are not touched.
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(170, 130, 125, 60);
  auto* elsewhere = Make("radiobox", {5, 5, 120, 25}, "", panel);
  elsewhere->SetRadio(true);
  elsewhere->SetGroupIndex(1);
  elsewhere->SetChecked(true);
  EXPECT_TRUE(r2->Checked());
}

TEST_F(SkinCheckRadio, SpaceTogglesAndArrowsMoveThroughTheRadioGroup) {
  auto* box = Make("checkbox", {10, 10, 160, 30}, "Box");
  box->SetCanFocused(true);
  EXPECT_TRUE(box->TabStop());
  box->SetFocus();
  Pump();
  Key(VK_SPACE);
  EXPECT_TRUE(box->Checked());
  Key(VK_SPACE);
  EXPECT_FALSE(box->Checked());
  // Without CanFocused the key does nothing.
  box->SetCanFocused(false);
  Key(VK_SPACE);
  EXPECT_FALSE(box->Checked());

  auto* r1 = MakeRadio(40, 1);
  auto* r2 = MakeRadio(70, 1);
  auto* r3 = MakeRadio(100, 1);
  r1->SetChecked(true);
  r1->SetFocus();
  Pump();
  Key(VK_DOWN);
  EXPECT_TRUE(r2->Focused());
  EXPECT_TRUE(r2->Checked());
  EXPECT_FALSE(r1->Checked());
  Key(VK_RIGHT);
  EXPECT_TRUE(r3->Checked());
  Key(VK_DOWN);  // round the end
  EXPECT_TRUE(r1->Checked());
  EXPECT_TRUE(r1->Focused());
  Key(VK_UP);
  EXPECT_TRUE(r3->Checked());
  EXPECT_FALSE(r2->Checked());
  // A disabled member is passed over.
  r1->SetEnabled(false);
  Key(VK_DOWN);
  EXPECT_TRUE(r2->Checked());
}

TEST_F(SkinCheckRadio, AcceleratorFocusesAndToggles) {
  auto* other = Make("checkbox", {10, 40, 160, 60}, "Other");
  auto* box = Make("checkbox", {10, 10, 160, 30}, "&Copy frames");
  other->SetFocus();
  Pump();
  Key('C', kModAlt);
  EXPECT_TRUE(box->Focused());
  EXPECT_TRUE(box->Checked());
  EXPECT_FALSE(other->Checked());
}

// Handlers that free what raised them: run under the sanitizers.
TEST_F(SkinCheckRadio, HandlersThatFreeTheirOwnBox) {
  TComponentRef<TqzSkinCheckRadioBox> byMouse = Make("morph", {10, 10, 160, 30});
  byMouse->SetFlat(false);
  byMouse->OnClick = [](TObject* sender) { delete static_cast<TqzSkinCheckRadioBox*>(sender); };
  ClickOn(byMouse.Get());
  EXPECT_FALSE(byMouse);
  Ticks(8);

  TComponentRef<TqzSkinCheckRadioBox> byKey = Make("checkbox", {10, 10, 160, 30});
  byKey->OnChange = [](TObject* sender) { delete static_cast<TqzSkinCheckRadioBox*>(sender); };
  byKey->SetFocus();
  Pump();
  Key(VK_SPACE);
  EXPECT_FALSE(byKey);

  // A radio button unchecked by its sibling frees the sibling's whole form.
  auto* owner = new TForm(Application);
  owner->SetBorderStyle(bsNone);
  owner->SetBounds(50, 50, 200, 100);
  owner->Show();
  auto* a = new TqzSkinCheckRadioBox(owner);
  a->SetParent(owner);
  a->SetBounds(5, 5, 150, 20);
  a->SetRadio(true);
  a->SetGroupIndex(1);
  a->SetChecked(true);
  auto* b = new TqzSkinCheckRadioBox(owner);
  b->SetParent(owner);
  b->SetBounds(5, 40, 150, 20);
  b->SetRadio(true);
  b->SetGroupIndex(1);
  a->OnChange = [&](TObject*) { delete owner; };
  TComponentRef<TForm> alive = owner;
  Pump();
  ClickOn(b);
  EXPECT_FALSE(alive);

  // Moving by arrow into a radio button whose click frees it.
  auto* r1 = MakeRadio(40, 3);
  TComponentRef<TqzSkinCheckRadioBox> r2 = MakeRadio(70, 3);
  r2->OnClick = [](TObject* sender) { delete static_cast<TqzSkinCheckRadioBox*>(sender); };
  r1->SetFocus();
  Pump();
  Key(VK_DOWN);
  EXPECT_FALSE(r2);
}

TEST_F(SkinCheckRadio, DefaultsAndStreaming) {
  auto* fresh = new TqzSkinCheckRadioBox(form);
  EXPECT_EQ(fresh->Width(), 150);
  EXPECT_EQ(fresh->Height(), 25);
  EXPECT_EQ(fresh->SkinDataName(), "checkbox");
  EXPECT_TRUE(fresh->CanFocused());
  EXPECT_FALSE(fresh->TabStop());
  EXPECT_TRUE(fresh->Flat());
  EXPECT_TRUE(fresh->UseSkinFontColor());
  EXPECT_EQ(fresh->State(), cbUnchecked);

  form->SetName("Form1");
  auto* r = MakeRadio(10, 4);
  r->SetName("qzSkinCheckRadioBox1");
  r->SetCaption("Radio");
  r->SetChecked(true);
  r->SetFlat(false);
  r->SetWordWrap(true);
  r->SetCanFocused(false);
  r->OnClick = [&](TObject*) { events.push_back("click"); };
  const std::string text = WriteComponentRes(form);
  EXPECT_NE(text.find("State = cbChecked"), std::string::npos) << text;
  EXPECT_NE(text.find("Radio = True"), std::string::npos) << text;
  EXPECT_EQ(text.find("AllowGrayed"), std::string::npos) << text;
  // Stream order: the state before the radio flag and the group.
  EXPECT_LT(text.find("State ="), text.find("GroupIndex"));

  form->SetName("Original");
  auto* copy = new TForm(Application);
  ReadComponentRes(copy, text);
  auto* read = dynamic_cast<TqzSkinCheckRadioBox*>(copy->FindComponent("qzSkinCheckRadioBox1"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Caption(), "Radio");
  EXPECT_TRUE(read->Checked());
  EXPECT_TRUE(read->Radio());
  EXPECT_EQ(read->GroupIndex(), 4);
  EXPECT_FALSE(read->Flat());
  EXPECT_TRUE(read->WordWrap());
  EXPECT_FALSE(read->CanFocused());
  EXPECT_TRUE(events.empty());  // reading a stored state clicks nothing
}

// ---------------------------------------------------------------- looks

TEST_F(SkinCheckRadio, FlatLookShowsTheStateImageOverTheParent) {
  auto* box = Make("checkbox", {10, 10, 160, 35});
  EXPECT_EQ(FirstDifference(Shot(box), FlatLook(Piece(kUncheck), 150, 25)), "");
  box->SetChecked(true);
  EXPECT_EQ(FirstDifference(Shot(box), FlatLook(Piece(kCheck), 150, 25)), "");
  box->SetState(cbGrayed);
  EXPECT_EQ(FirstDifference(Shot(box), FlatLook(Piece(kGrayed), 150, 25)), "");
  // Under the mouse: the active images.
  Move(box->ClientToScreen({100, 12}));
  EXPECT_EQ(FirstDifference(Shot(box), FlatLook(Piece(kActiveGrayed), 150, 25)), "");
  box->SetChecked(true);
  EXPECT_EQ(FirstDifference(Shot(box), FlatLook(Piece(kActiveCheck), 150, 25)), "");
  Move({5, 5});
  box->SetEnabled(false);
  EXPECT_EQ(FirstDifference(Shot(box), FlatLook(Piece(kDisabledCheck), 150, 25)), "");
  // The flat box keeps any size.
  box->SetBounds(10, 10, 37, 41);
  EXPECT_EQ(box->Width(), 37);
  EXPECT_EQ(FirstDifference(Shot(box), FlatLook(Piece(kDisabledCheck), 37, 41)), "");
}

TEST_F(SkinCheckRadio, MissingImagesFallBack) {
  auto* box = Make("bare", {10, 10, 160, 35});
  box->SetChecked(true);
  Move(Center(box));
  EXPECT_EQ(FirstDifference(Shot(box), FlatLook(Piece(kCheck), 150, 25)), "");
  Move({5, 5});
  // Grayed without an image: the checked image brightened by half.
  box->SetState(cbGrayed);
  TqzEffectBmp bright(Piece(kCheck));
  bright.ChangeBrightness(0.5);
  EXPECT_EQ(FirstDifference(Shot(box), FlatLook(bright.ToPixmap(), 150, 25)), "");
  // Disabled without disabled images: the normal image.
  box->SetState(cbUnchecked);
  box->SetEnabled(false);
  EXPECT_EQ(FirstDifference(Shot(box), FlatLook(Piece(kUncheck), 150, 25)), "");
}

TEST_F(SkinCheckRadio, FlatCaptionColours) {
  auto* box = Make("checkbox", {10, 10, 160, 35}, "WWWW");
  const TRect text{19, 0, 150, 25};  // after the 12-pixel image + 7
  EXPECT_TRUE(HasTextIn(Shot(box), text, Colour(kFrameFont)));
  EXPECT_FALSE(HasTextIn(Shot(box), {0, 0, 19, 25}, Colour(kFrameFont)));
  box->SetEnabled(false);
  EXPECT_TRUE(HasTextIn(Shot(box), text, Colour(kDisabledFont)));
  box->SetEnabled(true);
  box->SetUseSkinFontColor(false);
  box->DefaultFont().SetColor(RGB(1, 2, 3));
  box->Invalidate();
  EXPECT_TRUE(HasTextIn(Shot(box), text, 0x010203u));
}

TEST_F(SkinCheckRadio, WrappedCaptionStartsAtTheCaptionsLeftOnEveryLine) {
  auto* box = Make("checkbox", {10, 10, 110, 70}, "WWWW WWWW");
  box->SetWordWrap(true);
  const TPixmap shot = Shot(box);
  // Two lines round the middle, both starting right after the image.
  EXPECT_TRUE(HasTextIn(shot, {19, 10, 23, 30}, Colour(kFrameFont)));
  EXPECT_TRUE(HasTextIn(shot, {19, 31, 23, 50}, Colour(kFrameFont)));
  EXPECT_FALSE(HasTextIn(shot, {19, 0, 100, 8}, Colour(kFrameFont)));
  EXPECT_FALSE(HasTextIn(shot, {19, 52, 100, 60}, Colour(kFrameFont)));
}

TEST_F(SkinCheckRadio, PlateAtSkinSizeAndStretched) {
  auto* box = Make("checkbox", {10, 10, 70, 30});
  box->SetFlat(false);
  EXPECT_EQ(box->Height(), 20);  // the horizontal plate keeps its height
  EXPECT_EQ(FirstDifference(Shot(box), PlateLook(kPlate, Piece(kUncheck), 60)), "");
  box->SetBounds(10, 10, 130, 40);
  EXPECT_EQ(box->Width(), 130);
  EXPECT_EQ(box->Height(), 20);
  box->SetChecked(true);
  EXPECT_EQ(FirstDifference(Shot(box), PlateLook(kPlate, Piece(kCheck), 130)), "");
  Move(Center(box));
  EXPECT_EQ(FirstDifference(Shot(box), PlateLook(kHotPlate, Piece(kActiveCheck), 130)), "");
  // The caption sits in the widened text area in the hot colour.
  const TPixmap before = Shot(box);
  box->SetCaption("WWWW");
  const TPixmap shot = Shot(box);
  EXPECT_TRUE(HasTextIn(shot, {22, 0, 128, 20}, Colour(kHotFont)));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 22; ++x) ASSERT_EQ(shot.At(x, y), before.At(x, y)) << x << "," << y;
}

TEST_F(SkinCheckRadio, PlateFadesAndTheFlatBoxDoesNot) {
  auto* box = Make("morph", {10, 10, 70, 30});
  Move(Center(box));
  EXPECT_FALSE(box->FadeRunning());
  box->SetFlat(false);
  Move({5, 5});
  Move(Center(box));
  EXPECT_TRUE(box->FadeRunning());
  Ticks(5);
  EXPECT_FALSE(box->FadeRunning());
  EXPECT_EQ(box->MorphKf(), 1.0);
  EXPECT_EQ(FirstDifference(Shot(box), PlateLook(kHotPlate, Piece(kActiveUncheck), 60)), "");
  Move({5, 5});
  Ticks(2);
  EXPECT_TRUE(box->FadeRunning());
  EXPECT_DOUBLE_EQ(box->MorphKf(), 0.6);
  Ticks(3);
  EXPECT_EQ(FirstDifference(Shot(box), PlateLook(kPlate, Piece(kUncheck), 60)), "");
}

TEST_F(SkinCheckRadio, PlainLookWithoutDescription) {
  auto* box = Make("nothing", {10, 10, 160, 35});
  auto* radio = Make("nothing", {10, 50, 160, 75});
  radio->SetRadio(true);
  const int top = 25 / 2 - 7;
  TPixmap shot = Shot(box);
  EXPECT_EQ(shot.At(3, top), Colour(clBtnShadow));
  EXPECT_EQ(shot.At(16, top + 13), Colour(clBtnShadow));
  EXPECT_EQ(shot.At(10, top + 7), Colour(clWindow));
  EXPECT_EQ(shot.At(1, 1), Colour(kFormColor));  // flat: the parent shows round it
  box->SetChecked(true);
  radio->SetChecked(true);
  EXPECT_TRUE(Contains(Shot(box), {4, top + 1, 16, top + 13}, 0));
  EXPECT_TRUE(Contains(Shot(radio), {4, top + 1, 16, top + 13}, 0));
  EXPECT_NE(FirstDifference(Shot(box), Shot(radio)), "");  // a tick, a dot
  Move(Center(box));
  EXPECT_EQ(Shot(box).At(3, top), 0x3B6BB7u);
  box->SetState(cbGrayed);
  EXPECT_TRUE(Contains(Shot(box), {4, top + 1, 16, top + 13}, Colour(clGrayText)));
  // Not flat: the face colour round the box.
  box->SetFlat(false);
  EXPECT_EQ(Shot(box).At(1, 1), Colour(clBtnFace));
}

TEST_F(SkinCheckRadio, FocusRectangleAroundTheCaptionOrTheImage) {
  auto* box = Make("checkbox", {10, 10, 160, 35});
  const TPixmap unfocused = Shot(box);
  box->SetFocus();
  Pump();
  const TPixmap noCaption = Shot(box);
  // Around the image (3, 6)-(15, 18): its corner changes, the text area not.
  EXPECT_NE(FirstDifference(unfocused, noCaption), "");
  EXPECT_FALSE(HasTextIn(noCaption, {40, 0, 150, 25}, Colour(kFrameFont)));
  box->SetCaption("W");
  const TPixmap withCaption = Shot(box);
  // The dotted line left of the caption at x = 19 - 2.
  bool dotted = false;
  for (int y = 0; y < 25; ++y) dotted |= (withCaption.At(17, y) & 0xFFFFFFu) == Colour(kFrameFont);
  EXPECT_TRUE(dotted);
}

}  // namespace
}  // namespace qz
