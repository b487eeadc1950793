#include "host/ui/Forms.h"

#include <algorithm>
#include <utility>

#include "host/components/FormResource.h"
#include "host/ui/Application.h"
#include "host/ui/Menus.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/WindowSystemHooks.h"

namespace qz {

TCustomForm::TCustomForm(TComponent* AOwner) : TCustomControl(AOwner) {
  visible_ = false;
  left_ = 0;
  top_ = 0;
  width_ = 320;
  height_ = 240;
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  if (Screen) Screen->AddForm(this);
  RegisterGlobalComponent(this);
}

void TCustomForm::BeforeDestruction() {
  TCustomControl::BeforeDestruction();
  // MDI children go first, while every part of their MDI form still exists.
  if (mdiClient_) mdiClient_->DestroyChildren();
  FireOnDestroy();
}

void TCustomForm::FireOnDestroy() {
  if (destroyFired_) return;
  destroyFired_ = true;
  if (OnDestroy) OnDestroy(this);
}

TCustomForm::~TCustomForm() {
  SetStateFlag(csDestroying, true);
  if (mdiClient_) mdiClient_->DestroyChildren();
  if (TMDIClient* client = MDIParentClient()) client->ChildDestroying(*this);
  // A form destroyed without `delete` (a member, a stack object) has not
  // fired OnDestroy yet; a subclass's members are gone by now.
  FireOnDestroy();
  if (Screen) Screen->RemoveForm(this);
  UnregisterGlobalComponent(this);
  // Destroy the window while this is still a form (its handlers run).
  DestroyHandle();
}

void TCustomForm::InitFromResource() {
  ReadComponentResFromResources(this);
  if (OnCreate) OnCreate(this);
}

void TCustomForm::Loaded() {
  TCustomControl::Loaded();
  if (formStyle_ == fsMDIChild && !MDIParentClient()) {
    BecomeMDIChild();
    return;
  }
  // A resource that says Visible = True shows the form once it is complete.
  if (visible_ && !(HandleAllocated() && IsWindowVisible(this))) {
    visible_ = false;
    SetVisible(true);
  }
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  const bool mdiChild = MDIParentClient() != nullptr;
  p.WndParent = mdiChild ? parent_ : nullptr;
  p.Style = WS_CLIPCHILDREN | (visible_ ? uint32_t(WS_VISIBLE) : 0u) | (enabled_ ? 0u : uint32_t(WS_DISABLED));
  p.ExStyle = mdiChild ? uint32_t(WS_EX_MDICHILD) : 0u;
  if (mdiChild) p.Style |= WS_CHILD | WS_CLIPSIBLINGS;
  switch (borderStyle_) {
    case bsNone: if (!mdiChild) p.Style |= WS_POPUP; break;
    case bsSingle: p.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: p.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog: p.Style |= WS_POPUP | WS_CAPTION; p.ExStyle |= WS_EX_DLGMODALFRAME; break;
    case bsToolWindow: p.Style |= WS_CAPTION | WS_BORDER; p.ExStyle |= WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin: p.Style |= WS_CAPTION | WS_THICKFRAME; p.ExStyle |= WS_EX_TOOLWINDOW; break;
  }
  if (borderStyle_ != bsNone && borderIcons_.Contains(TBorderIcon::biSystemMenu)) {
    p.Style |= WS_SYSMENU;
    if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
      if (borderIcons_.Contains(TBorderIcon::biMinimize)) p.Style |= WS_MINIMIZEBOX;
      if (borderIcons_.Contains(TBorderIcon::biMaximize)) p.Style |= WS_MAXIMIZEBOX;
    }
  }
  if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  if (alphaBlend_) p.ExStyle |= WS_EX_LAYERED;
}

void TCustomForm::CreateWnd() {
  TCustomControl::CreateWnd();
  if (alphaBlend_) SetLayeredWindowAttributes(this, 0, alphaBlendValue_, LWA_ALPHA);
}

