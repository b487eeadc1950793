// Steps that several parts of the tour begin with.
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinPageControl.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

TPoint ShowMainButtonsPage(TTour& tour, TForm1& main, TForm2& second) {
  second.Hide();
  main.SetFocus();
  tour.Settle();
  if (main.qzSkinPageControl1->ActivePageIndex() != 0) tour.Click(TTour::CentreOf(*main.qzSkinButton1));
  const TPoint away = TTour::OnScreen(main, {-40, -40});
  tour.MoveTo(away);
  return away;
}

}  // namespace qz::tour
