#include "host/ui/MDI.h"

#include <algorithm>

#include "host/ui/Forms.h"
#include "host/ui/Menus.h"
#include "host/ui/WindowSystem.h"

namespace qz {

// ---------------------------------------------------------------------------
// Geometry

std::vector<TRect> CascadeRects(const TRect& area, int count, int step) {
  std::vector<TRect> rects;
  if (count <= 0) return rects;
  const int w = std::max(area.Width() - (count - 1) * step, kMDIMinimizedWidth);
  const int h = std::max(area.Height() - (count - 1) * step, step);
  for (int k = 0; k < count; ++k)
    rects.push_back({area.Left + k * step, area.Top + k * step, area.Left + k * step + w, area.Top + k * step + h});
  return rects;
}

std::vector<TRect> TileRects(const TRect& area, int count, TTileMode mode) {
  std::vector<TRect> rects;
  if (count <= 0) return rects;
  const bool rows = mode == tbHorizontal;
  const int extent = rows ? area.Height() : area.Width();
  const int part = extent / count;
  for (int k = 0; k < count; ++k) {
    const int from = k * part, to = k == count - 1 ? extent : (k + 1) * part;
    rects.push_back(rows ? TRect{area.Left, area.Top + from, area.Right, area.Top + to}
                         : TRect{area.Left + from, area.Top, area.Left + to, area.Bottom});
  }
  return rects;
}

TPoint MinimizedSlot(const TRect& area, TSize size, int index) {
  const int perRow = std::max(1, size.cx > 0 ? area.Width() / size.cx : 1);
  const int row = index / perRow, col = index % perRow;
  return {area.Left + col * size.cx, area.Bottom - (row + 1) * size.cy};
}

std::vector<TMenuItem*> MergedMenuItems(const TMainMenu* main, const TMainMenu* child) {
  std::vector<TMenuItem*> items;
  if (!child) {
    if (main)
      for (int i = 0; i < main->Items()->Count(); ++i)
        if (main->Items()->Items(i)->Visible()) items.push_back(main->Items()->Items(i));
    return items;
  }
  auto visibleItems = [](const TMainMenu* menu) {
    std::vector<TMenuItem*> out;
    if (!menu) return out;
    TMenuItem& root = *menu->Items();
    for (int i = 0; i < root.Count(); ++i) out.push_back(root.Items(i));
    return out;
  };
  const std::vector<TMenuItem*> own = visibleItems(main), theirs = visibleItems(child);
  for (TMenuItem* item : own) {
    const bool replaced = std::any_of(theirs.begin(), theirs.end(),
                                      [&](TMenuItem* c) { return c->GroupIndex() == item->GroupIndex(); });
    if (!replaced) items.push_back(item);
  }
  items.insert(items.end(), theirs.begin(), theirs.end());
  std::stable_sort(items.begin(), items.end(),
                   [](TMenuItem* a, TMenuItem* b) { return a->GroupIndex() < b->GroupIndex(); });
  std::erase_if(items, [](TMenuItem* i) { return !i->Visible(); });
  return items;
}

// ---------------------------------------------------------------------------
// The client window

TMDIClient::TMDIClient(TCustomForm& form) : TCustomControl(nullptr), form_(form) {
  SetColor(clAppWorkSpace);
  controlStyle_.Include(csAcceptsControls);
  controlStyle_.Include(csOpaque);
  SetParent(&form);
  SetAlign(alClient);
  SendToBack();
}

TMDIClient::~TMDIClient() { DestroyChildren(); }

void TMDIClient::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  p.Style |= WS_CLIPCHILDREN;
}

void TMDIClient::Paint() {
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect(ClientRect());
}

void TMDIClient::Resize() {
  TCustomControl::Resize();
  // Maximised children follow the client's size; minimised ones keep to the bottom.
  for (TCustomForm* c : ShownChildren())
    if (c->WindowState() == wsMaximized) PlaceChildBounds(*c, MaximizedBounds(*c));
  ArrangeIcons();
}

void TMDIClient::NotifyForm() {
  if (!destroying_ && !form_.InState(csDestroying)) form_.Perform(CM_MDICHANGED);
}

std::vector<TCustomForm*> TMDIClient::ShownChildren() const {
  std::vector<TCustomForm*> out;
  for (TCustomForm* c : children_)
    if (c->Visible()) out.push_back(c);
  return out;
}