void TCustomForm::RecreateKeepingClient() {
  if (!HandleAllocated()) return;
  int cw = ClientWidth(), ch = ClientHeight();
  RecreateWnd();
  SetClientSize(cw, ch);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateKeepingClient();
}

void TCustomForm::SetBorderIcons(TBorderIcons v) {
  if (v == borderIcons_) return;
  borderIcons_ = v;
  RecreateKeepingClient();
}

void TCustomForm::SetFormStyle(TFormStyle v) {
  if (v == formStyle_) return;
  if (formStyle_ == fsMDIChild && MDIParentClient())
    throw EInvalidOperation("Cannot change the style of an MDI child");
  if (formStyle_ == fsMDIForm && mdiClient_ && mdiClient_->ChildCount() > 0)
    throw EInvalidOperation("Cannot change the style of an MDI form with children");
  if (formStyle_ == fsMDIForm && mdiClient_) {
    delete std::exchange(mdiClient_, nullptr);
  }
  formStyle_ = v;
  if (v == fsMDIForm) {
    CreateMDIClient();
    return;
  }
  if (v == fsMDIChild) {
    if (!InState(csLoading)) BecomeMDIChild();
    return;
  }
  if (HandleAllocated())
    SetWindowPos(this, v == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Applied at once, also while a resource is read: the controls that follow
// in the resource then record their anchors against the designed client size.
void TCustomForm::SetClientWidth(int v) { TCustomControl::SetClientWidth(v); }
void TCustomForm::SetClientHeight(int v) { TCustomControl::SetClientHeight(v); }

TWindowState TCustomForm::WindowState() const {
  if (MDIParentClient()) return windowState_;
  if (HandleAllocated()) {
    if (IsIconic(const_cast<TCustomForm*>(this))) return wsMinimized;
    if (IsZoomed(const_cast<TCustomForm*>(this))) return wsMaximized;
    return wsNormal;
  }
  return windowState_;
}

void TCustomForm::SetWindowState(TWindowState v) {
  if (TMDIClient* client = MDIParentClient(); client && !InState(csLoading)) {
    if (v != windowState_) client->SetChildState(*this, v);
    return;
  }
  windowState_ = v;
  if (!HandleAllocated() || !visible_) return;
  switch (v) {
    case wsNormal: ShowWindow(this, SW_RESTORE); break;
    case wsMinimized: ShowWindow(this, SW_MINIMIZE); break;
    case wsMaximized: ShowWindow(this, SW_SHOWMAXIMIZED); break;
  }
}

void TCustomForm::SetAlphaBlend(bool v) {
  if (v == alphaBlend_) return;
  alphaBlend_ = v;
  if (!HandleAllocated()) return;
  auto ex = static_cast<uint32_t>(GetWindowLong(this, GWL_EXSTYLE));
  SetWindowLong(this, GWL_EXSTYLE, v ? (ex | WS_EX_LAYERED) : (ex & ~WS_EX_LAYERED));
  if (v) SetLayeredWindowAttributes(this, 0, alphaBlendValue_, LWA_ALPHA);
}

void TCustomForm::SetAlphaBlendValue(uint8_t v) {
  alphaBlendValue_ = v;
  if (alphaBlend_ && HandleAllocated()) SetLayeredWindowAttributes(this, 0, v, LWA_ALPHA);
}

void TCustomForm::ApplyPosition() {
  if (positioned_) return;
  positioned_ = true;
  TRect area;
  switch (position_) {
    case poScreenCenter: {
      TMonitorInfoRec mi;
      GetMonitorInfo(::qz::MonitorFromWindow(this, MONITOR_DEFAULTTOPRIMARY), mi);
      area = mi.rcMonitor;
      break;
    }
    case poDesktopCenter: {
      TMonitorInfoRec mi;
      GetMonitorInfo(::qz::MonitorFromWindow(this, MONITOR_DEFAULTTOPRIMARY), mi);
      area = mi.rcWork;
      break;
    }
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* ref = position_ == poOwnerFormCenter ? As<TCustomForm>(Owner()) : nullptr;
      if (!ref && Application) ref = Application->MainForm();
      if (!ref || ref == this) return;
      area = ref->BoundsRect();
      break;
    }
    case poDefault:
    case poDefaultPosOnly: {
      TMonitorInfoRec mi;
      GetMonitorInfo(::qz::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), mi);
      SetBounds(mi.rcWork.Left + 24, mi.rcWork.Top + 24, width_, height_);
      return;
    }
    default:
      return;
  }
  SetBounds(area.Left + area.Width() / 2 - width_ / 2, area.Top + area.Height() / 2 - height_ / 2, width_,
            height_);
}

