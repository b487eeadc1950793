#include "host/ui/Windows.h"

#include <algorithm>

#include "host/graphics/Canvas.h"
#include "host/ui/WindowSystem.h"

namespace qz {

namespace {

TWindowData* Data(const TWindowNode* w) { return w ? w->WindowData() : nullptr; }
TWindowSystem& WS() { return WindowSystem(); }
bool IsTopLevel(const TWindowNode* w) { return w->WindowParent() == nullptr; }

// The window is the truth for these; its node keeps a copy.
void SyncVisibleField(TWindowNode* w, bool v) { w->StoreWindowVisible(v); }
void SyncEnabledField(TWindowNode* w, bool v) { w->StoreWindowEnabled(v); }
void SetFields(TWindowNode* w, int x, int y, int cx, int cy) { w->StoreWindowBounds(Bounds(x, y, cx, cy)); }

}  // namespace

// ------------------------------------------------------------------ messages

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWindowNode* target = WindowNodeOf(hwnd);
  if (!target) return 0;
  WS().NotifySend(hwnd, msg);
  return target->WindowMessage(msg, wParam, lParam);
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return WS().Post(hwnd, msg, w, l); }

void PostQuitMessage(int exitCode) { WS().Post(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0); }

// ------------------------------------------------------------------ tree and geometry

TWindowNode* WindowNodeOf(HWND hwnd) { return hwnd ? WS().Find(hwnd) : nullptr; }

bool IsWindow(HWND hwnd) { return WindowNodeOf(hwnd) != nullptr; }

HWND GetParent(HWND hwnd) {
  TWindowNode* w = WindowNodeOf(hwnd);
  return w ? HWND(w->WindowParent()) : nullptr;
}

bool GetWindowRect(HWND hwnd, TRect& rect) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  rect = TWindowSystem::WindowRectOf(w);
  return true;
}

bool GetClientRect(HWND hwnd, TRect& rect) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  const TRect& client = Data(w)->clientRect;
  rect = {0, 0, client.Width(), client.Height()};
  return true;
}

bool ClientToScreen(HWND hwnd, TPoint& p) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  p = p + TWindowSystem::ClientOrigin(w);
  return true;
}

bool ScreenToClient(HWND hwnd, TPoint& p) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  p = TWindowSystem::ScreenToClient(w, p);
  return true;
}

int MapWindowPoints(HWND from, HWND to, TPoint* points, int count) {
  TWindowNode* source = WindowNodeOf(from);
  TWindowNode* dest = WindowNodeOf(to);
  TPoint a = source ? TWindowSystem::ClientOrigin(source) : TPoint{};
  TPoint b = dest ? TWindowSystem::ClientOrigin(dest) : TPoint{};
  TPoint d = a - b;
  for (int i = 0; i < count; ++i) points[i] = points[i] + d;
  return MAKELPARAM(d.X, d.Y);
}

HWND WindowFromPoint(TPoint screen) { return WS().WindowAtPoint(screen); }

