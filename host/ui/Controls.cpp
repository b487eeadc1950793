#include "host/ui/Controls.h"

#include <algorithm>

#include "host/platform/Platform.h"
#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "host/ui/Menus.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/WindowSystemHooks.h"

namespace qz {

namespace {
// A parent hears with CM_CONTROLCHANGE (wParam = the child) that a child
// moved, changed size or was shown or hidden outside the parent's own
// alignment: containers that follow their children's extent (the scroll
// box) need it; others ignore it.
void NotifyParentOfChange(TControl* child) {
  if (TWinControl* parent = child->Parent())
    parent->Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(child), 0);
}
}  // namespace


namespace {

bool IsClientMouseMessage(uint32_t msg) {
  return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK;
}

TMouseButton ButtonOf(uint32_t msg) {
  switch (msg) {
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: return mbRight;
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: return mbMiddle;
    default: return mbLeft;
  }
}

// The context-menu key, or Shift+F10 (which arrives as a system key).
bool IsContextMenuKey(const TMessage& m) {
  if (m.WParam == VK_APPS) return true;
  return m.WParam == VK_F10 && KeyboardStateToShiftState() == TShiftState{ssShift};
}

}  // namespace

HCURSOR CursorHandle(TCursor cursor) {
  int id = IDC_ARROW;
  switch (cursor) {
    case crIBeam: id = IDC_IBEAM; break;
    case crCross: id = IDC_CROSS; break;
    case crUpArrow: id = IDC_UPARROW; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeWE: case crHSplit: id = IDC_SIZEWE; break;
    case crSizeNS: case crVSplit: id = IDC_SIZENS; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    case crHourGlass: case crSQLWait: id = IDC_WAIT; break;
    case crNo: case crNoDrop: id = IDC_NO; break;
    case crAppStart: id = IDC_APPSTARTING; break;
    case crHelp: id = IDC_HELP; break;
    case crHandPoint: id = IDC_HAND; break;
    case crNone: return nullptr;
    case crDrag: case crMultiDrag: {
      // Shapes of the framework's own, without a system cursor id.
      static const TCursorHandle kDrag{TCursorShape::Drag}, kMultiDrag{TCursorShape::MultiDrag};
      return cursor == crDrag ? &kDrag : &kMultiDrag;
    }
    default: break;
  }
  return LoadCursor(nullptr, id);
}

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s.Include(ssShift);
  if (keys & MK_CONTROL) s.Include(ssCtrl);
  if (keys & MK_LBUTTON) s.Include(ssLeft);
  if (keys & MK_RBUTTON) s.Include(ssRight);
  if (keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardStateToShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

TCustomForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return As<TCustomForm>(const_cast<TControl*>(c));
}

HWND::HWND(const TWinControl* control) : HWND(static_cast<const TWindowNode*>(control)) {}

TWinControl* WindowControl(HWND hwnd) { return As<TWinControl>(WindowNodeOf(hwnd)); }

std::vector<TWinControl*> TopLevelControls() {
  std::vector<TWinControl*> out;
  for (TWindowNode* w : WindowSystem().TopLevels())
    if (auto* c = As<TWinControl>(w)) out.push_back(c);
  return out;
}

namespace {

// The control under the pointer hears of it entering and leaving: the
// graphic child under it, else its window.
void PointerOver(TWindowNode* window, TPoint screen) {
  TControl* c = nullptr;
  if (auto* w = As<TWinControl>(window)) {
    TControl* g = w->ControlAtPos(w->ScreenToClient(screen), false, false);
    c = g ? g : w;
  }
  auto& ws = WindowSystem();
  if (ws.mouseControl == c) return;
  // The leave handler may destroy either control.
  TComponentRef<TControl> old(static_cast<TControl*>(ws.mouseControl.Get()));
  TComponentRef<TControl> entered = c;
  ws.mouseControl = c;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (entered && ws.mouseControl == entered.Get()) entered->Perform(CM_MOUSEENTER);
}

[[maybe_unused]] const bool kControlHooksInstalled = [] {
  WindowSystemHooks().pointerOver = &PointerOver;
  return true;
}();

}  // namespace

void BindCanvasToDC(TCanvas& canvas, HDC dc) {
  canvas.SetTarget(dc->Target());
  canvas.SelectClipRgn(nullptr);
  canvas.SetBaseClip(dc->ClipRegion());
  canvas.SetViewportOrg(dc->ViewportOrg());
  canvas.SetWindowOrg(dc->WindowOrg());
}

// ---------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), font_(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this](TObject*) {
    parentFont_ = false;
    FontChanged();
  };
}

TControl::~TControl() {
  if (Application) Application->Hints().ControlGone(this);
  WindowSystem().ControlDestroyed(this);
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* AParent) {
  if (AParent == parent_) return;
  for (TWinControl* p = AParent; p; p = p->Parent())
    if (p == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (AParent) AParent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* value) {
  if (auto* w = As<TWinControl>(value)) SetParent(w);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  bool sized = AWidth != width_ || AHeight != height_;
  InvalidateControl(visible_, false);
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  InvalidateControl(visible_, false);
  if (parent_ && !parent_->aligning_) {
    UpdateAnchorRules();
    if (align_ != alNone) parent_->Realign();
    NotifyParentOfChange(this);
  }
  if (sized) Resize();
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  align_ = value;
  if (value != alNone && value != alCustom) anchors_ = {akLeft, akTop};
  if (parent_) parent_->Realign();
}

void TControl::SetAnchors(TAnchors value) {
  anchors_ = value;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!parent_) return;
  TRect pc = parent_->ClientRect();
  anchorRight_ = pc.Width() - (left_ + width_);
  anchorBottom_ = pc.Height() - (top_ + height_);
  anchorParentSize_ = pc.Size();
}