// The shown children that are neither minimised, bottom of the z-order first.
std::vector<TCustomForm*> TMDIClient::ArrangedChildren() const {
  std::vector<TCustomForm*> out;
  for (TCustomForm* c : ShownChildren())
    if (c->WindowState() != wsMinimized) out.push_back(c);
  std::reverse(out.begin(), out.end());
  return out;
}

TRect TMDIClient::FrameInsets(const TCustomForm& child) {
  if (const TWindowData* d = child.WindowData()) return DefaultFrameInsets(d->style, d->exStyle);
  return {kFrameWidth, kFrameWidth + kCaptionHeight, kFrameWidth, kFrameWidth};
}

TRect TMDIClient::MaximizedBounds(const TCustomForm& child) const {
  const TRect in = FrameInsets(child);
  return {-in.Left, -in.Top, ClientWidth() + in.Right, ClientHeight() + in.Bottom};
}

TSize TMDIClient::MinimizedSize(const TCustomForm& child) const {
  const TRect in = FrameInsets(child);
  return {kMDIMinimizedWidth, in.Top + in.Bottom};
}

void TMDIClient::PlaceChildBounds(TCustomForm& child, const TRect& r) { child.SetBoundsRect(r); }

// ---------------------------------------------------------------------------
// Children coming and going

void TMDIClient::AddChild(TCustomForm& child) {
  if (std::find(children_.begin(), children_.end(), &child) != children_.end()) return;
  children_.push_back(&child);
  // Default places step down and right by a caption's height.
  const int step = kCaptionHeight + kFrameWidth;
  const int rows = std::max(1, (ClientHeight() - child.Height()) / step + 1);
  const int k = placed_++ % rows;
  child.SetBounds(k * step, k * step, child.Width(), child.Height());
}

void TMDIClient::ChildShown(TCustomForm& child) {
  TComponentRef<TCustomForm> ref(&child);
  if (maximized_ && child.WindowState() != wsMinimized) MaximizeChild(child);
  if (ref) Activate(&child);
}

void TMDIClient::ChildHidden(TCustomForm& child) {
  if (active_ == &child) ActivateNextAfter(child);
  UpdateMaximizedFlag();
  NotifyForm();
}

void TMDIClient::ChildDestroying(TCustomForm& child) {
  auto it = std::find(children_.begin(), children_.end(), &child);
  if (it == children_.end()) return;
  children_.erase(it);
  if (destroying_) return;
  if (active_ == &child) {
    active_ = nullptr;
    ActivateNextAfter(child);
  }
  UpdateMaximizedFlag();
  NotifyForm();
}

void TMDIClient::ActivateNextAfter(TCustomForm& gone) {
  if (active_ == &gone) active_ = nullptr;
  for (TCustomForm* c : children_)
    if (c != &gone && c->Visible()) {
      Activate(c);
      return;
    }
  active_ = nullptr;
  NotifyForm();
}

void TMDIClient::DestroyChildren() {
  destroying_ = true;
  active_ = nullptr;
  while (!children_.empty()) {
    TCustomForm* c = children_.back();
    children_.pop_back();
    delete c;
  }
}

// ---------------------------------------------------------------------------
// Activation

void TMDIClient::Activate(TCustomForm* child) {
  if (child && (child->Parent() != this || !child->Visible())) return;
  TComponentRef<TMDIClient> self(this);
  TComponentRef<TCustomForm> next(child);
  TComponentRef<TCustomForm> old(active_);
  if (child) {
    // The active child leads the activation order and tops the z-order.
    std::erase(children_, child);
    children_.insert(children_.begin(), child);
    child->BringToFront();
  }
  if (active_ == child) return;
  active_ = child;
  // A maximised child hands its maximised look over to the next one.
  if (old && next && maximized_ && old->WindowState() == wsMaximized && next->WindowState() != wsMaximized)
    MaximizeChild(*next);
  if (old && old->HandleAllocated()) SendMessage(old->Handle(), WM_NCACTIVATE, 0, 0);
  if (old) old->MDIActivated(false);
  if (!self) return;
  if (next && active_ == next.Get()) {
    if (next->HandleAllocated()) SendMessage(next->Handle(), WM_NCACTIVATE, 1, 0);
    if (next) next->MDIActivated(true);
  }
  if (self) NotifyForm();
}

