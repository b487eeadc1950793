#include "host/ui/WindowSystem.h"

#include <algorithm>

#include "host/base/Threads.h"
#include "host/graphics/Canvas.h"
#include "host/ui/WindowSystemHooks.h"

namespace qz {

TWindowSystem& WindowSystem() {
  static TWindowSystem instance;
  return instance;
}

TWindowSystemHooks& WindowSystemHooks() {
  static TWindowSystemHooks hooks;
  return hooks;
}

TWindowNode::TWindowNode() = default;
TWindowNode::~TWindowNode() = default;

HWND::HWND(const TWindowNode* node) {
  if (node && node->WindowData()) *this = node->WindowData()->handle;
}

namespace {

TWindowData* Data(const TWindowNode* w) { return w ? w->WindowData() : nullptr; }

bool IsTop(const TWindowNode* w) { return w->WindowParent() == nullptr; }

bool KeepsNormalLayer(const TWindowNode* w) {
  const auto& hook = WindowSystemHooks().keepsNormalLayer;
  return hook && hook(w);
}

TRegion ChildArea(const TWindowNode* c) {
  // c's window rectangle (and region) in its top-level window's coordinates.
  TPoint o = TWindowSystem::OffsetInTop(c);
  TRegion r(Bounds(o.X, o.Y, c->WindowBounds().Width(), c->WindowBounds().Height()));
  if (auto* d = Data(c); d && d->windowRgn) {
    TRegion shape = *d->windowRgn;
    shape.Offset(o.X, o.Y);
    r = r.Intersect(shape);
  }
  return r;
}

bool StyleVisible(const TWindowNode* w) {
  auto* d = Data(w);
  return d && (d->style & WS_VISIBLE);
}

}  // namespace

// ------------------------------------------------------------------ handles

void TWindowSystem::AttachWindow(TWindowNode* w, std::unique_ptr<TWindowData> data) {
  TWindowData* d = data.get();
  d->handle = handles_.Add(w);
  w->wnd_ = std::move(data);
  if (!IsTop(w)) return;
  TPlatformWindowDesc desc;
  bool popup = (d->style & WS_POPUP) && (d->exStyle & (WS_EX_NOACTIVATE | WS_EX_TOPMOST)) &&
               !KeepsNormalLayer(w);
  desc.kind = popup ? TPlatformWindowKind::Popup : TPlatformWindowKind::Normal;
  desc.bounds = w->WindowBounds();
  desc.topmost = (d->exStyle & WS_EX_TOPMOST) != 0;
  desc.title = w->WindowText();
  d->platform = Platform().CreateWindow(desc);
  if (d->classStyle & CS_OPAQUEPAINT) {
    // Its first paint covers it: no pass over the fresh memory ahead of it.
    d->backBuffer.ResizeUninitialized(w->WindowBounds().Width(), w->WindowBounds().Height());
    d->unwritten = TRegion(d->backBuffer.Bounds());
  } else {
    d->backBuffer.Resize(w->WindowBounds().Width(), w->WindowBounds().Height(), 0xFF000000u);
  }
  topLevels_.push_back(w);
  RaiseTopLevel(w);
}

void TWindowSystem::DetachWindow(TWindowNode* w) {
  const HWND h = w->wnd_ ? w->wnd_->handle : HWND();
  handles_.Remove(h);
  // Nothing that names the handle outlives it: a later window never gets it.
  std::erase_if(timers_, [h](const TTimerRecord& t) { return t.hwnd == h; });
  std::erase_if(posted_, [h](const TPostedMessage& p) { return p.hwnd == h; });
  std::erase_if(tracking_, [h](const TTracking& t) { return t.hwnd == h; });
  if (const IPlatformWindow* pw = w->wnd_ ? w->wnd_->platform.get() : nullptr)
    std::erase_if(pendingEvents_, [pw](const TPlatformEvent& e) { return e.window == pw; });
  if (lastClick_.hwnd == h) lastClick_.valid = false;
  if (capture == h) {
    capture = nullptr;
    captureControl = nullptr;
    Platform().SetCapture(nullptr);
    if (const auto& hook = WindowSystemHooks().captureChanged) hook();
  }
  if (focus == h) focus = nullptr;
  for (auto& dc : dcs_)
    if (dc.top == h) {
      dc.canvas->SetTarget(nullptr);
      dc.top = nullptr;
    }
  auto it = std::find(topLevels_.begin(), topLevels_.end(), w);
  if (it != topLevels_.end()) {
    topLevels_.erase(it);
    if (active == h) {
      active = nullptr;
      if (shuttingDown) return;
      // The platform gives activation to the next window in the stack.
      for (auto r = topLevels_.rbegin(); r != topLevels_.rend(); ++r)
        if (StyleVisible(*r) && !IsIconic(*r) && CanActivate(*r) && IsWindowEnabled(*r)) {
          Activate(*r, WA_ACTIVE);
          break;
        }
    }
  }
}

void TWindowSystem::RaiseTopLevel(TWindowNode* w) {
  auto it = std::find(topLevels_.begin(), topLevels_.end(), w);
  if (it == topLevels_.end()) return;
  topLevels_.erase(it);
  topLevels_.push_back(w);
  // Keep the layers: normal, topmost, popup, topmost popup (bottom to top).
  auto layer = [](TWindowNode* x) {
    auto* d = Data(x);
    int l = (d->exStyle & WS_EX_TOPMOST) ? 1 : 0;
    if (d->platform && (d->style & WS_POPUP) && (d->exStyle & (WS_EX_NOACTIVATE | WS_EX_TOPMOST)) &&
        !KeepsNormalLayer(x))
      l += 2;
    return l;
  };
  std::stable_sort(topLevels_.begin(), topLevels_.end(),
                   [&](TWindowNode* a, TWindowNode* b) { return layer(a) < layer(b); });
  if (auto* d = Data(w); d && d->platform) d->platform->Raise();
}

void TWindowSystem::LowerTopLevel(TWindowNode* w) {
  auto it = std::find(topLevels_.begin(), topLevels_.end(), w);
  if (it == topLevels_.end()) return;
  topLevels_.erase(it);
  topLevels_.insert(topLevels_.begin(), w);
  // The platform interface can only raise: raise everything else above it.
  for (TWindowNode* x : std::vector<TWindowNode*>(topLevels_))
    if (x != w) RaiseTopLevel(x);
}

TWindowNode* TWindowSystem::TopLevelOf(const TWindowNode* w) const {
  if (!w) return nullptr;
  while (w->WindowParent()) w = w->WindowParent();
  return const_cast<TWindowNode*>(w);
}

HWND TWindowSystem::FindByPlatformWindow(const IPlatformWindow* pw) const {
  if (!pw) return nullptr;
  for (TWindowNode* w : topLevels_)
    if (Data(w)->platform.get() == pw) return Data(w)->handle;
  return nullptr;
}

// ------------------------------------------------------------------ geometry

TPoint TWindowSystem::WindowOrigin(const TWindowNode* w) {
  const TPoint o = w->WindowBounds().TopLeft();
  return w->WindowParent() ? ClientOrigin(w->WindowParent()) + o : o;
}

TPoint TWindowSystem::ClientOrigin(const TWindowNode* w) {
  // A window's parent has its window data while the window has its own.
  const TWindowData* d = Data(w);
  return d ? WindowOrigin(w) + d->clientRect.TopLeft() : WindowOrigin(w);
}

TPoint TWindowSystem::ScreenToClient(const TWindowNode* w, TPoint screen) {
  return screen - ClientOrigin(w);
}

bool TWindowSystem::Contains(const TWindowNode* w, HWND window) const {
  for (const TWindowNode* n = Find(window); n; n = n->WindowParent())
    if (n == w) return true;
  return false;
}

TRect TWindowSystem::WindowRectOf(const TWindowNode* w) {
  TPoint o = WindowOrigin(w);
  return Bounds(o.X, o.Y, w->WindowBounds().Width(), w->WindowBounds().Height());
}

TPoint TWindowSystem::OffsetInTop(const TWindowNode* w) {
  const TWindowNode* top = w;
  while (top->WindowParent()) top = top->WindowParent();
  return WindowOrigin(w) - WindowOrigin(top);
}

TRegion TWindowSystem::VisibleRegion(const TWindowNode* w, bool clientOnly) const {
  auto* d = Data(w);
  if (!d) return {};
  for (const TWindowNode* a = w; a; a = a->WindowParent())
    if (!StyleVisible(a)) return {};
  TPoint o = OffsetInTop(w);
  TRect r = clientOnly ? OffsetRect(d->clientRect, o.X, o.Y) : Bounds(o.X, o.Y, w->WindowBounds().Width(), w->WindowBounds().Height());
  TRegion rgn(r);
  if (d->windowRgn) {
    TRegion shape = *d->windowRgn;
    shape.Offset(o.X, o.Y);
    rgn = rgn.Intersect(shape);
  }
  // Children show only inside w's client area; outside it (a frame drawn
  // in the non-client area) w keeps its pixels.
  const TRegion client(OffsetRect(d->clientRect, o.X, o.Y));
  for (TWindowNode* c : w->WindowChildren())
    if (StyleVisible(c)) rgn = rgn.Subtract(ChildArea(c).Intersect(client));
  for (const TWindowNode* a = w; a->WindowParent(); a = a->WindowParent()) {
    const TWindowNode* p = a->WindowParent();
    auto* pd = Data(p);
    TPoint po = OffsetInTop(p);
    rgn = rgn.Intersect(OffsetRect(pd->clientRect, po.X, po.Y));
    if (pd->windowRgn) {
      TRegion shape = *pd->windowRgn;
      shape.Offset(po.X, po.Y);
      rgn = rgn.Intersect(shape);
    }
    auto sibs = p->WindowChildren();
    auto it = std::find(sibs.begin(), sibs.end(), a);
    for (++it; it != sibs.end(); ++it)
      if (StyleVisible(*it)) rgn = rgn.Subtract(ChildArea(*it));
  }
  return rgn;
}

void TWindowSystem::RecalcClient(TWindowNode* w) {
  auto* d = Data(w);
  TNCCalcSizeParams p;
  TPoint o = w->WindowParent() ? TPoint{w->WindowBounds().Left, w->WindowBounds().Top} : TPoint{w->WindowBounds().Left, w->WindowBounds().Top};
  p.rgrc[0] = Bounds(o.X, o.Y, w->WindowBounds().Width(), w->WindowBounds().Height());
  p.rgrc[1] = p.rgrc[0];
  p.rgrc[2] = OffsetRect(d->clientRect, o.X, o.Y);
  w->WindowMessage(WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&p));
  TRect c = OffsetRect(p.rgrc[0], -o.X, -o.Y);
  c.Left = std::clamp(c.Left, 0, w->WindowBounds().Width());
  c.Top = std::clamp(c.Top, 0, w->WindowBounds().Height());
  c.Right = std::clamp(c.Right, c.Left, w->WindowBounds().Width());
  c.Bottom = std::clamp(c.Bottom, c.Top, w->WindowBounds().Height());
  d->clientRect = c;
}

