// The combo box's tool-button style and its button without the skin's size,
// against compositions made from the dialog skin's descriptions; the
// list-side properties reaching the popup list; images and tab stops in
// the field.
#include <gtest/gtest.h>

#include "host/ui/ImgList.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinComboBox.h"
#include "skin/data/SkinControlData.h"
#include "skin/draw/QzComposition.h"
#include "tests/skincontrols/SkinControlTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

class ComboLooksTest : public SkinControlTest {
 protected:
  TqzSkinComboBox* MakeCombo(int width, int height) {
    auto* c = new TqzSkinComboBox(form);
    c->SetParent(form);
    c->SetBounds(20, 20, width, height);
    Pump();
    return c;
  }
  static const TqzDataSkinButtonControl& ButtonDescription(const char* name) {
    const TqzSkinData& skin = *DialogSkin().Skin;
    const int index = skin.FindControlIndex(name);
    EXPECT_GE(index, 0) << name;
    return dynamic_cast<const TqzDataSkinButtonControl&>(*skin.CtrlList()[index]);
  }
  // The look at `look` of a button description stretched nine-part to w x h.
  static TPixmap NinePart(const TqzDataSkinButtonControl& d, const TRect& look, int w, int h) {
    TqzSkinGeometry g = d.Geometry();
    g.SkinRect = look;
    TBitmap out;
    CreateSkinImage(g, CalcNewGeometry(g, TqzResizeMode::NinePart, w, h), true, w, h,
                    *DialogSkin().Skin->ActivePicture(d.PictureIndex), out);
    return RgbOf(out.Pixels());
  }
  static uint32_t Px(TColor c) { return UiTest::Rgb(c) & 0xFFFFFFu; }
  static TPixmap Crop(const TPixmap& p, const TRect& r) {
    TPixmap out(r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) out.At(x, y) = p.At(r.Left + x, r.Top + y);
    return out;
  }
};

TEST_F(ComboLooksTest, ToolButtonStyleDrawsTheToolButtonDescription) {
  TqzSkinComboBox* c = MakeCombo(90, 24);
  c->Items().Add("");  // no text over the looks
  c->SetToolButtonStyle(true);
  c->SetSkinData(DialogSkin().Skin.get());
  const TqzDataSkinButtonControl& d = ButtonDescription("resizetoolbutton");
  const int W = c->Width(), H = c->Height();
  const TPixmap normal = NinePart(d, d.SkinRect, W, H);
  const TPixmap down = NinePart(d, d.DownSkinRect, W, H);
  ASSERT_NE(normal, down) << "the looks must differ for the test to mean anything";
  // The look everywhere but in the right gap, where the drop-down arrow is.
  constexpr int kArrowGap = 17;
  auto lookAndArrow = [&](const TPixmap& shot, const TPixmap& look) {
    TPixmap left = shot;
    int arrow = 0;
    for (int y = 0; y < H; ++y)
      for (int x = W - kArrowGap; x < W; ++x) {
        arrow += shot.At(x, y) != look.At(x, y) ? 1 : 0;
        left.At(x, y) = look.At(x, y);
      }
    EXPECT_EQ(left, look) << FirstDifference(left, look);
    EXPECT_GT(arrow, 4) << "no drop-down arrow";
  };
  Move({5, 5});
  TPixmap shot = Shot(c);
  lookAndArrow(shot, normal);
  Click(c->ClientToScreen({W / 2, H / 2}));
  ASSERT_TRUE(c->DroppedDown()) << "a press anywhere opens the tool-button style";
  Move({5, 5});
  shot = Shot(c);
  lookAndArrow(shot, down);
  // Without a combo description the plain tool-button colours stay.
  c->SetSkinDataName("nosuchcombo");
  c->CloseUp(false);
  c->SetSkinData(DialogSkin().Skin.get());
  c->SetFocus();
  shot = Shot(c);
  EXPECT_EQ(shot.At(0, 0), Px(TColor(0xB76B3B)));
  EXPECT_EQ(shot.At(W / 2, H / 2), Px(TColor(0xF3D4C1)));
}

TEST_F(ComboLooksTest, WithoutTheSkinSizeTheButtonIsComposedAtItsOwnSize) {
  TqzSkinComboBox* c = MakeCombo(150, 20);
  c->SetUseSkinSize(false);
  c->SetSkinData(DialogSkin().Skin.get());
  c->SetBounds(20, 20, 150, 40);
  Pump();
  ASSERT_EQ(c->Height(), 40);
  const TqzSkinData& dialog = *DialogSkin().Skin;
  const char* name = dialog.FindControlIndex("combobutton") >= 0 ? "combobutton"
                     : dialog.FindControlIndex("editbutton") >= 0 ? "editbutton"
                                                                  : "resizebutton";
  const TqzDataSkinButtonControl& d = ButtonDescription(name);
  const TqzButtonLooks looks = ResolveButtonLooks(d);
  const TRect b = c->ButtonRect();
  const auto& combo =
      dynamic_cast<const TqzDataSkinComboBox&>(*dialog.CtrlList()[dialog.FindControlIndex("combobox")]);
  EXPECT_EQ(b.Height(), combo.ButtonRect.Height() + 40 - combo.SkinRect.Height()) << "the button grows with the height";
  Move({5, 5});
  TPixmap shot = Crop(Shot(c), b);
  TPixmap expected = NinePart(d, looks.Normal, b.Width(), b.Height());
  EXPECT_EQ(shot, expected) << FirstDifference(shot, expected);
  Move(c->ClientToScreen({b.Left + 2, b.Top + 2}));
  ASSERT_TRUE(c->ButtonHot());
  shot = Crop(Shot(c), b);
  expected = NinePart(d, looks.Active, b.Width(), b.Height());
  EXPECT_EQ(shot, expected) << FirstDifference(shot, expected);
}