void TCustomForm::SetVisible(bool value) {
  if (InState(csLoading)) {
    visible_ = value;
    return;
  }
  if (value == visible_ && (!value || (HandleAllocated() && IsWindowVisible(this)))) return;
  TComponentRef<TCustomForm> self(this);
  if (MDIParentClient()) {
    SetMDIChildVisible(value);
    return;
  }
  if (value) {
    HandleNeeded();
    ApplyPosition();
    visible_ = true;
    DoShow();
    if (!self || !HandleAllocated()) return;
    int cmd = windowState_ == wsMaximized ? SW_SHOWMAXIMIZED
              : windowState_ == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    ShowWindow(this, cmd);
  } else {
    DoHide();
    if (!self) return;
    visible_ = false;
    if (HandleAllocated()) ShowWindow(this, SW_HIDE);
  }
  if (self) Perform(CM_VISIBLECHANGED, value);
}

void TCustomForm::Show() {
  TComponentRef<TCustomForm> self(this);
  SetVisible(true);
  if (TMDIClient* client = self ? MDIParentClient() : nullptr) {
    client->Activate(this);
    return;
  }
  if (self && HandleAllocated() && IsWindowVisible(this)) {
    WindowSystem().RaiseTopLevel(this);
    if (IsWindowEnabled(this)) SetActiveWindow(this);
  }
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

int TCustomForm::ShowModal() {
  if (visible_ || !enabled_ || formState_.Contains(TFormStateFlag::fsModal) || formStyle_ == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  ReleaseCapture();
  auto& ws = WindowSystem();
  formState_.Include(TFormStateFlag::fsModal);
  HWND previousActive = GetActiveWindow();
  // Every other enabled top-level window is disabled while the form is modal.
  std::vector<HWND> disabled;
  HandleNeeded();
  for (TWindowNode* w : std::vector<TWindowNode*>(ws.TopLevels()))
    if (w != this && IsWindowEnabled(w)) disabled.push_back(w);
  for (HWND w : disabled) EnableWindow(w, false);
  ++ws.modalLevel;
  modalResult_ = mrNone;
  // The loop runs every handler of the program: one of them may free the
  // form. Then the loop ends with mrCancel and touches none of its members.
  TComponentRef<TCustomForm> self(this);
  auto leaveModal = [&] {
    --ws.modalLevel;
    for (HWND w : disabled) EnableWindow(w, true);  // quietly nothing for dead ones
    if (self) formState_.Exclude(TFormStateFlag::fsModal);
  };
  TModalResult result = mrCancel;
  try {
    Show();
    while (self && modalResult_ == mrNone) {
      if (Application) Application->HandleMessage();
      else if (!ws.ProcessMessage()) ws.WaitMessage();
      if ((Application && Application->Terminated()) || !self || !HandleAllocated()) {
        if (self) modalResult_ = mrCancel;
        break;
      }
      if (modalResult_ != mrNone) {
        TCloseAction action = caHide;
        if (CloseQuery() && self) DoClose(action);
        else action = caNone;
        if (!self) break;
        if (action == caNone) modalResult_ = mrNone;
      }
    }
    if (self) result = modalResult_;
  } catch (...) {
    leaveModal();
    throw;
  }
  leaveModal();
  if (self && HandleAllocated()) Hide();
  if (IsWindow(previousActive) && IsWindowVisible(previousActive)) SetActiveWindow(previousActive);
  return result;
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
  if (formState_.Contains(TFormStateFlag::fsModal)) {
    modalResult_ = mrCancel;
    return;
  }
  TComponentRef<TCustomForm> self(this);
  if (!CloseQuery() || !self) return;
  // The main form and MDI children are freed when closed, other forms hidden.
  const bool isMain = Application && Application->MainForm() == this;
  TCloseAction action = (isMain || MDIParentClient()) ? caFree : caHide;
  DoClose(action);
  if (action == caNone || !self) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
  }
}

void TCustomForm::Release() {
  if (releasing_) return;
  releasing_ = true;
  HandleNeeded();
  PostMessage(this, CM_RELEASE);
}

void TCustomForm::SetActiveControl(TWinControl* c) {
  if (c == activeControl_) return;
  if (c && (!ContainsControl(c) || c == this)) throw EInvalidOperation("Invalid active control");
  activeControl_ = c;
  if (c && active_ && c->CanFocus()) ::qz::SetFocus(c->Handle());
}

void TCustomForm::FocusControl(TWinControl* c) {
  activeControl_ = c;
  if (!c) return;
  if (!HandleAllocated() || !IsWindowVisible(this)) return;
  ::qz::SetFocus(c->Handle());
}

bool TCustomForm::SetFocusedControl(TWinControl* c) {
  if (c == focusedControl_) return true;
  TWinControl* old = focusedControl_;
  focusedControl_ = c;
  if (c != this) activeControl_ = c;
  // CM_EXIT up from the old control to the common parent, CM_ENTER down to the new.
  TWinControl* common = nullptr;
  for (TWinControl* p = c; p && !common; p = p->Parent())
    if (old && p->ContainsControl(old)) common = p;
  // OnExit/OnEnter handlers may free any control of the chains, or the form.
  TComponentRef<TCustomForm> self(this);
  std::vector<TComponentRef<TWinControl>> exits, enters;
  for (TWinControl* p = old; p && p != common; p = p->Parent()) exits.emplace_back(p);
  for (TWinControl* p = c; p && p != common; p = p->Parent()) enters.emplace_back(p);
  // The containers that held the focus before and still hold it hear that
  // it moved inside them (a scrolling one brings the new control into view).
  std::vector<TComponentRef<TWinControl>> holders;
  for (TWinControl* p = common; p; p = p->Parent()) holders.emplace_back(p);
  TComponentRef<TWinControl> target(c);
  for (const auto& p : exits)
    if (p) p->Perform(CM_EXIT);
  for (auto it = enters.rbegin(); it != enters.rend(); ++it)
    if (*it) (*it)->Perform(CM_ENTER);
  for (const auto& p : holders)
    if (p && self && target && focusedControl_ == c) p->Perform(CM_FOCUSCHANGED, reinterpret_cast<WPARAM>(c));
  return static_cast<bool>(self);
}

void TCustomForm::ControlRemoved(TControl* c) {
  if (!c) return;
  auto* w = As<TWinControl>(c);
  if (activeControl_ && (activeControl_ == c || (w && w->ContainsControl(activeControl_))))
    activeControl_ = nullptr;
  if (focusedControl_ && (focusedControl_ == c || (w && w->ContainsControl(focusedControl_))))
    focusedControl_ = nullptr;
}

// OnShortCut first, then the shortcuts of the form's actions.
bool TCustomForm::IsShortCut(TMessage& keyMsg) {
  TComponentRef<TCustomForm> self(this);
  bool handled = false;
  if (OnShortCut) OnShortCut(keyMsg, handled);
  if (handled || !self) return true;
  if (keyMsg.Msg != WM_KEYDOWN && keyMsg.Msg != WM_SYSKEYDOWN) return false;
  const auto key = static_cast<uint16_t>(keyMsg.WParam);
  return ExecuteActionShortCut(*this, ShortCut(key, KeyboardStateToShiftState()));
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::WMSetFocus(TMessage& m) {
  // The form passes the focus on to its active control.
  if (activeControl_ && activeControl_ != this && activeControl_->CanFocus()) {
    ::qz::SetFocus(activeControl_->Handle());
    return;
  }
  SetFocusedControl(this);
  DefaultHandler(m);
}

void TCustomForm::CMDialogKey(TMessage& m) {
  // Default and Cancel buttons first, then navigation.
  TWinControl::CMDialogKey(m);
  if (m.Result) return;
  bool shift = GetKeyState(VK_SHIFT) < 0;
  switch (m.WParam) {
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) < 0) return;
      SelectNext(activeControl_, !shift, true);
      m.Result = 1;
      return;
    case VK_LEFT: case VK_UP:
      if (activeControl_) activeControl_->Parent()->SelectNext(activeControl_, false, false);
      m.Result = 1;
      return;
    case VK_RIGHT: case VK_DOWN:
      if (activeControl_) activeControl_->Parent()->SelectNext(activeControl_, true, false);
      m.Result = 1;
      return;
    default:
      return;
  }
}

