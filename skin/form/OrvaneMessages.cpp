// The form skinning controller's window procedure: the non-client model
// from the skin, showing and fading in, activation, the skin messages, the
// move and size loops, and the private messages of other components.
#include <algorithm>
#include <functional>
#include <vector>

#include "host/graphics/Canvas.h"
#include "host/ui/Application.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinData.h"
#include "skin/form/FramePaint.h"
#include "skin/form/InactiveClientPanel.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinMainMenu.h"
#include "skin/popups/SkinHint.h"

namespace qz {

namespace {

bool IsPreProcessed(uint32_t msg) {
  switch (msg) {
    case WM_MOVE: case WM_SIZE: case WM_ACTIVATE: case WM_KILLFOCUS: case WM_CANCELMODE:
    case WM_MOUSEACTIVATE: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN: case WM_PARENTNOTIFY:
      return true;
    default:
      return false;
  }
}

bool IsPressNotice(WPARAM w) {
  const auto event = static_cast<uint32_t>(w & 0xFFFF);
  return event == WM_LBUTTONDOWN || event == WM_RBUTTONDOWN || event == WM_MBUTTONDOWN;
}

// Besides presses: the form moved, sized or deactivated, a cancel, or a
// press on one of its controls.
bool ClosesMenu(const TMessage& m) {
  switch (m.Msg) {
    case WM_MOVE: case WM_SIZE: case WM_CANCELMODE: case WM_MOUSEACTIVATE:
      return true;
    case WM_ACTIVATE:
      return (m.WParam & 0xFFFF) == WA_INACTIVE;
    case WM_PARENTNOTIFY:
      return IsPressNotice(m.WParam);
    default:
      return false;
  }
}

TqzSkinData* SenderOf(const TMessage& m) { return reinterpret_cast<TqzSkinData*>(m.WParam); }

// The application's restore event as a main form's controller answers it.
// It holds the controller weakly: a controller that went leaves a handler
// that does nothing and that the next main form may replace.
struct TRestoreHandler {
  TComponentRef<TqzOrvane> Owner;
  std::function<void()> Restored;  // made by the owner, run only while it lives
  void operator()(TObject*) const {
    if (Owner) Restored();
  }
};

void BringForward(TCustomForm& form) {
  SetWindowPos(form.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace

void TqzOrvane::NewWndProc(TMessage& m) {
  if (InState(csDestroying) || form_->InState(csDestroying)) {
    if (m.Msg == WM_DESTROY) StopTimers();
    CallDefault(m);
    return;
  }
  if (IsPreProcessed(m.Msg) && PreProcess(m)) return;
  if (m.Msg == CM_MDICHANGED) {
    TComponentRef<TqzOrvane> self(this);
    CallDefault(m);
    if (self) SyncMDIForm();
    return;
  }
  if (m.Msg == CM_MDICHILDMOVED) {
    TComponentRef<TqzOrvane> self(this);
    CallDefault(m);
    if (self) UpdateMDIScrollBars(0);
    return;
  }
  if (HandleSkinMessage(m)) return;
  if (HandleMDIMessage(m)) return;
  if (HandleFrameMessage(m)) return;
  if (HandleMouseMessage(m)) return;
  if (HandleStateMessage(m)) return;
  CallDefault(m);
}

// Closes what a click elsewhere, moving, sizing or deactivating the form
// must close. Focus changes leave open menus alone: a menu takes the focus
// when it opens. An MDI form with nothing open of its own lets its active
// child close what that child has open (a maximised child's system menu).
bool TqzOrvane::PreProcess(TMessage& m) {
  const bool press = m.Msg == WM_NCLBUTTONDOWN || m.Msg == WM_NCRBUTTONDOWN ||
                     m.Msg == WM_NCMBUTTONDOWN || m.Msg == WM_LBUTTONDOWN ||
                     m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN;
  if (auto* hint = ShowObjectHint ? As<TqzSkinHint>(SkinHint()) : nullptr) hint->HideHintText();
  if (sysMenuShown_ || frameMenuShown_ || (skinMenu_ && skinMenu_->Visible())) {
    if (!press && !ClosesMenu(m)) return false;
    TComponentRef<TqzOrvane> self(this);
    CloseMenus();
    if (!self) return true;
    return false;
  }
  if (form_->MDIClient() && form_->Visible()) {
    TComponentRef<TqzOrvane> self(this);
    ForwardPreProcess(m);
    if (!self) return true;
  }
  if (keyMenuMode_) {
    // Focus moving into an open menu keeps the menu mode; a click on the
    // form or a cancel ends it.
    if (!press && m.Msg != WM_CANCELMODE) return false;
    TComponentRef<TqzOrvane> self(this);
    LeaveMainMenuMode();
    if (!self) return true;
  }
  return false;
}

void TqzOrvane::EnterMainMenuMode() {
  if (keyMenuMode_) return;
  keyMenuMode_ = true;
  if (OnMainMenuEnter) OnMainMenuEnter(this);
}

void TqzOrvane::LeaveMainMenuMode() {
  if (!keyMenuMode_) return;
  keyMenuMode_ = false;
  TComponentRef<TqzOrvane> self(this);
  if (auto* bar = dynamic_cast<TqzSkinMainMenuBar*>(mainMenuBar_)) bar->LeaveKeyboardMode();
  if (self && OnMainMenuExit) OnMainMenuExit(this);
}

bool TqzOrvane::HandleSkinMessage(TMessage& m) {
  switch (m.Msg) {
    case MSG_SKIN_BEFORE_CHANGE:
      WMSkinBeforeChange(SenderOf(m));
      return true;
    case MSG_SKIN_CHANGED:
      WMSkinChanged(SenderOf(m));
      return true;
    case MSG_SKIN_AFTER_CHANGE:
    case MSG_RESOURCE_STRINGS_CHANGED:
    case MSG_AERO_BLUR_CHANGED:
      return true;
    case MSG_SKINNABLE_FORM_CHANGED:
      WMSkinnableFormChanged(SenderOf(m));
      return true;
    case MSG_LAYERED_BORDERS_CHANGED:
      if (SenderOf(m) == skinData_ && skinData_) {
        layerBorder_->SetSkin(HostSkinData());
        FrameChanged();
      }
      return true;
    case WM_CLOSESKINMENU:
      CloseMenus();
      return true;
    case MSG_BACK_FROM_TRAY:
      BackFromTray();
      return true;
    case MSG_SKINNED_FORM_QUERY:
      m.Result = skinnable_ ? kSkinnedFormAnswer : kNativeFormAnswer;
      return true;
    case MSG_LAYERED_BORDER_SUSPEND:
      layerBorder_->Suspend();
      return true;
    case MSG_LAYERED_BORDER_RESUME:
      layerBorder_->Resume();
      if (form_->HandleAllocated() && IsWindowVisible(form_->Handle())) layerBorder_->Update();
      return true;
    case MSG_PAINT_FRAME_TO_DC:
    case MSG_PAINT_FRAME_TO_DC_EX: {
      if (m.Msg == MSG_PAINT_FRAME_TO_DC_EX && m.LParam != kFramePaintedExAnswer) return false;
      if (!ClientMode() && !Borderless() && m.WParam != 0)
        PaintFrameTo(*reinterpret_cast<TCanvas*>(m.WParam));
      m.Result = m.Msg == MSG_PAINT_FRAME_TO_DC ? kFramePaintedAnswer : kFramePaintedExAnswer;
      return true;
    }
    default:
      return false;
  }
}

bool TqzOrvane::HandleFrameMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCCALCSIZE:
      WMNCCalcSize(m);
      return true;
    case WM_GETMINMAXINFO:
      WMGetMinMaxInfo(m);
      return true;
    case WM_NCHITTEST:
      WMNCHitTest(m);
      return true;
    case WM_NCPAINT:
      WMNCPaint(m);
      return true;
    case WM_NCACTIVATE:
      WMNCActivate(m);
      return true;
    case WM_ERASEBKGND:
      WMEraseBkgnd(m);
      return true;
    case WM_SETCURSOR:
      WMSetCursor(m);
      return true;
    case WM_SYNCPAINT:
      if (ClientMode() || !rolledUp_) return false;
      RepaintFrame();
      m.Result = 0;
      return true;
    case WM_SETTEXT: {
      TComponentRef<TqzOrvane> self(this);
      CallDefault(m);
      if (self) RepaintCaptionArea();
      // The window menu's item and a maximised child's caption on the MDI form follow.
      if (TMDIClient* client = self ? form_->MDIParentClient() : nullptr) client->NotifyForm();
      return true;
    }
    default:
      return false;
  }
}

bool TqzOrvane::HandleStateMessage(TMessage& m) {
  TComponentRef<TqzOrvane> self(this);
  switch (m.Msg) {
    case WM_DESTROY:
      StopTimers();
      if (form_->HandleAllocated()) KillTimer(form_->Handle(), 1);
      NotifyMDIMainForm(kMDIChildRestored);
      if (self) NotifyMDIMainForm(kMDIScrollChanged);  // leave this child out
      if (self) CallDefault(m);
      return true;
    case WM_MOVE:
      CallDefault(m);
      if (self) NotifyMDIMainForm(kMDIScrollChanged, false);
      return true;
    case WM_SIZE:
      WMSize(m);
      if (self) NotifyMDIMainForm(kMDIScrollChanged, false);
      return true;
    case WM_ACTIVATE:
      WMActivate(m);
      return true;
    case WM_SHOWWINDOW:
      WMShowWindow(m);
      return true;
    case WM_TIMER:
      if (m.WParam != 1) return false;
      WMFadeTimer();
      return true;
    case WM_WINDOWPOSCHANGED:
      CallDefault(m);
      if (!self) return true;
      lastWindowPos_ = form_->BoundsRect();
      if (layerBorder_->Visible()) layerBorder_->SetPosition(form_->Left(), form_->Top());
      return true;
    case WM_DISPLAYCHANGE:
      CallDefault(m);
      if (!self || ClientMode() || Borderless()) return true;
      if (SizeLimits().MaxWidth < form_->Width() || SizeLimits().MaxHeight < form_->Height()) Nudge();
      return true;
    case WM_SYSCOMMAND:
      WMSysCommand(m);
      return true;
    case WM_SIZING:
      WMSizing(m);
      return true;
    case WM_MOVING:
      WMMoving(m);
      return true;
    case WM_ENTERSIZEMOVE:
      WMEnterSizeMove();
      CallDefault(m);
      return true;
    case WM_EXITSIZEMOVE:
      CallDefault(m);
      if (self) WMExitSizeMove();
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------
// MDI seams

bool TqzOrvane::IsMDIChild() const { return form_->MDIParentClient() != nullptr; }

std::vector<TqzOrvane*> TqzOrvane::MDIChildControllers() const {
  std::vector<TqzOrvane*> out;
  const TMDIClient* client = form_->MDIClient();
  for (int i = 0; client && i < client->ChildCount(); ++i) {
    TCustomForm* child = client->Children(i);
    for (int c = 0; c < child->ComponentCount(); ++c)
      if (auto* o = dynamic_cast<TqzOrvane*>(child->Components(c))) out.push_back(o);
  }
  return out;
}

// Messages 1230..1236: a child asks its MDI form, the MDI form its children.
// The busy flag keeps a handler from running again inside itself.
bool TqzOrvane::HandleMDIMessage(TMessage& m) {
  if (m.Msg < WM_USER + 206 || m.Msg > WM_USER + 212) return false;
  m.Result = 0;
  if (mdiBusy_) return true;
  mdiBusy_ = true;
  TComponentRef<TqzOrvane> self(this);
  switch (m.Msg) {
    case kMDIRefit:
      if (IsMaximizedMDIChild()) MaximizeMDIChild();
      break;
    case kMDIRestoreAll:
      for (const TComponentRef<TqzOrvane> child : MDIChildControllers())
        if (child && child->Maximized()) child->Restore();
      break;
    case kMDIMinimizeChild:
      for (const TComponentRef<TqzOrvane> child : MDIChildControllers())
        if (child && child->form_->HandleAllocated() && static_cast<WPARAM>(child->form_->Handle().Value()) == m.WParam)
          child->Minimize();
      break;
    case kMDIQueryMaximized:
      m.Result = MDIChildrenMaximized() ? 1 : 0;
      break;
    case kMDIChildMaximized:
      mdiChildrenMaximized_ = true;
      UpdateMDIScrollBars(0);
      break;
    case kMDIChildRestored:
    case kMDIScrollChanged:
      UpdateMDIScrollBars(m.Msg == kMDIScrollChanged ? static_cast<uint64_t>(m.WParam) : 0);
      break;
    default:
      break;
  }
  if (self) mdiBusy_ = false;
  return true;
}

// The MDI form hears of the child's state; the menu bar follows it.
void TqzOrvane::NotifyMDIMainForm(uint32_t msg, bool withHandle) {
  TMDIClient* client = form_->MDIParentClient();
  if (!client || !form_->HandleAllocated()) return;
  TCustomForm& main = client->Form();
  if (!main.HandleAllocated()) return;
  TComponentRef<TCustomForm> mainRef(&main);
  SendMessage(main.Handle(), msg, withHandle ? static_cast<WPARAM>(form_->Handle().Value()) : 0, 0);
  if (mainRef && (msg == kMDIChildMaximized || msg == kMDIChildRestored)) main.Perform(CM_MDICHANGED);
}

// Fills the MDI client at (0, 0); the frame goes (no non-client area).
void TqzOrvane::MaximizeMDIChild() {
  TComponentRef<TqzOrvane> self(this);
  TMDIClient* client = form_->MDIParentClient();
  if (!client) return;
  if (normalBounds_.IsEmpty() && actualState_ == wsNormal) normalBounds_ = form_->BoundsRect();
  StopTimers();
  const bool was = Maximized();
  actualState_ = requestedState_ = wsMaximized;
  const TRect target{0, 0, client->ClientWidth(), client->ClientHeight()};
  const bool sameSize = form_->BoundsRect().Size() == target.Size();
  form_->SetBoundsRect(target);
  if (!self) return;
  if (sameSize) Nudge();
  if (!self) return;
  SetFormRegion();
  if (was) return;
  NotifyMDIMainForm(kMDIChildMaximized);
  if (self && OnMaximize) OnMaximize(this);
}

// ---------------------------------------------------------------------------
// Non-client model

void TqzOrvane::WMNCCalcSize(TMessage& m) {
  if (!skinnable_) {
    CallDefault(m);
    return;
  }
  m.Result = 0;
  // Client mode, borderless forms and maximised MDI children: the whole
  // window is client area.
  if (ClientMode() || Borderless() || IsMaximizedMDIChild()) return;
  auto* params = reinterpret_cast<TNCCalcSizeParams*>(m.LParam);
  newSize_ = {form_->Width(), form_->Height()};
  CalcRects();
  TqzClientAreaInput in;
  in.HasSkin = HasSkin();
  in.Picture = PictureSize();
  in.SkinClientRect = HasSkin() ? skinData_->ClientRect : TRect{};
  in.FullBorderLayered = FullBorderLayered();
  in.DefaultCaptionHeight = DefaultCaptionHeight(form_->BorderStyle() == bsToolWindow ||
                                                 form_->BorderStyle() == bsSizeToolWin);
  params->rgrc[0] = CalcClientArea(params->rgrc[0], in);
  m.Result = 0;
}

void TqzOrvane::WMGetMinMaxInfo(TMessage& m) {
  auto* info = reinterpret_cast<TMinMaxInfo*>(m.LParam);
  const TqzSizeLimits limits = SizeLimits();
  info->ptMinTrackSize = {limits.MinWidth, limits.MinHeight};
  info->ptMaxTrackSize = {limits.MaxWidth, limits.MaxHeight};
  m.Result = 0;
}

TqzSizingFrame TqzOrvane::SizingFrame() const {
  TqzSizingFrame f;
  f.Rects = &rects_;
  f.Window = FrameSize().Window;
  f.BorderWidth = skinData_ ? skinData_->BorderWidth : 0;
  f.Mask = skinData_ && !skinData_->Mask().Empty() ? &maskStrips_ : nullptr;
  return f;
}

bool TqzOrvane::CaptionDragPointAt(TPoint p) const {
  for (const auto& o : objects_)
    if (o->IsCaption() && o->ShownIn(rolledUp_) && o->CaptionDragPoint(p)) return true;
  return false;
}

int TqzOrvane::FrameHit(TPoint p) {
  int hit;
  if (HasSkin()) {
    TqzFrameHitInput in;
    in.Frame = SizingFrame();
    in.ObjectActive = activeObject_ != -1;
    in.CaptionDragPoint = NCDraggAbleProp && CaptionDragPointAt(p);
    in.Sizeable = sizeable_;
    in.Maximized = Maximized();
    in.RolledUp = rolledUp_;
    in.Minimized = Minimized();
    in.InSizeMove = inSizeMove_;
    in.FullBorderLayered = FullBorderLayered();
    hit = FrameHitTest(p, in);
  } else {
    TqzDefaultFrameHitInput in;
    in.Window = {form_->Width(), form_->Height()};
    in.CaptionHeight = DefaultCaptionHeight(form_->BorderStyle() == bsToolWindow ||
                                            form_->BorderStyle() == bsSizeToolWin);
    in.ObjectActive = activeObject_ != -1;
    in.Sizeable = sizeable_;
    in.Maximized = Maximized();
    in.RolledUp = rolledUp_;
    in.Minimized = Minimized();
    hit = DefaultFrameHitTest(p, in);
  }
  if (hit == HTOBJECT && !MouseTimerActive()) {
    TComponentRef<TqzOrvane> self(this);
    TestActive(p.X, p.Y, true);
    if (!self) return HTNOWHERE;
    StartMouseTimer();
  }
  return hit;
}

int TqzOrvane::ClientHit(TPoint p) {
  if (!HasSkin()) return HTCLIENT;
  if (!MouseTimerActive()) {
    TComponentRef<TqzOrvane> self(this);
    TestActive(p.X, p.Y, true);
    if (!self) return HTNOWHERE;
    StartMouseTimer();
  }
  TqzClientHitInput in;
  in.HasSkin = true;
  in.Frame = SizingFrame();
  if (!skinData_->SizeGripArea.IsEmpty())
    in.SizeGripRect = FrameTransformRect(skinData_->SizeGripArea, *skinData_, FrameSize());
  in.ObjectActive = activeObject_ != -1;
  in.Sizeable = sizeable_;
  in.Maximized = Maximized();
  in.RolledUp = rolledUp_;
  return ClientHitTest(p, in);
}

void TqzOrvane::WMNCHitTest(TMessage& m) {
  const TPoint screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if (!skinnable_) {
    CallDefault(m);
    return;
  }
  if (IsMaximizedMDIChild()) {
    m.Result = HTCLIENT;
    return;
  }
  m.Result = ClientMode() ? ClientHit(form_->ScreenToClient(screen)) : FrameHit(ScreenToWindow(screen));
}

void TqzOrvane::WMNCPaint(TMessage& m) {
  if (!skinnable_) {
    CallDefault(m);
    return;
  }
  m.Result = 0;
  if (ClientMode() || Borderless() || IsMaximizedMDIChild()) return;
  if (FullBorderLayered()) {
    m.Result = 1;
    return;
  }
  RepaintFrame();
}

void TqzOrvane::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
  auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
  if (!canvas) return;
  const TSize client{form_->ClientWidth(), form_->ClientHeight()};
  if (!ClientMode()) {
    TqzClientBackgroundInput in;
    in.Skin = HostSkinData();
    in.Client = client;
    in.Window = {form_->Width(), form_->Height()};
    in.Logo = logoBitMap_.Empty() ? nullptr : &logoBitMap_;
    in.LogoTransparent = LogoBitMapTransparent;
    PaintClientBackground(*canvas, in);
    return;
  }
  TqzClientSkinInput in;
  in.Skin = HostSkinData();
  in.Client = client;
  in.RolledUp = rolledUp_;
  in.NormalState = actualState_ == wsNormal;
  if (HasSkin() && !skinData_->SizeGripArea.IsEmpty())
    in.SizeGripRect = FrameTransformRect(skinData_->SizeGripArea, *skinData_, FrameSize());
  in.Objects = &objects_;
  PaintClientSkin(*canvas, in);
}

void TqzOrvane::WMSetCursor(TMessage& m) {
  if (!ClientMode() && UseFormCursorInNCArea) {
    const int hit = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(m.LParam)));
    const bool sizing = hit >= HTLEFT && hit <= HTBOTTOMRIGHT;
    if (!sizing && hit != HTCLIENT)
      m.LParam = MAKELPARAM(HTCLIENT, HIWORD(static_cast<uintptr_t>(m.LParam)));
  }
  CallDefault(m);
}

// ---------------------------------------------------------------------------
// Size and move

void TqzOrvane::WMSize(TMessage& m) {
  TComponentRef<TqzOrvane> self(this);
  if (inSizeMove_ && fullDrag_) {
    CallDefault(m);
    if (!self) return;
    if (!ClientMode() && !logoBitMap_.Empty()) form_->Invalidate();
    if (layerBorder_->Visible())
      layerBorder_->MoveTo(form_->Left(), form_->Top(), form_->Height(), form_->Width());
    return;
  }
  // Sized from its layered border: the border follows first, the form's
  // own handling of the size comes last.
  const bool defaultLast = layerBorder_->SizingForm();
  if (!defaultLast) {
    CallDefault(m);
    if (!self) return;
  }
  WMSizeLayout(m);
  if (defaultLast && self) CallDefault(m);
}

void TqzOrvane::WMSizeLayout(TMessage& m) {
  if (clampWhenRestored_ && m.WParam == SIZE_RESTORED) {
    // A skin with a larger minimum came while the window was minimised.
    TComponentRef<TqzOrvane> self(this);
    clampWhenRestored_ = false;
    const int width = form_->Width(), height = form_->Height();
    ClampFrameSizeToMinimum();
    // A raised size came with its own WM_SIZE, which did the work below.
    if (!self || width != form_->Width() || height != form_->Height()) return;
  }
  newSize_ = ClientMode() ? TSize{LOWORD(static_cast<uintptr_t>(m.LParam)), HIWORD(static_cast<uintptr_t>(m.LParam))}
                          : TSize{form_->Width(), form_->Height()};
  magnetic_.Reset();
  if (!HasSkin()) {
    if (!ClientMode()) {
      SetWindowRgn(form_->Handle(), nullptr, true);
      RepaintFrame();
    }
    return;
  }
  if (!ClientMode()) {
    const TqzSizeLimits limits = SizeLimits();
    if (form_->Width() < limits.MinWidth || form_->Height() < limits.MinHeight) return;
    if (nudgePassing_) {
      nudgeLayoutDue_ = true;
      return;
    }
    LayoutFrame();
    return;
  }
  if (ClientGeometryFollows()) LayoutClientMode();
}

void TqzOrvane::LayoutFrame() {
  nudgeLayoutDue_ = false;
  CalcRects();
  PlaceAllObjects();
  SetFormRegion();
  RepaintFrame();
  if (layerBorder_->Visible()) layerBorder_->Update();
}

void TqzOrvane::WMSizing(TMessage& m) {
  magnetic_.Reset();
  if (!(inSizeMove_ && fullDrag_) || ClientMode()) {
    CallDefault(m);
    return;
  }
  sizingInLoop_ = true;
  TComponentRef<TqzOrvane> self(this);
  CallDefault(m);
  if (!self) return;
  const auto* r = reinterpret_cast<const TRect*>(m.LParam);
  const TqzSizeLimits limits = SizeLimits();
  const TSize size{std::max(r->Width(), limits.MinWidth), std::max(r->Height(), limits.MinHeight)};
  if (size == newSize_ || !HasSkin()) return;
  newSize_ = size;
  CalcRects();
  PlaceAllObjects();
  SetFormRegion();
  RepaintFrame();
  layerBorder_->MoveTo(r->Left, r->Top, size.cy, size.cx);
}

void TqzOrvane::WMMoving(TMessage& m) {
  auto& r = *reinterpret_cast<TRect*>(m.LParam);
  // Keep the window's own size: a drag away from the maximised state
  // changed it inside the running loop.
  r = Bounds(r.Left + moveOffset_.X, r.Top + moveOffset_.Y, form_->Width(), form_->Height());
  const TRect work = MonitorWorkArea(false);
  if (actualState_ == wsNormal && !rolledUp_ && borderIcons_.Contains(biMaximize) &&
      !FullBorderLayered())
    draggedAboveWorkArea_ = r.Top < work.Top;
  if (Maximized()) {
    DragAway(r);
    return;
  }
  if (Magnetic) {
    TPoint cursor;
    GetCursorPos(cursor);
    const TPoint p = MagneticPosition(r.TopLeft(), r.Size(), cursor);
    r = Bounds(p.X, p.Y, r.Width(), r.Height());
  }
}

void TqzOrvane::WMEnterSizeMove() {
  GetCursorPos(sizeMoveCursor_);
  loopRanInDefault_ = true;
  moveOffset_ = {};
  draggedAboveWorkArea_ = false;
  if (ClientMode()) return;
  ResetObjectStates();
  mouseTimer_->SetEnabled(false);
  activeObject_ = -1;
  mouseCaptureObject_ = -1;
  inSizeMove_ = true;
  bool full = true;
  SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
  fullDrag_ = full;
}

void TqzOrvane::WMExitSizeMove() {
  if (!ClientMode()) {
    if (sizingInLoop_ && newSize_ != TSize{form_->Width(), form_->Height()}) {
      newSize_ = {form_->Width(), form_->Height()};
      CalcRects();
      PlaceAllObjects();
      SetFormRegion();
    }
  }
  inSizeMove_ = false;
  sizingInLoop_ = false;
  fullDrag_ = false;
  moveOffset_ = {};
  RepaintFrame();
  if (layerBorder_->Visible()) layerBorder_->Update();
}

void TqzOrvane::WMSysCommand(TMessage& m) {
  TComponentRef<TqzOrvane> self(this);
  const uint32_t cmd = static_cast<uint32_t>(m.WParam) & 0xFFF0;
  if (cmd == SC_RESTORE) {
    if (OnRestore) OnRestore(this);
    if (self) CallDefault(m);
    return;
  }
  if (cmd == SC_KEYMENU) {
    if (m.LParam == ' ') {
      if (!DisableSystemMenu) {
        TRect r{0, 0, 0, 0};
        PopupSystemMenuBelow(r);
      }
      return;
    }
    if (sysMenuShown_) {
      CloseMenus();
      return;
    }
    // Alt alone (or F10) toggles the bar's keyboard mode; Alt + a character
    // presses the bar's item with that accelerator.
    if (auto* bar = dynamic_cast<TqzSkinMainMenuBar*>(mainMenuBar_); bar && bar->Visible()) {
      if (m.LParam == 0) {
        if (bar->KeyboardMode())
          bar->LeaveKeyboardMode();
        else
          bar->EnterKeyboardMode();
        return;
      }
      if (bar->AcceleratorTest(static_cast<char32_t>(m.LParam))) return;
    }
    for (const auto& o : objects_) {
      if (o->IsFrameMenuItem()) {
        EnterMainMenuMode();
        return;
      }
    }
    CallDefault(m);
    return;
  }
  // The layered border asks for sizes and maximising the form may refuse.
  if ((cmd == SC_SIZE && !sizeable_) || (cmd == SC_MAXIMIZE && !borderIcons_.Contains(biMaximize))) {
    m.Result = 0;
    return;
  }
  // The skinned form keeps its own maximised state; the system's would
  // leave the controller's state, frame and restore bounds behind.
  if (cmd == SC_MAXIMIZE && skinnable_) {
    m.Result = 0;
    Maximize();
    return;
  }
  const bool dragMove = static_cast<uint32_t>(m.WParam) == SC_DRAGMOVE;
  CallDefault(m);
  if (self && dragMove) DragToTopCheck();
}

// ---------------------------------------------------------------------------
// Showing and fading in

bool TqzOrvane::FadeAnimated() const {
  return AlphaBlendAnimation || (skinData_ && skinData_->AnimationForAllWindows);
}

void TqzOrvane::WMShowWindow(TMessage& m) {
  TComponentRef<TqzOrvane> self(this);
  if (m.WParam == 0) {
    HideGlowLayer();
    layerBorder_->Hide();
    CallDefault(m);
    return;
  }
  TakeApplicationRestore();
  if (firstShow_ && actualState_ == wsNormal) {
    // A skin applied before the window existed set the client size under the
    // host's frame; the skin's own frame came with the window.
    if (!ClientMode() && !rolledUp_) {
      if (clientWidth_ > 0) form_->SetClientWidth(clientWidth_);
      if (clientHeight_ > 0) form_->SetClientHeight(clientHeight_);
    }
    if (PositionInMonitor != qzpDefault && !IsMDIChild()) PositionByMonitor({form_->Width(), form_->Height()});
    firstShow_ = false;
  }
  if (skinData_ && skinData_->AnimationForAllWindows && AlphaBlendValue == 0) AlphaBlendValue = 255;
  if (AlphaBlend || FadeAnimated() || layerBorder_->Used()) StartFadeIn();
  CallDefault(m);
  if (!self) return;
  if (!ClientMode()) {
    Nudge();
  } else {
    // A skin applied before the window existed could not shape it yet.
    if (HasSkin() && ClientGeometryFollows()) SetFormRegion();
    BindNamedAreaControls(form_);  // binds and places: the controls exist by now
    ApplySkinAreas();
  }
  if (!self) return;
  if (requestedState_ != actualState_) ApplyWindowState(requestedState_);
  // A child shown while its siblings are maximised comes maximised too.
  if (self && IsMDIChild() && actualState_ == wsNormal && borderIcons_.Contains(biMaximize)) {
    TCustomForm& main = form_->MDIParentClient()->Form();
    if (main.HandleAllocated() && SendMessage(main.Handle(), kMDIQueryMaximized, 0, 0) == 1) Maximize();
  }
}

void TqzOrvane::StartFadeIn() {
  HWND h = form_->Handle();
  SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(h, 0, 0, LWA_ALPHA);
  layerBorder_->SetAlpha(0, false);
  if (layerBorder_->Used()) layerBorder_->Show();
  fadeStarted_ = false;
  SetTimer(h, 1, 1);
}

// The fade runs on the window timer, one step per tick at least 6 ms apart,
// so that input and painting go on between steps and a handler may close
// the window at any step.
void TqzOrvane::WMFadeTimer() {
  HWND h = form_->Handle();
  const bool onlyBorder = layerBorder_->Used() && !AlphaBlend && !FadeAnimated();
  if (onlyBorder) {
    KillTimer(h, 1);
    SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) & ~intptr_t(WS_EX_LAYERED));
    layerBorder_->SetAlpha(255, true);
    return;
  }
  if (!fadeStarted_) {
    fadeStarted_ = true;
    fadeTarget_ = FadeAnimated() && !AlphaBlend ? 255 : AlphaBlendValue;
    fadeStep_ = std::max(1, fadeTarget_ / 15);
    fadeAlpha_ = FadeAnimated() ? 0 : fadeTarget_;
    fadeLastTick_ = GetTickCount();
    if (FadeAnimated()) {
      SetTimer(h, 1, 6);
      return;
    }
  } else {
    if (GetTickCount() - fadeLastTick_ <= 5) return;
    fadeLastTick_ = GetTickCount();
    fadeAlpha_ = std::min(fadeAlpha_ + fadeStep_, fadeTarget_);
  }
  SetLayeredWindowAttributes(h, 0, uint8_t(fadeAlpha_), LWA_ALPHA);
  layerBorder_->SetAlpha(fadeAlpha_, true);
  if (fadeAlpha_ < fadeTarget_) return;
  KillTimer(h, 1);
  if (fadeTarget_ == 255)
    SetWindowLong(h, GWL_EXSTYLE, GetWindowLong(h, GWL_EXSTYLE) & ~intptr_t(WS_EX_LAYERED));
}