TWindowNode* TWindowSystem::TopLevelAtPoint(TPoint screen) const {
  for (auto it = topLevels_.rbegin(); it != topLevels_.rend(); ++it) {
    TWindowNode* w = *it;
    auto* d = Data(w);
    if (!(d->style & WS_VISIBLE) || (d->style & WS_MINIMIZE)) continue;
    if (d->exStyle & WS_EX_TRANSPARENT) continue;
    TRect r = WindowRectOf(w);
    if (!r.Contains(screen)) continue;
    TPoint local = screen - r.TopLeft();
    if (d->windowRgn && !d->windowRgn->Contains(local)) continue;
    if (d->layeredPicture && d->backBuffer.Bounds().Contains(local) &&
        PixelAlpha(d->backBuffer.At(local.X, local.Y)) == 0)
      continue;
    return w;
  }
  return nullptr;
}

TWindowNode* TWindowSystem::ChildWindowAt(TWindowNode* w, TPoint screen) {
  for (;;) {
    TWindowNode* next = nullptr;
    auto kids = w->WindowChildren();
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
      TWindowNode* c = *it;
      auto* d = Data(c);
      if (!d || !(d->style & WS_VISIBLE)) continue;
      TRect r = WindowRectOf(c);
      if (!r.Contains(screen)) continue;
      if (d->windowRgn && !d->windowRgn->Contains(screen - r.TopLeft())) continue;
      if (!(d->style & WS_DISABLED)) next = c;
      break;
    }
    if (!next) return w;
    // Children are clipped to the parent's client area.
    auto* pd = Data(w);
    TRect client = OffsetRect(pd->clientRect, WindowOrigin(w).X, WindowOrigin(w).Y);
    if (!client.Contains(screen)) return w;
    w = next;
  }
}

