#include "skin/form/TrayIcon.h"

#include <algorithm>

#include "host/components/FormResource.h"
#include "host/platform/Platform.h"
#include "host/ui/Application.h"
#include "host/ui/Menus.h"
#include "host/ui/Windows.h"
#include "skin/base/SkinMessages.h"
#include "skin/popups/SkinHint.h"

namespace qz {

std::string CutToCharacters(const std::string& text, size_t count) {
  size_t i = 0;
  for (size_t n = 0; i < text.size() && n < count; ++n) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
  }
  return text.substr(0, i);
}

TPoint TrayToolTipPlace(const TRect& icon, TSize size, const TRect& screen) {
  const bool above = (icon.Top + icon.Bottom) / 2 > (screen.Top + screen.Bottom) / 2;
  int x = (icon.Left + icon.Right) / 2 - size.cx / 2;
  int y = above ? icon.Top - kTrayTipGap - size.cy : icon.Bottom + kTrayTipGap;
  x = std::max(screen.Left, std::min(x, screen.Right - size.cx));
  y = std::max(screen.Top, std::min(y, screen.Bottom - size.cy));
  return {x, y};
}

namespace {

// The built-in picture: a small window with a caption bar.
TPixmap DefaultPicture() {
  constexpr int kSize = 32;
  TPixmap p(kSize, kSize, 0);
  for (int y = 3; y < 29; ++y)
    for (int x = 2; x < 30; ++x) {
      const bool edge = x == 2 || x == 29 || y == 3 || y == 28;
      p.At(x, y) = edge ? 0xFF1B2A3A : y < 10 ? 0xFF3C8DDE : 0xFFE8EEF4;
    }
  for (int x = 22; x < 27; ++x) p.At(x, 6) = 0xFFFFFFFF;
  return p;
}

TShiftState ShiftNow() {
  const uint32_t m = Platform().KeyModifiers();
  TShiftState s;
  if (m & kModShift) s.Include(ssShift);
  if (m & kModCtrl) s.Include(ssCtrl);
  if (m & kModAlt) s.Include(ssAlt);
  return s;
}

TMouseButton ButtonOf(int button) { return button == 1 ? mbRight : button == 2 ? mbMiddle : mbLeft; }

}  // namespace

// Chained into Application->OnMinimize: the previous handler runs first,
// then the icon (while it lives) takes the application into the tray when
// MinimizeToTray is set.
struct TqzTrayIcon::TMinimizeHook {
  TComponentRef<TqzTrayIcon> icon;
  TNotifyEvent previous;
  void operator()(TObject* sender) const {
    const TComponentRef<TqzTrayIcon> keep = icon;
    if (previous) previous(sender);
    if (keep && keep->MinimizeToTray) keep->HideApplicationToTray();
  }
};

TqzTrayIcon::TqzTrayIcon(TComponent* AOwner) : TComponent(AOwner) {
  animateTimer_ = std::make_unique<TTimer>(nullptr);
  animateTimer_->SetEnabled(false);
  animateTimer_->OnTimer = [this](TObject*) { AnimateTick(); };
  dblClickTimer_ = std::make_unique<TTimer>(nullptr);
  dblClickTimer_->SetEnabled(false);
  dblClickTimer_->OnTimer = [this](TObject*) { DoubleClickTimerFired(); };
  tipTimer_ = std::make_unique<TTimer>(nullptr);
  tipTimer_->SetEnabled(false);
  tipTimer_->OnTimer = [this](TObject*) { ToolTipTimerFired(); };
  if (Designing() || !Application) return;
  Application->OnMinimize = TMinimizeHook{TComponentRef<TqzTrayIcon>(this), Application->OnMinimize};
}

TqzTrayIcon::~TqzTrayIcon() = default;

void TqzTrayIcon::BeforeDestruction() {
  // The hook goes when it is still the application's; one chained after it
  // keeps calling it, and it then only passes on.
  if (Application) {
    if (auto* hook = Application->OnMinimize.target<TMinimizeHook>(); hook && hook->icon.Get() == this)
      Application->OnMinimize = hook->previous;
  }
  animateTimer_->SetEnabled(false);
  dblClickTimer_->SetEnabled(false);
  HideToolTip();
  // Forms hidden in the tray come back, unless they are going themselves.
  const bool ownerGoing = Owner() && Owner()->ComponentState().Contains(csDestroying);
  if (inTray_ && !ownerGoing) RestoreApplication();
  link_ = {};
  platformIcon_.reset();
  TComponent::BeforeDestruction();
}

