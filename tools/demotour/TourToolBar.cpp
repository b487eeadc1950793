// The tool bar on the second window, on a panel of its own: a row of
// buttons and a label centred in the bar, then, narrowed, the scroll arrows and a few steps of
// scrolling by pressing and by resting on an arrow.
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinLabel.h"
#include "skin/controls/SkinPanel.h"
#include "skin/controls/SkinToolBar.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

void TourToolBar(TTour& tour, TForm1& form1, TForm2& form2) {
  const bool wasShown = form2.Visible();
  form2.Show();
  form2.BringToFront();
  form2.SetFocus();
  // A skinned panel over the second window's client keeps its controls out
  // of the pictures: the tool bar stands on a clean surface.
  auto* stage = new TqzSkinPanel(&form2);
  stage->SetParent(&form2);
  stage->SetSkinData(form1.qzSkinData2);
  stage->SetBounds(0, 0, form2.ClientWidth(), form2.ClientHeight());
  stage->BringToFront();
  auto* bar = new TqzSkinToolBar(stage);
  bar->SetParent(stage);
  bar->SetBounds(20, 20, 420, 32);
  bar->SetSkinData(form1.qzSkinData2);
  for (int i = 0; i < 4; ++i) {
    auto* button = new TqzSkinButton(bar);
    button->SetParent(bar);
    button->SetSkinData(form1.qzSkinData2);
    button->SetCaption("Tool " + std::to_string(i + 1));
    button->SetBounds(4 + i * 80, 0, 75, 25);
  }
  auto* label = new TqzSkinStdLabel(bar);
  label->SetParent(bar);
  label->SetSkinData(form1.qzSkinData2);
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
  delete stage;
  if (!wasShown) form2.Hide();
  form1.SetFocus();
  tour.Settle();
}

}  // namespace qz::tour
