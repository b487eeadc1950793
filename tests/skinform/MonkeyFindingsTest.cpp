// Sequences the monkey found, replayed on their own.
#include <gtest/gtest.h>

#include "tests/skinform/MonkeyTestSupport.h"

namespace qz::testing {
namespace {

using MonkeyFindings = DemoWindowsTest;

// A skin with a larger minimum arrives while the application is minimised:
// the window system restores the bounds from before minimising, and the
// window must still grow to the new skin's minimum, or the skin is cut.
TEST_F(MonkeyFindings, SkinChangedWhileMinimisedStillRaisesTheSizeOnRestore) {
  auto w = MakeMainWindow();
  w.Skin->LoadFromCompressedData(DialogSkin().Compressed);
  Pump();
  w.Form->SetBounds(300, 200, 500, 400);
  Pump();
  const TqzSizeLimits small = w.Orvane->SizeLimits();
  ASSERT_LT(small.MinWidth, 500);
  ASSERT_LT(small.MinHeight, 400);

  Application->Minimize();
  Pump();
  ASSERT_TRUE(IsIconic(w.Form->Handle()));
  w.Skin->LoadFromCompressedData(MainSkin().Compressed);
  Pump();
  Application->Restore();
  Pump();

  const TqzSizeLimits large = w.Orvane->SizeLimits();
  ASSERT_GT(large.MinWidth, 500);
  EXPECT_EQ(w.Form->BoundsRect(), Bounds(300, 200, large.MinWidth, large.MinHeight));
  ExpectSaneWindow(w, "main", 0);

  // Once restored, a later restore-sized change is left alone again.
  w.Form->SetBounds(300, 200, 900, 700);
  Pump();
  EXPECT_EQ(w.Form->BoundsRect(), Bounds(300, 200, 900, 700));
}

}  // namespace
}  // namespace qz::testing