bool SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  auto& ws = WS();
  auto* d = Data(w);
  TWindowPos wp{hwnd, after, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) wp.x = w->WindowBounds().Left, wp.y = w->WindowBounds().Top;
  if (flags & SWP_NOSIZE) wp.cx = w->WindowBounds().Width(), wp.cy = w->WindowBounds().Height();
  if (!(flags & SWP_NOSENDCHANGING)) w->WindowMessage(WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  if (!IsWindow(hwnd)) return false;
  wp.cx = std::max(wp.cx, 0);
  wp.cy = std::max(wp.cy, 0);
  TRect oldRect = w->WindowBounds();
  TRect oldClient = d->clientRect;
  bool moved = wp.x != oldRect.Left || wp.y != oldRect.Top;
  bool sized = wp.cx != oldRect.Width() || wp.cy != oldRect.Height();
  bool frameChanged = (flags & SWP_FRAMECHANGED) != 0;
  bool visible = IsWindowVisible(w);
  if (moved || sized) {
    SetFields(w, wp.x, wp.y, wp.cx, wp.cy);
    if (!IsTopLevel(w) && visible)
      ws.InvalidateExposed(w->WindowParent(), UnionRect(oldRect, w->WindowBounds()), w);
    if (IsTopLevel(w)) d->platform->SetBounds(w->WindowBounds());
  }
  if (sized || frameChanged) ws.RecalcClient(w);
  // The whole window is invalidated below and painted again, so the
  // back buffer keeps its memory rather than being filled first.
  if (IsTopLevel(w) && sized) {
    // Pixels never written stay so, wherever the resize moves them.
    // A buffer not yet written at all is not filled either: every pixel
    // stays unwritten and is filled before anything reads it.
    const bool unwritten = !d->unwritten.IsEmpty();
    if (unwritten) {
      d->backBuffer.ResizeUninitialized(wp.cx, wp.cy);
      d->unwritten = TRegion(d->backBuffer.Bounds());
    } else {
      d->backBuffer.ResizeForRepaint(wp.cx, wp.cy, 0xFF000000u);
    }
  }
  if (sized || frameChanged || (moved && !IsTopLevel(w))) ws.InvalidateAll(w);
  if (!(flags & SWP_NOZORDER)) {
    if (IsTopLevel(w)) {
      if (after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        bool top = after == HWND_TOPMOST;
        d->exStyle = top ? (d->exStyle | WS_EX_TOPMOST) : (d->exStyle & ~WS_EX_TOPMOST);
        d->platform->SetTopmost(top);
        ws.RaiseTopLevel(w);
      } else if (after == HWND_BOTTOM) {
        ws.LowerTopLevel(w);
      } else {
        ws.RaiseTopLevel(w);
      }
    } else {
      w->WindowParent()->RestackChild(w, after);
      if (visible) ws.InvalidateExposed(w->WindowParent(), w->WindowBounds(), w);
      ws.InvalidateAll(w);
    }
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hwnd, SW_HIDE);
  if (!IsWindow(hwnd)) return true;
  if (!(flags & SWP_NOACTIVATE) && IsTopLevel(w) && IsWindowVisible(hwnd) &&
      TWindowSystem::CanActivate(w))
    ws.Activate(w, WA_ACTIVE);
  if (!IsWindow(hwnd)) return true;  // an activation handler destroyed it
  wp.flags = flags;
  if (!moved && d->clientRect.TopLeft() == oldClient.TopLeft()) wp.flags |= SWP_NOMOVE;
  if (!sized && d->clientRect.Size() == oldClient.Size()) wp.flags |= SWP_NOSIZE;
  else wp.flags &= ~SWP_NOSIZE;
  if (moved) wp.flags &= ~SWP_NOMOVE;
  w->WindowMessage(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, cx, cy,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : uint32_t(SWP_NOREDRAW)));
}

