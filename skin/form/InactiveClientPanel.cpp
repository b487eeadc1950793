#include "skin/form/InactiveClientPanel.h"

#include "host/ui/Windows.h"

namespace qz {

void ApplyInactiveClientEffect(TqzBitmap& client, bool blur) {
  if (client.Empty()) return;
  if (blur) {
    BlurBitmap(client, kInactiveBlurRadius);
    return;
  }
  TqzEffectBmp veiled(client);
  veiled.ChangeDarkness(kInactiveVeilOpacity);
  veiled.Draw(client.DC(), 0, 0);
}

TqzInactiveClientPanel::TqzInactiveClientPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
}

void TqzInactiveClientPanel::Cover(TWinControl& form, const TRect& area, bool blur) {
  if (area.IsEmpty() || !form.HandleAllocated()) return;
  // Paints still pending reach the window first; they run user code, which
  // may free the form (and with it this panel).
  TComponentRef<TqzInactiveClientPanel> self(this);
  TComponentRef<TWinControl> target(&form);
  form.Update();
  if (!self || !target || !form.HandleAllocated()) return;
  // The picture is what the window shows: its back buffer, children included.
  picture_.SetSize(area.Width(), area.Height());
  HDC window = GetDC(form.Handle());
  BitBlt(picture_.DC(), 0, 0, area.Width(), area.Height(), window, area.Left, area.Top, SRCCOPY);
  ReleaseDC(form.Handle(), window);
  ApplyInactiveClientEffect(picture_, blur);
  SetParent(&form);
  SetBoundsRect(area);
  BringToFront();
  SetVisible(true);
  Invalidate();
}

void TqzInactiveClientPanel::Uncover() {
  if (!Visible()) return;
  SetVisible(false);
  // The controls under the panel draw themselves again, not only the form.
  if (TWinControl* form = Parent(); form && form->HandleAllocated())
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TqzInactiveClientPanel::Paint() { picture_.Draw(&Canvas(), 0, 0); }

}  // namespace qz
