// The form skinning controller's mouse side: which object is under the
// mouse, routing of presses, releases and moves to the objects, the
// client-mode drag, and the three tracking timers.
#include "host/ui/Application.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "skin/popups/SkinHint.h"

namespace qz {

namespace {

TqzMouseButton ButtonOf(uint32_t msg) {
  switch (msg) {
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONUP: case WM_NCRBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
      return TqzMouseButton::mbRight;
    default:
      return TqzMouseButton::mbLeft;
  }
}

}  // namespace

TqzActiveSkinObject* TqzOrvane::ObjectAt(int index) const {
  if (index < 0 || size_t(index) >= objects_.size()) return nullptr;
  return objects_[size_t(index)].get();
}

void TqzOrvane::TestActive(int X, int Y, bool InFrame) {
  if (objects_.empty() || skinChanging_) return;
  if (!(FormActive() || ClientMode())) return;
  if (inSizeMove_ || FullBorderLayered()) return;
  if (!ClientMode() && Borderless()) return;
  int candidate = -1;
  for (size_t i = 0; i < objects_.size(); ++i) {
    const TqzActiveSkinObject& o = *objects_[i];
    if (!o.ShownIn(rolledUp_) || !o.Enabled || !o.Visible) continue;
    if (!o.ObjectRect.Contains({X, Y})) continue;
    if (!o.InActiveArea(X - o.ObjectRect.Left, Y - o.ObjectRect.Top)) continue;
    candidate = int(i);
    break;
  }
  int next = InFrame ? candidate : -1;
  if (mouseCaptureObject_ != -1 && mouseCaptureObject_ != next) next = -1;
  ApplySkinCursor(next);
  if (next == activeObject_) return;
  TComponentRef<TqzOrvane> self(this);
  const int old = activeObject_;
  oldActiveObject_ = old;
  activeObject_ = next;
  auto* hint = ShowObjectHint ? As<TqzSkinHint>(SkinHint()) : nullptr;
  if (hint) hint->HideHintText();
  if (TqzActiveSkinObject* o = ObjectAt(old)) {
    o->MouseLeave();
    if (!self) return;
  }
  TqzActiveSkinObject* o = ObjectAt(activeObject_);
  if (!o || activeObject_ != next) return;
  o->MouseEnter();
  if (!self || activeObject_ != next) return;
  hint = ShowObjectHint ? As<TqzSkinHint>(SkinHint()) : nullptr;
  if (hint && FormActive() && !o->Hint().empty()) hint->ShowHintText(o->Hint());
}

void TqzOrvane::LeaveActiveObject() { TestActive(-1, -1, false); }

// The skin names cursors by index from its StartCursorIndex; an object
// without one shows the frame's, and a skin without either the default.
void TqzOrvane::ApplySkinCursor(int index) {
  if (!UseSkinCursors || !ClientMode() || !HasSkin()) return;
  int cursorIndex = -1;
  if (const TqzActiveSkinObject* o = ObjectAt(index)) cursorIndex = o->Data().CursorIndex;
  if (cursorIndex == -1) cursorIndex = skinData_->CursorIndex;
  form_->SetCursor(cursorIndex == -1 ? crDefault : skinData_->StartCursorIndex() + cursorIndex);
}

void TqzOrvane::ResetObjectStates() {
  for (auto& o : objects_) o->MouseIn = false;
}

bool TqzOrvane::HandleMouseMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCMOUSEMOVE: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP: case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONUP: case WM_NCRBUTTONDBLCLK: {
      if (ClientMode()) return false;
      TComponentRef<TqzOrvane> self(this);
      loopRanInDefault_ = false;
      CallDefault(m);
      if (self) RouteNCMouse(m);
      return true;
    }
    case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: {
      TComponentRef<TqzOrvane> self(this);
      CallDefault(m);
      if (self) RouteClientMouse(m);
      return true;
    }
    default:
      return false;
  }
}