void TMDIClient::Next() {
  const auto shown = ShownChildren();
  if (shown.size() < 2) return;
  // The active child goes to the bottom; the one below it comes up.
  TCustomForm* current = shown.front();
  Activate(shown[1]);
  std::erase(children_, current);
  children_.push_back(current);
  current->SendToBack();
}

void TMDIClient::Previous() {
  const auto shown = ShownChildren();
  if (shown.size() < 2) return;
  Activate(shown.back());
}

// ---------------------------------------------------------------------------
// Window states

void TMDIClient::SetChildState(TCustomForm& child, TWindowState state) {
  switch (state) {
    case wsMaximized:
      // Maximising one maximises every shown child that is not minimised.
      for (TCustomForm* c : ShownChildren())
        if (c != &child && c->WindowState() == wsNormal) MaximizeChild(*c);
      MaximizeChild(child);
      break;
    case wsMinimized:
      MinimizeChild(child);
      break;
    case wsNormal:
      // Restoring a maximised child restores them all.
      if (child.WindowState() == wsMaximized)
        for (TCustomForm* c : ShownChildren())
          if (c != &child && c->WindowState() == wsMaximized) RestoreChild(*c);
      RestoreChild(child);
      break;
  }
  UpdateMaximizedFlag();
  ArrangeIcons();
  NotifyForm();
}

void TMDIClient::UpdateMaximizedFlag() {
  maximized_ = false;
  for (TCustomForm* c : ShownChildren())
    if (c->WindowState() == wsMaximized) maximized_ = true;
}

void TMDIClient::MaximizeChild(TCustomForm& child) {
  if (child.WindowState() == wsNormal) child.mdiNormalBounds_ = child.BoundsRect();
  child.windowState_ = wsMaximized;
  maximized_ = true;
  PlaceChildBounds(child, MaximizedBounds(child));
}

void TMDIClient::RestoreChild(TCustomForm& child) {
  if (child.WindowState() == wsNormal) return;
  child.windowState_ = wsNormal;
  if (!child.mdiNormalBounds_.IsEmpty()) PlaceChildBounds(child, child.mdiNormalBounds_);
  child.mdiNormalBounds_ = {};
}

void TMDIClient::MinimizeChild(TCustomForm& child) {
  if (child.WindowState() == wsMinimized) return;
  if (child.WindowState() == wsNormal) child.mdiNormalBounds_ = child.BoundsRect();
  child.windowState_ = wsMinimized;
  const TSize size = MinimizedSize(child);
  child.SetBounds(child.Left(), child.Top(), size.cx, size.cy);
}

void TMDIClient::ArrangeIcons() {
  int slot = 0;
  for (TCustomForm* c : children_) {
    if (!c->Visible() || c->WindowState() != wsMinimized) continue;
    const TSize size = MinimizedSize(*c);
    const TPoint p = MinimizedSlot(ClientRect(), size, slot++);
    PlaceChildBounds(*c, {p.X, p.Y, p.X + size.cx, p.Y + size.cy});
  }
}

// ---------------------------------------------------------------------------
// Arrangement

void TMDIClient::Cascade() {
  for (TCustomForm* c : ShownChildren())
    if (c->WindowState() == wsMaximized) RestoreChild(*c);
  maximized_ = false;
  const auto kids = ArrangedChildren();
  const auto rects = CascadeRects(ClientRect(), int(kids.size()), kCaptionHeight + kFrameWidth);
  for (size_t i = 0; i < kids.size(); ++i) PlaceChildBounds(*kids[i], rects[i]);
  ArrangeIcons();
  NotifyForm();
}

void TMDIClient::Tile(TTileMode mode) {
  for (TCustomForm* c : ShownChildren())
    if (c->WindowState() == wsMaximized) RestoreChild(*c);
  maximized_ = false;
  auto kids = ArrangedChildren();
  std::reverse(kids.begin(), kids.end());  // the active child takes the first tile
  TRect area = ClientRect();
  // Tiles leave the row of minimised children free.
  for (TCustomForm* c : ShownChildren())
    if (c->WindowState() == wsMinimized) {
      area.Bottom = std::min(area.Bottom, ClientHeight() - MinimizedSize(*c).cy);
      break;
    }
  const auto rects = TileRects(area, int(kids.size()), mode);
  for (size_t i = 0; i < kids.size(); ++i) PlaceChildBounds(*kids[i], rects[i]);
  ArrangeIcons();
  NotifyForm();
}

}  // namespace qz