TWindowNode* TWindowSystem::WindowAtPoint(TPoint screen) const {
  TWindowNode* top = TopLevelAtPoint(screen);
  if (!top || (Data(top)->style & WS_DISABLED)) return nullptr;
  return ChildWindowAt(top, screen);
}

// ------------------------------------------------------------------ invalidation

void TWindowSystem::InvalidateClient(TWindowNode* w, const TRegion* clientRgn, bool erase,
                                     bool allChildren) {
  auto* d = Data(w);
  if (!d) return;
  TRect cr{0, 0, d->clientRect.Width(), d->clientRect.Height()};
  TRegion add = clientRgn ? clientRgn->Intersect(cr) : TRegion(cr);
  if (add.IsEmpty()) return;
  d->update = d->update.Union(add);
  d->erase = d->erase || erase;
  if (!allChildren && (d->style & WS_CLIPCHILDREN)) return;
  for (TWindowNode* c : w->WindowChildren()) {
    auto* cd = Data(c);
    if (!cd) continue;
    TRegion part = add.Intersect(c->WindowBounds());
    if (part.IsEmpty()) continue;
    if (cd->clientRect != TRect{0, 0, c->WindowBounds().Width(), c->WindowBounds().Height()}) cd->frameDirty = true;
    part.Offset(-c->WindowBounds().Left - cd->clientRect.Left, -c->WindowBounds().Top - cd->clientRect.Top);
    InvalidateClient(c, &part, erase, allChildren);
  }
}