void TqzOrvane::RouteNCMouse(TMessage& m) {
  TComponentRef<TqzOrvane> self(this);
  const int hit = static_cast<int>(m.WParam);
  const TPoint p = ScreenToWindow({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      ObjectMouseMove(p);
      return;
    case WM_NCLBUTTONUP: case WM_NCRBUTTONUP:
      ObjectMouseUp(p, ButtonOf(m.Msg));
      return;
    case WM_NCLBUTTONDOWN:
      if (loopRanInDefault_) return;  // the press moved or sized the window
      [[fallthrough]];
    case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK: case WM_NCLBUTTONDBLCLK:
      ObjectMouseDown(p, ButtonOf(m.Msg), true);
      if (!self) return;
      break;
    default:
      return;
  }
  if (m.Msg == WM_NCLBUTTONDBLCLK) {
    if (TqzActiveSkinObject* o = ObjectAt(activeObject_)) {
      o->DblClick();
      if (!self) return;
    }
    if (hit == HTCAPTION) CaptionDoubleClick();
    if (!self) return;
  }
  if (m.Msg == WM_NCRBUTTONDOWN && hit == HTCAPTION && !DisableSystemMenu) {
    TPoint cursor;
    GetCursorPos(cursor);
    SystemMenuPopup(cursor.X, cursor.Y);
    if (!self) return;
  }
  if (hit == HTCAPTION) mouseCaptureObject_ = -1;
}

void TqzOrvane::RouteClientMouse(TMessage& m) {
  const TPoint client{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (!ClientMode()) {
    // Frame mode: releases of a captured frame object arrive here.
    if (mouseCaptureObject_ == -1) return;
    const TPoint p = ScreenToWindow(form_->ClientToScreen(client));
    if (m.Msg == WM_MOUSEMOVE) ObjectMouseMove(p);
    else if (m.Msg == WM_LBUTTONUP || m.Msg == WM_RBUTTONUP) ObjectMouseUp(p, ButtonOf(m.Msg));
    return;
  }
  if (!HasSkin()) return;
  TComponentRef<TqzOrvane> self(this);
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (clientDragging_) ClientDragTo(form_->ClientToScreen(client));
      else ObjectMouseMove(client);
      return;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK:
      TestActive(client.X, client.Y, true);
      if (!self) return;
      if (activeObject_ != -1) {
        ObjectMouseDown(client, ButtonOf(m.Msg), false);
        if (self && m.Msg == WM_LBUTTONDBLCLK)
          if (TqzActiveSkinObject* o = ObjectAt(activeObject_)) o->DblClick();
      } else if (m.Msg == WM_LBUTTONDOWN && DraggAble && !Maximized()) {
        StartClientDrag(client);
      }
      return;
    case WM_LBUTTONUP: case WM_RBUTTONUP:
      if (clientDragging_ && m.Msg == WM_LBUTTONUP) {
        clientDragging_ = false;
        if (GetCapture() == form_->Handle()) ReleaseCapture();
      }
      ObjectMouseUp(client, ButtonOf(m.Msg));
      return;
    default:
      return;
  }
}

// Objects take the mouse relative to their own rectangle.
TPoint TqzOrvane::ObjectPoint(const TqzActiveSkinObject& o, TPoint window) {
  return {window.X - o.ObjectRect.Left, window.Y - o.ObjectRect.Top};
}

void TqzOrvane::ObjectMouseDown(TPoint p, TqzMouseButton button, bool runTest) {
  TComponentRef<TqzOrvane> self(this);
  if (runTest) {
    TestActive(p.X, p.Y, true);
    if (!self) return;
  }
  TqzActiveSkinObject* o = ObjectAt(activeObject_);
  if (!o) return;
  mouseCaptureObject_ = activeObject_;
  if (!o->IsCaption()) SetCapture(form_->Handle());
  const TPoint at = ObjectPoint(*o, p);
  o->MouseDown(at.X, at.Y, button);
}

void TqzOrvane::ObjectMouseUp(TPoint p, TqzMouseButton button) {
  if (GetCapture() == form_->Handle()) ReleaseCapture();
  TqzActiveSkinObject* o = ObjectAt(mouseCaptureObject_);
  if (!o) {
    mouseCaptureObject_ = -1;
    return;
  }
  TComponentRef<TqzOrvane> self(this);
  // The mouse tracking runs on a timer, so the pointer may have left the
  // pressed object since; a release away from it must not count as a click.
  TestActive(p.X, p.Y, true);
  if (!self) return;
  o = ObjectAt(mouseCaptureObject_);
  if (!o) {
    mouseCaptureObject_ = -1;
    return;
  }
  const TPoint at = ObjectPoint(*o, p);
  o->MouseUp(at.X, at.Y, button);
  if (self) mouseCaptureObject_ = -1;
}

void TqzOrvane::ObjectMouseMove(TPoint p) {
  TqzActiveSkinObject* o = ObjectAt(mouseCaptureObject_);
  if (!o) o = ObjectAt(activeObject_);
  if (!o) return;
  const TPoint at = ObjectPoint(*o, p);
  o->MouseMove(at.X, at.Y);
}

void TqzOrvane::CaptionDoubleClick() {
  if (sizeable_ && Minimized()) {
    Restore();
  } else if (sizeable_ && actualState_ == wsNormal && !rolledUp_ &&
             borderIcons_.Contains(biMaximize)) {
    Maximize();
  } else if (sizeable_ && Maximized() && !(rolledUp_ && rolledUpWhileMaximized_)) {
    Restore();
  } else if (rolledUp_) {
    RollDown();
  } else {
    RollUp();
  }
}

void TqzOrvane::StartClientDrag(TPoint) {
  if (Maximized()) return;
  clientDragging_ = true;
  GetCursorPos(clientDragLast_);
  SetCapture(form_->Handle());
}

void TqzOrvane::ClientDragTo(TPoint screen) {
  const TPoint delta{screen.X - clientDragLast_.X, screen.Y - clientDragLast_.Y};
  clientDragLast_ = screen;
  if (delta.X == 0 && delta.Y == 0) return;
  TPoint p{form_->Left() + delta.X, form_->Top() + delta.Y};
  if (Magnetic) p = MagneticPosition(p, {form_->Width(), form_->Height()}, screen);
  form_->SetBounds(p.X, p.Y, form_->Width(), form_->Height());
}

// ---------------------------------------------------------------------------
// Timers

void TqzOrvane::OnMouseTimer() {
  TComponentRef<TqzOrvane> self(this);
  if (!form_->HandleAllocated()) {
    mouseTimer_->SetEnabled(false);
    return;
  }
  TPoint cursor;
  GetCursorPos(cursor);
  const HWND under = WindowFromPoint(cursor);
  const bool overForm = under == form_->Handle();
  if (!ClientMode()) {
    if (!overForm || inSizeMove_) {
      mouseTimer_->SetEnabled(false);
      if (!overForm) TestActive(-1, -1, false);
      return;
    }
    const TPoint p = ScreenToWindow(cursor);
    if (!rects_.NewClRect.Contains(p)) TestActive(p.X, p.Y, true);
    else if (activeObject_ != -1) TestActive(-1, -1, true);
    return;
  }
  if (clientDragging_) return;
  if (overForm) {
    const TPoint p = form_->ScreenToClient(cursor);
    TestActive(p.X, p.Y, true);
  } else {
    TestActive(-1, -1, false);
    if (self) mouseTimer_->SetEnabled(false);
  }
}

void TqzOrvane::OnMorphTimer() {
  TComponentRef<TqzOrvane> self(this);
  bool advanced = false;
  for (size_t i = 0; i < objects_.size(); ++i) {
    if (objects_[i]->MorphStep()) advanced = true;
    if (!self) return;
  }
  if (!advanced) morphTimer_->SetEnabled(false);
}

void TqzOrvane::OnAnimateTimer() {
  TComponentRef<TqzOrvane> self(this);
  bool advanced = false;
  for (size_t i = 0; i < objects_.size(); ++i) {
    if (objects_[i]->AnimateStep()) advanced = true;
    if (!self) return;
  }
  if (!advanced) animateTimer_->SetEnabled(false);
}

}  // namespace qz