void TqzTrayIcon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == iconList_) UpdateIcon();
}

// ---- properties ------------------------------------------------------------

void TqzTrayIcon::SetIconList(TCustomImageList* v) {
  SetReference(iconList_, v);
  SetIconIndex(iconIndex_);
}

int TqzTrayIcon::ImageCount() const { return iconList_ ? iconList_->Count() : 0; }

void TqzTrayIcon::SetIconIndex(int v) {
  const int count = ImageCount();
  iconIndex_ = count == 0 ? 0 : std::clamp(v, 0, count - 1);
  UpdateIcon();
}

void TqzTrayIcon::SetCycleIcons(bool v) {
  cycleIcons_ = v;
  if (v) SetIconIndex(0);
  animateTimer_->SetInterval(animateInterval_);
  animateTimer_->SetEnabled(v && animateInterval_ > 0 && !Designing());
}

void TqzTrayIcon::SetAnimateTimerInterval(unsigned v) {
  animateInterval_ = v;
  animateTimer_->SetInterval(v);
  animateTimer_->SetEnabled(cycleIcons_ && v > 0 && !Designing());
}

void TqzTrayIcon::SetHint(const std::string& v) {
  hint_ = v;
  UpdateIcon();
  RefreshToolTip();
}

void TqzTrayIcon::SetShowHint(bool v) {
  showHint_ = v;
  UpdateIcon();
  RefreshToolTip();
}

// A tooltip on screen shows the new text, or goes when there is none.
void TqzTrayIcon::RefreshToolTip() {
  if (!ToolTipShown()) return;
  if (DrawsToolTip()) ShowToolTip();
  else HideToolTip();
}

std::vector<uint8_t> TqzTrayIcon::IconData() const {
  if (icon_.Empty()) return {};
  TMemoryStream stream;
  icon_.WriteData(stream);
  return stream.Data();
}

void TqzTrayIcon::SetIconData(const std::vector<uint8_t>& data) {
  if (data.empty()) {
    icon_.Clear();
  } else {
    TBytesStream stream(data.data(), data.size());
    icon_.ReadData(stream);
  }
  UpdateIcon();
}

std::string TqzTrayIcon::ToolTip() const { return showHint_ ? CutToCharacters(hint_, kTrayTipLength) : ""; }

TPixmap TqzTrayIcon::ShownPicture() const {
  if (ImageCount() > 0) return iconList_->Image(iconIndex_);
  if (icon_.Empty()) return DefaultPicture();
  TPixmap p = icon_.Pixels();
  // Pictures without alpha of their own are opaque.
  if (!icon_.AlphaPresent())
    for (int y = 0; y < p.Height(); ++y)
      for (int x = 0; x < p.Width(); ++x) p.At(x, y) |= 0xFF000000;
  return p;
}

// ---- the platform's icon ---------------------------------------------------

IPlatformTrayIcon* TqzTrayIcon::EnsurePlatformIcon() {
  if (!platformIcon_ && !Designing()) {
    platformIcon_ = Platform().CreateTrayIcon([self = TComponentRef<TqzTrayIcon>(this)](const TTrayInput& in) {
      if (self) self->HandleTrayInput(in);
    });
    if (platformIcon_) {
      platformIcon_->SetIcon(ShownPicture());
      platformIcon_->SetToolTip(ToolTip());
    }
  }
  return platformIcon_.get();
}

void TqzTrayIcon::UpdateIcon() {
  if (!platformIcon_ || ComponentState().Contains(csLoading)) return;
  platformIcon_->SetIcon(ShownPicture());
  platformIcon_->SetToolTip(ToolTip());
}

void TqzTrayIcon::SetIconVisible(bool v) {
  // While previewing at design time the flag stays as it was.
  if (!(Designing() && DesignPreview)) iconVisible_ = v;
  if (ComponentState().Contains(csLoading)) return;
  if (v) {
    if (IPlatformTrayIcon* icon = EnsurePlatformIcon()) icon->SetVisible(true);
  } else if (platformIcon_) {
    HideToolTip();
    platformIcon_->SetVisible(false);
  }
}

