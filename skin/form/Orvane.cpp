// The form skinning controller: attachment, published properties, the skin
// change, geometry and painting calls, and what the objects ask of it.
#include "skin/form/Orvane.h"

#include <algorithm>

#include "host/base/Stream.h"
#include "host/graphics/Canvas.h"
#include "host/ui/Application.h"
#include "host/ui/ImgList.h"
#include "host/ui/Menus.h"
#include "host/ui/Timer.h"
#include "host/ui/Windows.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinData.h"
#include "skin/draw/EffectBmp.h"
#include "skin/form/FramePaint.h"
#include "skin/form/SkinMDITabsBar.h"
#include "skin/form/TrayIcon.h"

namespace qz {

namespace {

std::unique_ptr<TTimer> MakeTimer(unsigned interval, std::function<void()> tick) {
  auto timer = std::make_unique<TTimer>(nullptr);
  timer->SetEnabled(false);
  timer->SetInterval(interval);
  timer->OnTimer = [tick = std::move(tick)](TObject*) { tick(); };
  timer->Restart();
  return timer;
}

void SetCaptionFont(TFont& font, TColor color) {
  font.SetName("Tahoma");
  font.SetStyle({TFontStyle::fsBold});
  font.SetHeight(13);
  font.SetColor(color);
}

}  // namespace

// ---------------------------------------------------------------------------
// Attachment and destruction

TqzOrvane::TqzOrvane(TComponent* AOwner) : TComponent(AOwner) {
  form_ = dynamic_cast<TCustomForm*>(AOwner);
  if (!form_) throw EInvalidCast("TqzOrvane needs a form as its owner");
  SetCaptionFont(defCaptionFont_, clBtnText);
  SetCaptionFont(defInActiveCaptionFont_, clBtnShadow);
  defMenuItemFont_.SetName("Tahoma");
  layerBorder_ = std::make_unique<TqzFormLayerBorder>(*this);
  glowLayer_ = std::make_unique<TqzLayerManager>();
  glowLayer2_ = std::make_unique<TqzLayerManager>();
  sysMenu_ = std::make_unique<TPopupMenu>(nullptr);
  trayMenu_ = std::make_unique<TPopupMenu>(nullptr);
  // The timer callbacks may reach user code through object events.
  mouseTimer_ = MakeTimer(50, [this] { OnMouseTimer(); });
  morphTimer_ = MakeTimer(25, [this] { OnMorphTimer(); });
  animateTimer_ = MakeTimer(25, [this] { OnAnimateTimer(); });
  menuWatchTimer_ = MakeTimer(50, [this] { OnMenuWatchTimer(); });

  form_->SetBorderIcons({});
  form_->OnShortCut = [self = TComponentRef<TqzOrvane>(this)](TMessage& msg, bool& handled) {
    if (self) self->FormShortCut(msg, handled);
  };
  form_->SetAutoScroll(false);
  if (!InState(csDesigning)) InstallWndProc();
}

TqzOrvane::~TqzOrvane() {
  StopTimers();
  menuWatchTimer_->SetEnabled(false);
  if (frameMenuWindow_) frameMenuWindow_->CloseMenu();
  objects_.clear();
  FreeWindowItems();
  mdiScroll_.reset();
  if (!form_->InState(csDestroying)) RemoveWndProc();
}

void TqzOrvane::BeforeDestruction() {
  TComponent::BeforeDestruction();
  StopTimers();
  FreeObjects();
  areaBindings_.clear();
  ReleaseApplicationRestore();
  // A form that goes first deletes its components after its own members
  // are gone: only a controller removed from a living form puts back what
  // it changed.
  if (form_->InState(csDestroying)) return;
  if (form_->HandleAllocated()) KillTimer(form_->Handle(), 1);
  RemoveWndProc();
  form_->OnShortCut = nullptr;
}

void TqzOrvane::InstallWndProc() {
  if (hooked_) return;
  oldWndProc_ = form_->WindowProc;
  form_->WindowProc = [this](TMessage& m) { NewWndProc(m); };
  hooked_ = true;
  if (form_->HandleAllocated()) form_->RecreateWnd();
}

void TqzOrvane::RemoveWndProc() {
  if (!hooked_) return;
  form_->WindowProc = oldWndProc_;
  hooked_ = false;
}

void TqzOrvane::CallDefault(TMessage& m) {
  if (oldWndProc_) oldWndProc_(m);
}

void TqzOrvane::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  // The reference slots are already cleared; objects point into the skin's
  // descriptions and must not outlive them.
  if (operation == opRemove && skinData_ == nullptr && (skinned_ || !objects_.empty())) {
    StopTimers();
    FreeObjects();
    areaBindings_.clear();
    skinned_ = false;
    layerBorder_->Hide();
    layerBorder_->SetSkin(nullptr);
  }
  // The caption menu button must not keep items of a menu that went away.
  if (operation == opRemove && menuButtonPopupMenu_ == nullptr) {
    if (frameMenuWindow_) frameMenuWindow_->CloseMenu();
    ConfigureObjects();
  }
}

void TqzOrvane::Loaded() {
  TComponent::Loaded();
  if (supportNCArea_ == false && InState(csDesigning)) form_->SetBorderStyle(bsNone);
  // The skin data of a form resource loads (and broadcasts) before the
  // reference to it is resolved.
  if (!InState(csDesigning) && skinData_ && !skinData_->Empty() && !skinned_) ChangeSkinData();
}

// ---------------------------------------------------------------------------
// Properties

void TqzOrvane::SetSkinData(TqzSkinData* value) {
  SetReference(skinData_, value);
  if (mdiScroll_) mdiScroll_->SetSkinData(value);
  if (value == nullptr) {
    StopTimers();
    FreeObjects();
    areaBindings_.clear();
  }
  // Applied at once, window or not: a skin loaded before the controller
  // knew it sends no further change message, and without this the form
  // would stay unskinned.
  if (!InState(csLoading) && !InState(csDesigning)) ChangeSkinData();
}