bool ShowWindow(HWND hwnd, int cmd) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  auto& ws = WS();
  auto* d = Data(w);
  bool wasVisible = (d->style & WS_VISIBLE) != 0;
  bool top = IsTopLevel(w);
  auto show = [&](bool activate) {
    if (!(d->style & WS_VISIBLE)) {
      w->WindowMessage(WM_SHOWWINDOW, 1, 0);
      if (!IsWindow(hwnd)) return;
      d->style |= WS_VISIBLE;
      SyncVisibleField(w, true);
      ws.InvalidateAll(w);
      if (!top) ws.InvalidateParentArea(w->WindowParent(), w->WindowBounds());
    }
    if (top && !(d->style & WS_MINIMIZE)) {
      d->platform->SetVisible(true, activate && TWindowSystem::CanActivate(w));
      d->platformVisible = true;
      ws.MarkDrawn(w, TRegion(d->backBuffer.Bounds()));
      ws.RaiseTopLevel(w);
    }
    if (activate && top && TWindowSystem::CanActivate(w) && IsWindowEnabled(w)) ws.Activate(w, WA_ACTIVE);
  };
  auto restoreFrom = [&]() {
    if (d->style & WS_MINIMIZE) {
      d->style &= ~WS_MINIMIZE;
      if (d->style & WS_MAXIMIZE) {
        show(true);
        return;
      }
      TRect n = d->normalRect;
      show(true);
      SetWindowPos(hwnd, nullptr, n.Left, n.Top, n.Width(), n.Height(), SWP_NOZORDER | SWP_FRAMECHANGED);
    } else if (d->style & WS_MAXIMIZE) {
      d->style &= ~WS_MAXIMIZE;
      TRect n = d->normalRect;
      SetWindowPos(hwnd, nullptr, n.Left, n.Top, n.Width(), n.Height(), SWP_NOZORDER | SWP_FRAMECHANGED);
      if (IsWindow(hwnd)) show(true);
    } else {
      show(true);
    }
  };
  switch (cmd) {
    case SW_HIDE: {
      if (!wasVisible) return false;
      w->WindowMessage(WM_SHOWWINDOW, 0, 0);
      if (!IsWindow(hwnd)) return true;
      d->style &= ~WS_VISIBLE;
      SyncVisibleField(w, false);
      if (ws.capture && ws.Contains(w, ws.capture)) ReleaseCapture();
      if (!IsWindow(hwnd)) return true;
      if (ws.focus && ws.Contains(w, ws.focus) && !top) SetFocus(nullptr);
      if (!IsWindow(hwnd)) return true;
      if (top) {
        d->platform->SetVisible(false, false);
        d->platformVisible = false;
        if (ws.active == w) {
          TWindowNode* next = nullptr;
          for (auto it = ws.TopLevels().rbegin(); it != ws.TopLevels().rend(); ++it)
            if (*it != w && IsWindowVisible(*it) && !IsIconic(*it) && TWindowSystem::CanActivate(*it) &&
                IsWindowEnabled(*it)) {
              next = *it;
              break;
            }
          ws.Deactivate(w, next);
        }
      } else {
        ws.InvalidateExposed(w->WindowParent(), w->WindowBounds(), w);
      }
      return true;
    }
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
      show(false);
      return wasVisible;
    case SW_SHOW:
      show(true);
      return wasVisible;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      restoreFrom();
      return wasVisible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED: {
      if (!top || (d->style & WS_MINIMIZE)) return wasVisible;
      if (!(d->style & WS_MAXIMIZE)) d->normalRect = w->WindowBounds();
      d->style |= WS_MINIMIZE | WS_VISIBLE;
      SyncVisibleField(w, true);
      d->platform->SetVisible(false, false);
      if (ws.active == w) ws.Deactivate(w, nullptr);
      SendMessage(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
      return wasVisible;
    }
    case SW_SHOWMAXIMIZED: {
      if (!top) {
        show(true);
        return wasVisible;
      }
      if (d->style & WS_MINIMIZE) d->style &= ~WS_MINIMIZE;
      if (!(d->style & WS_MAXIMIZE)) {
        d->normalRect = w->WindowBounds();
        d->style |= WS_MAXIMIZE;
      }
      TMinMaxInfo mm = DefaultMinMaxInfo(w);
      w->WindowMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
      SetWindowPos(hwnd, nullptr, mm.ptMaxPosition.X, mm.ptMaxPosition.Y, mm.ptMaxSize.X, mm.ptMaxSize.Y,
                   SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOSENDCHANGING);
      if (IsWindow(hwnd)) show(true);
      return wasVisible;
    }
    default:
      return wasVisible;
  }
}

bool IsWindowVisible(HWND hwnd) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  for (; w; w = w->WindowParent())
    if (!Data(w) || !(Data(w)->style & WS_VISIBLE)) return false;
  return true;
}

bool IsWindowEnabled(HWND hwnd) {
  TWindowNode* w = WindowNodeOf(hwnd);
  return w && !(Data(w)->style & WS_DISABLED);
}

bool EnableWindow(HWND hwnd, bool enable) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  auto* d = Data(w);
  bool wasDisabled = (d->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable) d->style &= ~WS_DISABLED;
  else d->style |= WS_DISABLED;
  SyncEnabledField(w, enable);
  auto& ws = WS();
  if (!enable) {
    if (ws.capture && ws.Contains(w, ws.capture)) ReleaseCapture();
    if (ws.focus && IsWindow(hwnd) && ws.Contains(w, ws.focus)) SetFocus(nullptr);
  }
  SendMessage(hwnd, WM_ENABLE, enable);
  return wasDisabled;
}