bool TqzTrayIcon::Embedded() const { return platformIcon_ && platformIcon_->Embedded(); }

void TqzTrayIcon::Loaded() {
  TComponent::Loaded();
  if (Designing()) return;
  if (MinimizedOnStart) {
    iconVisible_ = true;
    MinimizeToTray = true;
  }
  SetIconVisible(iconVisible_);
  // Started in the tray only when there is one: otherwise the main form shows.
  if (MinimizedOnStart && Embedded() && Application) {
    Application->SetShowMainForm(false);
    inTray_ = true;
  }
}

// ---- into the tray and back ------------------------------------------------

bool TqzTrayIcon::HideApplicationToTray() {
  SetIconVisible(true);
  if (!Embedded()) return false;
  if (inTray_) return true;
  inTray_ = true;
  hiddenForms_.clear();
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  std::vector<TComponentRef<TCustomForm>> visible;
  for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f->HandleAllocated() && IsWindowVisible(f)) visible.emplace_back(f);
  }
  // The main form last, so that it comes back on top.
  std::stable_partition(visible.begin(), visible.end(), [main](const auto& f) { return f.Get() != main; });
  TComponentRef<TqzTrayIcon> self(this);
  for (const auto& f : visible) {
    if (!f) continue;
    hiddenForms_.push_back(f);
    f->Hide();
    if (!self) return true;
  }
  return true;
}

void TqzTrayIcon::RestoreApplication() {
  inTray_ = false;
  const std::vector<TComponentRef<TCustomForm>> forms = std::exchange(hiddenForms_, {});
  TComponentRef<TqzTrayIcon> self(this);
  TCustomForm* main = Application ? Application->MainForm() : nullptr;
  bool mainShown = false;
  for (const auto& f : forms) {
    if (!f) continue;
    mainShown |= f.Get() == main;
    f->Show();
    if (f && f->HandleAllocated() && IsIconic(f.Get())) ShowWindow(f.Get(), SW_RESTORE);
  }
  TComponentRef<TCustomForm> mainRef(main);
  if (mainRef && !mainShown && !mainRef->ComponentState().Contains(csDestroying)) {
    mainRef->Show();
    if (mainRef && IsIconic(mainRef.Get())) ShowWindow(mainRef.Get(), SW_RESTORE);
  }
  if (mainRef && mainRef->HandleAllocated()) PostMessage(mainRef->Handle(), MSG_BACK_FROM_TRAY);
  (void)self;
}

void TqzTrayIcon::HostChanged() {
  if (!inTray_ || Embedded()) return;
  // The tray went away with the application in it: it comes back.
  if (link_.restore) link_.restore();
  else RestoreApplication();
}

// ---- input -----------------------------------------------------------------

void TqzTrayIcon::HandleTrayInput(const TTrayInput& in) {
  using K = TTrayInput::Kind;
  if (in.kind == K::HostChanged) {
    HideToolTip();
    HostChanged();
    return;
  }
  // Anything but a move over the icon takes the tooltip away.
  if (in.kind != K::MouseMove) HideToolTip();
  if (!Enabled) return;
  const TShiftState shift = ShiftNow();
  const TPoint at = in.screenPos;
  TComponentRef<TqzTrayIcon> self(this);
  switch (in.kind) {
    case K::MouseMove:
      if (OnMouseMove) OnMouseMove(this, shift, at.X, at.Y);
      if (self) Hovered(at);
      break;
    case K::MouseLeave:
      break;
    case K::MouseDown:
      if (in.button == 0 && in.doubleClick) DoubleClick();
      else if (in.button == 0) LeftDown(shift, at);
      else if (OnMouseDown) OnMouseDown(this, ButtonOf(in.button), shift, at.X, at.Y);
      break;
    case K::MouseUp:
      if (in.button == 0) {
        LeftUp(shift, at);
      } else {
        if (OnMouseUp) OnMouseUp(this, ButtonOf(in.button), shift, at.X, at.Y);
        if (self && in.button == 1) PopupMenuAt(at);
      }
      break;
    case K::Activate:
      PrimaryAction();
      break;
    case K::SecondaryActivate:
      if (OnMouseDown) OnMouseDown(this, mbMiddle, shift, at.X, at.Y);
      if (self && OnMouseUp) OnMouseUp(this, mbMiddle, shift, at.X, at.Y);
      break;
    case K::ContextMenu:
      if (OnMouseDown) OnMouseDown(this, mbRight, shift, at.X, at.Y);
      if (self && OnMouseUp) OnMouseUp(this, mbRight, shift, at.X, at.Y);
      if (self) PopupMenuAt(at);
      break;
    case K::Scroll:
    case K::HostChanged:
      break;
  }
}

