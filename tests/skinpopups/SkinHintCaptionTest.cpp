// Caption objects of a skinned window show their hints through the
// controller's TqzSkinHint and hide them on a press.
#include <gtest/gtest.h>

#include "skin/popups/SkinHint.h"
#include "tests/skinform/OrvaneTestSupport.h"

namespace qz::testing {
namespace {

class SkinHintCaptionTest : public OrvaneTest {
 protected:
  // The screen point in the middle of the first object whose hint is `text`.
  static std::optional<TPoint> ObjectWithHint(TqzOrvane& o, TForm* f, const std::string& text) {
    for (auto& object : o.ObjectList()) {
      if (object->Hint() != text) continue;
      const TRect r = object->ObjectRect;
      const TRect window = f->BoundsRect();
      return TPoint{window.Left + (r.Left + r.Right) / 2, window.Top + (r.Top + r.Bottom) / 2};
    }
    return std::nullopt;
  }
};

TEST_F(SkinHintCaptionTest, CaptionButtonHintShowsAfterThePauseAndHidesOnPress) {
  auto s = MakeSkinned(DialogSkin(), {100, 100, 500, 400});
  auto* hint = new TqzSkinHint(s.Form);
  s.Orvane->SetSkinHint(hint);
  s.Orvane->ShowObjectHint = true;
  SetActiveWindow(s.Form->Handle());
  Pump();
  const auto close = ObjectWithHint(*s.Orvane, s.Form, "Close");
  ASSERT_TRUE(close.has_value());
  Ticks(2, 60);  // the mouse timer the skin started finds the pointer elsewhere first
  Move(*close);
  Ticks(1, Application->HintPause() - 1);
  EXPECT_FALSE(hint->Window()->IsShowing());
  Ticks(1, 1);
  ASSERT_TRUE(hint->Window()->IsShowing());
  EXPECT_EQ(hint->Window()->Caption(), "Close");
  hp->InjectMouseDown();
  Pump();
  EXPECT_FALSE(hint->Window()->IsShowing());
  hp->InjectMouseUp();
  Pump();
}

TEST_F(SkinHintCaptionTest, NoObjectHintWhenSwitchedOffOrFreed) {
  auto s = MakeSkinned(DialogSkin(), {100, 100, 500, 400});
  auto* hint = new TqzSkinHint(s.Form);
  s.Orvane->SetSkinHint(hint);
  SetActiveWindow(s.Form->Handle());
  Pump();
  const auto close = ObjectWithHint(*s.Orvane, s.Form, "Close");
  ASSERT_TRUE(close.has_value());
  Ticks(2, 60);
  Move(*close);
  ASSERT_EQ(s.Orvane->ActiveObject(), 1);
  Ticks(1, 1000);
  EXPECT_FALSE(hint->Window()->IsShowing()) << "ShowObjectHint is off";

  s.Orvane->ShowObjectHint = true;
  delete hint;
  EXPECT_EQ(s.Orvane->SkinHint(), nullptr);
  Move(s.Form->ClientToScreen({100, 100}));
  Move(*close);
  Ticks(1, 1000);  // nothing to show through, nothing dangling
}

}  // namespace
}  // namespace qz::testing
