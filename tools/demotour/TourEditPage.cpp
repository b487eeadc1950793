// The main window's "Edit" page: its scroll box scrolled to the end by the
// scroll bar's thumb and by the wheel, the check box toggled, and the
// quality buttons of group 2 ("Normal" pressed, then "Very high" again).
#include <string>

#include "app/Unit1.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckRadioBox.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinScrollBar.h"
#include "skin/controls/SkinScrollBox.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

namespace {

// How far the content reaches past the box when the tour makes it scroll.
constexpr int kOverflow = 120;

// The page's groups may all fit its box; the empty last group then grows
// past the room left, so that there is something to scroll. Returns the
// height to give back afterwards, or -1 when nothing was changed.
int MakeContentScroll(TTour& tour, TqzSkinScrollBox& box, TqzSkinScrollBar& bar, TControl& last) {
  if (bar.Visible()) return -1;
  const int before = last.Height();
  const int roomBelow = box.ClientHeight() - last.BoundsRect().Bottom;
  last.SetHeight(before + roomBelow + kOverflow);
  tour.Settle();
  return before;
}

void DragThumbTo(TTour& tour, TqzSkinScrollBar& bar, int y) {
  const TRect thumb = bar.Layout().Thumb;
  const TPoint grip{TTour::Centre(thumb).X, TTour::Centre(thumb).Y};
  tour.Drag(bar.ClientToScreen(grip), bar.ClientToScreen({grip.X, y}));
}

// Turns the wheel a notch at a time until the box stops moving.
void WheelToEnd(TTour& tour, TqzSkinScrollBox& box, int delta) {
  for (int notch = 0; notch < 100; ++notch) {
    const int before = box.VertPosition();
    tour.Platform().InjectWheel(delta);
    tour.Settle(50);
    if (box.VertPosition() == before) break;
  }
}

}  // namespace

void TourEditPage(TTour& tour, TForm1& main, TForm2&) {
  auto* box = main.FindChild<TqzSkinScrollBox>("qzSkinScrollBox1");
  auto* bar = main.FindChild<TqzSkinScrollBar>("qzSkinScrollBar1");
  auto* check = main.FindChild<TqzSkinCheckRadioBox>("qzSkinCheckRadioBox1");
  auto* last = main.FindChild<TControl>("qzSkinGroupBox3");
  auto* veryHigh = main.FindChild<TqzSkinButton>("qzSkinButton6");
  auto* normal = main.FindChild<TqzSkinButton>("qzSkinButton8");
  if (!box || !bar || !check || !last || !veryHigh || !normal) return;
  main.SetFocus();
  tour.Settle();
  const TPoint away = TTour::OnScreen(main, {-40, -40});
  tour.Click(TTour::CentreOf(*main.qzSkinButton2));
  tour.MoveTo(away);
  tour.Settle(600);
  tour.Shot("edit-page");

  const int lastHeight = MakeContentScroll(tour, *box, *bar, *last);
  tour.Shot("edit-page-scrollable");
  DragThumbTo(tour, *bar, bar->Height() + 100);
  tour.MoveTo(away);
  tour.Shot("edit-page-end-by-scrollbar");

  // Checked where the page stands, so that the check is the one change
  // from the picture before. The check box takes the focus, so the wheel
  // reaches the box through it.
  tour.Click(TTour::CentreOf(*check));
  tour.MoveTo(away);
  tour.Settle(600);
  tour.Shot("edit-page-checkbox-checked");
  DragThumbTo(tour, *bar, -100);
  tour.MoveTo(TTour::CentreOf(*box));
  WheelToEnd(tour, *box, -120);
  tour.MoveTo(away);
  tour.Shot("edit-page-end-by-wheel");
  WheelToEnd(tour, *box, 120);

  // "Very high" is down from the start: another quality first, then back.
  tour.MoveTo(TTour::CentreOf(*normal));
  tour.Click(TTour::CentreOf(*normal));
  tour.MoveTo(away);
  tour.Settle(600);
  tour.Shot("edit-page-normal-pressed");
  tour.MoveTo(TTour::CentreOf(*veryHigh));
  tour.Click(TTour::CentreOf(*veryHigh));
  tour.Shot("edit-page-very-high-pressed");

  if (lastHeight >= 0) last->SetHeight(lastHeight);
  tour.Click(TTour::CentreOf(*main.qzSkinButton1));
  tour.MoveTo(away);
  tour.Settle(600);
}

}  // namespace qz::tour