TEST_F(ComboLooksTest, ListSidePropertiesReachThePopupList) {
  TqzSkinComboBox* c = MakeCombo(120, 20);
  for (const char* s : {"one", "two", "three"}) c->Items().Add(s);
  auto& images = *new TImageList(form);
  c->SetImages(&images);
  c->SetImageIndex(2);
  c->TabWidths().Add("40");
  c->SetHorizontalExtent(true);
  c->SetListBoxCaptionMode(true);
  c->SetListBoxCaption("Pick one");
  c->SetListBoxCaptionAlignment(taCenter);
  c->ListBoxDefaultFont().SetHeight(17);
  c->ListBoxDefaultCaptionFont().SetName("Arial");
  c->SetListBoxDefaultItemHeight(23);
  c->SetListBoxUseSkinFont(false);
  c->SetListBoxUseSkinItemHeight(false);
  TqzPopupListBox& list = c->PopupList();
  EXPECT_EQ(list.Images(), &images);
  EXPECT_EQ(list.ImageIndex(), 2);
  EXPECT_EQ(list.TabStops(), std::vector<int>{40});
  EXPECT_TRUE(list.HorizontalExtent());
  EXPECT_TRUE(list.CaptionMode());
  EXPECT_EQ(list.Text(), "Pick one");
  EXPECT_EQ(list.Alignment(), taCenter);
  EXPECT_EQ(list.DefaultFont().Height(), 17);
  EXPECT_EQ(list.DefaultCaptionFont().Name(), "Arial");
  EXPECT_EQ(list.ListBox().ItemHeight(), 23);
  EXPECT_FALSE(list.UseSkinFont());
  EXPECT_FALSE(list.UseSkinItemHeight());
  // The list opens tall enough for its caption and the rows of the new height.
  EXPECT_EQ(c->DropDownRect().Height(), 3 * 23 + 4 + 20);
  std::vector<int> drawn;
  c->SetOnListBoxDrawItem([&](TCanvas&, int index, TSize, TRect, TOwnerDrawState) { drawn.push_back(index); });
  c->DropDown();
  Pump();
  EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2}));
  c->SetImages(nullptr);
  EXPECT_EQ(list.Images(), nullptr);
}

// The columns of the field's item rectangle that show anything but the
// field's own colour.
std::vector<bool> InkedColumns(const TPixmap& shot, const TRect& r, uint32_t field) {
  std::vector<bool> inked(r.Width(), false);
  for (int x = 0; x < r.Width(); ++x)
    for (int y = r.Top; y < r.Bottom; ++y)
      if (shot.At(r.Left + x, y) != field) inked[x] = true;
  return inked;
}

TEST_F(ComboLooksTest, TheFieldDrawsTheItemImageAndTabStops) {
  TqzSkinComboBox* c = MakeCombo(160, 20);
  c->Items().Add("\tW");
  TBitmap red(8, 8);
  red.Canvas().Brush().SetColor(clRed);
  red.Canvas().FillRect({0, 0, 8, 8});
  auto& images = *new TImageList(form);
  images.SetWidth(8);
  images.SetHeight(8);
  images.Add(red);
  c->SetItemIndex(0);
  c->SetImages(&images);
  const TRect item = c->ItemRect();
  TPixmap shot = Shot(c);
  EXPECT_EQ(shot.At(item.Left + 3, item.Top + item.Height() / 2), Px(clRed)) << "image 0 for item 0";
  c->SetImageIndex(5);
  shot = Shot(c);
  EXPECT_EQ(shot.At(item.Left + 3, item.Top + item.Height() / 2), Px(clWindow)) << "an image outside the list";
  c->TabWidths().Add("60");
  c->Invalidate();
  shot = Shot(c);
  // The text starts 8 + 2 (image) + 2 (tabbed margin) right of the item's
  // left; after the tab "W" stands at the 60-pixel stop.
  const std::vector<bool> inked = InkedColumns(shot, item, Px(clWindow));
  const int stop = 8 + 2 + 2 + 60;
  for (int x = 0; x < stop; ++x) EXPECT_FALSE(inked[x]) << "column " << x;
  EXPECT_TRUE(std::find(inked.begin() + stop, inked.begin() + stop + 12, true) != inked.begin() + stop + 12);
}

}  // namespace
}  // namespace qz::testing