void TControl::SetClientWidth(int v) { SetBounds(left_, top_, width_ - ClientWidth() + v, height_); }
void TControl::SetClientHeight(int v) { SetBounds(left_, top_, width_, height_ - ClientHeight() + v); }
void TControl::SetClientSize(int w, int h) {
  SetBounds(left_, top_, width_ - ClientWidth() + w, height_ - ClientHeight() + h);
}

TPoint TControl::ClientOrigin() const {
  if (!parent_) return {left_, top_};
  TPoint p = parent_->ClientOrigin();
  return {p.X + left_, p.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const { return p + ClientOrigin(); }
TPoint TControl::ScreenToClient(TPoint p) const { return p - ClientOrigin(); }

TPoint TControl::ClientToParent(TPoint p, TWinControl* AParent) const {
  if (!AParent) AParent = parent_;
  if (!AParent) return p;
  return AParent->ScreenToClient(ClientToScreen(p));
}

TPoint TControl::ParentToClient(TPoint p, TWinControl* AParent) const {
  if (!AParent) AParent = parent_;
  if (!AParent) return p;
  return ScreenToClient(AParent->ClientToScreen(p));
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  if (!value) InvalidateControl(true, false);
  visible_ = value;
  if (value) InvalidateControl(true, false);
  TComponentRef<TControl> self(this);
  Perform(CM_VISIBLECHANGED, value);
  if (!self) return;
  if (parent_ && (align_ != alNone)) parent_->Realign();
  if (parent_) NotifyParentOfChange(this);
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& v) {
  if (v == text_) return;
  text_ = v;
  Perform(CM_TEXTCHANGED);
}

void TControl::SetColor(TColor v) {
  parentColor_ = false;
  if (v == color_) return;
  color_ = v;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v && parent_) ParentColorChanged();
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v && parent_) ParentFontChanged();
}

void TControl::SetCursor(TCursor v) {
  if (v == cursor_) return;
  cursor_ = v;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool v) {
  showHint_ = v;
  parentShowHint_ = false;
}

void TControl::SetParentShowHint(bool v) {
  parentShowHint_ = v;
  if (v && parent_) showHint_ = parent_->ShowHint();
}

void TControl::FontChanged() { Perform(CM_FONTCHANGED); }

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  auto handler = std::move(font_->OnChange);
  font_->Assign(parent_->Font());
  font_->OnChange = std::move(handler);
  FontChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  color_ = parent_->Color();
  Perform(CM_COLORCHANGED);
}

LRESULT TControl::Perform(uint32_t msg, WPARAM w, LPARAM l) {
  TMessage m{msg, w, l, 0};
  if (WindowProc) WindowProc(m);
  else WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& message) {
  // Every control's pointer input drives the application's hints.
  if (Application && IsClientMouseMessage(message.Msg)) Application->Hints().MouseMessage(this, message.Msg);
  Dispatch(message);
}

void TControl::Dispatch(TMessage& m) {
  if (IsClientMouseMessage(m.Msg)) {
    WMMouse(m);
    return;
  }
  switch (m.Msg) {
    case CM_MOUSEENTER: CMMouseEnter(m); return;
    case CM_MOUSELEAVE:
      if (Application) Application->Hints().MouseLeft(this);
      CMMouseLeave(m);
      return;
    case CM_ENABLEDCHANGED: CMEnabledChanged(m); return;
    case CM_VISIBLECHANGED: CMVisibleChanged(m); return;
    case CM_TEXTCHANGED: CMTextChanged(m); return;
    case CM_COLORCHANGED: CMColorChanged(m); return;
    case CM_FONTCHANGED: CMFontChanged(m); return;
    case CM_HITTEST: CMHitTest(m); return;
    case CM_PARENTFONTCHANGED: ParentFontChanged(); return;
    case CM_PARENTCOLORCHANGED: ParentColorChanged(); return;
    case WM_CONTEXTMENU: WMContextMenu(m); return;
    default: DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage& m) { m.Result = 0; }

void TControl::WMMouse(TMessage& m) {
  // Click, DblClick and the mouse events run user code that may free this
  // control (or its parent or form): nothing is touched once it is gone.
  TComponentRef<TControl> self(this);
  int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  TShiftState shift = KeysToShiftState(m.WParam);
  TMouseButton button = ButtonOf(m.Msg);
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      MouseMove(shift, x, y);
      break;
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK: {
      bool dbl = m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
      if (button == mbLeft) {
        if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
        if (!self) return;
        if (controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
        // The press still reaches the control: a release before the
        // threshold is an ordinary click.
        if (dragMode_ == dmAutomatic && !ComponentState().Contains(csDesigning)) BeginDrag(false);
        if (!self) return;
        if (dbl && controlStyle_.Contains(csDoubleClicks)) DblClick();
        if (!self) return;
      }
      if (dbl) shift.Include(ssDouble);
      MouseDown(button, shift, x, y);
      break;
    }
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
      if (button == mbLeft) {
        if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
        if (!self) return;
        if (controlState_.Contains(csClicked)) {
          controlState_.Exclude(csClicked);
          if (ClientRect().Contains({x, y})) Click();
          if (!self) return;
        }
      }
      MouseUp(button, shift, x, y);
      if (m.Msg == WM_RBUTTONUP && self) ContextMenuAt(ClientToScreen({x, y}));
      break;
  }
}

void TControl::CMMouseEnter(TMessage&) {
  if (OnMouseEnter) OnMouseEnter(this);
}
void TControl::CMMouseLeave(TMessage&) {
  if (OnMouseLeave) OnMouseLeave(this);
}
void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) {}
void TControl::CMTextChanged(TMessage&) { Invalidate(); }
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }

