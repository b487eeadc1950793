// The platform's default window procedure: the non-client model (client
// area, hit testing, frame painting, activation), cursors, system commands
// and the move and size loops.
#include <algorithm>

#include "host/graphics/Canvas.h"
#include "host/ui/WindowSystem.h"

namespace qz {

namespace {

TWindowData* Data(const TWindowNode* w) { return w ? w->WindowData() : nullptr; }

bool HasCaption(uint32_t style) { return (style & WS_CAPTION) == WS_CAPTION; }

int CaptionHeight(uint32_t exStyle) {
  return (exStyle & WS_EX_TOOLWINDOW) ? kToolCaptionHeight : kCaptionHeight;
}

int FrameWidth(uint32_t style) {
  if (style & (WS_THICKFRAME | WS_DLGFRAME)) return kFrameWidth;
  if (style & WS_BORDER) return kBorderWidth;
  return 0;
}

// The caption bar in window coordinates (empty without WS_CAPTION).
TRect CaptionRect(const TWindowNode* w, const TWindowData* d) {
  if (!HasCaption(d->style)) return {};
  int f = FrameWidth(d->style);
  return {f, f, w->WindowBounds().Width() - f, f + CaptionHeight(d->exStyle)};
}

LRESULT NCHitTest(TWindowNode* w, TPoint screen) {
  auto* d = Data(w);
  TRect wr = TWindowSystem::WindowRectOf(w);
  if (!wr.Contains(screen)) return HTNOWHERE;
  TPoint p = screen - wr.TopLeft();
  if (d->windowRgn && !d->windowRgn->Contains(p)) return HTNOWHERE;
  if (d->clientRect.Contains(p)) return HTCLIENT;
  int W = w->WindowBounds().Width(), H = w->WindowBounds().Height();
  if ((d->style & WS_THICKFRAME) && !(d->style & (WS_MAXIMIZE | WS_MINIMIZE))) {
    int f = kFrameWidth;
    int corner = f + CaptionHeight(d->exStyle);  // corners reach along the edges
    bool left = p.X < f, right = p.X >= W - f, top = p.Y < f, bottom = p.Y >= H - f;
    if (left || right || top || bottom) {
      bool nearLeft = p.X < corner, nearRight = p.X >= W - corner;
      bool nearTop = p.Y < corner, nearBottom = p.Y >= H - corner;
      if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
      if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
      if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
      if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
      if (left) return HTLEFT;
      if (right) return HTRIGHT;
      if (top) return HTTOP;
      return HTBOTTOM;
    }
  }
  if (CaptionRect(w, d).Contains(p)) return HTCAPTION;
  return HTBORDER;
}

void NCPaint(TWindowNode* w) {
  auto* d = Data(w);
  int f = FrameWidth(d->style);
  int edge = (d->exStyle & WS_EX_CLIENTEDGE) ? kClientEdgeWidth : 0;
  if (f == 0 && edge == 0 && !HasCaption(d->style)) return;
  HDC dc = GetWindowDC(w);
  TCanvas& c = *dc;
  int W = w->WindowBounds().Width(), H = w->WindowBounds().Height();
  TRect outer{0, 0, W, H};
  c.ExcludeClipRect(d->clientRect);
  if (f > 0) {
    c.Brush().SetColor(clBtnFace);
    c.FillRect(outer);
    c.Brush().SetColor(f == kBorderWidth ? clWindowFrame : cl3DDkShadow);
    c.FrameRect(outer);
    if (f > 1) {
      c.Brush().SetColor(clBtnHighlight);
      c.FrameRect(InflateRect(outer, -1, -1));
    }
  }
  if (TRect cap = CaptionRect(w, d); !cap.IsEmpty()) {
    bool activeFrame = d->ncActive;
    c.Brush().SetColor(activeFrame ? clActiveCaption : clInactiveCaption);
    c.FillRect(cap);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Font().SetColor(activeFrame ? clCaptionText : clInactiveCaptionText);
    c.Font().SetStyle({TFontStyle::fsBold});
    TRect tr = cap;
    tr.Left += 4;
    c.DrawText(w->WindowText(), tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
  }
  if (edge) {
    TRect r = InflateRect(d->clientRect, edge, edge);
    c.Brush().SetColor(clBtnShadow);
    c.FrameRect(r);
    c.Brush().SetColor(cl3DDkShadow);
    c.FrameRect(InflateRect(r, -1, -1));
  }
  ReleaseDC(w, dc);
}

LRESULT SetCursorDefault(TWindowNode* w, WPARAM wp, LPARAM lp) {
  if (auto* p = w->WindowParent(); p && p->WindowData()) {
    if (p->WindowMessage(WM_SETCURSOR, wp, lp)) return 1;
  }
  int hit = static_cast<int16_t>(LOWORD(lp));
  int id = IDC_ARROW;
  switch (hit) {
    case HTLEFT: case HTRIGHT: id = IDC_SIZEWE; break;
    case HTTOP: case HTBOTTOM: id = IDC_SIZENS; break;
    case HTTOPLEFT: case HTBOTTOMRIGHT: id = IDC_SIZENWSE; break;
    case HTTOPRIGHT: case HTBOTTOMLEFT: id = IDC_SIZENESW; break;
    case HTERROR: return 0;
    default: break;
  }
  // Only the window under the pointer sets the cursor (not a parent asked first).
  const bool underPointer = HWND::FromValue(wp) == HWND(w);
  if (underPointer) ::qz::SetCursor(LoadCursor(nullptr, id));
  return underPointer ? 1 : 0;
}

LRESULT SysCommand(TWindowNode* w, WPARAM wp, LPARAM lp) {
  switch (wp & 0xFFF0) {
    case SC_MOVE: RunMoveSizeLoop(w, 0); return 0;
    case SC_SIZE: RunMoveSizeLoop(w, static_cast<int>(wp & 0xF)); return 0;
    case SC_MINIMIZE: ShowWindow(w, SW_MINIMIZE); return 0;
    case SC_MAXIMIZE: ShowWindow(w, SW_SHOWMAXIMIZED); return 0;
    case SC_RESTORE: ShowWindow(w, SW_RESTORE); return 0;
    case SC_CLOSE: SendMessage(w, WM_CLOSE); return 0;
    default: return 0;
  }
}

void ClampToMinMax(TRect& r, int edge, const TMinMaxInfo& mm) {
  int wdt = std::clamp(r.Width(), mm.ptMinTrackSize.X, std::max(mm.ptMinTrackSize.X, mm.ptMaxTrackSize.X));
  int hgt = std::clamp(r.Height(), mm.ptMinTrackSize.Y, std::max(mm.ptMinTrackSize.Y, mm.ptMaxTrackSize.Y));
  bool fromLeft = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
  bool fromTop = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
  if (fromLeft) r.Left = r.Right - wdt;
  else r.Right = r.Left + wdt;
  if (fromTop) r.Top = r.Bottom - hgt;
  else r.Bottom = r.Top + hgt;
}

}  // namespace

TRect DefaultFrameInsets(uint32_t style, uint32_t exStyle) {
  int f = FrameWidth(style);
  int e = (exStyle & WS_EX_CLIENTEDGE) ? kClientEdgeWidth : 0;
  int cap = HasCaption(style) ? CaptionHeight(exStyle) : 0;
  return {f + e, f + e + cap, f + e, f + e};
}

TMinMaxInfo DefaultMinMaxInfo(TWindowNode* w) {
  TMinMaxInfo mm;
  auto* d = Data(w);
  TMonitorInfoRec mi;
  GetMonitorInfo(MonitorFromWindow(w, MONITOR_DEFAULTTONEAREST), mi);
  mm.ptMaxSize = {mi.rcWork.Width(), mi.rcWork.Height()};
  mm.ptMaxPosition = {mi.rcWork.Left, mi.rcWork.Top};
  TRect in = d ? DefaultFrameInsets(d->style, d->exStyle) : TRect{};
  bool cap = d && HasCaption(d->style);
  mm.ptMinTrackSize = {cap ? 112 + in.Left + in.Right : 1, in.Top + in.Bottom + (cap ? 0 : 1)};
  mm.ptMaxTrackSize = {GetSystemMetrics(SM_CXSCREEN) + 2 * kFrameWidth + 8,
                       GetSystemMetrics(SM_CYSCREEN) + 2 * kFrameWidth + 8};
  return mm;
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWindowNode* w = WindowNodeOf(hwnd);
  if (!w) return 0;
  auto* d = Data(w);
  switch (msg) {
    case WM_NCCALCSIZE: {
      auto* p = reinterpret_cast<TNCCalcSizeParams*>(lp);
      TRect in = DefaultFrameInsets(d->style, d->exStyle);
      TRect& r = p->rgrc[0];
      r = {r.Left + in.Left, r.Top + in.Top, r.Right - in.Right, r.Bottom - in.Bottom};
      r.Right = std::max(r.Right, r.Left);
      r.Bottom = std::max(r.Bottom, r.Top);
      return 0;
    }
    case WM_NCHITTEST:
      return NCHitTest(w, {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
    case WM_NCPAINT:
      NCPaint(w);
      return 0;
    case WM_NCACTIVATE:
      d->ncActive = wp != 0;
      WindowSystem().InvalidateFrame(w);
      return 1;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !(d->style & WS_MINIMIZE)) {
        HWND f = GetFocus();
        if (!f || !WindowSystem().Contains(w, f)) SetFocus(w);
      }
      return 0;
    case WM_MOUSEACTIVATE:
      if (auto* p = w->WindowParent(); p && p->WindowData()) {
        if (auto r = p->WindowMessage(WM_MOUSEACTIVATE, wp, lp)) return r;
      }
      return MA_ACTIVATE;
    case WM_SETCURSOR:
      return SetCursorDefault(w, wp, lp);
    case WM_NCLBUTTONDOWN: {
      int hit = static_cast<int>(wp);
      if (hit == HTCAPTION) SendMessage(w, WM_SYSCOMMAND, static_cast<WPARAM>(SC_MOVE) | static_cast<WPARAM>(HTCAPTION), lp);
      else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT)
        SendMessage(w, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(hit - HTLEFT + WMSZ_LEFT), lp);
      return 0;
    }
    case WM_NCLBUTTONDBLCLK:
      if (wp == HTCAPTION && (d->style & WS_MAXIMIZEBOX))
        SendMessage(w, WM_SYSCOMMAND, (d->style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lp);
      return 0;
    case WM_SYSCOMMAND:
      return SysCommand(w, wp, lp);
    case WM_SYSKEYUP:
      if (wp == VK_MENU || wp == VK_F10) SendMessage(w, WM_SYSCOMMAND, SC_KEYMENU, 0);
      return 0;
    case WM_SYSCHAR:
      if (wp != VK_RETURN) SendMessage(w, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(wp));
      return 0;
    case WM_CLOSE:
      ShowWindow(w, SW_HIDE);
      return 0;
    case WM_GETMINMAXINFO:
      return 0;
    case WM_WINDOWPOSCHANGING: {
      auto* wp2 = reinterpret_cast<TWindowPos*>(lp);
      if (!(wp2->flags & SWP_NOSIZE) && (d->style & WS_THICKFRAME) && !w->WindowParent() &&
          !(d->style & (WS_MAXIMIZE | WS_MINIMIZE))) {
        TMinMaxInfo mm = DefaultMinMaxInfo(w);
        SendMessage(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
        wp2->cx = std::clamp(wp2->cx, mm.ptMinTrackSize.X, std::max(mm.ptMinTrackSize.X, mm.ptMaxTrackSize.X));
        wp2->cy = std::clamp(wp2->cy, mm.ptMinTrackSize.Y, std::max(mm.ptMinTrackSize.Y, mm.ptMaxTrackSize.Y));
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      auto* wp2 = reinterpret_cast<TWindowPos*>(lp);
      if (!(wp2->flags & SWP_NOMOVE)) {
        TPoint o = TWindowSystem::WindowOrigin(w) + d->clientRect.TopLeft();
        if (w->WindowParent()) o = TWindowSystem::ScreenToClient(w->WindowParent(), o);
        SendMessage(hwnd, WM_MOVE, 0, MAKELPARAM(o.X, o.Y));
      }
      if (!(wp2->flags & SWP_NOSIZE) && IsWindow(hwnd)) {
        int kind = (d->style & WS_MINIMIZE) ? SIZE_MINIMIZED : (d->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                                                         : SIZE_RESTORED;
        SendMessage(w, WM_SIZE, kind, MAKELPARAM(d->clientRect.Width(), d->clientRect.Height()));
      }
      return 0;
    }
    case WM_PAINT: {
      if (wp) return 0;  // painting into a given context: nothing of its own
      TPaintStruct ps;
      BeginPaint(w, ps);
      EndPaint(w, ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 0;
    case WM_SETTEXT:
      if (d->platform) d->platform->SetTitle(lp ? reinterpret_cast<const char*>(lp) : "");
      if (HasCaption(d->style)) WindowSystem().InvalidateFrame(w);
      return 1;
    case WM_MOUSEWHEEL:
      // A window that does not scroll passes the wheel to its parent, so a
      // scrolling container scrolls while one of its children has the focus.
      return w->WindowParent() ? SendMessage(w->WindowParent(), msg, wp, lp) : 0;
    case WM_CANCELMODE:
      if (GetCapture() == w) ReleaseCapture();
      return 0;
    default:
      return 0;
  }
}

// ------------------------------------------------------------------ move and size loops

void RunMoveSizeLoop(TWindowNode* w, int sizeEdge) {
  auto& ws = WindowSystem();
  IPlatform& plat = Platform();
  // The loop runs handlers that may destroy the window: only the handle is
  // trusted after each of them.
  const HWND h = w;
  if (!IsWindow(h) || ws.inMoveSizeLoop) return;
  if (!plat.MouseButtonDown(TMouseButtonId::Left)) return;  // no drag in progress
  ws.inMoveSizeLoop = true;
  SetCapture(h);
  SendMessage(h, WM_ENTERSIZEMOVE);
  // The loop works in the coordinates SetWindowPos takes (parent client or screen).
  TRect start = w->WindowBounds();
  TPoint startPt = plat.CursorPos();
  TRect current = start;
  bool done = false;
  while (!done && IsWindow(h) && GetCapture() == h && !ws.QuitRequested()) {
    while (ws.ProcessNonInput()) {
      if (!IsWindow(h)) break;
    }
    if (!IsWindow(h)) break;
    if (ws.NeedsPaint()) ws.PaintAll();
    TPlatformEvent ev;
    if (!ws.NextPlatformEvent(ev, true)) continue;
    switch (ev.kind) {
      case TPlatformEventKind::MouseMove: {
        TPoint delta = ev.screenPos - startPt;
        TRect r = start;
        if (sizeEdge == 0) {
          r = OffsetRect(start, delta.X, delta.Y);
          SendMessage(h, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
        } else {
          bool left = sizeEdge == WMSZ_LEFT || sizeEdge == WMSZ_TOPLEFT || sizeEdge == WMSZ_BOTTOMLEFT;
          bool right = sizeEdge == WMSZ_RIGHT || sizeEdge == WMSZ_TOPRIGHT || sizeEdge == WMSZ_BOTTOMRIGHT;
          bool top = sizeEdge == WMSZ_TOP || sizeEdge == WMSZ_TOPLEFT || sizeEdge == WMSZ_TOPRIGHT;
          bool bottom = sizeEdge == WMSZ_BOTTOM || sizeEdge == WMSZ_BOTTOMLEFT || sizeEdge == WMSZ_BOTTOMRIGHT;
          if (left) r.Left += delta.X;
          if (right) r.Right += delta.X;
          if (top) r.Top += delta.Y;
          if (bottom) r.Bottom += delta.Y;
          TMinMaxInfo mm = DefaultMinMaxInfo(w);
          SendMessage(h, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mm));
          ClampToMinMax(r, sizeEdge, mm);
          SendMessage(h, WM_SIZING, static_cast<WPARAM>(sizeEdge), reinterpret_cast<LPARAM>(&r));
        }
        if (IsWindow(h) && r != current) {
          current = r;
          SetWindowPos(h, nullptr, r.Left, r.Top, r.Width(), r.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE | (sizeEdge == 0 ? uint32_t(SWP_NOSIZE) : 0u));
        }
        break;
      }
      case TPlatformEventKind::MouseUp:
        if (ev.button == TMouseButtonId::Left) done = true;
        break;
      case TPlatformEventKind::KeyDown:
        if (ev.key == VK_ESCAPE) {
          SetWindowPos(h, nullptr, start.Left, start.Top, start.Width(), start.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
          done = true;
        } else if (ev.key == VK_RETURN) {
          done = true;
        }
        break;
      case TPlatformEventKind::MouseDown:
      case TPlatformEventKind::KeyUp:
      case TPlatformEventKind::Text:
      case TPlatformEventKind::MouseWheel:
        break;  // swallowed by the loop
      default:
        ws.HandlePlatformEvent(ev);
        break;
    }
  }
  ws.inMoveSizeLoop = false;
  if (IsWindow(h)) {
    if (GetCapture() == h) ReleaseCapture();
    SendMessage(h, WM_EXITSIZEMOVE);
  }
}

}  // namespace qz