bool IsIconic(HWND hwnd) {
  TWindowNode* w = WindowNodeOf(hwnd);
  return w && (Data(w)->style & WS_MINIMIZE);
}
bool IsZoomed(HWND hwnd) {
  TWindowNode* w = WindowNodeOf(hwnd);
  return w && (Data(w)->style & WS_MAXIMIZE);
}

intptr_t GetWindowLong(HWND hwnd, int index) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return 0;
  auto* d = Data(w);
  switch (index) {
    case GWL_STYLE: return static_cast<intptr_t>(d->style);
    case GWL_EXSTYLE: return static_cast<intptr_t>(d->exStyle);
    case GWL_ID: return d->id;
    case GWL_USERDATA: return d->userData;
    default: return 0;
  }
}

intptr_t SetWindowLong(HWND hwnd, int index, intptr_t value) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return 0;
  auto* d = Data(w);
  intptr_t old = GetWindowLong(hwnd, index);
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: {
      uint32_t v = static_cast<uint32_t>(value);
      WPARAM which = static_cast<WPARAM>(index);
      struct { uint32_t oldStyle, newStyle; } ss{static_cast<uint32_t>(old), v};
      w->WindowMessage(WM_STYLECHANGING, which, reinterpret_cast<LPARAM>(&ss));
      if (!IsWindow(hwnd)) return 0;
      if (index == GWL_STYLE) {
        // Visibility and enabling keep their own functions' side effects.
        uint32_t keep = WS_VISIBLE | WS_DISABLED;
        d->style = (ss.newStyle & ~keep) | (d->style & keep);
        if ((ss.newStyle & WS_VISIBLE) != (d->style & WS_VISIBLE))
          ShowWindow(hwnd, (ss.newStyle & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
        if ((ss.newStyle & WS_DISABLED) != (d->style & WS_DISABLED))
          EnableWindow(hwnd, !(ss.newStyle & WS_DISABLED));
      } else {
        uint32_t oldEx = d->exStyle;
        d->exStyle = ss.newStyle;
        if ((oldEx & WS_EX_LAYERED) && !(ss.newStyle & WS_EX_LAYERED) && d->platform) {
          d->layeredPicture = false;
          d->hasColorKey = false;
          d->opacity = 255;
          d->platform->SetOpacity(255);
          const TRegion* shape = d->windowRgn.get();
          d->platform->SetShape(shape);
          WS().InvalidateAll(w);
        }
      }
      SendMessage(hwnd, WM_STYLECHANGED, which, reinterpret_cast<LPARAM>(&ss));
      break;
    }
    case GWL_ID: d->id = value; break;
    case GWL_USERDATA: d->userData = value; break;
    default: return 0;
  }
  return old;
}

// ------------------------------------------------------------------ capture, focus, activation

HWND SetCapture(HWND hwnd) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return WS().capture;
  return WS().SetCaptureInternal(hwnd);
}

bool ReleaseCapture() {
  WS().ReleaseCaptureInternal();
  return true;
}

HWND GetCapture() { return WS().capture; }

HWND SetFocus(HWND hwnd) {
  if (hwnd && !IsWindow(hwnd)) return nullptr;
  return WS().SetFocusInternal(hwnd);
}

HWND GetFocus() { return WS().focus; }
HWND GetActiveWindow() { return WS().active; }
HWND GetForegroundWindow() { return WS().active; }

HWND SetActiveWindow(HWND hwnd) {
  HWND old = WS().active;
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return old;
  TWindowNode* top = WS().TopLevelOf(w);
  if (TWindowSystem::CanActivate(top) && IsWindowEnabled(top)) WS().Activate(top, WA_ACTIVE);
  return old;
}

bool SetForegroundWindow(HWND hwnd) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  SetActiveWindow(hwnd);
  return WS().active == WS().TopLevelOf(w);
}