// A control's own OnClick comes before a linked action's command.
void TControl::Click() {
  if (OnClick) {
    OnClick(this);
  } else if (actionLink_) {
    actionLink_->Execute();
  }
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parentFont_) ParentFontChanged();
  if (parentColor_) ParentColorChanged();
  UpdateAnchorRules();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
}

void TControl::InvalidateControl(bool isVisible, bool) {
  if (!isVisible || !parent_ || !parent_->HandleAllocated()) return;
  WindowSystem().InvalidateParentArea(parent_, BoundsRect());
}

void TControl::Invalidate() { InvalidateControl(visible_, controlStyle_.Contains(csOpaque)); }

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.push_back(this);
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::find(list.begin(), list.end(), this));
  list.insert(list.begin(), this);
  if (parent_->HandleAllocated()) WindowSystem().InvalidateParentArea(parent_, BoundsRect());
}

bool TControl::MouseCapture() const {
  auto& ws = WindowSystem();
  if (auto* w = As<TWinControl>(const_cast<TControl*>(this))) return ws.capture == w;
  return ws.captureControl == this;
}

void TControl::SetMouseCapture(bool value) {
  if (value == MouseCapture()) return;
  auto& ws = WindowSystem();
  if (!value) {
    ReleaseCapture();
    return;
  }
  if (auto* w = As<TWinControl>(this)) {
    ::qz::SetCapture(w->Handle());
  } else if (parent_ && parent_->HandleAllocated()) {
    ::qz::SetCapture(parent_->Handle());
    ws.captureControl = this;
  }
}

TCustomForm* TControl::ParentForm() const { return GetParentForm(this); }

TWinControl* TControl::TopWindow() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return As<TWinControl>(const_cast<TControl*>(c));
}

// ---------------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), canvas_(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() {
  if (ownDC_) ReleaseDC(nullptr, ownDC_);
}

TCanvas& TGraphicControl::Canvas() {
  if (!painting_ && parent_ && parent_->HandleAllocated()) {
    // Outside painting: a context on the parent clipped to the control.
    if (ownDC_) ReleaseDC(parent_, ownDC_);
    ownDC_ = GetDC(parent_);
    ownDC_->SetViewportOrg(ownDC_->ViewportOrg() + TPoint{left_, top_});
    ownDC_->IntersectClipRect({0, 0, width_, height_});
    BindCanvasToDC(*canvas_, ownDC_);
    canvas_->Font().Assign(Font());
  }
  return *canvas_;
}

void TGraphicControl::Dispatch(TMessage& m) {
  if (m.Msg == WM_PAINT) {
    WMPaint(m);
    return;
  }
  TControl::Dispatch(m);
}

void TGraphicControl::WMPaint(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc || width_ <= 0 || height_ <= 0) return;
  BindCanvasToDC(*canvas_, dc);
  canvas_->Font().Assign(Font());
  canvas_->Brush().SetColor(Color());
  canvas_->Brush().SetStyle(TBrushStyle::bsSolid);
  painting_ = true;
  TComponentRef<TGraphicControl> self(this);
  Paint();
  if (!self) return;
  painting_ = false;
  canvas_->SetTarget(nullptr);
}

// ---------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner)
    : TControl(AOwner), brush_(std::make_unique<TBrush>()) {
  color_ = clBtnFace;
  brush_->SetColor(color_);
}

TWinControl::~TWinControl() {
  DestroyHandle();
  // Children go with their parent window.
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    RemoveControl(c);
    delete c;
  }
  if (parent_) parent_->RemoveControl(this);
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return wnd_->handle;
}

void TWinControl::HandleNeeded() {
  if (wnd_) return;
  if (parent_) parent_->HandleNeeded();
  if (!wnd_) CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = text_;
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  p.Style = parent_ ? (WS_CHILD | WS_CLIPSIBLINGS) : WS_POPUP;
  if (visible_) p.Style |= WS_VISIBLE;
  if (!enabled_) p.Style |= WS_DISABLED;
  if (tabStop_) p.Style |= WS_TABSTOP;
  p.WndParent = parent_;
  p.WindowClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  p.WinClassName = ClassName();
}

void TWinControl::CreateHandle() {
  if (wnd_) return;
  CreateWnd();
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = As<TWinControl>(c)) w->CreateHandle();
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  auto data = std::make_unique<TWindowData>();
  data->style = p.Style;
  data->exStyle = p.ExStyle;
  data->classStyle = p.WindowClassStyle;
  data->normalRect = BoundsRect();
  // A top-level window is shown through ShowWindow once it exists.
  bool showTop = !parent_ && (data->style & WS_VISIBLE);
  if (showTop) data->style &= ~WS_VISIBLE;
  WindowSystem().AttachWindow(this, std::move(data));
  Perform(WM_CREATE);
  WindowSystem().RecalcClient(this);
  wnd_->creating = false;
  WindowSystem().InvalidateAll(this);
  Realign();
  if (showTop) ShowWindow(this, SW_SHOWNA);
}

void TWinControl::DestroyHandle() {
  if (!wnd_) return;
  controlState_.Include(csDestroyingHandle);
  Perform(WM_DESTROY);
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = As<TWinControl>(c)) w->DestroyHandle();
  DestroyWnd();
  controlState_.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
  Perform(WM_NCDESTROY);
  WindowSystem().DetachWindow(this);
  wnd_.reset();
}