void TqzOrvane::SetSupportNCArea(bool value) {
  if (supportNCArea_ == value) return;
  supportNCArea_ = value;
  if (!value && InState(csDesigning)) form_->SetBorderStyle(bsNone);
  if (!InState(csLoading) && !InState(csDesigning) && form_->HandleAllocated()) {
    FrameChanged();
    ChangeSkinData();
  }
}

void TqzOrvane::SetBorderIcons(TqzBorderIcons value) {
  borderIcons_ = value;
  if (!InState(csLoading) && skinned_) {
    UpdateButtonStates();
    RepaintFrame();
  }
}

TWindowState TqzOrvane::WindowState() const {
  return InState(csLoading) || InState(csDesigning) ? requestedState_ : actualState_;
}

void TqzOrvane::SetWindowState(TWindowState value) {
  requestedState_ = value;
  if (InState(csLoading) || InState(csDesigning)) return;
  if (value != actualState_) ApplyWindowState(value);
}

// ---------------------------------------------------------------------------
// State queries

bool TqzOrvane::HasSkin() const { return skinned_ && skinnable_ && skinData_ != nullptr; }
bool TqzOrvane::Skinnable() const { return skinnable_; }
bool TqzOrvane::Borderless() const { return form_->BorderStyle() == bsNone; }

TSize TqzOrvane::PictureSize() const {
  if (!skinData_) return {};
  return {skinData_->Picture().Width(), skinData_->Picture().Height()};
}

TqzFrameSize TqzOrvane::FrameSize() const {
  TSize window = newSize_;
  if (window.cx <= 0 && window.cy <= 0)
    window = ClientMode() ? TSize{form_->ClientWidth(), form_->ClientHeight()}
                          : TSize{form_->Width(), form_->Height()};
  return {PictureSize(), window};
}

TqzSkinData* TqzOrvane::HostSkinData() const { return HasSkin() ? skinData_ : nullptr; }

// An MDI child is never the active window (its MDI form is): it counts as
// active while its client calls it so (WM_NCACTIVATE), however it got there
// (a click in it, its tab, Ctrl+Tab) and wherever the focus is.
bool TqzOrvane::FormActive() const {
  if (IsMDIChild()) return ncActive_;
  return form_->Active() && Screen && Screen->ActiveForm() == form_;
}

bool TqzOrvane::IsMainForm() const { return Application && Application->MainForm() == form_; }

bool TqzOrvane::FullBorderLayered() const { return layerBorder_ && layerBorder_->FullBorder(); }

// The border windows are top-level windows beside the form's own: an MDI
// child, a window inside its MDI form's client, has none.
bool TqzOrvane::LayeredBorderAllowed() const {
  return skinnable_ && (ClientMode() || !Borderless()) && !IsMDIChild();
}

// A form inside another window (an MDI child) has its position in the
// parent's client coordinates.
TPoint TqzOrvane::WindowToScreen(TPoint p) const {
  if (ClientMode()) return form_->ClientToScreen(p);
  if (FullBorderLayered()) return FullBorderOuterToScreen(p);
  const TPoint topLeft{form_->Left() + p.X, form_->Top() + p.Y};
  return form_->Parent() ? form_->Parent()->ClientToScreen(topLeft) : topLeft;
}

TPoint TqzOrvane::ScreenToWindow(TPoint screen) const {
  if (ClientMode()) return form_->ScreenToClient(screen);
  if (form_->Parent()) screen = form_->Parent()->ScreenToClient(screen);
  return {screen.X - form_->Left(), screen.Y - form_->Top()};
}

TqzCaptionContext TqzOrvane::CaptionContext() const {
  TqzCaptionContext c;
  c.Text = MDIFormCaption();
  c.UseSkinFont = UseSkinFontInCaption;
  c.DefCaptionFont = &defCaptionFont_;
  c.DefInActiveCaptionFont = &defInActiveCaptionFont_;
  c.OnCaptionPaint = OnCaptionPaint;
  c.CharSet = StringsCharSet();
  return c;
}

int TqzOrvane::StringsCharSet() const {
  const TqzResourceStrData* strings = skinData_ ? skinData_->ResourceStrData() : nullptr;
  return strings ? strings->CharSet() : 0;
}

TqzSizeLimitInput TqzOrvane::SizeLimitInput() const {
  TqzSizeLimitInput in;
  in.ClientMode = ClientMode();
  in.HasSkin = skinned_ && skinData_ != nullptr;
  in.SkinnableForm = skinnable_;
  in.Minimized = Minimized();
  in.RolledUp = rolledUp_;
  in.Maximized = Maximized();
  in.Borderless = Borderless();
  in.FullBorderLayered = FullBorderLayered();
  in.Picture = PictureSize();
  if (skinData_) {
    in.SkinClientRect = skinData_->ClientRect;
    in.FormMinWidth = skinData_->FormMinWidth;
    in.FormMinHeight = skinData_->FormMinHeight;
  }
  in.MinWidth = MinWidth;
  in.MinHeight = MinHeight;
  in.MinClientWidth = MinClientWidth;
  in.MinClientHeight = MinClientHeight;
  in.MaxWidth = MaxWidth;
  in.MaxHeight = MaxHeight;
  in.MaxClientWidth = MaxClientWidth;
  in.MaxClientHeight = MaxClientHeight;
  in.WorkArea = MonitorWorkArea(MaximizeOnFullScreen);
  in.CaptionHeight = DefaultCaptionHeight(form_->BorderStyle() == bsToolWindow ||
                                          form_->BorderStyle() == bsSizeToolWin);
  return in;
}

TqzSizeLimits TqzOrvane::SizeLimits() const { return CalcSizeLimits(SizeLimitInput()); }

TMonitorInfoRec TqzOrvane::MonitorRects() const {
  return MonitorRectsOrPrimary(form_->HandleAllocated()
                                   ? MonitorFromWindow(form_->Handle(), MONITOR_DEFAULTTONEAREST)
                                   : MonitorFromRect(form_->BoundsRect(), MONITOR_DEFAULTTONEAREST));
}