void TWindowSystem::InvalidateFrame(TWindowNode* w) {
  if (auto* d = Data(w)) d->frameDirty = true;
}

void TWindowSystem::InvalidateAll(TWindowNode* w) {
  auto* d = Data(w);
  if (!d) return;
  d->frameDirty = true;
  InvalidateClient(w, nullptr, true, false);
  for (TWindowNode* c : w->WindowChildren()) InvalidateAll(c);
}

void TWindowSystem::Validate(TWindowNode* w, const TRegion* clientRgn) {
  auto* d = Data(w);
  if (!d) return;
  if (clientRgn) {
    d->update = d->update.Subtract(*clientRgn);
  } else {
    d->update.Clear();
    d->internalPaint = false;
  }
  if (d->update.IsEmpty()) d->erase = false;
}

void TWindowSystem::InvalidateParentArea(TWindowNode* parent, const TRect& r) {
  TRegion rgn(r);
  InvalidateClient(parent, &rgn, true, false);
}

void TWindowSystem::InvalidateExposed(TWindowNode* parent, const TRect& r,
                                      const TWindowNode* leaving) {
  InvalidateParentArea(parent, r);
  // A parent that clips its children does not pass its invalidation on to
  // them, yet siblings under the uncovered area may have been painted over
  // by the window that left it.
  for (TWindowNode* c : parent->WindowChildren()) {
    auto* cd = Data(c);
    if (c == leaving || !cd || !(cd->style & WS_VISIBLE)) continue;
    TRect part = OffsetRect(Intersection(r, c->WindowBounds()), -c->WindowBounds().Left, -c->WindowBounds().Top);
    if (part.IsEmpty()) continue;
    if (Intersection(part, cd->clientRect) != part) cd->frameDirty = true;
    TRegion rgn(OffsetRect(part, -cd->clientRect.Left, -cd->clientRect.Top));
    InvalidateClient(c, &rgn, true, true);
  }
}