void TWinControl::RecreateWnd() {
  if (!wnd_) return;
  bool wasFocused = GetFocus() == this;
  DestroyHandle();
  CreateHandle();
  if (wasFocused && CanFocus()) ::qz::SetFocus(this);
}

TWindowNode* TWinControl::WindowParent() const { return parent_; }

std::vector<TWindowNode*> TWinControl::WindowChildren() const {
  std::vector<TWindowNode*> out;
  for (TControl* c : controls_)
    if (auto* w = As<TWinControl>(c)) out.push_back(w);
  return out;
}

void TWinControl::RestackChild(TWindowNode* child, HWND after) {
  TControl* c = As<TWinControl>(child);
  auto& list = controls_;
  list.erase(std::find(list.begin(), list.end(), c));
  if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    list.push_back(c);
  } else if (after == HWND_BOTTOM) {
    auto firstWin = std::find_if(list.begin(), list.end(), [](TControl* x) { return Is<TWinControl>(x); });
    list.insert(firstWin, c);
  } else {
    // The platform's "insert after" means below that window.
    auto it = std::find(list.begin(), list.end(), static_cast<TControl*>(WindowControl(after)));
    list.insert(it == list.end() ? list.end() : it, c);
  }
}

void TWinControl::StoreWindowBounds(const TRect& bounds) {
  left_ = bounds.Left;
  top_ = bounds.Top;
  width_ = bounds.Width();
  height_ = bounds.Height();
}

std::vector<TWinControl*> TWinControl::WinControls() const {
  std::vector<TWinControl*> out;
  for (TControl* c : controls_)
    if (auto* w = As<TWinControl>(c)) out.push_back(w);
  return out;
}

void TWinControl::InsertControl(TControl* c) {
  c->parent_ = this;
  auto* w = As<TWinControl>(c);
  if (w) {
    if (w->wnd_) w->DestroyHandle();  // was a top-level window
    controls_.push_back(c);
    tabList_.push_back(w);
  } else {
    // Graphic controls stay below windowed ones in the list.
    auto firstWin = std::find_if(controls_.begin(), controls_.end(),
                                 [](TControl* x) { return Is<TWinControl>(x); });
    controls_.insert(firstWin, c);
  }
  c->ParentFontChanged();
  c->ParentColorChanged();
  if (c->parentShowHint_) c->showHint_ = showHint_;
  c->UpdateAnchorRules();
  if (w && wnd_) w->CreateHandle();
  c->Invalidate();
  Realign();
}

void TWinControl::RemoveControl(TControl* c) {
  auto it = std::find(controls_.begin(), controls_.end(), c);
  if (it == controls_.end()) return;
  if (wnd_ && c->visible_) {
    if (auto* w = As<TWinControl>(c)) WindowSystem().InvalidateExposed(this, c->BoundsRect(), w);
    else WindowSystem().InvalidateParentArea(this, c->BoundsRect());
  }
  if (auto* w = As<TWinControl>(c)) {
    w->DestroyHandle();
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), w), tabList_.end());
  }
  controls_.erase(std::find(controls_.begin(), controls_.end(), c));
  if (auto* form = GetParentForm(this)) form->ControlRemoved(c);
  c->parent_ = nullptr;
  if (!InState(csDestroying)) Realign();
}

bool TWinControl::ContainsControl(const TControl* c) const {
  for (const TControl* p = c; p; p = p->Parent())
    if (p == this) return true;
  return false;
}

bool TWinControl::ContainsControl(HWND window) const {
  const TWinControl* w = WindowControl(window);
  return w && ContainsControl(static_cast<const TControl*>(w));
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!allowWinControls && Is<TWinControl>(c)) continue;
    if (!c->visible_ || (!allowDisabled && !c->enabled_)) continue;
    if (!c->BoundsRect().Contains(pos)) continue;
    TPoint local{pos.X - c->left_, pos.Y - c->top_};
    if (c->Perform(CM_HITTEST, 0, MAKELPARAM(local.X, local.Y)) == 0) continue;
    return c;
  }
  return nullptr;
}

void TWinControl::DisableAlign() { ++alignLevel_; }

void TWinControl::EnableAlign() {
  if (alignLevel_ > 0 && --alignLevel_ == 0 && alignPending_) Realign();
}

namespace {
constexpr int kAlignPasses = 4;
}  // namespace

void TWinControl::Realign() {
  if (alignLevel_ > 0 || aligning_) {
    alignPending_ = true;
    return;
  }
  // A control shown, hidden or sized by the alignment itself (a handler of
  // an aligned control's resize) asks for another one: it runs right after,
  // a few times at most, so that such a control never keeps the place it
  // had before it was aligned.
  for (int pass = 0; pass < kAlignPasses; ++pass) {
    alignPending_ = false;
    TRect r = ClientRect();
    AlignControls(nullptr, r);
    if (!alignPending_ || alignLevel_ > 0) break;
  }
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
  aligning_ = true;
  static constexpr TAlign kOrder[] = {alTop, alBottom, alLeft, alRight, alClient};
  for (TAlign a : kOrder) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
      if (c->align_ != a || !c->visible_) continue;
      int w = c->width_, h = c->height_;
      switch (a) {
        case alTop:
          c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
          rect.Top += c->height_;
          break;
        case alBottom:
          c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
          rect.Bottom -= c->height_;
          break;
        case alLeft:
          c->SetBounds(rect.Left, rect.Top, w, rect.Height());
          rect.Left += c->width_;
          break;
        case alRight:
          c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
          rect.Right -= c->width_;
          break;
        case alClient:
          c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
          break;
        default: break;
      }
    }
  }
  // Anchors: keep the recorded distances to the right and bottom edges.
  TRect pc = ClientRect();
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (c->align_ != alNone || c->anchorParentSize_.cx < 0) continue;
    TAnchors an = c->anchors_;
    if (an == TAnchors{akLeft, akTop}) continue;
    int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    if (an.Contains(akRight)) {
      if (an.Contains(akLeft)) w = pc.Width() - c->anchorRight_ - l;
      else l = pc.Width() - c->anchorRight_ - w;
    }
    if (an.Contains(akBottom)) {
      if (an.Contains(akTop)) h = pc.Height() - c->anchorBottom_ - t;
      else t = pc.Height() - c->anchorBottom_ - h;
    }
    c->SetBounds(l, t, w, h);
  }
  aligning_ = false;
}

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  auto& list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int v) {
  if (!parent_) return;
  auto& list = parent_->tabList_;
  list.erase(std::find(list.begin(), list.end(), this));
  v = std::clamp(v, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + v, this);
}