// ---------------------------------------------------------------------------
// Activation

void TqzOrvane::WMNCActivate(TMessage& m) {
  TComponentRef<TqzOrvane> self(this);
  if (m.WParam != 0) {
    TakeMaximizedLookOnActivation();
    if (!self) return;
  }
  ncActive_ = m.WParam != 0;
  HideGlowLayer();
  if (!ncActive_) {
    CloseMenus();
    if (!self) return;
    TestActive(-1, -1, false);
    if (!self) return;
  }
  m.Result = 1;
  if (!skinnable_) {
    CallDefault(m);
    return;
  }
  RepaintFrame();
  UpdateInactiveClientPanel(ncActive_);
  if (!self) return;  // the picture of the client ran the form's paint code
  layerBorder_->SetActive(ncActive_, true);
  // An MDI child hears of its activation only here (no WM_ACTIVATE): its
  // caption objects follow now.
  if (IsMDIChild() && (!hasLastActive_ || lastActive_ != ncActive_)) UpdateActiveState(true);
}

void TqzOrvane::UpdateInactiveClientPanel(bool active) {
  const bool cover = !active && ClientInActiveEffect && !rolledUp_ && form_->HandleAllocated() &&
                     IsWindowVisible(form_->Handle());
  if (inactivePanel_) inactivePanel_->Uncover();  // also: not in its own picture
  if (!cover) return;
  if (!inactivePanel_) inactivePanel_ = new TqzInactiveClientPanel(this);
  // Client mode draws the frame in the client area: only the skin's client
  // part is covered.
  const TRect area = ClientMode() && HasSkin() ? rects_.NewClRect : form_->ClientRect();
  inactivePanel_->Cover(*form_, area, ClientInActiveEffectType == qzieBlur);
}

