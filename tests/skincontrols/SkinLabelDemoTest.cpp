// The information panel of the demo's "File" page, built from the main
// skin's descriptions: the file name capsule keeps the skin's height and is
// shaped by its mask; the std labels take the skin's fonts.
#include "tests/skincontrols/SkinPanelTestKit.h"
#include "tests/skins/DemoSkins.h"

namespace qz::testing {
namespace {

using SkinLabelDemoTest = SkinPanelTest;

template <class T>
T* Put(TWinControl* parent, TComponent* owner, const std::string& name, TRect bounds,
       const std::string& caption) {
  auto* c = new T(owner);
  c->SetParent(parent);
  c->SetSkinDataName(name);
  c->SetBoundsRect(bounds);
  c->SetCaption(caption);
  c->SetSkinData(MainSkin().Skin.get());
  return c;
}

TEST_F(SkinLabelDemoTest, InformationPanelOfTheFilePage) {
  form->SetBounds(100, 100, 420, 300);
  auto* panel = Put<TqzSkinPanel>(form, form, "bottompanel", {0, 0, 380, 235}, "");
  panel->SetAlign(alBottom);
  auto* info = Put<TqzSkinStdLabel>(panel, form, "stdlabel2", {7, 12, 40, 25}, "Info:");
  auto* name = Put<TqzSkinLabel>(panel, form, "label2", {43, 7, 348, 32}, "c:\\somefilm.avi");
  Put<TqzSkinStdLabel>(panel, form, "stdlabel1", {10, 45, 60, 60}, "Video");
  auto* bevel = Put<TqzSkinBevel>(panel, form, "bevel", {60, 52, 360, 54}, "");
  bevel->SetShape(bsTopLine);
  Put<TqzSkinStdLabel>(panel, form, "stdlabel", {10, 65, 100, 80}, "Compression:");
  auto* value = Put<TqzSkinLabel>(panel, form, "label", {110, 62, 250, 83}, "AVI(DivX4)");
  Pump();

  // The capsule is a horizontal three-part plate 26 pixels high whatever
  // height the form asked for, and the mask rounds its ends.
  EXPECT_EQ(name->Height(), 26);
  EXPECT_EQ(name->Width(), 305);
  ASSERT_TRUE(name->Region().has_value());
  EXPECT_FALSE(name->Region()->Contains({0, 0}));
  EXPECT_TRUE(name->Region()->Contains({150, 13}));
  EXPECT_EQ(value->Height(), 21);

  // The std label's font is the description's: bold, 13 pixels.
  TFont f;
  info->SelectTextFont(f);
  EXPECT_EQ(f.Height(), 13);
  EXPECT_TRUE(f.Style().Contains(TFontStyle::fsBold));
  EXPECT_EQ(bevel->SkinIndex(), MainSkin().Skin->FindControlIndex("bevel"));
  SaveScreen("skinlabel-infopanel.png");
}

}  // namespace
}  // namespace qz::testing