bool TWinControl::CanFocus() const {
  if (!GetParentForm(this) && parent_) return false;
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (auto* form = GetParentForm(this); form && form != this) {
    form->FocusControl(this);
  } else {
    ::qz::SetFocus(Handle());
  }
}

bool TWinControl::Focused() const { return wnd_ && WindowSystem().focus == this; }

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* cur, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  int start = -1;
  for (int i = 0; i < n; ++i)
    if (list[i] == cur) start = i;
  if (start < 0) start = goForward ? n - 1 : 0;
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = goForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[i];
    if (c == cur) break;
    if ((!checkTabStop || c->tabStop_) && (!checkParent || c->parent_ == cur->parent_) &&
        c->CanFocus())
      return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* cur, bool goForward, bool checkTabStop) {
  TWinControl* next = FindNextControl(cur, goForward, checkTabStop, !checkTabStop && cur);
  if (next) next->SetFocus();
}

TRect TWinControl::ClientRect() const {
  if (wnd_) return {0, 0, wnd_->clientRect.Width(), wnd_->clientRect.Height()};
  TCreateParams p;
  const_cast<TWinControl*>(this)->CreateParams(p);
  TRect in = DefaultFrameInsets(p.Style, p.ExStyle);
  return {0, 0, std::max(0, width_ - in.Left - in.Right), std::max(0, height_ - in.Top - in.Bottom)};
}

TPoint TWinControl::ClientOrigin() const {
  if (wnd_) return TWindowSystem::ClientOrigin(this);
  const TPoint o = parent_ ? parent_->ClientOrigin() + TPoint{left_, top_} : TPoint{left_, top_};
  TCreateParams p;
  const_cast<TWinControl*>(this)->CreateParams(p);
  TRect in = DefaultFrameInsets(p.Style, p.ExStyle);
  return {o.X + in.Left, o.Y + in.Top};
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (wnd_) {
    TComponentRef<TWinControl> self(this);
    if (ALeft != left_ || ATop != top_ || AWidth != width_ || AHeight != height_)
      ::qz::SetWindowPos(this, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!self) return;  // OnResize freed it
    if (parent_ && !parent_->aligning_) {
      UpdateAnchorRules();
      NotifyParentOfChange(this);
    }
    return;
  }
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  bool sized = AWidth != width_ || AHeight != height_;
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  if (parent_ && !parent_->aligning_) {
    UpdateAnchorRules();
    if (align_ != alNone) parent_->Realign();
    NotifyParentOfChange(this);
  }
  if (sized) {
    Realign();
    Resize();
  }
}

void TWinControl::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  TComponentRef<TWinControl> self(this);
  if (wnd_) ::qz::ShowWindow(this, value ? (parent_ ? SW_SHOWNA : SW_SHOW) : SW_HIDE);
  if (!self) return;
  Perform(CM_VISIBLECHANGED, value);
  if (!self) return;
  if (parent_ && align_ != alNone) parent_->Realign();
  if (parent_) NotifyParentOfChange(this);
}

void TWinControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  TComponentRef<TWinControl> self(this);
  if (wnd_) EnableWindow(this, value);
  if (self) Perform(CM_ENABLEDCHANGED);
}

void TWinControl::SetText(const std::string& v) {
  if (v == text_) return;
  if (wnd_) {
    // Through the window procedure, so that a replacement sees caption changes.
    std::string copy = v;
    TComponentRef<TWinControl> self(this);
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
    if (!self) return;
  } else {
    text_ = v;
  }
  Perform(CM_TEXTCHANGED);
}

bool TWinControl::Showing() const {
  if (!visible_) return false;
  if (!parent_) return wnd_ && (wnd_->style & WS_VISIBLE) && !(wnd_->style & WS_MINIMIZE);
  return parent_->Showing();
}

void TWinControl::Invalidate() {
  if (wnd_) ::qz::InvalidateRect(this, nullptr, !controlStyle_.Contains(csOpaque));
}