bool TWindowSystem::NeedsPaint() const {
  bool needed = false;
  handles_.ForEach([&](HWND, TWindowNode* w) {
    auto* d = Data(w);
    if (!needed && (d->frameDirty || !d->update.IsEmpty() || d->internalPaint) && w->WindowShowing())
      needed = !Data(TopLevelOf(w))->layeredPicture;
  });
  if (needed) return true;
  for (TWindowNode* w : topLevels_)
    if (!Data(w)->drawn.IsEmpty() && Data(w)->platform && Data(w)->platform->Visible()) return true;
  return false;
}

void TWindowSystem::PaintTree(TWindowNode* w) {
  // Painting runs user code (OnPaint, Paint overrides) that may destroy any
  // window: after each message only the handle is trusted.
  const HWND h = w->wnd_ ? w->wnd_->handle : HWND();
  if (!IsLive(h) || !w->WindowShowing()) return;
  auto* d = Data(w);
  if (d->frameDirty) {
    d->frameDirty = false;
    w->WindowMessage(WM_NCPAINT, 1, 0);
  }
  if (!IsLive(h)) return;
  if (!d->update.IsEmpty() || d->internalPaint) {
    w->WindowMessage(WM_PAINT, 0, 0);
    // A window that did not validate would be painted forever.
    if (IsLive(h)) Validate(w, nullptr);
  }
  if (!IsLive(h)) return;
  std::vector<HWND> children;
  for (TWindowNode* c : w->WindowChildren()) children.push_back(c);
  for (HWND c : children)
    if (TWindowNode* child = Find(c)) PaintTree(child);
}

void TWindowSystem::PaintWindowNow(TWindowNode* w, bool children) {
  const HWND h = w->wnd_ ? w->wnd_->handle : HWND();
  if (!IsLive(h) || !w->WindowShowing() || Data(TopLevelOf(w))->layeredPicture) return;
  if (children) {
    PaintTree(w);
  } else {
    auto* d = Data(w);
    if (d->frameDirty) {
      d->frameDirty = false;
      w->WindowMessage(WM_NCPAINT, 1, 0);
    }
    if (IsLive(h) && (!d->update.IsEmpty() || d->internalPaint)) {
      w->WindowMessage(WM_PAINT, 0, 0);
      if (IsLive(h)) Validate(w, nullptr);
    }
  }
  PresentAll();
}

void TWindowSystem::PaintAll() {
  std::vector<HWND> tops;
  for (TWindowNode* top : topLevels_) tops.push_back(top);
  for (HWND h : tops) {
    TWindowNode* top = Find(h);
    if (!top || Data(top)->layeredPicture) continue;
    PaintTree(top);
  }
  PresentAll();
}

void TWindowSystem::MarkDrawn(TWindowNode* top, const TRegion& topRgn) {
  if (auto* d = Data(top)) d->drawn = d->drawn.Union(topRgn);
}

void TWindowSystem::MarkDrawn(HWND top, const TRegion& topRgn) {
  if (TWindowNode* w = Find(top)) MarkDrawn(w, topRgn);
}