void TqzTrayIcon::LeftDown(TShiftState shift, TPoint at) {
  TComponentRef<TqzTrayIcon> self(this);
  clickPending_ = dblClickSeen_ = false;
  dblClickTimer_->SetInterval(static_cast<unsigned>(std::max(1, Platform().DoubleClickTimeMs())));
  dblClickTimer_->SetEnabled(true);
  if (OnMouseDown) OnMouseDown(this, mbLeft, shift, at.X, at.Y);
  if (!self) return;
  leftDown_ = true;
  if (PopupByLeftButton) PopupMenuAt(at);
}

void TqzTrayIcon::LeftUp(TShiftState shift, TPoint at) {
  TComponentRef<TqzTrayIcon> self(this);
  const bool wasDown = std::exchange(leftDown_, false);
  if (wasDown && !dblClickTimer_->Enabled()) {
    if (OnClick) OnClick(this);
  } else if (wasDown) {
    clickPending_ = true;
  }
  if (self && OnMouseUp) OnMouseUp(this, mbLeft, shift, at.X, at.Y);
}

void TqzTrayIcon::DoubleClick() {
  TComponentRef<TqzTrayIcon> self(this);
  dblClickSeen_ = true;
  clickPending_ = false;
  if (OnDblClick) OnDblClick(this);
  else if (link_.restore && inTray_) link_.restore();
  if (self && popupMenu_ && popupMenu_->AutoPopup() && !PopupByLeftButton) ClickDefaultItem();
}

// The tray host's activation: the click, then what a double click does.
void TqzTrayIcon::PrimaryAction() {
  TComponentRef<TqzTrayIcon> self(this);
  if (OnClick) OnClick(this);
  if (self) DoubleClick();
}

void TqzTrayIcon::DoubleClickTimerFired() {
  dblClickTimer_->SetEnabled(false);
  const bool click = std::exchange(clickPending_, false) && !dblClickSeen_;
  if (click && OnClick) OnClick(this);
}

void TqzTrayIcon::ClickDefaultItem() {
  TMenuItem* items = popupMenu_->Items();
  TMenuItem* chosen = nullptr;
  for (int i = 0; i < items->Count(); ++i)
    if (items->Items(i)->Default()) chosen = items->Items(i);
  if (chosen) chosen->Click();
}

void TqzTrayIcon::PopupMenuAt(TPoint at) {
  if (popupMenu_ && !popupMenu_->AutoPopup()) return;
  PopupAt(at);
}

void TqzTrayIcon::PopupAt(TPoint at) {
  if (popupMenu_) {
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(at.X, at.Y);
  } else if (link_.menu) {
    link_.menu(at);
  }
}

// ---- the tooltip of a tray that shows none ---------------------------------

bool TqzTrayIcon::DrawsToolTip() const {
  return Enabled && platformIcon_ && platformIcon_->Embedded() && !platformIcon_->HostShowsToolTip() &&
         !ToolTip().empty() && !Designing();
}

TqzSkinHintWindow* TqzTrayIcon::ToolTipWindow() const { return tipWindow_.Get(); }

bool TqzTrayIcon::ToolTipShown() const { return tipWindow_ && tipWindow_->IsShowing(); }

// A move over the icon: the first starts the hint pause; the tooltip, once
// shown, stays where it is while the pointer moves on the icon.
void TqzTrayIcon::Hovered(TPoint at) {
  hoverPos_ = at;
  if (hovering_ || !DrawsToolTip()) return;
  hovering_ = true;
  tipTimer_->SetEnabled(false);
  tipTimer_->SetInterval(static_cast<unsigned>(std::max(1, Application ? Application->HintPause() : 500)));
  tipTimer_->SetEnabled(true);
}