void TWinControl::Update() {
  if (wnd_) UpdateWindow(this);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  int saved = dc->SaveDC();
  TPoint origin{x, y};
  if (wnd_) origin = origin + wnd_->clientRect.TopLeft();
  dc->SetViewportOrg(dc->ViewportOrg() + origin);
  TRect cr = ClientRect();
  dc->IntersectClipRect(cr);
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
  for (TWinControl* w : WinControls()) {
    if (!w->visible_) continue;
    TPoint wo = w->wnd_ ? TPoint{} : TPoint{};
    w->PaintTo(dc, w->left_ + wo.X, w->top_ + wo.Y);
  }
  dc->RestoreDC(saved);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
  // A paint handler may free this window or any of its controls.
  TComponentRef<TWinControl> self(this);
  std::vector<TComponentRef<TControl>> controls(controls_.begin(), controls_.end());
  for (const auto& ref : controls) {
    TControl* c = ref.Get();
    if (!self) return;
    if (!c) continue;
    if (c == first) break;
    if (Is<TWinControl>(c) || !c->visible_) continue;
    if (!dc->RectVisible(c->BoundsRect())) continue;
    int saved = dc->SaveDC();
    dc->SetViewportOrg(dc->ViewportOrg() + TPoint{c->left_, c->top_});
    dc->IntersectClipRect({0, 0, c->width_, c->height_});
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    dc->RestoreDC(saved);
  }
}

void TWinControl::WndProc(TMessage& m) {
  const bool key = m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN || m.Msg == CM_DIALOGKEY;
  if (Application && key) Application->CancelHint();
  if (IsClientMouseMessage(m.Msg) && IsControlMouseMsg(m)) return;
  TControl::WndProc(m);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  auto& ws = WindowSystem();
  TControl* target = nullptr;
  auto* held = static_cast<TControl*>(ws.captureControl.Get());
  if (held && held->parent_ == this) {
    target = held;
  } else if (ws.capture == this && ws.captureControl == nullptr && MouseCapture()) {
    target = nullptr;  // this window holds the capture itself
  } else {
    TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    target = ControlAtPos(p, false, false);
  }
  if (!target) return false;
  int x = GET_X_LPARAM(m.LParam) - target->left_;
  int y = GET_Y_LPARAM(m.LParam) - target->top_;
  m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(x, y));
  return true;
}

void TWinControl::Dispatch(TMessage& m) {
  TComponentRef<TWinControl> self(this);
  switch (m.Msg) {
    case WM_PAINT: WMPaint(m); return;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_SIZE:
      WMSize(m);  // OnResize
      if (self) DefaultHandler(m);
      return;
    case WM_MOVE:
      WMMove(m);
      if (self) DefaultHandler(m);
      return;
    case WM_SETFOCUS: WMSetFocus(m); return;
    case WM_KILLFOCUS: WMKillFocus(m); return;
    case WM_SETCURSOR: WMSetCursor(m); return;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: WMKeyDown(m); return;
    case WM_KEYUP: case WM_SYSKEYUP: WMKeyUp(m); return;
    case WM_CHAR: WMChar(m); return;
    case WM_NCHITTEST: WMNCHitTest(m); return;
    case WM_SETTEXT:
      text_ = m.LParam ? reinterpret_cast<const char*>(m.LParam) : "";
      DefaultHandler(m);
      return;
    case CM_ENTER: CMEnter(m); return;
    case CM_EXIT: CMExit(m); return;
    case CM_DIALOGKEY: CMDialogKey(m); return;
    case CM_DIALOGCHAR: CMDialogChar(m); return;
    default: TControl::Dispatch(m);
  }
}

void TWinControl::DefaultHandler(TMessage& m) {
  m.Result = wnd_ ? DefWindowProc(this, m.Msg, m.WParam, m.LParam) : 0;
}

void TWinControl::WMPaint(TMessage& m) { PaintHandler(m); }

void TWinControl::PaintHandler(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (dc) {
    TComponentRef<TWinControl> self(this);
    PaintWindow(dc);
    if (self) PaintControls(dc, nullptr);
    return;
  }
  TPaintStruct ps;
  TComponentRef<TWinControl> self(this);
  dc = BeginPaint(this, ps);
  if (dc) {
    PaintWindow(dc);  // OnPaint, Paint overrides
    if (self) PaintControls(dc, nullptr);
  }
  EndPaint(nullptr, ps);
}

void TWinControl::PaintWindow(HDC dc) {
  TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(m);
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (dc) {
    int saved = dc->SaveDC();
    dc->Brush().SetColor(color_);
    dc->Brush().SetStyle(TBrushStyle::bsSolid);
    dc->FillRect(ClientRect());
    dc->RestoreDC(saved);
  }
  m.Result = 1;
}

void TWinControl::WMSize(TMessage&) {
  Realign();
  Resize();
}

void TWinControl::WMSetFocus(TMessage& m) {
  TComponentRef<TWinControl> self(this);
  if (auto* form = GetParentForm(this); form && !controlState_.Contains(csFocusing))
    form->SetFocusedControl(this);  // OnExit/OnEnter
  if (self) DefaultHandler(m);
}

void TWinControl::WMKillFocus(TMessage& m) { DefaultHandler(m); }

void TWinControl::WMSetCursor(TMessage& m) {
  int hit = LOWORD(m.LParam);
  if (HWND::FromValue(m.WParam) == HWND(this) && hit == HTCLIENT) {
    TCursor cur = Screen ? Screen->Cursor() : crDefault;
    if (cur == crDefault) {
      TPoint p;
      GetCursorPos(p);
      p = ScreenToClient(p);
      TControl* c = ControlAtPos(p, false, true);
      cur = (c && !Is<TWinControl>(c)) ? c->Cursor() : crDefault;
      if (cur == crDefault) cur = cursor_;
    }
    if (cur != crDefault) {
      ::qz::SetCursor(CursorHandle(cur));
      m.Result = 1;
      return;
    }
  }
  DefaultHandler(m);
}

void TWinControl::WMNCHitTest(TMessage& m) { DefaultHandler(m); }