void TCustomForm::WMEraseBkgnd(TMessage& m) { TCustomControl::WMEraseBkgnd(m); }

void TCustomForm::WMSize(TMessage& m) {
  TCustomControl::WMSize(m);
  if (HandleAllocated()) windowState_ = WindowState();
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case CM_RELEASE:
      // Deleted once the message being handled is over.
      WindowSystem().DeferDelete(this);
      return;
    case CM_MDICHANGED:
      // Passed on to the controls (the menu bar follows the active child).
      for (const auto& c : std::vector<TComponentRef<TControl>>(controls_.begin(), controls_.end()))
        if (c && c.Get() != mdiClient_) c->Perform(CM_MDICHANGED, m.WParam, m.LParam);
      return;
    case WM_MOVE:
    case WM_SIZE: {
      // The MDI form hears of every child's move, plain or skinned: what
      // depends on the children's bounds (scroll bars) follows it.
      TComponentRef<TCustomForm> self(this);
      TCustomControl::Dispatch(m);
      TMDIClient* client = self ? MDIParentClient() : nullptr;
      if (client && !InState(csDestroying) && !client->Form().InState(csDestroying))
        client->Form().Perform(CM_MDICHILDMOVED);
      return;
    }
    case WM_ACTIVATE: {
      bool nowActive = LOWORD(m.WParam) != WA_INACTIVE;
      active_ = nowActive;
      if (nowActive) {
        formState_.Include(TFormStateFlag::fsActivated);
        TWinControl* target = activeControl_ && activeControl_->CanFocus() ? activeControl_ : this;
        TComponentRef<TCustomForm> self(this);
        if (!GetFocus() || !ContainsControl(GetFocus())) ::qz::SetFocus(target);  // OnEnter
        if (self) Activate();
      } else {
        Deactivate();
      }
      m.Result = 0;
      // The active MDI child's frame looks as active as its MDI form, whose
      // activation it never receives itself.
      if (TCustomForm* child = mdiClient_ ? ActiveMDIChild() : nullptr; child && child->HandleAllocated())
        SendMessage(child->Handle(), WM_NCACTIVATE, nowActive ? 1 : 0, 0);
      return;
    }
    default:
      TCustomControl::Dispatch(m);
  }
}