void TWindowSystem::PresentAll() {
  for (auto& dc : dcs_) MarkDrawn(dc.top, dc.canvas->ClipRegion());
  for (TWindowNode* top : topLevels_) {
    auto* d = Data(top);
    if (d->layeredPicture) {
      // A layered picture is shown by UpdateLayeredWindow; what was drawn
      // into the back buffer is never presented, so forget it (else the
      // window would count as needing a present forever).
      d->drawn.Clear();
      continue;
    }
    if (d->drawn.IsEmpty()) continue;
    DefinedBackBuffer(top);
    TRegion dirty = d->drawn.Intersect(d->backBuffer.Bounds());
    d->drawn.Clear();
    if (d->hasColorKey) {
      // A colour key makes the key-coloured pixels holes in the window shape.
      std::vector<TRect> rows;
      uint32_t key = PixelFromColorRef(d->colorKey) & 0xFFFFFF;
      for (int y = 0; y < d->backBuffer.Height(); ++y) {
        const uint32_t* row = d->backBuffer.Row(y);
        int x = 0, wdt = d->backBuffer.Width();
        while (x < wdt) {
          while (x < wdt && (row[x] & 0xFFFFFF) == key) ++x;
          int s = x;
          while (x < wdt && (row[x] & 0xFFFFFF) != key) ++x;
          if (x > s) rows.push_back({s, y, x, y + 1});
        }
      }
      TRegion shape = TRegion::FromRects(rows);
      if (d->windowRgn) shape = shape.Intersect(*d->windowRgn);
      d->platform->SetShape(&shape);
    }
    if (!dirty.IsEmpty()) d->platform->Present(d->backBuffer, dirty);
  }
}

// ------------------------------------------------------------------ contexts

namespace {

void WriteUnwritten(TWindowData& d) {
  for (const TRect& r : d.unwritten.Rects())
    for (int y = r.Top; y < r.Bottom; ++y) std::fill(d.backBuffer.Row(y) + r.Left, d.backBuffer.Row(y) + r.Right, 0xFF000000u);
  d.unwritten.Clear();
}

}  // namespace

const TPixmap& TWindowSystem::DefinedBackBuffer(TWindowNode* top) {
  TWindowData& d = *Data(top);
  if (!d.unwritten.IsEmpty()) WriteUnwritten(d);
  return d.backBuffer;
}

HDC TWindowSystem::MakeDC(TWindowNode* w, bool whole, const TRegion* extraClipClient, bool paint) {
  if (!w) {
    // The screen: a context that draws nowhere.
    TDCRecord rec;
    rec.canvas = std::make_unique<TCanvas>();
    HDC dc = rec.canvas.get();
    dcs_.push_back(std::move(rec));
    return dc;
  }
  TWindowNode* top = TopLevelOf(w);
  auto* d = Data(w);
  TDCRecord rec;
  rec.canvas = std::make_unique<TCanvas>(&Data(top)->backBuffer);
  rec.top = Data(top)->handle;
  TPoint o = OffsetInTop(w);
  if (!whole) o = o + d->clientRect.TopLeft();
  TRegion clip = VisibleRegion(w, !whole);
  if (extraClipClient) {
    TRegion extra = *extraClipClient;
    extra.Offset(o.X, o.Y);
    clip = clip.Intersect(extra);
  }
  if (TWindowData& td = *Data(top); !td.unwritten.IsEmpty()) {
    // A CS_OPAQUEPAINT window's own paint writes its whole clip; any other
    // context may read pixels (reading is not clipped).
    if (paint && w == top && (td.classStyle & CS_OPAQUEPAINT)) td.unwritten = td.unwritten.Subtract(clip);
    else WriteUnwritten(td);
  }
  rec.canvas->SetBaseClip(clip);
  rec.canvas->SetViewportOrg(o);
  rec.canvas->Font().Assign(w->WindowFont());
  HDC dc = rec.canvas.get();
  dcs_.push_back(std::move(rec));
  return dc;
}

