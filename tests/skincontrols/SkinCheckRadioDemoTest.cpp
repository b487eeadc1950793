// The check box, the radio pair and the track bar of the demo's second
// window drawn from the dialog skin, and the main window's check box drawn
// from the main skin: the images shown are the descriptions' own pixels.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/data/SkinControlData.h"
#include "tests/host_ui/UiTestSupport.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

class SkinCheckRadioDemo : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = MakeForm({100, 100, 500, 300}, bsNone);
    form->SetColor(kFormColor);
    Pump();
  }

  template <class T>
  T* Put(TqzSkinData* skin, const std::string& name, TRect bounds, const std::string& caption = "") {
    auto* c = new T(form);
    c->SetParent(form);
    c->SetBoundsRect(bounds);
    c->SetCaption(caption);
    c->SetSkinDataName(name);
    c->SetSkinData(skin);
    return c;
  }

  TPixmap Shot(TControl* c) {
    Pump();
    const TPixmap screen = hp->ComposeScreen();
    const TPoint at = c->ClientToScreen({0, 0});
    TPixmap out(c->Width(), c->Height());
    for (int y = 0; y < c->Height(); ++y)
      for (int x = 0; x < c->Width(); ++x) out.At(x, y) = screen.At(at.X + x, at.Y + y) & 0xFFFFFFu;
    return out;
  }
  // Whether `shot` shows the picture's piece `r` at `at`, its pixels of the
  // bottom-left colour left out (those show the form's colour).
  ::testing::AssertionResult ShowsImage(const TPixmap& shot, const TBitmap& picture,
                                        const TRect& r, TPoint at, bool keyed) const {
    const uint32_t key = picture.Pixels().At(r.Left, r.Bottom - 1) & 0xFFFFFFu;
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) {
        uint32_t want = picture.Pixels().At(r.Left + x, r.Top + y) & 0xFFFFFFu;
        if (keyed && want == key) want = Rgb(form->Color()) & 0xFFFFFFu;
        const uint32_t got = shot.At(at.X + x, at.Y + y) & 0xFFFFFFu;
        if (got != want)
          return ::testing::AssertionFailure() << "at " << x << "," << y << ": " << std::hex << got
                                               << " instead of " << want;
      }
    return ::testing::AssertionSuccess();
  }
  void SaveScreen(const std::string& file) {
    std::filesystem::create_directories(QZ_TEST_OUTPUT_DIR);
    hp->SaveScreenPng(std::string(QZ_TEST_OUTPUT_DIR) + "/" + file);
  }

  static constexpr TColor kFormColor = RGB(246, 247, 249);
  TForm* form = nullptr;
};

TEST_F(SkinCheckRadioDemo, SecondWindowControlsFromTheDialogSkin) {
  TqzSkinData* skin = DialogSkin().Skin.get();
  auto* check = Put<TqzSkinCheckRadioBox>(skin, "checkbox", {10, 10, 160, 35}, "CheckBox");
  auto* radio1 = Put<TqzSkinCheckRadioBox>(skin, "radiobox", {10, 40, 160, 65}, "RadioButton1");
  auto* radio2 = Put<TqzSkinCheckRadioBox>(skin, "radiobox", {10, 70, 160, 95}, "RadioButton2");
  for (auto* r : {radio1, radio2}) {
    r->SetRadio(true);
    r->SetGroupIndex(1);
  }
  auto* track = Put<TqzSkinTrackBar>(skin, "htrackbar", {10, 110, 210, 132});
  Pump();
  radio1->SetChecked(true);
  Click(radio2->ClientToScreen({8, 12}));
  Move({5, 5});
  EXPECT_FALSE(radio1->Checked());
  EXPECT_TRUE(radio2->Checked());

  const auto& box = dynamic_cast<const TqzDataSkinCheckRadioControl&>(
      *skin->CtrlList()[size_t(skin->FindControlIndex("checkbox"))]);
  const auto& round = dynamic_cast<const TqzDataSkinCheckRadioControl&>(
      *skin->CtrlList()[size_t(skin->FindControlIndex("radiobox"))]);
  const TBitmap& picture = *skin->ActivePicture(box.PictureIndex);
  const int top = (25 - box.UnCheckImageRect.Height()) / 2;
  EXPECT_TRUE(ShowsImage(Shot(check), picture, box.UnCheckImageRect, {3, top}, true));
  EXPECT_TRUE(ShowsImage(Shot(radio1), picture, round.UnCheckImageRect, {3, top}, true));
  EXPECT_TRUE(ShowsImage(Shot(radio2), picture, round.CheckImageRect, {3, top}, true));

  // The track bar stretches to 200 and shows its thumb in the middle.
  const auto& bar = dynamic_cast<const TqzDataSkinTrackBarControl&>(
      *skin->CtrlList()[size_t(skin->FindControlIndex("htrackbar"))]);
  EXPECT_EQ(track->Width(), 200);
  EXPECT_EQ(track->Height(), bar.SkinRect.Height());
  const TRect thumb = track->ThumbGeometry().Thumb;
  EXPECT_EQ(thumb.Left + thumb.Width() / 2, 100);
  EXPECT_TRUE(ShowsImage(Shot(track), picture, bar.ButtonRect, thumb.TopLeft(), false));
  SaveScreen("checkradio-dialogskin.png");
}

TEST_F(SkinCheckRadioDemo, MainWindowCheckBoxFromTheMainSkin) {
  TqzSkinData* skin = MainSkin().Skin.get();
  form->SetColor(RGB(36, 40, 48));  // the dark group box it sits on
  auto* check = Put<TqzSkinCheckRadioBox>(skin, "checkbox", {10, 10, 330, 35},
                                          "Do not reencode, just copy compressed frames");
  Pump();
  const auto& d = dynamic_cast<const TqzDataSkinCheckRadioControl&>(
      *skin->CtrlList()[size_t(skin->FindControlIndex("checkbox"))]);
  const TBitmap& picture = *skin->ActivePicture(d.PictureIndex);
  const int top = (25 - d.UnCheckImageRect.Height()) / 2;
  EXPECT_TRUE(ShowsImage(Shot(check), picture, d.UnCheckImageRect, {3, top}, true));
  Click(check->ClientToScreen({8, 12}));
  EXPECT_TRUE(check->Checked());
  EXPECT_TRUE(ShowsImage(Shot(check), picture, d.ActiveCheckImageRect, {3, top}, true));
  SaveScreen("checkradio-mainskin.png");
}

}  // namespace
}  // namespace qz::testing