// ---------------------------------------------------------------------------
// MDI

TMDIClient* TCustomForm::MDIParentClient() const {
  if (formStyle_ != fsMDIChild) return nullptr;
  return As<TMDIClient>(parent_);
}

TCustomForm* TCustomForm::FindMDIForm() {
  if (Application && Application->MainForm() && Application->MainForm()->mdiClient_)
    return Application->MainForm();
  for (int i = 0; Screen && i < Screen->FormCount(); ++i)
    if (TCustomForm* f = Screen->Forms(i); f->mdiClient_ && !f->InState(csDestroying)) return f;
  return nullptr;
}

void TCustomForm::CreateMDIClient() {
  if (mdiClient_) return;
  mdiClient_ = new TMDIClient(*this);
}

void TCustomForm::BecomeMDIChild() {
  TCustomForm* main = FindMDIForm();
  if (!main || main == this) {
    formStyle_ = fsNormal;
    throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
  }
  if (HandleAllocated()) DestroyHandle();  // made again as a child window
  visible_ = false;
  // A state read from a resource is applied once the child is in place.
  const TWindowState requested = std::exchange(windowState_, wsNormal);
  SetParent(main->mdiClient_);
  main->mdiClient_->AddChild(*this);
  // MDI children show at once.
  TComponentRef<TCustomForm> self(this);
  SetVisible(true);
  if (self && requested != wsNormal && MDIParentClient()) SetWindowState(requested);
}

