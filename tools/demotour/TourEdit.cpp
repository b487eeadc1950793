// The path edit on the main window's "Edit" page: typed text, a selection,
// a paste from the clipboard and the skinned context menu.
#include "app/Unit1.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinEdit.h"
#include "tools/demotour/Tour.h"

namespace qz::tour {

void TourEdit(TTour& tour, TForm1& form, TForm2&) {
  auto* edit = dynamic_cast<TqzSkinEdit*>(form.FindComponent("qzSkinEdit1"));
  if (!edit || !form.qzSkinButton2) return;
  const TPoint tab = form.qzSkinButton2->ClientToScreen(
      {form.qzSkinButton2->Width() / 2, form.qzSkinButton2->Height() / 2});
  tour.Press(tab);
  tour.Release(tab);
  tour.Shot("edit-page");

  // Click at the end of the text and type.
  const TPoint end = edit->ClientToScreen({edit->ClientWidth() - 4, edit->ClientHeight() / 2});
  tour.Press(end);
  tour.Release(end);
  tour.Platform().InjectText("\\clips");
  tour.Settle(100);
  tour.Shot("edit-typed");

  // Shift+Ctrl+Left selects the last word; a paste replaces it.
  tour.Platform().InjectKey(VK_LEFT, kModShift | kModCtrl);
  tour.Settle(100);
  tour.Shot("edit-selected");
  tour.Platform().SetClipboardText("films");
  tour.Platform().InjectKey('V', kModCtrl);
  tour.Settle(100);
  tour.Shot("edit-pasted");

  // Hover and press the browse button.
  TRect window;
  GetWindowRect(HWND(edit), window);
  const TRect button = edit->ButtonRect();
  const TPoint onButton{window.Left + TTour::Centre(button).X, window.Top + TTour::Centre(button).Y};
  tour.MoveTo(onButton);
  tour.Shot("edit-button-hot");

  // The context menu over the text, with a selection so that Cut and Copy are on.
  edit->SetSelStart(0);
  edit->SetSelLength(2);
  const TPoint inText = edit->ClientToScreen({20, edit->ClientHeight() / 2});
  tour.MoveTo(inText);
  tour.Platform().InjectMouseDown(TMouseButtonId::Right, inText);
  tour.Platform().InjectMouseUp(TMouseButtonId::Right, inText);
  tour.Settle(400);
  tour.Shot("edit-context-menu");
  tour.Key(VK_ESCAPE);
  tour.MoveTo(TTour::OnScreen(form, {5, 5}));
}

}  // namespace qz::tour
