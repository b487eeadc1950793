#include "skin/draw/ParentImage.h"

#include "host/ui/Controls.h"
#include "host/ui/Forms.h"
#include "skin/draw/QZUtils.h"

namespace qz {

namespace {

// Runs paint with the canvas moved so that the parent's client (0, 0) lands
// at `offset` and clipped to `clip` (in the moved coordinates); the canvas
// state is restored afterwards.
template <class F>
void WithOrigin(TCanvas& c, TPoint offset, const TRect& clip, F paint) {
  const int saved = c.SaveDC();
  c.SetViewportOrg(c.ViewportOrg() + offset);
  c.IntersectClipRect(clip);
  paint();
  c.RestoreDC(saved);
}

void PaintParentBackground(TWinControl* parent, TCanvas& c) {
  const TControlState state = parent->ControlState();
  parent->SetControlState(TControlState(state).Include(csPaintCopy));
  if (auto* painter = dynamic_cast<IqzBackgroundPainter*>(parent)) {
    painter->PaintBackground(c);
  } else {
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(c.Handle()), 0);
    if (!Is<TCustomForm>(parent))
      parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(c.Handle()), 0);
  }
  parent->SetControlState(state);
}

}  // namespace

void GetParentImage(TControl* Control, TCanvas& Cnvs) {
  TWinControl* parent = Control ? Control->Parent() : nullptr;
  if (!parent) return;
  const TPoint origin{-Control->Left(), -Control->Top()};
  WithOrigin(Cnvs, origin, parent->ClientRect(), [&] { PaintParentBackground(parent, Cnvs); });

  const TRect bounds = Control->BoundsRect();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* sibling = parent->Controls(i);
    if (sibling == Control) break;
    if (!Is<TGraphicControl>(sibling) || !sibling->Visible()) continue;
    const TRect sb = sibling->BoundsRect();
    if (Intersection(sb, bounds).IsEmpty()) continue;
    WithOrigin(Cnvs, {sb.Left - bounds.Left, sb.Top - bounds.Top}, {0, 0, sb.Width(), sb.Height()},
               [&] { sibling->Perform(WM_PAINT, reinterpret_cast<WPARAM>(Cnvs.Handle()), 0); });
  }
}

}  // namespace qz