TRect TqzOrvane::MonitorWorkArea(bool fullScreen) const {
  const TMonitorInfoRec info = MonitorRects();
  return fullScreen ? info.rcMonitor : info.rcWork;
}

// ---------------------------------------------------------------------------
// Geometry, region, painting

namespace {

// The mask strips of a window size as composed, with what they were
// composed for.
struct TComposedMask {
  TPoint LT, RT, LB, RB;
  TRect MaskArea;
  TSize Picture;
  TqzMaskStrips Strips;
};

// The skin's mask strips for the window: composed once per size and frame
// geometry and kept with the skin's composed pictures (every window of a
// dialog shown again has the same size).
TqzMaskStrips SkinMaskStrips(const TqzSkinData& skin, const TqzFrameRects& rects,
                             const TqzFrameSize& size) {
  TqzComposedCache& cache = skin.ImageCache().Composed();
  const TqzComposedCache::TKey key{&skin.Mask(), size.Window, 0};
  std::shared_ptr<const TComposedMask> composed = cache.Find<TComposedMask>(key);
  const auto fits = [&](const TComposedMask& m) {
    return m.LT == rects.NewLTPoint && m.RT == rects.NewRTPoint && m.LB == rects.NewLBPoint &&
           m.RB == rects.NewRBPoint && m.MaskArea == rects.NewMaskRectArea && m.Picture == size.Picture;
  };
  if (!composed || !fits(*composed)) {
    auto made = std::make_shared<TComposedMask>(TComposedMask{
        rects.NewLTPoint, rects.NewRTPoint, rects.NewLBPoint, rects.NewRBPoint,
        rects.NewMaskRectArea, size.Picture, BuildMaskStrips(skin, rects, size, skin.Mask().Pixels())});
    composed = made;
    cache.Store(key, composed);
  }
  return composed->Strips;
}

}  // namespace

void TqzOrvane::CalcRects() {
  if (newSize_.cx <= 0 && newSize_.cy <= 0)
    newSize_ = ClientMode() ? TSize{form_->ClientWidth(), form_->ClientHeight()}
                            : TSize{form_->Width(), form_->Height()};
  if (!HasSkin()) return;
  const TqzFrameSize size = FrameSize();
  rects_ = CalcFrameRects(*skinData_, size);
  // Hit tests between here and the next region need the strips of this size.
  if (skinData_->Mask().Empty()) {
    maskStrips_ = {};
    stripsSize_ = {};
  } else if (stripsSize_ != size.Window) {
    maskStrips_ = SkinMaskStrips(*skinData_, rects_, size);
    stripsSize_ = size.Window;
  }
  FireChangeClientRect();
}

void TqzOrvane::FireChangeClientRect() {
  if (OnChangeClientRect) OnChangeClientRect(rects_.NewClRect);
}

void TqzOrvane::SetFormRegion() {
  if (!form_->HandleAllocated()) return;
  TqzFormRegionInput in;
  in.Skinnable = skinnable_;
  in.FrameMode = !ClientMode();
  in.Borderless = Borderless();
  in.FullBorderLayered = FullBorderLayered();
  in.HasSkin = HasSkin();
  in.HasMask = HasSkin() && !skinData_->Mask().Empty();
  in.Skin = HostSkinData();
  in.Rects = &rects_;
  in.Size = FrameSize();
  in.RolledUpClientMode = ClientMode() && rolledUp_;
  in.MaximizedMDIChild = IsMaximizedMDIChild();
  // Under a full-border frame a rolled-up form, or a minimised form other
  // than the main form, keeps only the layer frame's roll-up height; a height
  // of 0 would hide the window altogether, so it counts as 1.
  if (in.FullBorderLayered && HasSkin() && (rolledUp_ || (Minimized() && !IsMainForm())))
    in.LayeredRollUpHeight = std::max(skinData_->LayerFrame().RollUpFormHeight, 1);
  // The region follows the window's size: the mask strips are stretched to
  // it (the whole mask as it is fits the picture's size only).
  // The geometry stretched the strips to this size already (hit tests need
  // them first); the region is cut from those.
  in.StripsCurrent = stripsSize_ == in.Size.Window && !maskStrips_.Top.Empty();
  TqzFormRegion region = BuildFormRegion(in, maskStrips_, true);
  stripsSize_ = maskStrips_.Top.Empty() && maskStrips_.Left.Empty() ? TSize{} : in.Size.Window;
  if (region.Keep) return;
  SetWindowRgn(form_->Handle(), std::move(region.Region), true);
}

void TqzOrvane::PaintFrameTo(TCanvas& canvas) {
  if (HasSkin()) {
    // A window below its minimum size (an intermediate size of a native
    // size change) keeps the frame it showed.
    const TqzSizeLimits limits = SizeLimits();
    if (form_->Width() < limits.MinWidth || form_->Height() < limits.MinHeight) return;
    TqzFramePaintInput in;
    in.Skin = skinData_;
    in.Rects = &rects_;
    in.Window = {form_->Width(), form_->Height()};
    in.FormActive = ncActive_;
    in.RolledUp = rolledUp_;
    in.Objects = &objects_;
    ConfigureObjects();  // the caption reads the controller's current properties
    PaintFrame(canvas, in);
    return;
  }
  TqzDefaultFramePaintInput in;
  in.Window = {form_->Width(), form_->Height()};
  in.ToolWindow = form_->BorderStyle() == bsToolWindow || form_->BorderStyle() == bsSizeToolWin;
  in.FormActive = ncActive_;
  in.Caption = MDIFormCaption();
  in.ActiveFont = &defCaptionFont_;
  in.InactiveFont = &defInActiveCaptionFont_;
  in.OnCaptionPaint = OnCaptionPaint;
  in.Objects = &objects_;
  in.CharSet = StringsCharSet();
  PaintDefaultFrame(canvas, in);
}

void TqzOrvane::RepaintFrame() {
  if (ClientMode() || Borderless() || !skinnable_ || !form_->HandleAllocated()) return;
  if (FullBorderLayered()) {
    layerBorder_->Update();
    return;
  }
  HWND h = form_->Handle();
  // A frame that waits for its paint is drawn then, as it is at that moment.
  if (FrameUpdatePending(h)) return;
  HDC dc = GetWindowDC(h);
  if (!dc) return;
  PaintFrameTo(*dc);
  ReleaseDC(h, dc);
}

