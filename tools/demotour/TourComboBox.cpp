// The second window's combo box: opened by a click, an item picked with the
// keyboard, then opened with F4 and closed with Escape, keeping the pick;
// then for a moment in edit style (a digit typed over the text, which
// completes it, and the list open on it) and in the tool-button style, and
// back to its own look.
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/controls/SkinComboBox.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

void TourComboBox(TTour& tour, TForm1& /*main*/, TForm2& second) {
  second.Show();
  second.SetFocus();
  tour.Settle(600);
  TqzSkinComboBox& combo = *second.qzSkinComboBox1;
  const TPoint button = combo.ClientToScreen({combo.Width() - 8, combo.Height() / 2});
  tour.Press(button);
  tour.Release(button);
  tour.Settle(600);  // the list's fade-in
  tour.Shot("second-combo-open");
  tour.Key(VK_DOWN);
  tour.Key(VK_DOWN);
  tour.Key(VK_DOWN);
  tour.Shot("second-combo-keyboard-in-list");
  tour.Key(VK_RETURN);
  tour.Settle();
  tour.Shot("second-combo-picked-by-keyboard");
  tour.Key(VK_F4);
  tour.Settle(600);
  tour.Key(VK_DOWN);
  tour.Key(VK_ESCAPE);
  tour.Settle();
  tour.Shot("second-combo-escape-keeps-the-pick");

  const int pick = combo.ItemIndex();
  combo.SetStyle(qzcbEditStyle);
  tour.Settle();
  const TPoint field = combo.ClientToScreen({combo.ItemRect().Left + 4, combo.Height() / 2});
  tour.Press(field);
  tour.Release(field);
  THeadlessPlatform& p = tour.Platform();
  p.InjectKey('A', kModCtrl);
  p.InjectKeyDown('7');
  p.InjectText("7");
  p.InjectKeyUp('7');
  tour.Settle();
  tour.Key(VK_F4);
  tour.Settle(600);
  tour.Shot("second-combo-edit-style-typed-and-open");
  tour.Key(VK_ESCAPE);
  combo.SetStyle(qzcbFixedStyle);
  combo.SetToolButtonStyle(true);
  tour.MoveTo(button);
  tour.Shot("second-combo-tool-button-style-hot");
  combo.SetToolButtonStyle(false);
  combo.SetItemIndex(pick);
  tour.MoveTo({button.X, button.Y + 200});
  tour.Settle();
}

}  // namespace qz::tour