// The key methods answer "handled" when the key was eaten or when a handler
// freed this control, so that the caller touches nothing more.
bool TWinControl::DoKeyDown(TMessage& m) {
  TComponentRef<TWinControl> self(this);
  uint16_t key = static_cast<uint16_t>(m.WParam);
  TShiftState shift = KeyboardStateToShiftState();
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview()) {
    static_cast<TWinControl*>(form)->KeyDown(key, shift);
    if (key == 0 || !self) return true;
  }
  KeyDown(key, shift);
  if (!self) return true;
  m.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& m) {
  TComponentRef<TWinControl> self(this);
  uint16_t key = static_cast<uint16_t>(m.WParam);
  TShiftState shift = KeyboardStateToShiftState();
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview()) {
    static_cast<TWinControl*>(form)->KeyUp(key, shift);
    if (key == 0 || !self) return true;
  }
  KeyUp(key, shift);
  if (!self) return true;
  m.WParam = key;
  return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  TComponentRef<TWinControl> self(this);
  char32_t ch = static_cast<char32_t>(m.WParam);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview()) {
    static_cast<TWinControl*>(form)->KeyPress(ch);
    if (ch == 0 || !self) return true;
  }
  KeyPress(ch);
  if (!self) return true;
  m.WParam = ch;
  return ch == 0;
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}
void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}
void TWinControl::KeyPress(char32_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::WMKeyDown(TMessage& m) {
  if (DoKeyDown(m)) return;
  if (IsContextMenuKey(m)) {
    ContextMenuAt(kContextMenuFromKeyboard);
    return;
  }
  DefaultHandler(m);
}
void TWinControl::WMKeyUp(TMessage& m) {
  if (DoKeyUp(m)) return;
  // The release of Shift+F10 would otherwise enter the menu bar.
  if (IsContextMenuKey(m)) return;
  DefaultHandler(m);
}
void TWinControl::WMChar(TMessage& m) {
  if (!DoKeyPress(m)) DefaultHandler(m);
}

void TWinControl::CMEnter(TMessage&) {
  if (OnEnter) OnEnter(this);
}
void TWinControl::CMExit(TMessage&) {
  if (OnExit) OnExit(this);
}

void TWinControl::CMDialogKey(TMessage& m) {
  // Broadcast to the children until one takes the key. A child's Click may
  // free this control or its siblings.
  TComponentRef<TWinControl> self(this);
  std::vector<TComponentRef<TControl>> children(controls_.begin(), controls_.end());
  for (const auto& child : children) {
    if (!self) return;
    if (auto* w = As<TWinControl>(child.Get())) {
      m.Result = w->Perform(CM_DIALOGKEY, m.WParam, m.LParam);
      if (m.Result) return;
    }
  }
  m.Result = 0;
}

void TWinControl::CMDialogChar(TMessage& m) {
  TComponentRef<TWinControl> self(this);
  std::vector<TComponentRef<TControl>> children(controls_.begin(), controls_.end());
  for (const auto& child : children) {
    if (!self) return;
    TControl* c = child.Get();
    if (!c || !c->Visible() || !c->Enabled()) continue;
    m.Result = c->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
    if (m.Result) return;
  }
  m.Result = 0;
}

void TWinControl::CMColorChanged(TMessage& m) {
  brush_->SetColor(color_);
  for (TControl* c : controls_) c->Perform(CM_PARENTCOLORCHANGED);
  TControl::CMColorChanged(m);
}

void TWinControl::CMEnabledChanged(TMessage& m) {
  if (!enabled_ && wnd_ && ContainsControl(WindowSystem().focus))
    ::qz::SetFocus(nullptr);
  TControl::CMEnabledChanged(m);
}

void TWinControl::CMVisibleChanged(TMessage& m) {
  if (!visible_ && wnd_ && ContainsControl(WindowSystem().focus) && parent_)
    ::qz::SetFocus(nullptr);
}

void TWinControl::Loaded() {
  TControl::Loaded();
  Realign();
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  for (TControl* c : controls_) c->Perform(CM_PARENTFONTCHANGED);
}

// ---------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() {
  if (ownDC_) ReleaseDC(nullptr, ownDC_);
}

void TCustomControl::DestroyWnd() {
  if (ownDC_) ReleaseDC(this, ownDC_);
  ownDC_ = nullptr;
  canvas_->SetTarget(nullptr);
  TWinControl::DestroyWnd();
}

TCanvas& TCustomControl::Canvas() {
  if (!painting_ && HandleAllocated()) {
    if (ownDC_) ReleaseDC(this, ownDC_);
    ownDC_ = GetDC(this);
    BindCanvasToDC(*canvas_, ownDC_);
    canvas_->Font().Assign(Font());
    canvas_->Brush().SetColor(Color());
  }
  return *canvas_;
}

void TCustomControl::PaintWindow(HDC dc) {
  BindCanvasToDC(*canvas_, dc);
  canvas_->Font().Assign(Font());
  canvas_->Brush().SetColor(Color());
  canvas_->Brush().SetStyle(TBrushStyle::bsSolid);
  canvas_->Pen().SetColor(clBlack);
  painting_ = true;
  TComponentRef<TCustomControl> self(this);
  Paint();  // OnPaint may free the control
  if (!self) return;
  painting_ = false;
  canvas_->SetTarget(nullptr);
}

}  // namespace qz