void TCustomForm::SetMDIChildVisible(bool value) {
  TComponentRef<TCustomForm> self(this);
  TMDIClient* client = MDIParentClient();
  if (value) {
    if (visible_ && HandleAllocated() && IsWindowVisible(this)) return;
    HandleNeeded();
    visible_ = true;
    DoShow();
    if (!self || !HandleAllocated()) return;
    ShowWindow(this, SW_SHOWNORMAL);
    if (!self) return;
    Perform(CM_VISIBLECHANGED, 1);
    if (self && MDIParentClient() == client) client->ChildShown(*this);
    return;
  }
  if (!visible_) return;
  DoHide();
  if (!self) return;
  visible_ = false;
  if (HandleAllocated()) ShowWindow(this, SW_HIDE);
  if (!self) return;
  Perform(CM_VISIBLECHANGED, 0);
  if (self && MDIParentClient() == client) client->ChildHidden(*this);
}

void TCustomForm::MDIActivated(bool nowActive) {
  active_ = nowActive;
  if (!nowActive) {
    Deactivate();
    return;
  }
  formState_.Include(TFormStateFlag::fsActivated);
  TComponentRef<TCustomForm> self(this);
  // The focus moves into the child when its MDI form holds the focus.
  TWinControl* top = TopWindow();
  HWND focus = GetFocus();
  if (top && focus && top->ContainsControl(focus) && !ContainsControl(focus)) {
    TWinControl* target = activeControl_ && activeControl_->CanFocus() ? activeControl_ : this;
    if (CanFocus()) ::qz::SetFocus(target);
  }
  if (self) Activate();
}

TCustomForm* TCustomForm::ActiveMDIChild() const { return mdiClient_ ? mdiClient_->ActiveChild() : nullptr; }
int TCustomForm::MDIChildCount() const { return mdiClient_ ? mdiClient_->ChildCount() : 0; }
TCustomForm* TCustomForm::MDIChildren(int i) const {
  if (!mdiClient_ || i < 0 || i >= mdiClient_->ChildCount()) throw EInvalidOperation("MDI child index out of bounds");
  return mdiClient_->Children(i);
}
void TCustomForm::Cascade() { if (mdiClient_) mdiClient_->Cascade(); }
void TCustomForm::Tile() { if (mdiClient_) mdiClient_->Tile(tileMode_); }
void TCustomForm::ArrangeIcons() { if (mdiClient_) mdiClient_->ArrangeIcons(); }
void TCustomForm::Next() { if (mdiClient_) mdiClient_->Next(); }
void TCustomForm::Previous() { if (mdiClient_) mdiClient_->Previous(); }

void TCustomForm::SetWindowMenu(TMenuItem* v) { SetReference(windowMenu_, v); }

void TCustomForm::SetMenu(TMainMenu* v) {
  if (v == menu_) return;
  SetReference(menu_, v);
  if (TMDIClient* client = MDIParentClient(); client && client->ActiveChild() == this) client->NotifyForm();
  else if (mdiClient_) mdiClient_->NotifyForm();
}