// ------------------------------------------------------------------ painting

bool InvalidateRect(HWND hwnd, const TRect* rect, bool erase) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  if (rect) {
    TRegion r(*rect);
    WS().InvalidateClient(w, &r, erase, false);
  } else {
    WS().InvalidateClient(w, nullptr, erase, false);
  }
  return true;
}

bool InvalidateRgn(HWND hwnd, const TRegion* rgn, bool erase) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  WS().InvalidateClient(w, rgn, erase, false);
  return true;
}

bool ValidateRect(HWND hwnd, const TRect* rect) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  if (rect) {
    TRegion r(*rect);
    WS().Validate(w, &r);
  } else {
    WS().Validate(w, nullptr);
  }
  return true;
}

bool UpdateWindow(HWND hwnd) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  WS().PaintWindowNow(w, false);
  return true;
}

bool RedrawWindow(HWND hwnd, const TRect* rect, const TRegion* rgn, UINT flags) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return false;
  auto& ws = WS();
  TRegion area;
  const TRegion* areaPtr = nullptr;
  if (rgn) {
    area = *rgn;
    areaPtr = &area;
  } else if (rect) {
    area = TRegion(*rect);
    areaPtr = &area;
  }
  bool allChildren = (flags & RDW_ALLCHILDREN) != 0;
  auto apply = [&](auto&& self, TWindowNode* target, const TRegion* a) -> void {
    auto* d = Data(target);
    if (flags & RDW_INVALIDATE) {
      TRect cr{0, 0, d->clientRect.Width(), d->clientRect.Height()};
      TRegion add = a ? a->Intersect(cr) : TRegion(cr);
      d->update = d->update.Union(add);
      if (flags & RDW_ERASE) d->erase = true;
      if (flags & RDW_FRAME) d->frameDirty = true;
    }
    if (flags & RDW_INTERNALPAINT) d->internalPaint = true;
    if (flags & RDW_VALIDATE) {
      if (a) d->update = d->update.Subtract(*a);
      else d->update.Clear();
      if (flags & RDW_NOFRAME) d->frameDirty = false;
      if (flags & RDW_NOERASE) d->erase = false;
      if (flags & RDW_NOINTERNALPAINT) d->internalPaint = false;
    }
    bool kids = allChildren || (!(flags & RDW_NOCHILDREN) && !(d->style & WS_CLIPCHILDREN));
    if (!kids) return;
    for (TWindowNode* c : target->WindowChildren()) {
      auto* cd = Data(c);
      if (!cd) continue;
      if (!a) {
        if (flags & RDW_INVALIDATE) cd->frameDirty = cd->frameDirty || (flags & RDW_FRAME);
        self(self, c, nullptr);
        continue;
      }
      TRegion part = a->Intersect(c->WindowBounds());
      if (part.IsEmpty()) continue;
      part.Offset(-c->WindowBounds().Left - cd->clientRect.Left, -c->WindowBounds().Top - cd->clientRect.Top);
      self(self, c, &part);
    }
  };
  apply(apply, w, areaPtr);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) ws.PaintWindowNow(w, !(flags & RDW_NOCHILDREN));
  return true;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd) return WS().MakeDC(nullptr, false, nullptr);
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return nullptr;
  return WS().MakeDC(w, false, nullptr);
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd) return WS().MakeDC(nullptr, true, nullptr);
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return nullptr;
  return WS().MakeDC(w, true, nullptr);
}

int ReleaseDC(HWND, HDC dc) {
  if (!dc) return 0;
  WS().ReleaseDCInternal(dc);
  return 1;
}

HDC BeginPaint(HWND hwnd, TPaintStruct& ps) {
  ps = {};
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return nullptr;
  return WS().BeginPaintInternal(w, ps);
}

bool EndPaint(HWND, const TPaintStruct& ps) {
  if (ps.hdc) WS().ReleaseDCInternal(ps.hdc);
  return true;
}

