// A rolled-up frame-mode window on the dialog skin: the objects marked for
// the roll-up take over the caption, their looks reach the screen, and the
// roll-down button brings the window back.
#include <gtest/gtest.h>

#include <stdexcept>

#include "skin/data/SkinData.h"
#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {
namespace {

using OrvaneExtrasRollUp = OrvaneTest;

THeadlessWindow& PlatformWindow(TForm* f) {
  return *static_cast<THeadlessWindow*>(f->WindowData()->platform.get());
}

TqzActiveSkinObject& ObjectNamed(TqzOrvane& o, const std::string& name) {
  for (auto& object : o.ObjectList())
    if (object->IDName() == name) return *object;
  throw std::runtime_error("no object " + name);
}

const TqzDataSkinStdButton& ButtonData(const TqzSkinData& skin, const std::string& name) {
  const int i = skin.FindObjectIndex(name);
  if (i < 0) throw std::runtime_error("no description " + name);
  return dynamic_cast<const TqzDataSkinStdButton&>(*skin.ObjectList()[size_t(i)]);
}

// Pixels of `shown` at `at` that differ from the `piece` of `source`.
int PieceDifferences(const TPixmap& shown, TPoint at, const TPixmap& source, const TRect& piece) {
  int differences = 0;
  for (int y = 0; y < piece.Height(); ++y)
    for (int x = 0; x < piece.Width(); ++x)
      if ((shown.At(at.X + x, at.Y + y) & 0xFFFFFF) !=
          (source.At(piece.Left + x, piece.Top + y) & 0xFFFFFF))
        ++differences;
  return differences;
}

TPoint ScreenCentre(TForm* f, const TRect& windowRect) {
  return {f->Left() + (windowRect.Left + windowRect.Right) / 2,
          f->Top() + (windowRect.Top + windowRect.Bottom) / 2};
}

// 600 wide: the buttons rect (300,7,385,23) moves right by 207 to
// (507,7,592,23); the row runs leftwards from 592 with 2-pixel gaps and
// 17-pixel buttons; the frame alone is 35 high.
TEST_F(OrvaneExtrasRollUp, RolledUpFrameShowsItsOwnCaptionAndButtons) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Form->SetCaption("Rolled");
  s.Orvane->RollUp();
  Pump();
  ASSERT_TRUE(s.Orvane->IsRolledUp());
  EXPECT_EQ(s.Form->Height(), 35);

  TqzActiveSkinObject& close = ObjectNamed(*s.Orvane, "rollupclosebutton");
  TqzActiveSkinObject& rollDown = ObjectNamed(*s.Orvane, "rolluprollupbutton");
  TqzActiveSkinObject& sysMenu = ObjectNamed(*s.Orvane, "rollupsysmenubutton");
  TqzActiveSkinObject& caption = ObjectNamed(*s.Orvane, "rollupcaption");
  for (TqzActiveSkinObject* o : {&close, &rollDown, &sysMenu, &caption}) {
    EXPECT_TRUE(o->ShownIn(true)) << o->IDName();
    EXPECT_TRUE(o->Visible && o->Enabled) << o->IDName();
  }
  EXPECT_FALSE(ObjectNamed(*s.Orvane, "caption").ShownIn(true));
  EXPECT_EQ(close.ObjectRect, (TRect{575, 7, 592, 23}));
  EXPECT_EQ(rollDown.ObjectRect, (TRect{556, 7, 573, 23}));
  // The caption ends a gap before the row and starts after the icon.
  EXPECT_EQ(caption.ObjectRect.Right, 554);
  EXPECT_GE(caption.ObjectRect.Left, sysMenu.ObjectRect.Right);

  // Drawn: the roll-down look of the roll-up button and the close look, 1:1
  // from the caption buttons' picture.
  const TPixmap& shown = PlatformWindow(s.Form).Contents();
  const TqzSkinData& skin = *s.Skin;
  const auto& rollDownData = ButtonData(skin, "rolluprollupbutton");
  const TPixmap& buttons = skin.ActivePicture(rollDownData.ActivePictureIndex)->Pixels();
  EXPECT_EQ(PieceDifferences(shown, rollDown.ObjectRect.TopLeft(), buttons,
                             rollDownData.RestoreRect), 0);
  EXPECT_NE(rollDownData.RestoreRect, rollDownData.SkinRect);
  EXPECT_EQ(PieceDifferences(shown, close.ObjectRect.TopLeft(), buttons,
                             ButtonData(skin, "rollupclosebutton").SkinRect), 0);

  // The caption carries its text: the caption rows of the roll-up picture
  // (uniform along the caption) show through past the text, and the text
  // changes pixels at its start.
  const TPixmap& rolled = skin.RollUpPicture().Pixels();
  const TRect& c = caption.ObjectRect;
  int background = 0, text = 0;
  for (int y = c.Top; y < c.Bottom; ++y) {
    const uint32_t row = rolled.At(200, y) & 0xFFFFFF;
    if ((shown.At(c.Right - 3, y) & 0xFFFFFF) == row) ++background;
    for (int x = c.Left; x < c.Left + 60; ++x)
      if ((shown.At(x, y) & 0xFFFFFF) != row) ++text;
  }
  EXPECT_EQ(background, c.Height());
  EXPECT_GT(text, 20);
}

TEST_F(OrvaneExtrasRollUp, RollDownButtonOfTheRolledUpFrameRollsItDown) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  int changes = 0;
  s.Orvane->OnChangeRollUpState = [&](TObject*) { ++changes; };
  s.Orvane->RollUp();
  Pump();
  ASSERT_TRUE(s.Orvane->IsRolledUp());
  const TPoint at = ScreenCentre(s.Form, ObjectNamed(*s.Orvane, "rolluprollupbutton").ObjectRect);
  Move(at);
  Ticks(2, 60);
  hp->InjectClick(at);
  Pump();
  EXPECT_FALSE(s.Orvane->IsRolledUp());
  EXPECT_EQ(s.Form->Height(), 400);
  EXPECT_EQ(changes, 2);
}

TEST_F(OrvaneExtrasRollUp, CloseButtonOfTheRolledUpFrameClosesTheWindow) {
  auto s = MakeSkinned(DialogSkin(), Bounds(100, 100, 600, 400));
  s.Orvane->RollUp();
  Pump();
  const TPoint at = ScreenCentre(s.Form, ObjectNamed(*s.Orvane, "rollupclosebutton").ObjectRect);
  Move(at);
  Ticks(2, 60);
  hp->InjectClick(at);
  Pump();
  EXPECT_FALSE(IsWindowVisible(s.Form->Handle()));
}

}  // namespace
}  // namespace qz::testing