// ---------------------------------------------------------------------------
// The application's restore

void TqzOrvane::TakeApplicationRestore() {
  if (!Application || !IsMainForm()) return;
  if (Application->OnRestore) {
    const auto* handler = Application->OnRestore.target<TRestoreHandler>();
    if (!handler || handler->Owner) return;  // someone's own, or a living controller's
  }
  Application->OnRestore = TRestoreHandler{this, [this] { ApplicationRestored(); }};
}

void TqzOrvane::ReleaseApplicationRestore() {
  if (!Application) return;
  const auto* handler = Application->OnRestore.target<TRestoreHandler>();
  if (handler && handler->Owner == this) Application->OnRestore = nullptr;
}

// The layered borders are windows of their own: after the application comes
// back, the forms are stacked again (with their borders) and the main form
// goes on top of them.
void TqzOrvane::ApplicationRestored() {
  if (!layerBorder_->Used() || !form_->HandleAllocated()) return;
  std::vector<TComponentRef<TCustomForm>> others;
  for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f == form_ || !f->HandleAllocated() || !IsWindowVisible(f->Handle())) continue;
    if (f->FormStyle() == fsStayOnTop || f->FormStyle() == fsMDIChild) continue;
    others.emplace_back(f);
  }
  TComponentRef<TqzOrvane> self(this);
  for (const auto& f : others)
    if (f && f->HandleAllocated()) BringForward(*f);
  if (self && form_->HandleAllocated()) BringForward(*form_);
}