int SetWindowRgn(HWND hwnd, std::unique_ptr<TRegion> rgn, bool redraw) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return 0;
  auto& ws = WS();
  auto* d = Data(w);
  if (!IsTopLevel(w) && IsWindowVisible(hwnd))
    ws.InvalidateExposed(w->WindowParent(), w->WindowBounds(), w);
  d->windowRgn = std::move(rgn);
  if (d->platform) d->platform->SetShape(d->windowRgn.get());
  if (redraw) ws.InvalidateAll(w);
  return 1;
}

int GetWindowRgn(HWND hwnd, TRegion& rgn) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w || !Data(w)->windowRgn) return RGN_ERROR;
  rgn = *Data(w)->windowRgn;
  return RegionKind(rgn);
}

bool SetLayeredWindowAttributes(HWND hwnd, TColorRef key, uint8_t alpha, DWORD flags) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w || !IsTopLevel(w) || !(Data(w)->exStyle & WS_EX_LAYERED)) return false;
  auto* d = Data(w);
  bool wasPicture = d->layeredPicture;
  d->layeredPicture = false;
  d->opacity = (flags & LWA_ALPHA) ? alpha : 255;
  d->platform->SetOpacity(d->opacity);
  d->hasColorKey = (flags & LWA_COLORKEY) != 0;
  d->colorKey = key;
  if (!d->hasColorKey) d->platform->SetShape(d->windowRgn.get());
  if (wasPicture || d->hasColorKey) WS().InvalidateAll(w);
  return true;
}

bool UpdateLayeredWindow(HWND hwnd, const TPoint* pos, const TSize* size, const TPixmap& premultiplied,
                         const TBlendFunction* blend, DWORD flags) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w || !IsTopLevel(w) || !(Data(w)->exStyle & WS_EX_LAYERED)) return false;
  if (pos || size) {
    TPoint p = pos ? *pos : TPoint{w->WindowBounds().Left, w->WindowBounds().Top};
    TSize s = size ? *size : TSize{w->WindowBounds().Width(), w->WindowBounds().Height()};
    SetWindowPos(hwnd, nullptr, p.X, p.Y, s.cx, s.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // Moving and sizing run the window's handlers.
    w = WindowNodeOf(hwnd);
    if (!w) return false;
  }
  auto* d = Data(w);
  if (premultiplied.Width() != w->WindowBounds().Width() || premultiplied.Height() != w->WindowBounds().Height()) return false;
  d->layeredPicture = true;
  d->backBuffer = premultiplied;
  d->unwritten.Clear();
  uint8_t alpha = blend ? blend->SourceConstantAlpha : 255;
  d->opacity = alpha;
  d->platform->SetOpacity(alpha);
  d->platform->PresentLayered(premultiplied);
  return true;
}

bool FrameUpdatePending(HWND hwnd) {
  TWinControl* w = WindowControl(hwnd);
  return w != nullptr && Data(w)->frameDirty;
}

