// The list box on the main window's "Edit" page: shown, scrolled by its bar
// and by the wheel, an item picked with the mouse, then the keyboard.
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinListBox.h"
#include "skin/controls/SkinScrollBox.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

void TourListBox(TTour& tour, TForm1& form1, TForm2&) {
  TqzSkinListBox* list = form1.listbox1;
  if (!list) return;
  form1.SetFocus();
  tour.Settle();
  // The "Edit" page shows the list box.
  tour.Platform().InjectClick(form1.qzSkinButton2->ClientToScreen({10, 10}));
  tour.Settle();
  if (auto* box = dynamic_cast<TqzSkinScrollBox*>(list->Parent() ? list->Parent()->Parent() : nullptr))
    box->ScrollInView(list);
  tour.Settle();
  tour.Shot("listbox-shown");

  if (TqzSkinScrollBar* bar = list->VScrollBar()) {
    const TRect inc = bar->Layout().Increment;
    const TPoint at = bar->ClientToScreen(TTour::Centre(inc));
    tour.Platform().InjectClick(at);
    tour.Platform().InjectClick(at);
    tour.Settle();
    tour.Shot("listbox-scrolled-by-bar");
  }
  const TPoint row = list->ListBox().ClientToScreen({30, 30});
  tour.MoveTo(row);
  tour.Platform().InjectClick(row);
  tour.Settle();
  tour.Shot("listbox-item-selected");
  tour.Key(VK_DOWN);
  tour.Key(VK_DOWN);
  tour.Shot("listbox-keyboard");
  if (TqzSkinScrollBar* bar = list->HScrollBar()) {
    bar->SetPosition(bar->Max());
    tour.Settle();
    tour.Shot("listbox-scrolled-across");
    bar->SetPosition(0);
  }
  // Back to the first page, pointer away.
  tour.Platform().InjectClick(form1.qzSkinButton1->ClientToScreen({10, 10}));
  tour.MoveTo({2, 2});
}

}  // namespace qz::tour
