// The MDI example's form (examples/mdi) dressed by the demo's skins: five
// documents with their tabs, a tab being dragged, a child activated from its
// tab, the hidden tabs' menu of a narrower window, a close button under the
// pointer, and the client's scroll bars of cascaded children in a smaller
// window.
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "examples/mdi/MDIMainForm.h"
#include "host/ui/MDI.h"
#include "skin/form/SkinMDITabsBar.h"
#include "skin/popups/SkinMenu.h"
#include "skin/form/Orvane.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

void TourMDI(TTour& tour, TForm1& main, TForm2& second) {
  main.Hide();
  second.Hide();
  auto* form = new mdiexample::TMDIMainForm(Application, main.qzSkinData2, main.qzSkinData1, main.qzSkinData2);
  form->Show();
  tour.Settle(600);
  for (int i = 0; i < 4; ++i) form->NewChild();
  TqzSkinMDITabsBar& tabs = *form->Tabs;
  auto onScreen = [&](const TRect& r) { return tabs.ClientToScreen(TTour::Centre(r)); };
  // The fifth document from the add button.
  const TPoint add = onScreen(tabs.AddButtonRect());
  tour.Press(add);
  tour.Release(add);
  tour.Shot("mdi-five-children");

  // The first tab dragged past the middle of the second, still held.
  const TRect first = tabs.Tab(0).TabRect;
  const TPoint from = onScreen(first);
  tour.Press(from);
  tour.MoveTo({from.X + first.Width() / 2, from.Y});
  tour.MoveTo({from.X + first.Width() * 3 / 4, from.Y});
  tour.Shot("mdi-tab-dragged");
  tour.Release({from.X + first.Width() * 3 / 4, from.Y});
  tour.Shot("mdi-tab-dropped");

  // A child behind the others activated from its tab: its caption turns active.
  if (tabs.TabCount() > 2) {
    const TPoint third = onScreen(tabs.Tab(2).TabRect);
    tour.Press(third);
    tour.Release(third);
    tour.MoveTo({2, 2});
    tour.Shot("mdi-tab-activates-child");
  }

  // A narrower window: the tabs that do not fit are in the menu at the end.
  form->SetBounds(form->Left(), form->Top(), 560, form->Height());
  tour.Settle();
  if (!tabs.MenuButtonRect().IsEmpty()) {
    const TPoint menu = onScreen(tabs.MenuButtonRect());
    tour.MoveTo(menu);
    tour.Press(menu);
    tour.Shot("mdi-hidden-tabs-menu");
    tour.Key(VK_ESCAPE);
  }

  // The pointer on the second tab's close button.
  if (tabs.TabCount() > 1 && !tabs.Tab(1).CloseButtonOnBar().IsEmpty()) {
    tour.MoveTo(onScreen(tabs.Tab(1).CloseButtonOnBar()));
    tour.Shot("mdi-close-button-hot");
  }
  tour.MoveTo({2, 2});

  // Cascaded children in a smaller window: the scroll bars along the
  // client's right and bottom edges.
  form->Cascade();
  tour.Settle();
  form->SetBounds(form->Left(), form->Top(), 480, 360);
  tour.Settle();
  tour.Shot("mdi-cascaded-scroll-bars");
  delete form;
  tour.Settle();
  main.Show();
  tour.Settle(600);
}

}  // namespace qz::tour