void TqzOrvane::RepaintCaptionArea() {
  if (!form_->HandleAllocated()) return;
  if (ClientMode()) {
    if (HasSkin()) InvalidateRect(form_->Handle(), &rects_.NewCaptionRect, false);
    return;
  }
  if (HasSkin()) RedrawCaption();
  else RepaintFrame();
}

void TqzOrvane::FrameChanged() {
  if (!form_->HandleAllocated()) return;
  SetWindowPos(form_->Handle(), nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TqzOrvane::Nudge() {
  if (!form_->HandleAllocated()) return;
  const TRect b = form_->BoundsRect();
  const int minWidth = SizeLimits().MinWidth;
  const int delta = b.Width() <= minWidth ? 1 : -1;
  TComponentRef<TqzOrvane> self(this);
  {
    // Cleared however the step ends (a handler may raise or free us).
    struct TPassing {
      TComponentRef<TqzOrvane>& self;
      ~TPassing() {
        if (self) self->nudgePassing_ = false;
      }
    } passing{self};
    nudgePassing_ = true;
    form_->SetBounds(b.Left, b.Top, b.Width() + delta, b.Height());
  }
  if (!self) return;
  form_->SetBounds(b.Left, b.Top, b.Width(), b.Height());
  // A size handler that put the window back itself left no size change for
  // the second step: the layout the first one skipped is done here.
  if (self && nudgeLayoutDue_) LayoutFrame();
}

void TqzOrvane::PlaceAllObjects() {
  if (!HasSkin()) return;
  TqzObjectPlacement in;
  in.Info = skinData_;
  in.Size = FrameSize();
  in.Rects = &rects_;
  in.FrameMode = !ClientMode();
  in.MenuButtonVisible = MenuButtonVisible;
  in.MenuButtonWidth = MenuButtonWidth;
  TqzFrameRects outerRects;  // a full-border frame's objects lie on the outer window
  if (FullBorderLayered()) PlaceOnOuterWindow(in, outerRects);
  PlaceObjects(objects_, in);
  if (ClientMode() && rolledUp_) RollUpClientResize();
}

void TqzOrvane::BindControlToArea(const std::string& areaName, TControl* control) {
  if (!control || !HasSkin()) return;
  const int index = skinData_->FindAreaIndex(areaName);
  if (index < 0) return;
  const TqzDataSkinArea& area = *skinData_->AreaList()[size_t(index)];
  if (area.AreaRect.IsEmpty()) return;
  control->SetAlign(alNone);
  // One binding a control: binding it again moves it to the new area.
  std::erase_if(areaBindings_, [control](const TAreaBinding& b) { return b.Control.Get() == control; });
  auto copy = std::make_unique<TqzDataSkinArea>(area.IDName, area.AreaRect);
  copy->Flag1 = area.Flag1;
  copy->Flag2 = area.Flag2;
  copy->Flag3 = area.Flag3;
  copy->Flag4 = area.Flag4;
  copy->Flag5 = area.Flag5;
  areaBindings_.push_back({TComponentRef<TControl>(control), std::move(copy)});
  if (ClientMode()) ApplySkinAreas();
}

// Skinned controls that name an area are placed over it, as if each had
// asked for it itself.
void TqzOrvane::BindNamedAreaControls(TWinControl* parent) {
  if (!HasSkin()) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    const std::string* name = nullptr;
    if (auto* w = dynamic_cast<TqzSkinControl*>(c)) name = &w->AreaName();
    else if (auto* g = dynamic_cast<TqzGraphicSkinControl*>(c)) name = &g->AreaName();
    if (name && !name->empty()) BindControlToArea(*name, c);
    if (auto* container = dynamic_cast<TWinControl*>(c)) BindNamedAreaControls(container);
  }
}

void TqzOrvane::ApplySkinAreas() {
  if (!HasSkin() || !ClientMode()) return;
  const TqzFrameSize size = FrameSize();
  for (TAreaBinding& b : areaBindings_) {
    if (!b.Control) continue;
    const TRect r = PlaceSkinArea(*b.Area, *skinData_, size, rects_.Stretchable);
    b.Control->SetBoundsRect(r);
    if (auto* w = dynamic_cast<TWinControl*>(b.Control.Get())) w->Realign();
  }
}

// ---------------------------------------------------------------------------
// Skin change

void TqzOrvane::FreeObjects() {
  activeObject_ = oldActiveObject_ = mouseCaptureObject_ = -1;
  menuObject_ = -1;
  objects_.clear();
}

void TqzOrvane::ConfigureObjects() {
  for (auto& o : objects_) {
    if (auto* button = dynamic_cast<TqzSkinCaptionMenuButton*>(o.get())) {
      button->Caption = MenuButtonCaption;
      button->Images = menuButtonImageList_;
      button->ImageIndex = MenuButtonImageIndex;
      button->Menu = menuButtonPopupMenu_ ? menuButtonPopupMenu_->Items() : nullptr;
    }
    if (auto* caption = dynamic_cast<TqzSkinCaptionObject*>(o.get())) {
      TqzCaptionExtras& x = caption->Extras();
      x.QuickButtons = &quickButtons_;
      x.QuickImageList = quickImageList_;
      x.CaptionTabs = &captionTabs_;
      x.CaptionTabsImageList = captionTabsImageList_;
      x.CaptionTabIndex = &CaptionTabIndex;
      x.TabPos = CaptionTabPos;
      x.ShowHint = QuickButtonsShowHint;
      x.OnTabChange = [this] {
        if (OnCaptionTabChange) OnCaptionTabChange(this);
      };
    }
  }
}

void TqzOrvane::UpdateButtonStates() {
  TqzObjectStateInput in;
  in.BorderIcons = borderIcons_;
  in.DisableSystemMenu = DisableSystemMenu;
  in.HideCloseButton = HideCloseButton;
  in.HideCaptionButtons = HideCaptionButtons;
  in.HasDialogCloseButton = HasSkin() && skinData_->FindObjectIndex("dialogclosebutton") >= 0;
  in.OnActivateCustomObject = OnActivateCustomObject;
  UpdateObjectStates(objects_, in);
}

// The form's skinned controls follow the skin change, depth first: they drop
// their descriptions before it and look them up again after it.
void TqzOrvane::NotifyControls(uint32_t msg, TqzSkinData* sender) {
  NotifySkinControls(form_, msg, sender);
}

void TqzOrvane::WMSkinBeforeChange(TqzSkinData* sender) {
  if (sender != skinData_ || sender == nullptr) {
    NotifyControls(MSG_SKIN_BEFORE_CHANGE, sender);
    return;
  }
  savedOuterRect_ = form_->BoundsRect();
  savedOuterEnlarged_ = false;
  if (layerBorder_->FullBorder() && layerBorder_->Visible()) {
    const TRect e = layerBorder_->Extents();
    savedOuterRect_ = {savedOuterRect_.Left - e.Left, savedOuterRect_.Top - e.Top,
                       savedOuterRect_.Right + e.Right, savedOuterRect_.Bottom + e.Bottom};
    savedOuterEnlarged_ = true;
  }
  skinChanging_ = true;
  skinned_ = false;
  StopTimers();
  FreeObjects();
  areaBindings_.clear();
  NotifyControls(MSG_SKIN_BEFORE_CHANGE, sender);
}

void TqzOrvane::WMSkinChanged(TqzSkinData* sender) {
  TComponentRef<TqzOrvane> self(this);
  if (sender != nullptr && sender == skinData_) {
    skinChanging_ = false;
    ChangeSkinData();
    if (!self) return;
  }
  NotifyControls(MSG_SKIN_CHANGED, sender);
  if (!self || sender == nullptr || sender != skinData_) return;
  // The controls took their skin sizes; the areas place them again.
  BindNamedAreaControls(form_);
}

void TqzOrvane::ChangeSkinData() {
  TComponentRef<TqzOrvane> self(this);
  activeObject_ = oldActiveObject_ = mouseCaptureObject_ = -1;
  hasLastActive_ = false;
  skinned_ = skinData_ != nullptr && !skinData_->Empty();
  skinnable_ = skinData_ == nullptr || skinData_->SkinnableForm();
  newSize_ = {};
  HideGlowLayer();
  layerBorder_->Hide();
  if (form_->HandleAllocated() && IsIconic(form_->Handle())) clampWhenRestored_ = true;
  if (ClientMode()) ApplyClientModeSkin();
  else ApplyFrameModeSkin();
  if (!self) return;
  RestoreOuterRectAfterChange();
  if (!ClientMode() && !rolledUp_ && !Maximized()) {
    if (clientWidth_ > 0) form_->SetClientWidth(clientWidth_);
    if (clientHeight_ > 0) form_->SetClientHeight(clientHeight_);
  }
}

void TqzOrvane::ApplyFrameModeSkin() {
  TComponentRef<TqzOrvane> self(this);
  FreeObjects();
  if (HasSkin()) {
    objects_ = CreateSkinObjects(*this, *skinData_, mainMenu_);
    ConfigureObjects();
    UpdateButtonStates();
    layerBorder_->SetSkin(skinData_);
  } else {
    objects_ = CreateDefaultButtons(*this);
    layerBorder_->SetSkin(nullptr);
    if (form_->HandleAllocated()) SetWindowRgn(form_->Handle(), nullptr, true);
  }
  if (skinnable_) {
    form_->SetBorderIcons({});
  } else {
    form_->SetBorderIcons({TBorderIcon::biSystemMenu, TBorderIcon::biMinimize, TBorderIcon::biMaximize});
  }
  FrameChanged();
  ClampFrameSizeToMinimum();
  newSize_ = {};
  CalcRects();
  if (HasSkin()) {
    PlaceAllObjects();
    SetFormRegion();
  }
  RepaintFrame();
  if (form_->HandleAllocated()) form_->Invalidate();
  UpdateActiveState(false);
  if (!self) return;
  StartMouseTimer();
  if (OnChangeSkinData) OnChangeSkinData(this);
}

bool TqzOrvane::ClientGeometryFollows() const {
  if (rolledUp_ || !HasSkin()) return false;
  const TSize picture = PictureSize();
  return IsStretchableFrame(*skinData_) ||
         (form_->ClientWidth() == picture.cx && form_->ClientHeight() == picture.cy);
}

void TqzOrvane::LayoutClientMode() {
  CalcRects();
  PlaceAllObjects();
  SetFormRegion();
  ApplySkinAreas();
}

void TqzOrvane::ClampFrameSizeToMinimum() {
  const TqzSizeLimits limits = SizeLimits();
  int w = form_->Width(), h = form_->Height();
  if (rolledUp_ || Minimized()) {
    h = limits.MinHeight;
    if (Minimized()) w = limits.MinWidth;
  } else if (w < limits.MinWidth && h < limits.MinHeight) {
    w = limits.MinWidth;
    h = limits.MinHeight;
  } else if (h < limits.MinHeight) {
    h = limits.MinHeight;
  } else if (w < limits.MinWidth) {
    w = limits.MinWidth;
  }
  if (w != form_->Width() || h != form_->Height())
    form_->SetBounds(form_->Left(), form_->Top(), w, h);
}

void TqzOrvane::ApplyClientModeSkin() {
  TComponentRef<TqzOrvane> self(this);
  FreeObjects();
  if (!HasSkin()) {
    layerBorder_->SetSkin(nullptr);
    if (form_->HandleAllocated()) SetWindowRgn(form_->Handle(), nullptr, true);
    if (form_->HandleAllocated()) form_->Invalidate();
    if (OnChangeSkinData) OnChangeSkinData(this);
    return;
  }
  if (rolledUp_ && skinData_->RollUpPicture().Empty()) {
    RollDownClient();
    if (!self) return;
  }
  const TSize picture = PictureSize();
  const bool stretchable = IsStretchableFrame(*skinData_);
  if (!rolledUp_) {
    if (!stretchable) {
      form_->SetClientWidth(picture.cx);
      form_->SetClientHeight(picture.cy);
      sizeable_ = false;
    } else if (!(MinWidth > 0 && MinHeight > 0)) {
      if (form_->ClientWidth() < picture.cx) form_->SetClientWidth(picture.cx);
      if (form_->ClientHeight() < picture.cy) form_->SetClientHeight(picture.cy);
    }
  }
  objects_ = CreateSkinObjects(*this, *skinData_, mainMenu_);
  ConfigureObjects();
  UpdateButtonStates();
  layerBorder_->SetSkin(skinData_);
  if (OnChangeSkinData) OnChangeSkinData(this);
  if (!self) return;
  if (!HasSkin()) return;  // the handler took the skin away
  newSize_ = {};
  CalcRects();
  if (ClientGeometryFollows()) SetFormRegion();
  PlaceAllObjects();
  ApplySkinAreas();
  if (form_->HandleAllocated()) form_->Invalidate();
  UpdateActiveState(false);
  if (!self) return;
  StartMouseTimer();
}

void TqzOrvane::RestoreOuterRectAfterChange() {
  const bool visible = form_->HandleAllocated() && IsWindowVisible(form_->Handle());
  if (layerBorder_->Used() && visible) {
    layerBorder_->Show();
    layerBorder_->Update();
  }
  if (layerBorder_->FullBorder() && !savedOuterRect_.IsEmpty()) {
    const TRect e = layerBorder_->Extents();
    form_->SetBoundsRect({savedOuterRect_.Left + e.Left, savedOuterRect_.Top + e.Top,
                          savedOuterRect_.Right - e.Right, savedOuterRect_.Bottom - e.Bottom});
  } else if (savedOuterEnlarged_) {
    TRect r = savedOuterRect_;
    if (rolledUp_) r.Bottom = r.Top + SizeLimits().MinHeight;
    form_->SetBoundsRect(r);
  }
  savedOuterRect_ = {};
  savedOuterEnlarged_ = false;
}

void TqzOrvane::WMSkinnableFormChanged(TqzSkinData* sender) {
  if (sender == nullptr || sender != skinData_) return;
  TComponentRef<TqzOrvane> self(this);
  const bool wasMaximized = Maximized();
  const bool visible = form_->HandleAllocated() && IsWindowVisible(form_->Handle());
  if (wasMaximized) {
    form_->Hide();
    Restore();
    if (!self) return;
  }
  skinnable_ = sender->SkinnableForm();
  FrameChanged();
  ChangeSkinData();
  if (!self) return;
  if (wasMaximized) {
    Maximize();
    if (!self) return;
    if (visible) form_->Show();
  }
}

// ---------------------------------------------------------------------------
// TqzObjectHost

void TqzOrvane::RedrawObject(TqzActiveSkinObject& object) {
  if (!form_->HandleAllocated() || skinChanging_) return;
  if (ClientMode()) {
    // The client-mode skin (objects included) is painted on the erase
    // request: without it the object's new look never reaches the screen.
    InvalidateRect(form_->Handle(), &object.ObjectRect, true);
    return;
  }
  if (FullBorderLayered()) {
    layerBorder_->Update();
    return;
  }
  HWND h = form_->Handle();
  HDC dc = GetWindowDC(h);
  if (!dc) return;
  // Only the object's rectangle changes on the screen.
  dc->IntersectClipRect(object.ObjectRect);
  object.Draw(*dc, true);
  ReleaseDC(h, dc);
}

void TqzOrvane::RedrawCaption() {
  ConfigureObjects();
  bool any = false;
  for (size_t i = 0; i < objects_.size(); ++i) {
    TqzActiveSkinObject* o = objects_[i].get();
    if (o->IsCaption() && o->ShownIn(rolledUp_)) {
      RedrawObject(*o);
      any = true;
    }
  }
  if (!any) RepaintFrame();
}

bool TqzOrvane::MouseTimerActive() const { return mouseTimer_->Enabled(); }
bool TqzOrvane::MorphTimerActive() const { return morphTimer_->Enabled(); }
bool TqzOrvane::AnimateTimerActive() const { return animateTimer_->Enabled(); }

void TqzOrvane::StartMorphTimer() {
  if (!skinChanging_) morphTimer_->SetEnabled(true);
}
void TqzOrvane::StartAnimateTimer() {
  if (!skinChanging_) animateTimer_->SetEnabled(true);
}
void TqzOrvane::StartMouseTimer() {
  if (!skinChanging_) mouseTimer_->SetEnabled(true);
}

void TqzOrvane::StopTimers() {
  mouseTimer_->SetEnabled(false);
  morphTimer_->SetEnabled(false);
  animateTimer_->SetEnabled(false);
}

void TqzOrvane::ShowGlowLayer(int x, int y, uint8_t alpha, const TBitmap* mask,
                              const TBitmap& picture) {
  // Two managers let one glow fade out while the next fades in.
  if (glowLayer_->Shown()) std::swap(glowLayer_, glowLayer2_);
  glowLayer2_->HideLayer();
  glowLayer_->ShowLayer(x, y, alpha, mask, picture);
}

void TqzOrvane::HideGlowLayer() {
  glowLayer_->HideLayer();
  glowLayer2_->HideLayer();
}

void TqzOrvane::FireMouseEnter(const std::string& id) {
  if (OnMouseEnterEvent) OnMouseEnterEvent(id);
}
void TqzOrvane::FireMouseLeave(const std::string& id) {
  if (OnMouseLeaveEvent) OnMouseLeaveEvent(id);
}
void TqzOrvane::FireMouseDown(const std::string& id, int x, int y, const TRect& r,
                              TqzMouseButton b) {
  if (OnMouseDownEvent) OnMouseDownEvent(id, x, y, r, b);
}
void TqzOrvane::FireMouseUp(const std::string& id, int x, int y, const TRect& r, TqzMouseButton b) {
  if (OnMouseUpEvent) OnMouseUpEvent(id, x, y, r, b);
}
void TqzOrvane::FireMouseMove(const std::string& id, int x, int y, const TRect& r) {
  if (OnMouseMoveEvent) OnMouseMoveEvent(id, x, y, r);
}
void TqzOrvane::FirePaint(const std::string& id, TCanvas& canvas, const TRect& r) {
  if (OnPaintEvent) OnPaintEvent(id, canvas, r);
}
void TqzOrvane::FireSwitchChangeState(const std::string& id, TSwitchState state) {
  if (OnSwitchChangeStateEvent) OnSwitchChangeStateEvent(id, state);
}
void TqzOrvane::FireTrackBarChangeValue(const std::string& id, int value) {
  if (OnTrackBarChangeValueEvent) OnTrackBarChangeValueEvent(id, value);
}
void TqzOrvane::FireFrameRegulatorChangeValue(const std::string& id, int value) {
  if (OnFrameRegulatorChangeValueEvent) OnFrameRegulatorChangeValueEvent(id, value);
}

// ---------------------------------------------------------------------------
// Published properties

// The logo streams as the bitmap's own data; an empty logo writes nothing.
std::vector<uint8_t> TqzOrvane::LogoBitMapData() const {
  if (logoBitMap_.Empty()) return {};
  TMemoryStream stream;
  logoBitMap_.WriteData(stream);
  return stream.Data();
}

void TqzOrvane::SetLogoBitMapData(const std::vector<uint8_t>& data) {
  if (data.empty()) {
    logoBitMap_.Clear();
  } else {
    TBytesStream stream(data.data(), data.size());
    logoBitMap_.ReadData(stream);
  }
  if (form_->HandleAllocated()) form_->Invalidate();
}

QZ_PUBLISHED(TqzOrvane, TComponent) {
  using O = TqzOrvane;
  b.Factory([](TComponent* owner) { return new TqzOrvane(owner); });
  b.Prop("MenuButtonVisible", &O::MenuButtonVisible, false);
  b.Prop("MenuButtonWidth", &O::MenuButtonWidth, 50);
  b.Prop("MenuButtonCaption", &O::MenuButtonCaption);
  b.Ref<TCustomImageList>("MenuButtonImageList", &O::MenuButtonImageList, &O::SetMenuButtonImageList);
  b.Prop("MenuButtonImageIndex", &O::MenuButtonImageIndex, -1);
  b.Prop("MenuButtonSpacing", &O::MenuButtonSpacing, 0);
  b.Prop("MenuButtonMargin", &O::MenuButtonMargin, -1);
  b.Ref<TPopupMenu>("MenuButtonPopupMenu", &O::MenuButtonPopupMenu, &O::SetMenuButtonPopupMenu);
  b.Enum("WindowState", &O::WindowState, &O::SetWindowState, wsNormal);
  b.Prop("ShowMDIScrollBars", &O::ShowMDIScrollBars, true);
  b.Collection("QuickButtons", [](O& o) -> TCollection& { return o.QuickButtons(); });
  b.Collection("CaptionTabs", [](O& o) -> TCollection& { return o.CaptionTabs(); });
  b.Ref<TCustomImageList>("QuickImageList", &O::QuickImageList, &O::SetQuickImageList);
  b.Ref<TCustomImageList>("CaptionTabsImageList", &O::CaptionTabsImageList,
                          &O::SetCaptionTabsImageList);
  b.Prop("CaptionTabIndex", &O::CaptionTabIndex, 0);
  b.Enum("CaptionTabPos", &O::CaptionTabPos, qztpLeft);
  b.Prop("QuickButtonsShowHint", &O::QuickButtonsShowHint, false);
  b.Prop("ClientInActiveEffect", &O::ClientInActiveEffect, false);
  b.Enum("ClientInActiveEffectType", &O::ClientInActiveEffectType, qzieSemiTransparent);
  b.Prop("DisableSystemMenu", &O::DisableSystemMenu, false);
  b.Enum("PositionInMonitor", &O::PositionInMonitor, qzpDefault);
  b.Ref<TComponent>("StatusBar", &O::StatusBar, &O::SetStatusBar);
  b.Prop("UseFormCursorInNCArea", &O::UseFormCursorInNCArea, false);
  b.Prop("MaxMenuItemsInWindow", &O::MaxMenuItemsInWindow, 0);
  b.Prop("ClientWidth", &O::ClientWidth, &O::SetClientWidth, 0);
  b.Prop("ClientHeight", &O::ClientHeight, &O::SetClientHeight, 0);
  b.Prop("HideCaptionButtons", &O::HideCaptionButtons, false);
  b.Prop("HideCloseButton", &O::HideCloseButton, false);
  b.Prop("AlwaysShowInTray", &O::AlwaysShowInTray, false);
  b.Prop("AlwaysMinimizeToTray", &O::AlwaysMinimizeToTray, false);
  b.Binary("LogoBitMap", &O::LogoBitMapData, &O::SetLogoBitMapData);
  b.Prop("LogoBitMapTransparent", &O::LogoBitMapTransparent, false);
  b.Prop("UseSkinFontInMenu", &O::UseSkinFontInMenu, true);
  b.Prop("UseSkinFontInCaption", &O::UseSkinFontInCaption, true);
  b.Prop("UseSkinSizeInMenu", &O::UseSkinSizeInMenu, true);
  b.Prop("ShowIcon", &O::ShowIconProp, false);
  b.Prop("MaximizeOnFullScreen", &O::MaximizeOnFullScreen, false);
  b.Ref<TComponent>("SkinHint", &O::SkinHint, &O::SetSkinHint);
  b.Prop("ShowObjectHint", &O::ShowObjectHint, false);
  b.Prop("UseDefaultObjectHint", &O::UseDefaultObjectHint, true);
  b.Prop("UseSkinCursors", &O::UseSkinCursors, false);
  b.Object("DefCaptionFont", [](O& o) -> TFont& { return o.DefCaptionFont(); });
  b.Object("DefInActiveCaptionFont", [](O& o) -> TFont& { return o.DefInActiveCaptionFont(); });
  b.Prop("DefMenuItemHeight", &O::DefMenuItemHeight, 20);
  b.Object("DefMenuItemFont", [](O& o) -> TFont& { return o.DefMenuItemFont(); });
  b.Ref<TqzTrayIcon>("TrayIcon", &O::TrayIcon, &O::SetTrayIcon);
  b.Prop("UseDefaultSysMenu", &O::UseDefaultSysMenu, true);
  b.Ref<TComponent>("MainMenuBar", &O::MainMenuBar, &O::SetMainMenuBar);
  b.Ref<TqzSkinMDITabsBar>("MDITabsBar", &O::MDITabsBar, &O::SetMDITabsBar);
  b.Prop("SupportNCArea", &O::SupportNCArea, &O::SetSupportNCArea, true);
  b.Prop("AlphaBlend", &O::AlphaBlend, false);
  b.Prop("AlphaBlendAnimation", &O::AlphaBlendAnimation, false);
  b.Prop("AlphaBlendValue", &O::AlphaBlendValue, 200);
  b.Prop("MenusAlphaBlend", &O::MenusAlphaBlend, false);
  b.Prop("MenusAlphaBlendAnimation", &O::MenusAlphaBlendAnimation, false);
  b.Prop("MenusAlphaBlendValue", &O::MenusAlphaBlendValue, 200);
  b.Ref<TMainMenu>("MainMenu", &O::MainMenu, &O::SetMainMenu);
  b.Ref<TPopupMenu>("SystemMenu", &O::SystemMenu, &O::SetSystemMenu);
  b.Ref<TqzSkinData>("SkinData", &O::SkinData, &O::SetSkinData);
  b.Ref<TqzSkinData>("MenusSkinData", &O::MenusSkinData, &O::SetMenusSkinData);
  b.Prop("MinHeight", &O::MinHeight, 0);
  b.Prop("MinWidth", &O::MinWidth, 0);
  b.Prop("MaxHeight", &O::MaxHeight, 0);
  b.Prop("MaxWidth", &O::MaxWidth, 0);
  b.Prop("MinClientHeight", &O::MinClientHeight, 0);
  b.Prop("MinClientWidth", &O::MinClientWidth, 0);
  b.Prop("MaxClientHeight", &O::MaxClientHeight, 0);
  b.Prop("MaxClientWidth", &O::MaxClientWidth, 0);
  b.Prop("Sizeable", &O::Sizeable, &O::SetSizeable, true);
  b.Prop("DraggAble", &O::DraggAble, false);
  b.Prop("NCDraggAble", &O::NCDraggAbleProp, true);
  b.Prop("Magnetic", &O::Magnetic, false);
  b.Prop("MagneticSize", &O::MagneticSize, 10);
  b.Set("BorderIcons", &O::BorderIcons, &O::SetBorderIcons,
        TqzBorderIcons{biSystemMenu, biMinimize, biMaximize, biRollUp});
  b.Event<TqzCaptionPaintEvent>("OnCaptionPaint", &O::OnCaptionPaint);
  b.Event<TChangeClientRectEvent>("OnChangeClientRect", &O::OnChangeClientRect);
  b.Event<TNotifyEvent>("OnChangeSkinData", &O::OnChangeSkinData);
  b.Event<TqzObjectNotifyEvent>("OnMouseEnterEvent", &O::OnMouseEnterEvent);
  b.Event<TqzObjectNotifyEvent>("OnMouseLeaveEvent", &O::OnMouseLeaveEvent);
  b.Event<TqzObjectMouseEvent>("OnMouseDownEvent", &O::OnMouseDownEvent);
  b.Event<TqzObjectMouseEvent>("OnMouseUpEvent", &O::OnMouseUpEvent);
  b.Event<TqzObjectMouseMoveEvent>("OnMouseMoveEvent", &O::OnMouseMoveEvent);
  b.Event<TqzObjectPaintEvent>("OnPaintEvent", &O::OnPaintEvent);
  b.Event<TqzSwitchChangeStateEvent>("OnSwitchChangeStateEvent", &O::OnSwitchChangeStateEvent);
  b.Event<TqzObjectValueEvent>("OnTrackBarChangeValueEvent", &O::OnTrackBarChangeValueEvent);
  b.Event<TqzObjectValueEvent>("OnFrameRegulatorChangeValueEvent",
                               &O::OnFrameRegulatorChangeValueEvent);
  b.Event<TNotifyEvent>("OnActivate", &O::OnActivate);
  b.Event<TNotifyEvent>("OnDeActivate", &O::OnDeActivate);
  b.Event<TNotifyEvent>("OnSkinMenuOpen", &O::OnSkinMenuOpen);
  b.Event<TNotifyEvent>("OnSkinMenuClose", &O::OnSkinMenuClose);
  b.Event<TNotifyEvent>("OnChangeRollUpState", &O::OnChangeRollUpState);
  b.Event<TNotifyEvent>("OnMainMenuEnter", &O::OnMainMenuEnter);
  b.Event<TNotifyEvent>("OnMainMenuExit", &O::OnMainMenuExit);
  b.Event<TNotifyEvent>("OnMinimizeToTray", &O::OnMinimizeToTray);
  b.Event<TNotifyEvent>("OnRestoreFromTray", &O::OnRestoreFromTray);
  b.Event<TqzActivateCustomObjectEvent>("OnActivateCustomObject", &O::OnActivateCustomObject);
  b.Event<TNotifyEvent>("OnMinimize", &O::OnMinimize);
  b.Event<TNotifyEvent>("OnRestore", &O::OnRestore);
  b.Event<TNotifyEvent>("OnMaximize", &O::OnMaximize);
  b.Event<TShortCutEvent>("OnShortCut", &O::OnShortCut);
  b.Event<TqzOnAcceptToMDITabsBar>("OnAcceptToMDITabsBar", &O::OnAcceptToMDITabsBar);
  b.Event<TNotifyEvent>("OnCaptionTabChange", &O::OnCaptionTabChange);
}

}  // namespace qz