bool MoveLayeredWindow(HWND hwnd, const TPoint* pos, uint8_t alpha) {
  TWinControl* w = WindowControl(hwnd);
  if (!w || !IsTopLevel(w) || !Data(w)->layeredPicture) return false;
  if (pos && (pos->X != w->Left() || pos->Y != w->Top())) {
    SetWindowPos(hwnd, nullptr, pos->X, pos->Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Moving runs the window's handlers.
    w = WindowControl(hwnd);
    if (!w || !Data(w)->layeredPicture) return false;
  }
  auto* d = Data(w);
  if (d->opacity != alpha) {
    d->opacity = alpha;
    d->platform->SetOpacity(alpha);
  }
  return true;
}

// ------------------------------------------------------------------ timers, time

uintptr_t SetTimer(HWND hwnd, uintptr_t id, UINT elapseMs, TTimerProc proc) {
  return WS().SetTimer(hwnd, id, elapseMs, std::move(proc));
}

bool KillTimer(HWND hwnd, uintptr_t id) { return WS().KillTimer(hwnd, id); }

DWORD GetTickCount() { return static_cast<DWORD>(Platform().NowMs()); }
uint64_t GetTickCount64() { return Platform().NowMs(); }

// ------------------------------------------------------------------ cursor

HCURSOR LoadCursor(void*, int id) {
  static const TCursorHandle kArrow{TCursorShape::Arrow}, kIBeam{TCursorShape::IBeam},
      kWait{TCursorShape::Wait}, kCross{TCursorShape::Cross}, kUp{TCursorShape::UpArrow},
      kNWSE{TCursorShape::SizeNWSE}, kNESW{TCursorShape::SizeNESW}, kWE{TCursorShape::SizeWE},
      kNS{TCursorShape::SizeNS}, kAll{TCursorShape::SizeAll}, kNo{TCursorShape::No},
      kHand{TCursorShape::HandPoint}, kApp{TCursorShape::AppStarting}, kHelp{TCursorShape::Help};
  switch (id) {
    case IDC_IBEAM: return &kIBeam;
    case IDC_WAIT: return &kWait;
    case IDC_CROSS: return &kCross;
    case IDC_UPARROW: return &kUp;
    case IDC_SIZENWSE: return &kNWSE;
    case IDC_SIZENESW: return &kNESW;
    case IDC_SIZEWE: return &kWE;
    case IDC_SIZENS: return &kNS;
    case IDC_SIZEALL: return &kAll;
    case IDC_NO: return &kNo;
    case IDC_HAND: return &kHand;
    case IDC_APPSTARTING: return &kApp;
    case IDC_HELP: return &kHelp;
    default: return &kArrow;
  }
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR old = WS().cursor;
  WS().cursor = cursor;
  if (cursor) WS().ApplyCursor();
  return old;
}

HCURSOR GetCursor() { return WS().cursor; }

bool GetCursorPos(TPoint& p) {
  p = Platform().CursorPos();
  return true;
}

bool SetCursorPos(int x, int y) {
  Platform().SetCursorPos({x, y});
  return true;
}

bool TrackMouseEvent(TTrackMouseEvent& tme) {
  if (!(tme.dwFlags & TME_CANCEL) && !IsWindow(tme.hwndTrack)) return false;
  WS().SetTracking(tme);
  return true;
}

// ------------------------------------------------------------------ keyboard

int16_t GetKeyState(int vk) {
  IPlatform& p = Platform();
  bool down = false;
  switch (vk) {
    case VK_LBUTTON: down = p.MouseButtonDown(TMouseButtonId::Left); break;
    case VK_RBUTTON: down = p.MouseButtonDown(TMouseButtonId::Right); break;
    case VK_MBUTTON: down = p.MouseButtonDown(TMouseButtonId::Middle); break;
    case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: down = p.KeyModifiers() & kModShift; break;
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: down = p.KeyModifiers() & kModCtrl; break;
    case VK_MENU: case VK_LMENU: case VK_RMENU: down = p.KeyModifiers() & kModAlt; break;
    default:
      if (vk >= 0 && vk < 256) down = (WS().keysDown[vk >> 5] >> (vk & 31)) & 1u;
  }
  return down ? static_cast<int16_t>(0x8000) : 0;
}

int16_t GetAsyncKeyState(int vk) { return GetKeyState(vk); }

// ------------------------------------------------------------------ system information

namespace {
TMonitorInfo PrimaryMonitor() {
  auto list = Platform().Monitors();
  for (auto& m : list)
    if (m.primary) return m;
  return list.empty() ? TMonitorInfo{Rect(0, 0, 1024, 768), Rect(0, 0, 1024, 768), true} : list[0];
}
}  // namespace

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return PrimaryMonitor().bounds.Width();
    case SM_CYSCREEN: return PrimaryMonitor().bounds.Height();
    case SM_CXFULLSCREEN: return PrimaryMonitor().workArea.Width();
    case SM_CYFULLSCREEN: return PrimaryMonitor().workArea.Height() - kCaptionHeight;
    case SM_CXMAXIMIZED: return PrimaryMonitor().workArea.Width();
    case SM_CYMAXIMIZED: return PrimaryMonitor().workArea.Height();
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return kCaptionHeight;
    case SM_CYSMCAPTION: return kToolCaptionHeight;
    case SM_CXBORDER: case SM_CYBORDER: return kBorderWidth;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: case SM_CXFRAME: case SM_CYFRAME: return kFrameWidth;
    case SM_CXEDGE: case SM_CYEDGE: return kClientEdgeWidth;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 19;
    case SM_CXSIZE: case SM_CYSIZE: return 18;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXMINTRACK: return 112 + 2 * kFrameWidth;
    case SM_CYMINTRACK: return kCaptionHeight + 2 * kFrameWidth;
    case SM_CXDOUBLECLK: return Platform().DoubleClickSize().cx;
    case SM_CYDOUBLECLK: return Platform().DoubleClickSize().cy;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_SWAPBUTTON: return 0;
    case SM_CMONITORS: return static_cast<int>(Platform().Monitors().size());
    default: return 0;
  }
}

