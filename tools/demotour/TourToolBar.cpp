// The tool bar on the second window: a row of buttons and labels centred
// in the bar, then, narrowed, the scroll arrows and a few steps of
// scrolling by pressing and by resting on an arrow.
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "host/ui/StdCtrls.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinToolBar.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

void TourToolBar(TTour& tour, TForm1& form1, TForm2& form2) {
  const bool wasShown = form2.Visible();
  form2.Show();
  form2.BringToFront();
  form2.SetFocus();
  auto* bar = new TqzSkinToolBar(&form2);
  bar->SetParent(&form2);
  bar->SetBounds(20, 20, 420, 32);
  bar->SetSkinData(form1.qzSkinData2);
  for (int i = 0; i < 4; ++i) {
    auto* button = new TqzSkinButton(&form2);
    button->SetParent(bar);
    button->SetSkinData(form1.qzSkinData2);
    button->SetCaption("Tool " + std::to_string(i + 1));
    button->SetBounds(4 + i * 80, 0, 75, 25);
  }
  auto* label = new TLabel(&form2);
  label->SetParent(bar);
  label->SetCaption("Path:");
  label->SetBounds(330, 0, 60, 13);
  tour.Settle();
  tour.Shot("toolbar-row-centred");

  bar->SetCanScroll(true);
  bar->SetScrollOffset(20);
  bar->SetWidth(220);
  tour.Settle();
  tour.Shot("toolbar-narrow-arrows");

  TRect window;
  GetWindowRect(HWND(bar), window);
  const TPoint right{window.Right - 6, (window.Top + window.Bottom) / 2};
  tour.Press(right);
  tour.Release(right);
  tour.Shot("toolbar-scrolled-by-press");

  bar->SetHotScroll(true);
  tour.MoveTo({right.X - 1, right.Y + 2});
  tour.Settle(400);
  tour.Shot("toolbar-scrolled-to-end-by-hover");
  const TPoint left{window.Left + 6, right.Y};
  tour.MoveTo(left);
  tour.Shot("toolbar-hover-left-arrow");

  tour.MoveTo({window.Left - 200, window.Top - 100});
  delete bar;
  if (!wasShown) form2.Hide();
  form1.SetFocus();
  tour.Settle();
}

}  // namespace qz::tour