// A press in an MDI child (on its frame, its client or any control in it)
// makes it the active child before the press is handled.
void TCustomForm::WndProc(TMessage& m) {
  if (formStyle_ == fsMDIChild) {
    uint32_t press = m.Msg == WM_PARENTNOTIFY ? LOWORD(m.WParam) : m.Msg;
    switch (press) {
      case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
      case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
      case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
      case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDBLCLK:
        if (TMDIClient* client = MDIParentClient(); client && client->ActiveChild() != this) {
          TComponentRef<TCustomForm> self(this);
          client->Activate(this);
          if (!self) return;
        }
        break;
      default:
        break;
    }
  }
  TCustomControl::WndProc(m);
}

// What the window system asks of forms: they are never popup windows,
// whatever their styles, and a window's form sees its keys first (short
// cuts, then dialog keys).
[[maybe_unused]] const bool kFormHooksInstalled = [] {
  TWindowSystemHooks& hooks = WindowSystemHooks();
  hooks.keepsNormalLayer = [](const TWindowNode* w) { return Is<TCustomForm>(w); };
  hooks.keyForm = [](const TWindowNode* w) -> TWindowNode* {
    return GetParentForm(As<TWinControl>(const_cast<TWindowNode*>(w)));
  };
  hooks.shortCut = [](TWindowNode* form, TMessage& keyMsg) {
    auto* f = As<TCustomForm>(form);
    return f && f->IsShortCut(keyMsg);
  };
  return true;
}();

}  // namespace qz

namespace qz {

QZ_PUBLISHED(TCustomForm, TCustomControl) {
  b.Prop("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption);
  b.Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable);
  b.Prop("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
      .Stored([](const TPersistent&) { return false; });
  b.Prop("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
      .Stored([](const TPersistent&) { return false; });
  b.Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
        TBorderIcons{TBorderIcon::biSystemMenu, TBorderIcon::biMinimize, TBorderIcon::biMaximize});
  b.Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition, poDesigned);
  b.Enum("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState, wsNormal);
  b.Enum("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal);
  b.Enum("TileMode", &TCustomForm::TileMode, &TCustomForm::SetTileMode, tbHorizontal);
  b.Ref<TMainMenu>("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
  b.Ref<TMenuItem>("WindowMenu", &TCustomForm::WindowMenu, &TCustomForm::SetWindowMenu);
  b.Prop("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false);
  b.Prop("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll, false);
  b.Prop("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled, true);
  b.Prop("AlphaBlend", &TCustomForm::AlphaBlend, &TCustomForm::SetAlphaBlend, false);
  b.Prop("AlphaBlendValue", &TCustomForm::AlphaBlendValue, &TCustomForm::SetAlphaBlendValue, 255);
  b.Ref<TWinControl>("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
  b.Prop("PixelsPerInch", &TCustomForm::pixelsPerInch_, 96);
  b.Prop("TextHeight", &TCustomForm::textHeight_, 13);
  b.Prop("OldCreateOrder", &TCustomForm::oldCreateOrder_, false);
  b.Event<TNotifyEvent>("OnCreate", &TCustomForm::OnCreate);
  b.Event<TNotifyEvent>("OnDestroy", &TCustomForm::OnDestroy);
  b.Event<TNotifyEvent>("OnShow", &TCustomForm::OnShow);
  b.Event<TNotifyEvent>("OnHide", &TCustomForm::OnHide);
  b.Event<TNotifyEvent>("OnActivate", &TCustomForm::OnActivate);
  b.Event<TNotifyEvent>("OnDeactivate", &TCustomForm::OnDeactivate);
  b.Event<TNotifyEvent>("OnPaint", &TCustomForm::OnPaint);
  b.Event<TCloseEvent>("OnClose", &TCustomForm::OnClose);
  b.Event<TCloseQueryEvent>("OnCloseQuery", &TCustomForm::OnCloseQuery);
  b.Event<TShortCutEvent>("OnShortCut", &TCustomForm::OnShortCut);
}

QZ_PUBLISHED(TForm, TCustomForm) {
  b.Factory([](TComponent* owner) { return new TForm(owner); });
}

}  // namespace qz