void TqzOrvane::WMActivate(TMessage& m) {
  TComponentRef<TqzOrvane> self(this);
  if (clientDragging_) {
    clientDragging_ = false;
    if (GetCapture() == form_->Handle()) ReleaseCapture();
  }
  if ((m.WParam & 0xFFFF) != WA_INACTIVE) {
    TakeMaximizedLookOnActivation();
    if (!self) return;
  }
  CallDefault(m);
  if (!self) return;
  if (!ClientMode()) {
    LeaveActiveObject();
    if (!self) return;
    ResetObjectStates();
    RepaintFrame();
  } else if (form_->HandleAllocated()) {
    form_->Invalidate();
  }
  UpdateActiveState(true);
}

void TqzOrvane::UpdateActiveState(bool) {
  if (skinChanging_) return;
  TComponentRef<TqzOrvane> self(this);
  const bool active = FormActive();
  hasLastActive_ = true;
  lastActive_ = active;
  for (size_t i = 0; i < objects_.size(); ++i) {
    TqzActiveSkinObject* o = objects_[i].get();
    if (o->IsCaption()) o->SetFormActive(active, o->ShownIn(rolledUp_));
  }
  RedrawCaption();
  if (active) {
    if (OnActivate) OnActivate(this);
  } else if (OnDeActivate) {
    OnDeActivate(this);
  }
}

}  // namespace qz
