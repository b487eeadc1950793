// Input translation: platform events -> window messages; capture, focus,
// activation, mouse enter/leave and TrackMouseEvent.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <vector>

#include "host/ui/WindowSystem.h"
#include "host/ui/WindowSystemHooks.h"

namespace qz {

namespace {

TWindowData* Data(const TWindowNode* w) { return w ? w->WindowData() : nullptr; }

bool IsPopupKind(const TWindowNode* w) {
  auto* d = Data(w);
  const auto& keepsNormalLayer = WindowSystemHooks().keepsNormalLayer;
  return d && (d->style & WS_POPUP) && (d->exStyle & (WS_EX_NOACTIVATE | WS_EX_TOPMOST)) &&
         !(keepsNormalLayer && keepsNormalLayer(w));
}

// The handle of the form that sees the window's keys first (null when none):
// the form may go while the keys are handled.
HWND KeyForm(const TWindowNode* window) {
  const auto& hook = WindowSystemHooks().keyForm;
  return hook ? HWND(hook(window)) : HWND();
}

void CaptureChanged() {
  if (const auto& hook = WindowSystemHooks().captureChanged) hook();
}

void SetKeyBit(uint32_t* bits, int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  if (down) bits[vk >> 5] |= 1u << (vk & 31);
  else bits[vk >> 5] &= ~(1u << (vk & 31));
}

uint32_t MouseMessage(TPlatformEventKind kind, TMouseButtonId b, bool client) {
  int base = b == TMouseButtonId::Left ? 0 : b == TMouseButtonId::Right ? 3 : 6;
  if (kind == TPlatformEventKind::MouseMove) return client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
  uint32_t down = (client ? WM_LBUTTONDOWN : WM_NCLBUTTONDOWN) + base;
  return kind == TPlatformEventKind::MouseDown ? down : down + 1;
}

// UTF-8 -> code points; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(const std::string& s) {
  std::u32string out;
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = s[i];
    int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t cp = len == 1 ? c : c & (0x7F >> len);
    bool ok = true;
    for (int k = 1; k < len; ++k) {
      unsigned char cc = s[i + k];
      if ((cc & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (cc & 0x3F);
    }
    out.push_back(ok && cp <= 0x10FFFF ? cp : 0xFFFD);
    i += ok ? len : 1;
  }
  return out;
}

}  // namespace

bool TWindowSystem::CanActivate(const TWindowNode* top) { return top && !IsPopupKind(top); }

// Every message below may run user code that destroys windows: targets are
// named by handle and sent through SendMessage, which drops a dead one.
namespace {
WPARAM AsWParam(HWND h) { return static_cast<WPARAM>(h.Value()); }
LPARAM AsLParam(HWND h) { return static_cast<LPARAM>(h.Value()); }
}  // namespace

void TWindowSystem::HandlePlatformEvent(const TPlatformEvent& ev) {
  const HWND h = FindByPlatformWindow(ev.window);
  TWindowNode* w = Find(h);
  switch (ev.kind) {
    case TPlatformEventKind::MouseMove:
    case TPlatformEventKind::MouseDown:
    case TPlatformEventKind::MouseUp:
    case TPlatformEventKind::MouseWheel:
      HandleMouse(ev);
      break;
    case TPlatformEventKind::KeyDown:
    case TPlatformEventKind::KeyUp:
      HandleKey(ev);
      break;
    case TPlatformEventKind::Text:
      HandleText(ev);
      break;
    case TPlatformEventKind::FocusIn:
      // Only a focus the window system did not ask for (a window manager).
      if (w && !active && CanActivate(w) && IsWindowEnabled(h)) Activate(w, WA_ACTIVE);
      break;
    case TPlatformEventKind::FocusOut:
      // A change between this program's windows made the new one active
      // before this arrives: the active window losing the focus means another
      // program took it. Every window hears of it (open menus close); the
      // window stays the active one of this program.
      if (w && active == h) {
        std::vector<HWND> tops(topLevels_.begin(), topLevels_.end());
        for (HWND top : tops) SendMessage(top, WM_ACTIVATEAPP, 0, 0);
      }
      break;
    case TPlatformEventKind::CloseRequest:
      if (w) Post(h, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case TPlatformEventKind::Expose:
      if (w) MarkDrawn(w, TRegion(Data(w)->backBuffer.Bounds()));
      break;
    case TPlatformEventKind::Tray:
      Platform().DeliverTrayEvent(ev);
      break;
    case TPlatformEventKind::Moved:
    case TPlatformEventKind::Resized:
      if (w && WindowRectOf(w) != ev.newBounds)
        SetWindowPos(h, nullptr, ev.newBounds.Left, ev.newBounds.Top, ev.newBounds.Width(),
                     ev.newBounds.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    default:
      break;
  }
}

void TWindowSystem::HandleMouse(const TPlatformEvent& ev) {
  TPoint pos = ev.screenPos;
  IPlatform& plat = Platform();
  if (ev.kind == TPlatformEventKind::MouseDown || ev.kind == TPlatformEventKind::MouseUp) {
    int vk = ev.button == TMouseButtonId::Left ? VK_LBUTTON
             : ev.button == TMouseButtonId::Right ? VK_RBUTTON : VK_MBUTTON;
    SetKeyBit(keysDown, vk, ev.kind == TPlatformEventKind::MouseDown);
  }
  WPARAM keys = 0;
  if (plat.MouseButtonDown(TMouseButtonId::Left)) keys |= MK_LBUTTON;
  if (plat.MouseButtonDown(TMouseButtonId::Right)) keys |= MK_RBUTTON;
  if (plat.MouseButtonDown(TMouseButtonId::Middle)) keys |= MK_MBUTTON;
  uint32_t mods = plat.KeyModifiers();
  if (mods & kModShift) keys |= MK_SHIFT;
  if (mods & kModCtrl) keys |= MK_CONTROL;

  UpdateMouseControl(pos);
  // A drag takes the pointer while it runs.
  const auto& takesMouse = WindowSystemHooks().takesMouse;
  if (ev.kind != TPlatformEventKind::MouseWheel && takesMouse && takesMouse(ev)) return;

  if (ev.kind == TPlatformEventKind::MouseWheel) {
    HWND target = focus ? focus : HWND(WindowAtPoint(pos));
    SendMessage(target, WM_MOUSEWHEEL, (keys & 0xFFFF) | (static_cast<WPARAM>(ev.wheelDelta & 0xFFFF) << 16),
                MAKELPARAM(pos.X, pos.Y));
    return;
  }

  HWND target = nullptr;
  int hit = HTCLIENT;
  if (capture && IsLive(capture)) {
    target = capture;
  } else {
    TWindowNode* top = TopLevelAtPoint(pos);
    if (!top || !IsWindowEnabled(top)) {
      // Nothing, or a window disabled by a modal loop: no input.
      CheckTracking(nullptr, false);
      if (top && ev.kind == TPlatformEventKind::MouseMove) ::qz::SetCursor(LoadCursor(nullptr, IDC_ARROW));
      return;
    }
    target = ChildWindowAt(top, pos);
    hit = static_cast<int>(SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(pos.X, pos.Y)));
    while (hit == HTTRANSPARENT && IsLive(target) && Find(target)->WindowParent()) {
      target = Find(target)->WindowParent();
      hit = static_cast<int>(SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(pos.X, pos.Y)));
    }
    if (!IsLive(target)) return;
  }
  bool client = hit == HTCLIENT;
  uint32_t msg = MouseMessage(ev.kind, ev.button, client);

  if (!capture && ev.kind != TPlatformEventKind::MouseUp) {
    SendMessage(target, WM_SETCURSOR, AsWParam(target), MAKELPARAM(hit, msg));
    if (!IsLive(target)) return;
  }

  if (ev.kind == TPlatformEventKind::MouseDown) {
    const HWND top = TopLevelOf(Find(target));
    if (active != top && CanActivate(Find(top))) {
      auto r = SendMessage(target, WM_MOUSEACTIVATE, AsWParam(top), MAKELPARAM(hit, msg));
      if (r != MA_NOACTIVATE && r != MA_NOACTIVATEANDEAT && IsLive(top)) Activate(Find(top), WA_CLICKACTIVE);
      if (r == MA_ACTIVATEANDEAT || r == MA_NOACTIVATEANDEAT || !IsLive(target)) return;
    }
    uint64_t t = ev.timeMs ? ev.timeMs : plat.NowMs();
    TSize dbl = plat.DoubleClickSize();
    bool allowed = !client || (Data(Find(target))->classStyle & CS_DBLCLKS);
    if (allowed && lastClick_.valid && lastClick_.hwnd == target && lastClick_.msg == msg &&
        t - lastClick_.time <= static_cast<uint64_t>(plat.DoubleClickTimeMs()) &&
        std::abs(pos.X - lastClick_.pos.X) <= dbl.cx / 2 &&
        std::abs(pos.Y - lastClick_.pos.Y) <= dbl.cy / 2) {
      msg += 2;  // xBUTTONDOWN -> xBUTTONDBLCLK
      lastClick_.valid = false;
    } else {
      lastClick_ = {target, msg, t, pos, true};
    }
  }

  // A press in a child window is announced to its ancestors first (an MDI
  // child activates itself on it); any of them may free the target.
  if (ev.kind == TPlatformEventKind::MouseDown) {
    std::vector<HWND> ancestors;
    for (TWindowNode* p = Find(target)->WindowParent(); p; p = p->WindowParent()) ancestors.emplace_back(p);
    for (HWND p : ancestors) SendMessage(p, WM_PARENTNOTIFY, msg, MAKELPARAM(pos.X, pos.Y));
    if (!IsLive(target)) return;
  }

  CheckTracking(target, client);
  if (client) {
    TPoint p = ScreenToClient(Find(target), pos);
    SendMessage(target, msg, keys, MAKELPARAM(p.X, p.Y));
  } else {
    SendMessage(target, msg, static_cast<WPARAM>(hit), MAKELPARAM(pos.X, pos.Y));
  }
}

void TWindowSystem::UpdateMouseControl(TPoint screen) {
  const auto& pointerOver = WindowSystemHooks().pointerOver;
  if (!pointerOver) return;
  TWindowNode* w = nullptr;
  TWindowNode* top = TopLevelAtPoint(screen);
  if (top && IsWindowEnabled(top)) w = ChildWindowAt(top, screen);
  pointerOver(w, screen);
}

void TWindowSystem::SetTracking(const TTrackMouseEvent& tme) {
  bool nc = (tme.dwFlags & TME_NONCLIENT) != 0;
  auto same = [&](const TTracking& t) { return t.hwnd == tme.hwndTrack && t.nonClient == nc; };
  tracking_.erase(std::remove_if(tracking_.begin(), tracking_.end(), same), tracking_.end());
  if (!(tme.dwFlags & TME_CANCEL) && (tme.dwFlags & TME_LEAVE)) tracking_.push_back({tme.hwndTrack, nc});
}

void TWindowSystem::CheckTracking(HWND hwnd, bool inClient) {
  auto old = tracking_;
  tracking_.clear();
  for (auto& t : old) {
    bool stillInside = t.hwnd == hwnd && t.nonClient != inClient;
    if (stillInside) tracking_.push_back(t);
    else Post(t.hwnd, t.nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
  }
}

// ------------------------------------------------------------------ keyboard

void TWindowSystem::HandleKey(const TPlatformEvent& ev) {
  bool down = ev.kind == TPlatformEventKind::KeyDown;
  int vk = ev.key;
  SetKeyBit(keysDown, vk, down);
  SetKeyBit(keysDown, VK_SHIFT, ev.modifiers & kModShift);
  SetKeyBit(keysDown, VK_CONTROL, ev.modifiers & kModCtrl);
  SetKeyBit(keysDown, VK_MENU, ev.modifiers & kModAlt);
  if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) SetKeyBit(keysDown, vk, down);
  if (const auto& takesKey = WindowSystemHooks().takesKey; takesKey && takesKey(vk, down)) return;
  HWND target = focus ? focus : active;
  if (!target || !IsLive(target)) return;
  bool alt = (ev.modifiers & kModAlt) || (down && vk == VK_MENU);
  bool ctrl = (ev.modifiers & kModCtrl) != 0;
  bool sys = (alt && !ctrl) || vk == VK_F10 || vk == VK_MENU;
  LPARAM l = 1 | (alt ? KF_ALTDOWN_LPARAM : 0);
  if (down && ev.repeat) l |= LPARAM(1) << 30;
  if (!down) l |= static_cast<LPARAM>(0xC0000000u);
  uint32_t msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  if (down && PreProcessKey(target, msg, vk, l)) return;
  if (!IsLive(target)) return;
  SendMessage(target, msg, static_cast<WPARAM>(vk), l);
  if (!down || !IsLive(target)) return;
  // Characters the platform's text input does not deliver (as TranslateMessage makes them).
  char32_t ch = 0;
  uint32_t charMsg = WM_CHAR;
  bool letter = vk >= 'A' && vk <= 'Z', digit = vk >= '0' && vk <= '9';
  if (sys && alt && (letter || digit)) {
    ch = letter ? static_cast<char32_t>(std::tolower(vk)) : static_cast<char32_t>(vk);
    charMsg = WM_SYSCHAR;
  } else if (!alt && ctrl && letter) {
    ch = static_cast<char32_t>(vk - 'A' + 1);
  } else if (!alt && !ctrl) {
    switch (vk) {
      case VK_RETURN: ch = '\r'; break;
      case VK_ESCAPE: ch = 27; break;
      case VK_BACK: ch = 8; break;
      case VK_TAB: ch = 9; break;
      default: break;
    }
  }
  if (!ch) return;
  if (focus && focus != target) target = focus;
  if (PreProcessChar(target, charMsg, ch, l) || !IsLive(target)) return;
  SendMessage(target, charMsg, ch, l);
}

void TWindowSystem::HandleText(const TPlatformEvent& ev) {
  for (char32_t ch : DecodeUtf8(ev.text)) {
    HWND target = focus ? focus : active;
    if (!target || !IsLive(target)) return;
    if (PreProcessChar(target, WM_CHAR, ch, 1)) continue;
    SendMessage(target, WM_CHAR, ch, 1);
  }
}

bool TWindowSystem::PreProcessKey(HWND target, uint32_t msg, WPARAM key, LPARAM l) {
  const HWND form = KeyForm(Find(target));
  if (form) {
    TMessage m{msg, key, l, 0};
    const auto& shortCut = WindowSystemHooks().shortCut;
    if (shortCut && shortCut(Find(form), m)) return true;
    if (!IsLive(target)) return true;
  }
  if (msg != WM_KEYDOWN) return false;
  bool arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
  if (!(arrow || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_CANCEL)) return false;
  auto code = SendMessage(target, WM_GETDLGCODE, key, 0);
  bool wants = (code & DLGC_WANTALLKEYS) || (key == VK_TAB && (code & DLGC_WANTTAB)) ||
               (arrow && (code & DLGC_WANTARROWS));
  if (wants || !IsLive(form) || !IsLive(target)) return false;
  return Find(form)->WindowMessage(CM_DIALOGKEY, key, l) != 0;
}

bool TWindowSystem::PreProcessChar(HWND target, uint32_t msg, WPARAM ch, LPARAM l) {
  const HWND form = KeyForm(Find(target));
  if (!form) return false;
  if (msg == WM_SYSCHAR) return Find(form)->WindowMessage(CM_DIALOGCHAR, ch, l) != 0;
  if (ch < 32) return false;
  auto code = SendMessage(target, WM_GETDLGCODE, 0, 0);
  if (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) return false;
  if (!IsLive(form)) return true;  // the form went while the control answered
  return Find(form)->WindowMessage(CM_DIALOGCHAR, ch, l) != 0;
}

// ------------------------------------------------------------------ capture, focus, activation

HWND TWindowSystem::SetCaptureInternal(HWND w) {
  HWND old = capture;
  captureControl = nullptr;
  if (old != w) {
    capture = w;
    TWindowNode* top = TopLevelOf(Find(w));
    Platform().SetCapture(top && Data(top) ? Data(top)->platform.get() : nullptr);
    SendMessage(old, WM_CAPTURECHANGED, 0, AsLParam(w));
  }
  CaptureChanged();
  return old;
}

void TWindowSystem::ReleaseCaptureInternal() {
  HWND old = capture;
  capture = nullptr;
  captureControl = nullptr;
  if (!old) return;
  Platform().SetCapture(nullptr);
  SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  CaptureChanged();
}

HWND TWindowSystem::SetFocusInternal(HWND w) {
  if (w && !IsLive(w)) return nullptr;
  HWND old = focus;
  if (w == old) return old;
  if (w) {
    if (!IsWindowEnabled(w)) return nullptr;
    TWindowNode* top = TopLevelOf(Find(w));
    if (active != top && CanActivate(top)) {
      Activate(top, WA_ACTIVE);
      if (focus == w) return old;
    }
  }
  old = focus;
  focus = w;
  SendMessage(old, WM_KILLFOCUS, AsWParam(w));
  if (w && focus == w) SendMessage(w, WM_SETFOCUS, AsWParam(old));
  return old;
}

void TWindowSystem::Activate(TWindowNode* topControl, int how) {
  const HWND top = topControl;
  if (active == top || !IsLive(top)) return;
  const HWND old = active;
  active = top;
  SendMessage(old, WM_NCACTIVATE, 0, AsLParam(top));
  SendMessage(old, WM_ACTIVATE, WA_INACTIVE, AsLParam(top));
  if (active != top || !IsLive(top)) return;
  if (focus && HWND(TopLevelOf(Find(focus))) != top) {
    HWND f = focus;
    focus = nullptr;
    SendMessage(f, WM_KILLFOCUS, 0);
  }
  if (!IsLive(top)) return;
  RaiseTopLevel(topControl);
  if (auto* d = Data(topControl); d->platform && d->platform->Visible()) d->platform->Activate();
  SendMessage(top, WM_NCACTIVATE, 1, AsLParam(old));
  SendMessage(top, WM_ACTIVATE, static_cast<WPARAM>(how), AsLParam(old));
}

void TWindowSystem::Deactivate(TWindowNode* topControl, TWindowNode* newActiveControl) {
  const HWND top = topControl;
  const HWND newActive = newActiveControl;
  if (active != top) return;
  active = nullptr;
  if (focus && HWND(TopLevelOf(Find(focus))) == top) {
    HWND f = focus;
    focus = nullptr;
    SendMessage(f, WM_KILLFOCUS, 0);
  }
  SendMessage(top, WM_NCACTIVATE, 0, AsLParam(newActive));
  SendMessage(top, WM_ACTIVATE, WA_INACTIVE, AsLParam(newActive));
  if (TWindowNode* next = Find(newActive)) Activate(next, WA_ACTIVE);
}

void TWindowSystem::ApplyCursor() {
  if (!cursor) return;
  TWindowNode* w = capture ? TopLevelOf(Find(capture)) : TopLevelAtPoint(Platform().CursorPos());
  if (w && Data(w) && Data(w)->platform) Data(w)->platform->SetCursorShape(cursor->shape);
}

}  // namespace qz