void TWindowSystem::ReleaseDCInternal(HDC dc) {
  auto it = std::find_if(dcs_.begin(), dcs_.end(), [dc](const TDCRecord& r) { return r.canvas.get() == dc; });
  if (it == dcs_.end()) return;
  MarkDrawn(it->top, it->canvas->ClipRegion());
  dcs_.erase(it);
}

HDC TWindowSystem::BeginPaintInternal(TWindowNode* w, TPaintStruct& ps) {
  auto* d = Data(w);
  TRegion update = d->update;
  bool erase = d->erase;
  d->update.Clear();
  d->erase = false;
  d->internalPaint = false;
  ps.rcPaint = update.Bounds();
  HDC dc = MakeDC(w, false, &update, true);
  ps.hdc = dc;
  ps.fErase = false;
  if (erase) ps.fErase = w->WindowMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
  return dc;
}

// ------------------------------------------------------------------ queue and timers

bool TWindowSystem::Post(HWND hwnd, uint32_t msg, WPARAM w, LPARAM l) {
  if (hwnd && !IsLive(hwnd)) return false;
  posted_.push_back({hwnd, msg, w, l});
  return true;
}

uintptr_t TWindowSystem::SetTimer(HWND hwnd, uintptr_t id, uint32_t ms, TTimerProc proc) {
  if (hwnd && !IsLive(hwnd)) return 0;
  if (!hwnd) id = id ? id : ++nextTimerId_;
  ms = std::max<uint32_t>(ms, 1);
  uint64_t now = Platform().NowMs();
  for (auto& t : timers_)
    if (t.hwnd == hwnd && t.id == id) {
      t.interval = ms;
      t.due = now + ms;
      t.proc = std::move(proc);
      return id;
    }
  timers_.push_back({hwnd, id, ms, now + ms, std::move(proc)});
  return id == 0 && hwnd ? 1 : id;
}