namespace qz {

// ---------------------------------------------------------------- popup menu and action

void TControl::SetPopupMenu(TPopupMenu* value) { SetReference(popupMenu_, value); }

void TControl::SetAction(TBasicAction* value) {
  if (value == Action()) return;
  if (value == nullptr) {
    actionLink_.reset();
    return;
  }
  if (!actionLink_) {
    actionLink_ = std::make_unique<TActionLink>([this](TBasicAction& a) { ActionChange(a); });
  }
  actionLink_->SetAction(value);
  ActionChange(*value);
}

void TControl::ActionChange(TBasicAction& action) {
  auto* a = dynamic_cast<TCustomAction*>(&action);
  if (a == nullptr) return;
  TComponentRef<TControl> self(this);
  SetCaption(a->Caption());
  if (self) SetHint(a->Hint());
  if (self) SetEnabled(a->Enabled());
  if (self) SetVisible(a->Visible());
}

void TControl::ContextMenuAt(TPoint screen) {
  Perform(WM_CONTEXTMENU, 0, MAKELPARAM(screen.X, screen.Y));
}

// OnContextPopup may take the request; else the control's own menu shows
// (at the pointer, or at the control's top left for the keyboard); else the
// parent is asked, so that a form's menu serves its whole client area.
void TControl::WMContextMenu(TMessage& m) {
  if (m.Result != 0) return;
  TComponentRef<TControl> self(this);
  const TPoint screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const bool fromKeyboard = screen == kContextMenuFromKeyboard;
  bool handled = false;
  if (OnContextPopup) {
    OnContextPopup(this, fromKeyboard ? kContextMenuFromKeyboard : ScreenToClient(screen), handled);
  }
  if (!self || handled) {
    m.Result = 1;
    return;
  }
  if (popupMenu_ && popupMenu_->AutoPopup()) {
    TPopupMenu& menu = *popupMenu_;
    if (MouseCapture()) SetMouseCapture(false);
    menu.SetPopupComponent(this);
    const TPoint at = fromKeyboard ? ClientToScreen({0, 0}) : screen;
    m.Result = 1;
    menu.Popup(at.X, at.Y);
    return;
  }
  if (parent_) m.Result = parent_->Perform(WM_CONTEXTMENU, m.WParam, m.LParam);
}

// ---------------------------------------------------------------- registration

QZ_PUBLISHED(TControl, TComponent) {
  b.Prop("Left", &TControl::Left, &TControl::SetLeft);
  b.Prop("Top", &TControl::Top, &TControl::SetTop);
  b.Prop("Width", &TControl::Width, &TControl::SetWidth);
  b.Prop("Height", &TControl::Height, &TControl::SetHeight);
  b.Enum("Align", &TControl::Align, &TControl::SetAlign, alNone);
  b.Set("Anchors", &TControl::Anchors, &TControl::SetAnchors, TAnchors{akLeft, akTop});
  b.Color("Color", &TControl::Color, &TControl::SetColor, clWindow)
      .Stored([](const TPersistent& o) { return !static_cast<const TControl&>(o).ParentColor(); });
  b.Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, false);
  b.Object("Font", [](TControl& c) -> TFont& { return c.Font(); })
      .Stored([](const TPersistent& o) { return !static_cast<const TControl&>(o).ParentFont(); });
  b.Prop("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
  b.Cursor("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault);
  b.Prop("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
  b.Prop("Visible", &TControl::Visible, &TControl::SetVisible, true);
  b.Prop("Hint", &TControl::Hint, &TControl::SetHint);
  b.Prop("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, false);
  b.Prop("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true);
  b.Event<TNotifyEvent>("OnClick", &TControl::OnClick);
  b.Event<TNotifyEvent>("OnDblClick", &TControl::OnDblClick);
  b.Event<TMouseEvent>("OnMouseDown", &TControl::OnMouseDown);
  b.Event<TMouseEvent>("OnMouseUp", &TControl::OnMouseUp);
  b.Event<TMouseMoveEvent>("OnMouseMove", &TControl::OnMouseMove);
  b.Event<TNotifyEvent>("OnMouseEnter", &TControl::OnMouseEnter);
  b.Event<TNotifyEvent>("OnMouseLeave", &TControl::OnMouseLeave);
  b.Event<TNotifyEvent>("OnResize", &TControl::OnResize);
  b.Ref<TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  b.Ref<TBasicAction>("Action", &TControl::Action, &TControl::SetAction);
  b.Event<TContextPopupEvent>("OnContextPopup", &TControl::OnContextPopup);
  b.Enum("DragMode", &TControl::DragMode, &TControl::SetDragMode, dmManual);
  b.Enum("DragKind", &TControl::DragKind, &TControl::SetDragKind, dkDrag);
  b.Cursor("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor, crDrag);
  b.Event<TStartDragEvent>("OnStartDrag", &TControl::OnStartDrag);
  b.Event<TDragOverEvent>("OnDragOver", &TControl::OnDragOver);
  b.Event<TDragDropEvent>("OnDragDrop", &TControl::OnDragDrop);
  b.Event<TEndDragEvent>("OnEndDrag", &TControl::OnEndDrag);
}

QZ_PUBLISHED(TGraphicControl, TControl) {}

QZ_PUBLISHED(TWinControl, TControl) {
  b.Prop("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, -1);
  b.Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
  b.Event<TNotifyEvent>("OnEnter", &TWinControl::OnEnter);
  b.Event<TNotifyEvent>("OnExit", &TWinControl::OnExit);
  b.Event<TKeyEvent>("OnKeyDown", &TWinControl::OnKeyDown);
  b.Event<TKeyEvent>("OnKeyUp", &TWinControl::OnKeyUp);
  b.Event<TKeyPressEvent>("OnKeyPress", &TWinControl::OnKeyPress);
}

QZ_PUBLISHED(TCustomControl, TWinControl) {}

}  // namespace qz