void TqzTrayIcon::ToolTipTimerFired() {
  tipTimer_->SetEnabled(false);
  if (ToolTipShown()) {
    HideToolTip();  // the hide pause is over
    return;
  }
  if (hovering_ && DrawsToolTip()) ShowToolTip();
  else hovering_ = false;
}

void TqzTrayIcon::ShowToolTip() {
  if (!tipWindow_) tipWindow_ = new TqzSkinHintWindow(this);
  TqzSkinHintWindow& window = *tipWindow_;
  window.SetSkinData(link_.skin ? link_.skin() : nullptr);
  const std::string text = ToolTip();
  const TRect size = window.CalcHintRect(0, text);
  TRect icon = platformIcon_ ? platformIcon_->ScreenRect() : TRect{};
  if (icon.IsEmpty()) icon = {hoverPos_.X, hoverPos_.Y, hoverPos_.X + 1, hoverPos_.Y + 1};
  const TPoint centre{(icon.Left + icon.Right) / 2, (icon.Top + icon.Bottom) / 2};
  const TRect screen = Screen ? Screen->MonitorFromPoint(centre).BoundsRect : TRect{};
  const TPoint p = TrayToolTipPlace(icon, {size.Width(), size.Height()}, screen.IsEmpty() ? icon : screen);
  window.ActivateHint({p.X, p.Y, p.X + size.Width(), p.Y + size.Height()}, text);
  tipTimer_->SetInterval(static_cast<unsigned>(std::max(1, Application ? Application->HintHidePause() : 2500)));
  tipTimer_->SetEnabled(true);
}

void TqzTrayIcon::HideToolTip() {
  hovering_ = false;
  tipTimer_->SetEnabled(false);
  if (tipWindow_ && tipWindow_->IsShowing()) tipWindow_->ReleaseHint();
}

// ---- animation -------------------------------------------------------------

void TqzTrayIcon::AnimateTick() {
  const int count = ImageCount();
  // The index shown after this one: past the last image comes the first.
  const int next = count == 0 || iconIndex_ + 1 >= count ? 0 : iconIndex_ + 1;
  TComponentRef<TqzTrayIcon> self(this);
  if (platformIcon_) platformIcon_->SetIcon(ShownPicture());
  if (OnCycle) OnCycle(this, next);
  if (!self) return;
  iconIndex_ = next;
}

QZ_PUBLISHED(TqzTrayIcon, TComponent) {
  using T = TqzTrayIcon;
  b.Factory([](TComponent* owner) { return new TqzTrayIcon(owner); });
  b.Prop("DesignPreview", &T::DesignPreview, false);
  b.Ref<TCustomImageList>("IconList", &T::IconList, &T::SetIconList);
  b.Prop("CycleIcons", &T::CycleIcons, &T::SetCycleIcons, false);
  b.Prop("AnimateTimerInterval", &T::AnimateTimerInterval, &T::SetAnimateTimerInterval, 0u);
  b.Prop("Enabled", &T::Enabled, true);
  b.Prop("Hint", &T::Hint, &T::SetHint, std::string());
  b.Prop("ShowHint", &T::ShowHint, &T::SetShowHint, true);
  b.Binary("Icon", &T::IconData, &T::SetIconData);
  b.Prop("IconVisible", &T::IconVisible, &T::SetIconVisible, true);
  b.Prop("IconIndex", &T::IconIndex, &T::SetIconIndex, 0);
  b.Ref<TqzSkinPopupMenu>("PopupMenu", &T::PopupMenu, &T::SetPopupMenu);
  b.Prop("PopupByLeftButton", &T::PopupByLeftButton, false);
  b.Prop("MinimizedOnStart", &T::MinimizedOnStart, false);
  b.Prop("MinimizeToTray", &T::MinimizeToTray, false);
  b.Event<TNotifyEvent>("OnClick", &T::OnClick);
  b.Event<TNotifyEvent>("OnDblClick", &T::OnDblClick);
  b.Event<TMouseEvent>("OnMouseDown", &T::OnMouseDown);
  b.Event<TMouseEvent>("OnMouseUp", &T::OnMouseUp);
  b.Event<TMouseMoveEvent>("OnMouseMove", &T::OnMouseMove);
  b.Event<TCycleEvent>("OnCycle", &T::OnCycle);
  b.Event<TNotifyEvent>("OnBalloonHintClick", &T::OnBalloonHintClick);
}

}  // namespace qz