bool TWindowSystem::KillTimer(HWND hwnd, uintptr_t id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const TTimerRecord& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

int TWindowSystem::NextTimerTimeout() const {
  if (timers_.empty()) return -1;
  uint64_t now = Platform().NowMs();
  uint64_t next = UINT64_MAX;
  for (auto& t : timers_) next = std::min(next, t.due);
  return next <= now ? 0 : static_cast<int>(std::min<uint64_t>(next - now, 1 << 30));
}

void TWindowSystem::DispatchTo(HWND hwnd, uint32_t msg, WPARAM w, LPARAM l) {
  if (TWindowNode* target = Find(hwnd)) target->WindowMessage(msg, w, l);
}

bool TWindowSystem::DispatchPosted() {
  while (!posted_.empty()) {
    TPostedMessage m = posted_.front();
    posted_.pop_front();
    if (m.msg == WM_QUIT && !m.hwnd) {
      RequestQuit(static_cast<int>(m.w));
      return true;
    }
    if (m.hwnd && !IsLive(m.hwnd)) continue;  // its window is gone
    DispatchTo(m.hwnd, m.msg, m.w, m.l);
    return true;
  }
  return false;
}

bool TWindowSystem::DispatchTimer() {
  uint64_t now = Platform().NowMs();
  // The most overdue timer first; each fires at most once per call.
  TTimerRecord* due = nullptr;
  for (auto& t : timers_)
    if (t.due <= now && (!due || t.due < due->due)) due = &t;
  if (!due) return false;
  due->due = now + due->interval;
  // Copies: the callback may kill the timer or destroy its window.
  const HWND hwnd = due->hwnd;
  const uintptr_t id = due->id;
  const TTimerProc proc = due->proc;
  if (proc) proc(hwnd, WM_TIMER, id, static_cast<DWORD>(now));
  else DispatchTo(hwnd, WM_TIMER, id, 0);
  return true;
}

bool TWindowSystem::NextPlatformEvent(TPlatformEvent& ev, bool wait) {
  if (!pendingEvents_.empty()) {
    ev = std::move(pendingEvents_.front());
    pendingEvents_.pop_front();
    return true;
  }
  return Platform().WaitEvent(ev, wait ? NextTimerTimeout() : 0);
}

bool TWindowSystem::ProcessNonInput() { return DispatchPosted() || DispatchTimer(); }

void TWindowSystem::DeferDelete(TComponent* c) {
  for (const auto& d : deferred_)
    if (d.Get() == c) return;
  deferred_.emplace_back(c);
}

void TWindowSystem::DeferCall(std::function<void()> fn) { deferredCalls_.push_back(std::move(fn)); }

bool TWindowSystem::ProcessMessage() {
  // Calls the worker threads posted (Synchronize, Queue) come first.
  if (CheckSynchronize()) return true;
  if (!deferredCalls_.empty()) {
    const std::function<void()> fn = std::move(deferredCalls_.front());
    deferredCalls_.pop_front();
    fn();
    return true;
  }
  if (!deferred_.empty()) {
    TComponent* c = deferred_.front().Get();
    deferred_.erase(deferred_.begin());
    delete c;  // its destructor forgets it everywhere (null when it went already)
    return true;
  }
  TPlatformEvent ev;
  if (NextPlatformEvent(ev, false)) {
    HandlePlatformEvent(ev);
    return true;
  }
  if (DispatchPosted()) return true;
  // Painting goes before timers: a timer due on every turn (a fade, an
  // animation whose step outlasts its interval) must not keep a window from
  // ever showing what it draws.
  if (NeedsPaint()) {
    PaintAll();
    return true;
  }
  if (DispatchTimer()) return true;
  return false;
}

void TWindowSystem::WaitMessage() {
  TPlatformEvent ev;
  if (NextPlatformEvent(ev, true)) pendingEvents_.push_back(std::move(ev));
}

int TWindowSystem::AddSendWatcher(TSendWatcher watcher) {
  sendWatchers_.emplace_back(nextSendWatcher_, std::move(watcher));
  return nextSendWatcher_++;
}

void TWindowSystem::RemoveSendWatcher(int id) {
  std::erase_if(sendWatchers_, [id](const auto& w) { return w.first == id; });
}

// A watcher may remove itself or others while it runs: the list is copied.
void TWindowSystem::NotifySend(HWND hwnd, uint32_t msg) {
  if (sendWatchers_.empty()) return;
  const auto watchers = sendWatchers_;
  for (const auto& [id, watcher] : watchers) {
    const bool live = std::any_of(sendWatchers_.begin(), sendWatchers_.end(),
                                  [id = id](const auto& w) { return w.first == id; });
    if (live) watcher(hwnd, msg);
  }
}

void TWindowSystem::Reset() {
  sendWatchers_.clear();
  posted_.clear();
  timers_.clear();
  pendingEvents_.clear();
  tracking_.clear();
  dcs_.clear();
  deferred_.clear();
  deferredCalls_.clear();
  if (const auto& hook = WindowSystemHooks().reset) hook();
  lastClick_ = {};
  capture = focus = active = nullptr;
  captureControl = mouseControl = nullptr;
  cursor = nullptr;
  std::fill(std::begin(keysDown), std::end(keysDown), 0);
  inMoveSizeLoop = false;
  shuttingDown = false;
  modalLevel = 0;
  quit_ = false;
  quitCode_ = 0;
}

void TWindowSystem::ControlDestroyed(const TComponent* c) {
  std::erase_if(deferred_, [c](const TWeakRef& d) { return d.Get() == c; });
  if (captureControl.Get() == c) {
    captureControl = nullptr;
    ReleaseCaptureInternal();
  }
  if (mouseControl.Get() == c) mouseControl = nullptr;
}

}  // namespace qz