UINT GetDoubleClickTime() { return static_cast<UINT>(Platform().DoubleClickTimeMs()); }

bool SystemParametersInfo(UINT action, UINT, void* param, UINT) {
  switch (action) {
    case SPI_GETWORKAREA:
      if (!param) return false;
      *static_cast<TRect*>(param) = PrimaryMonitor().workArea;
      return true;
    case SPI_GETDRAGFULLWINDOWS:
      if (!param) return false;
      *static_cast<bool*>(param) = true;
      return true;
    default:
      return false;
  }
}

HMONITOR MonitorFromRect(const TRect& r, DWORD flags) {
  auto list = Platform().Monitors();
  int best = -1;
  long long bestArea = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    TRect x = Intersection(list[i].bounds, r);
    long long area = static_cast<long long>(x.Width()) * x.Height();
    if (area > bestArea) best = static_cast<int>(i), bestArea = area;
  }
  if (best >= 0) return best + 1;
  if (r.IsEmpty()) {
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i].bounds.Contains(r.TopLeft())) return static_cast<HMONITOR>(i + 1);
  }
  if (flags == MONITOR_DEFAULTTONULL || list.empty()) return 0;
  if (flags == MONITOR_DEFAULTTOPRIMARY) {
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i].primary) return static_cast<HMONITOR>(i + 1);
    return 1;
  }
  // Nearest: the monitor whose rectangle is closest to the rectangle's centre.
  TPoint c{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  long long bestDist = -1;
  for (size_t i = 0; i < list.size(); ++i) {
    const TRect& b = list[i].bounds;
    long long dx = c.X < b.Left ? b.Left - c.X : c.X >= b.Right ? c.X - b.Right + 1 : 0;
    long long dy = c.Y < b.Top ? b.Top - c.Y : c.Y >= b.Bottom ? c.Y - b.Bottom + 1 : 0;
    long long dist = dx * dx + dy * dy;
    if (bestDist < 0 || dist < bestDist) bestDist = dist, best = static_cast<int>(i);
  }
  return best + 1;
}

HMONITOR MonitorFromPoint(TPoint p, DWORD flags) { return MonitorFromRect({p.X, p.Y, p.X + 1, p.Y + 1}, flags); }

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  TRect r;
  if (!GetWindowRect(hwnd, r)) return flags == MONITOR_DEFAULTTONULL ? 0 : MonitorFromPoint({0, 0}, flags);
  return MonitorFromRect(r, flags);
}

bool GetMonitorInfo(HMONITOR monitor, TMonitorInfoRec& info) {
  auto list = Platform().Monitors();
  if (monitor < 1 || monitor > static_cast<HMONITOR>(list.size())) return false;
  const TMonitorInfo& m = list[monitor - 1];
  info.rcMonitor = m.bounds;
  info.rcWork = m.workArea;
  info.dwFlags = m.primary ? uint32_t(MONITORINFOF_PRIMARY) : 0u;
  return true;
}

TMonitorInfoRec MonitorRectsOrPrimary(HMONITOR monitor) {
  TMonitorInfoRec info;
  if (GetMonitorInfo(monitor, info)) return info;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  info.rcMonitor = info.rcWork;
  return info;
}

TRect WorkAreaNear(TPoint screen) {
  return MonitorRectsOrPrimary(MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST)).rcWork;
}

}  // namespace qz

