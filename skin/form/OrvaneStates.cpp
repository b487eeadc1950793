// The form skinning controller's window states: maximise, minimise and
// restore run by the controller itself (the system never sees them), the
// roll-up in both modes, drag to the top and away, magnetic snapping, the
// system menu and the form's short cuts.
#include <algorithm>
#include <utility>

#include "host/ui/Application.h"
#include "host/ui/Menus.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"
#include "skin/form/TrayIcon.h"

namespace qz {

namespace {

TqzEdges EdgesOf(const TRect& extents) {
  return {extents.Left, extents.Top, extents.Right, extents.Bottom};
}

}  // namespace

void TqzOrvane::ApplyWindowState(TWindowState state) {
  switch (state) {
    case wsMaximized: Maximize(); break;
    case wsMinimized: Minimize(); break;
    case wsNormal: Restore(); break;
  }
}

void TqzOrvane::PositionByMonitor(TSize size) {
  if (PositionInMonitor == qzpDefault) return;
  const TRect area = MonitorWorkArea(PositionInMonitor == qzpScreenCenter);
  const int left = area.Left + area.Width() / 2 - size.cx / 2;
  const int top = area.Top + area.Height() / 2 - size.cy / 2;
  form_->SetBounds(left, top, size.cx, size.cy);
}

void TqzOrvane::Maximize() {
  if (Maximized()) return;
  TComponentRef<TqzOrvane> self(this);
  if (rolledUp_) {
    RollDown();
    if (!self) return;
  }
  if (IsMDIChild()) {
    MaximizeMDIChild();
    return;
  }
  if (normalBounds_.IsEmpty()) normalBounds_ = form_->BoundsRect();
  TqzMaximizeInput in;
  const TMonitorInfoRec info = MonitorRects();
  in.Monitor = info.rcMonitor;
  in.WorkArea = info.rcWork;
  in.Screen = Screen ? Screen->DesktopRect() : info.rcMonitor;
  in.FullScreen = MaximizeOnFullScreen;
  if (layerBorder_->Used()) in.Layer = EdgesOf(layerBorder_->Extents());
  actualState_ = wsMaximized;
  requestedState_ = wsMaximized;
  form_->SetBoundsRect(MaximizeTarget(in));
  if (!self) return;
  if (layerBorder_->Visible() && !layerBorder_->FullBorder()) layerBorder_->Hide();
  if (OnMaximize) OnMaximize(this);
}

void TqzOrvane::Minimize() {
  TComponentRef<TqzOrvane> self(this);
  if (IsMainForm() || ClientMode()) {
    layerBorder_->Hide();  // the task bar holds the application now
    if (Application) Application->Minimize();
    if (self && OnMinimize) OnMinimize(this);
    return;
  }
  if (Minimized()) return;
  const bool wasMaximized = Maximized();
  MinimizeToSlot();
  if (self && wasMaximized && IsMDIChild()) {
    SetFormRegion();
    NotifyMDIMainForm(kMDIChildRestored);
  }
  if (self && OnMinimize) OnMinimize(this);
}

void TqzOrvane::MinimizeToSlot() {
  if (normalBounds_.IsEmpty()) normalBounds_ = form_->BoundsRect();
  actualState_ = wsMinimized;
  requestedState_ = wsMinimized;
  const TqzSizeLimits limits = SizeLimits();
  TqzMinimizeSlotInput in;
  // An MDI child's slots lie in its MDI client, other forms' in the work area.
  if (TMDIClient* client = form_->MDIParentClient())
    in.Area = {0, 0, client->ClientWidth(), client->ClientHeight()};
  else
    in.Area = MonitorWorkArea(false);
  in.MinSize = {limits.MinWidth, limits.MinHeight};
  if (layerBorder_->Used()) in.Layer = EdgesOf(layerBorder_->Extents());
  for (int i = 0; Screen && i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f == form_ || !f->HandleAllocated() || !IsWindowVisible(f->Handle())) continue;
    for (int c = 0; c < f->ComponentCount(); ++c) {
      auto* other = dynamic_cast<TqzOrvane*>(f->Components(c));
      if (other && other->Minimized() && !other->IsMainForm()) in.Taken.push_back(f->BoundsRect().TopLeft());
    }
  }
  const TPoint slot = MinimizeSlot(in);
  form_->SetBounds(slot.X, slot.Y, limits.MinWidth, limits.MinHeight);
}

void TqzOrvane::Restore() {
  TComponentRef<TqzOrvane> self(this);
  if (Maximized() && rolledUp_ && rolledUpWhileMaximized_) {
    RollDown();
    if (!self) return;
  }
  if (actualState_ == wsNormal) return;
  actualState_ = wsNormal;
  requestedState_ = wsNormal;
  const TRect before = form_->BoundsRect();
  if (!ClientMode()) {
    if (layerBorder_->Used() && !layerBorder_->Visible()) layerBorder_->Show();
    if (firstShow_ && !normalBounds_.IsEmpty()) {
      PositionByMonitor(normalBounds_.Size());
      firstShow_ = false;
    } else if (!normalBounds_.IsEmpty()) {
      form_->SetBoundsRect(normalBounds_);
    }
    if (!self) return;
    StartMouseTimer();
    if (form_->BoundsRect().Size() == before.Size()) Nudge();
    RepaintFrame();
  } else {
    if (!normalBounds_.IsEmpty()) form_->SetBoundsRect(normalBounds_);
    if (!self) return;
    StartMouseTimer();
  }
  normalBounds_ = {};
  if (IsMDIChild()) {
    SetFormRegion();
    NotifyMDIMainForm(kMDIChildRestored);
    if (!self) return;
  }
  if (OnRestore) OnRestore(this);
}

// Into the tray only when the icon is really shown in one; without a tray
// icon or a tray the command minimises as the minimise button does.
void TqzOrvane::MinimizeToTray() {
  TComponentRef<TqzOrvane> self(this);
  TComponentRef<TqzTrayIcon> icon(trayIcon_);
  if (!icon) {
    Minimize();
    return;
  }
  icon->MinimizeToTray = true;
  layerBorder_->Hide();
  const bool inTray = icon->HideApplicationToTray();
  if (!self) return;
  if (!inTray) {
    if (icon) icon->MinimizeToTray = false;
    if (!AlwaysShowInTray && icon) icon->SetIconVisible(false);
    Minimize();
    return;
  }
  if (OnMinimizeToTray) OnMinimizeToTray(this);
}

void TqzOrvane::RestoreFromTray() {
  TComponentRef<TqzOrvane> self(this);
  TComponentRef<TqzTrayIcon> icon(trayIcon_);
  if (!icon) {
    form_->Show();
    if (self && OnRestoreFromTray) OnRestoreFromTray(this);
    return;
  }
  icon->MinimizeToTray = false;
  backFromTray_ = true;
  icon->RestoreApplication();
  if (!self) return;
  if (Application) Application->Restore();
  if (!self) return;
  if (icon && !AlwaysShowInTray) icon->SetIconVisible(false);
  if (OnRestoreFromTray) OnRestoreFromTray(this);
}

void TqzOrvane::SetTrayIcon(TqzTrayIcon* v) {
  if (trayIcon_ && trayIcon_ != v) trayIcon_->Unlink();
  SetReference(trayIcon_, v);
  if (!v) return;
  if (!InState(csDesigning)) v->SetIconVisible(AlwaysShowInTray);
  else borderIcons_.Include(biMinimizeToTray);
  TComponentRef<TqzOrvane> self(this);
  v->Link({[self](TPoint at) {
             if (self) self->TrayMenuPopup(at.X, at.Y);
           },
           [self] {
             if (self) self->RestoreFromTray();
           },
           // The tooltip is dressed like the tray menu.
           [self]() -> TqzSkinData* {
             if (!self) return nullptr;
             return self->MenusSkinData() ? self->MenusSkinData() : self->SkinData();
           }});
}

// MSG_BACK_FROM_TRAY: the main form is back; the layered border comes
// forward with it.
void TqzOrvane::BackFromTray() {
  backFromTray_ = false;
  if (layerBorder_->Used() && form_->HandleAllocated() && IsWindowVisible(form_->Handle())) {
    layerBorder_->Show();
    layerBorder_->Update();
  }
}

void TqzOrvane::Close() { form_->Close(); }

// ---------------------------------------------------------------------------
// Roll-up

bool TqzOrvane::RollUpAllowed() const {
  if (!borderIcons_.Contains(biRollUp)) return false;
  if (ClientMode() && !HasSkin()) return false;
  if (Minimized()) return false;
  if (Maximized() && rolledUp_ && !rolledUpWhileMaximized_) return false;
  if (ClientMode() && skinData_->RollUpPicture().Empty()) return false;
  return true;
}

void TqzOrvane::RollUp() {
  if (rolledUp_ || !RollUpAllowed()) return;
  SetRollUpState(true);
}

void TqzOrvane::RollDown() {
  if (!rolledUp_) return;
  SetRollUpState(false);
}

void TqzOrvane::SetRollUpState(bool up) {
  TComponentRef<TqzOrvane> self(this);
  if (Maximized()) rolledUpWhileMaximized_ = up;
  if (ClientMode()) {
    if (up) RollUpClient();
    else RollDownClient();
  } else {
    if (up) RollUpFrame();
    else RollDownFrame();
  }
  if (!self) return;
  if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TqzOrvane::RollUpFrame() {
  rollUpHeight_ = form_->Height();
  rolledUp_ = true;
  const int minHeight = SizeLimits().MinHeight;
  if (FullBorderLayered() && minHeight == form_->Height()) form_->SetHeight(minHeight + 1);
  form_->SetHeight(minHeight);
  RepaintFrame();
}

void TqzOrvane::RollDownFrame() {
  rolledUp_ = false;
  if (clientHeight_ > 0) form_->SetClientHeight(clientHeight_);
  else if (rollUpHeight_ > 0) form_->SetHeight(rollUpHeight_);
  RepaintFrame();
}

void TqzOrvane::RollUpClient() {
  if (!HasSkin() || skinData_->RollUpPicture().Empty()) return;
  rollUpHeight_ = form_->Height();
  rollUpWidth_ = form_->Width();
  activeObject_ = -1;
  mouseTimer_->SetEnabled(false);
  morphTimer_->SetEnabled(false);
  hiddenByRollUp_.clear();
  for (int i = 0; i < form_->ControlCount(); ++i) {
    TControl* c = form_->Controls(i);
    if (c->Visible()) hiddenByRollUp_.emplace_back(c);
  }
  for (auto& c : hiddenByRollUp_)
    if (c) c->SetVisible(false);
  rolledUp_ = true;
  RollUpClientResize();
  SetFormRegion();
  if (form_->HandleAllocated()) form_->Invalidate();
  StartMouseTimer();
  StartMorphTimer();
}

// Sizes the form to the roll-up picture and carries the roll-up objects over.
void TqzOrvane::RollUpClientResize() {
  const TBitmap& picture = skinData_->RollUpPicture();
  const bool keepWidth = skinData_->RollUpLeftPoint.X < skinData_->RollUpRightPoint.X;
  const int width = keepWidth ? form_->ClientWidth() : picture.Width();
  if (form_->ClientWidth() != width) form_->SetClientWidth(width);
  if (form_->ClientHeight() != picture.Height()) form_->SetClientHeight(picture.Height());
  const int widthDiff = width - picture.Width();
  for (auto& o : objects_)
    if (o->RollUp())
      o->ObjectRect = RollUpObjectRect(o->Data().SkinRect, skinData_->RollUpLeftPoint.X,
                                       skinData_->RollUpRightPoint.X, widthDiff);
}

void TqzOrvane::RollDownClient() {
  rolledUp_ = false;
  if (rollUpWidth_ > 0 && rollUpHeight_ > 0)
    form_->SetBounds(form_->Left(), form_->Top(), rollUpWidth_, rollUpHeight_);
  for (auto& c : hiddenByRollUp_)
    if (c) c->SetVisible(true);
  hiddenByRollUp_.clear();
  if (HasSkin()) {
    newSize_ = {};
    LayoutClientMode();
  }
  if (form_->HandleAllocated()) form_->Invalidate();
  StartMouseTimer();
  StartMorphTimer();
}

// ---------------------------------------------------------------------------
// Drag to the top, drag away, magnetic snapping

void TqzOrvane::DragToTopCheck() {
  const bool wasAbove = draggedAboveWorkArea_;
  draggedAboveWorkArea_ = false;
  if (!wasAbove || MaximizeOnFullScreen || actualState_ != wsNormal) return;
  if (form_->Top() >= MonitorRects().rcMonitor.Top) Maximize();
}

void TqzOrvane::DragAway(TRect& moving) {
  const TRect current = form_->BoundsRect();
  if (moving.Top <= current.Top || rolledUp_ || MaximizeOnFullScreen || FullBorderLayered()) {
    moving = Bounds(current.Left, current.Top, current.Width(), current.Height());
    return;
  }
  TPoint cursor;
  GetCursorPos(cursor);
  const TSize saved = normalBounds_.IsEmpty() ? current.Size() : normalBounds_.Size();
  const TRect restored = DragAwayBounds(current, saved, cursor, MonitorWorkArea(false));
  actualState_ = wsNormal;
  requestedState_ = wsNormal;
  normalBounds_ = {};
  moveOffset_ = {moveOffset_.X + restored.Left - moving.Left, moveOffset_.Y + restored.Top - moving.Top};
  form_->SetBoundsRect(restored);
  moving = restored;
  RepaintCaptionArea();
}

TPoint TqzOrvane::MagneticPosition(TPoint proposed, TSize size, TPoint cursor) {
  TRect area = MonitorWorkArea(false);
  if (layerBorder_->Used()) {
    // The outer edges of the layered border meet the area's edges.
    const TRect e = layerBorder_->Extents();
    area = {area.Left + e.Left, area.Top + e.Top, area.Right - e.Right, area.Bottom - e.Bottom};
  }
  return MagneticSnap(proposed, size, cursor, area, MagneticSize, magnetic_);
}

// ---------------------------------------------------------------------------
// System menu and short cuts

void TqzOrvane::BuildSystemMenu() {
  TqzSysMenuState state;
  state.CustomMenu = systemMenu_ != nullptr;
  state.Minimized = Minimized();
  state.Maximized = Maximized();
  state.RolledUp = rolledUp_;
  state.MaximizeAllowed = borderIcons_.Contains(biMaximize);
  TqzSkinData* strings = menusSkinData_ ? menusSkinData_ : skinData_;
  const std::vector<TqzSysMenuItem> items =
      SystemMenuItems(state, strings ? strings->ResourceStrData() : nullptr);
  auto onClick = [self = TComponentRef<TqzOrvane>(this)](const std::string& name) {
    if (self) self->SystemMenuAction(name);
  };
  if (systemMenu_) {
    if (UseDefaultSysMenu) FillSystemMenu(*systemMenu_->Items(), items, true, onClick);
    return;
  }
  TMenuItem& root = *sysMenu_->Items();
  while (root.Count() > 0) delete root.Items(root.Count() - 1);
  FillSystemMenu(root, items, false, onClick);
}

void TqzOrvane::SystemMenuPopup(int X, int Y) { SystemMenuPopup(X, Y, nullptr); }

void TqzOrvane::SystemMenuPopup(int X, int Y, TqzSkinData* menuSkin) {
  if (DisableSystemMenu) return;
  TComponentRef<TqzOrvane> self(this);
  BuildSystemMenu();
  if (!sysMenuShown_) {
    sysMenuShown_ = true;
    if (OnSkinMenuOpen) OnSkinMenuOpen(this);
    if (!self) return;
  }
  TPopupMenu& menu = systemMenu_ ? *systemMenu_ : *sysMenu_;
  menuObject_ = mouseCaptureObject_;
  if (menu.PopupHook) {
    // Whoever hooked the menu shows it.
    menu.Popup(X, Y);
  } else {
    TComponentRef<TPopupMenu> popup(&menu);
    if (menu.OnPopup) menu.OnPopup(&menu);
    if (!self || !popup) return;
    PopupThroughEngine(*menu.Items(), {X, Y, X, Y}, menuSkin);
  }
  if (self) MenuOpened();
}

void TqzOrvane::TrayMenuPopup(int X, int Y) {
  TqzSkinData* strings = menusSkinData_ ? menusSkinData_ : skinData_;
  auto onClick = [self = TComponentRef<TqzOrvane>(this)](const std::string& name) {
    if (self) self->SystemMenuAction(name);
  };
  TMenuItem& root = *trayMenu_->Items();
  while (root.Count() > 0) delete root.Items(root.Count() - 1);
  FillSystemMenu(root, TrayMenuItems(false, strings ? strings->ResourceStrData() : nullptr), false, onClick);
  PopupThroughEngine(root, {X, Y, X, Y});
}

// Every menu opens through here: the engine takes the menu properties as
// they are now, whichever component asks for it.
TqzSkinMenu& TqzOrvane::SkinMenu() {
  if (!skinMenu_) {
    skinMenu_ = std::make_unique<TqzSkinMenu>(nullptr);
    skinMenu_->SetForm(form_);
  }
  TqzSkinMenuSettings& s = skinMenu_->Settings;
  s.UseSkinFont = UseSkinFontInMenu;
  s.UseSkinSize = UseSkinSizeInMenu;
  s.DefItemHeight = DefMenuItemHeight;
  s.DefFontName = defMenuItemFont_.Name();
  s.DefFontHeight = defMenuItemFont_.Height();
  s.DefFontStyle = defMenuItemFont_.Style();
  s.DefFontCharset = defMenuItemFont_.Charset();
  s.AlphaBlend = MenusAlphaBlend;
  s.AlphaBlendValue = MenusAlphaBlendValue;
  s.AlphaBlendAnimation = MenusAlphaBlendAnimation;
  s.MaxItemsInWindow = MaxMenuItemsInWindow;
  return *skinMenu_;
}

// As a skinned popup menu opens (TqzSkinPopupMenu::PopupFromRect).
void TqzOrvane::PopupItems(TMenuItem& items, TqzSkinData* skin, TControl* popupControl, const TRect& anchor,
                           bool popupToUp) {
  if (!items.HasShownItems()) return;
  TComponentRef<TqzOrvane> self(this);
  TComponentRef<TMenuItem> alive(&items);
  TqzSkinMenu& engine = SkinMenu();
  if (engine.Visible()) engine.CloseAll();
  if (!self || !alive) return;
  engine.Popup(popupControl, skin, 0, anchor, items, popupToUp);
  if (self && engine.Visible()) engine.OnClose = nullptr;
}

void TqzOrvane::PopupThroughEngine(TMenuItem& items, const TRect& anchor, TqzSkinData* skin) {
  TqzSkinMenu& engine = SkinMenu();
  TComponentRef<TqzOrvane> self(this);
  // A menu replaced by this one is not a menu that closed.
  engine.OnClose = nullptr;
  if (!skin) skin = menusSkinData_ ? menusSkinData_ : skinData_;
  engine.Popup(nullptr, skin, 0, anchor, items, false);
  if (!self || !engine.Visible()) return;
  engine.OnClose = [self](TObject*) {
    if (self) self->MenuClosedNow();
  };
}

void TqzOrvane::PopupSystemMenuBelow(const TRect& objectRect) {
  TRect r = objectRect;
  for (const auto& o : objects_) {
    const auto* data = dynamic_cast<const TqzDataSkinStdButton*>(&o->Data());
    if (r.IsEmpty() && data && data->Command == TqzStdCommand::SysMenu) r = o->ObjectRect;
  }
  const TPoint p = WindowToScreen({r.Left, r.Bottom});
  SystemMenuPopup(p.X, p.Y);
}

// An object's items show through the menu engine below the object.
void TqzOrvane::PopupMenuBelow(TMenuItem& items, const TRect& objectRect) {
  if (!Application) return;
  TComponentRef<TqzOrvane> self(this);
  if (frameMenuWindow_) frameMenuWindow_->CloseMenu();
  if (!self) return;
  if (!frameMenuShown_) {
    frameMenuShown_ = true;
    if (OnSkinMenuOpen) OnSkinMenuOpen(this);
    if (!self) return;
  }
  menuObject_ = mouseCaptureObject_;
  const TPoint topLeft = WindowToScreen(objectRect.TopLeft());
  PopupThroughEngine(items, {topLeft.X, topLeft.Y, topLeft.X + objectRect.Width(), topLeft.Y + objectRect.Height()});
  if (self) MenuOpened();
}

bool TqzOrvane::MenuShowing() const {
  return (frameMenuWindow_ && frameMenuWindow_->IsOpen()) || sysMenu_->IsShowing() ||
         (systemMenu_ && systemMenu_->IsShowing()) || (skinMenu_ && skinMenu_->Visible());
}

// A menu shown by a popup hook (the skinned menu engine) reports its closing
// through WM_CLOSESKINMENU; only the host's own windows are watched.
void TqzOrvane::MenuOpened() {
  if (MenuShowing()) menuWatchTimer_->SetEnabled(true);
}

void TqzOrvane::OnMenuWatchTimer() {
  if (MenuShowing()) return;
  MenuClosedNow();
}

void TqzOrvane::CloseMenus() {
  TComponentRef<TqzOrvane> self(this);
  if (frameMenuWindow_) frameMenuWindow_->CloseMenu();
  if (!self) return;
  if (skinMenu_) skinMenu_->CloseAll();
  if (!self) return;
  sysMenu_->ClosePopup();
  if (systemMenu_) systemMenu_->ClosePopup();
  if (!self) return;
  if (sysMenuShown_ || frameMenuShown_ || menuObject_ != -1) MenuClosedNow();
}

void TqzOrvane::MenuClosedNow() {
  menuWatchTimer_->SetEnabled(false);
  frameMenuWindow_ = nullptr;
  TComponentRef<TqzOrvane> self(this);
  const int index = std::exchange(menuObject_, -1);
  if (TqzActiveSkinObject* o = ObjectAt(index)) o->MenuClosed();
  if (!self) return;
  const bool wasShown = sysMenuShown_ || frameMenuShown_;
  sysMenuShown_ = frameMenuShown_ = false;
  if (wasShown && OnSkinMenuClose) OnSkinMenuClose(this);
}

void TqzOrvane::SystemMenuAction(const std::string& name) {
  if (name == "ORV_MINITEM") {
    if (AlwaysMinimizeToTray) MinimizeToTray();
    else Minimize();
  } else if (name == "ORV_MAXITEM") {
    Maximize();
  } else if (name == "ORV_RESTORE" || name == "TRAY_ORV_RESTORE") {
    if (name == "TRAY_ORV_RESTORE") RestoreFromTray();
    else if (rolledUp_ && (actualState_ == wsNormal || rolledUpWhileMaximized_)) RollDown();
    else Restore();
  } else if (name == "ORV_ROLLUP") {
    RollUp();
  } else if (name == "ORV_MINTOTRAY") {
    MinimizeToTray();
  } else if (name == "ORV_CLOSE" || name == "TRAY_ORV_CLOSE") {
    Close();
  }
}

void TqzOrvane::ExecuteCommand(TqzStdCommand command) {
  switch (command) {
    case TqzStdCommand::Close: Close(); break;
    case TqzStdCommand::Maximize:
      if (Maximized()) Restore();
      else if (borderIcons_.Contains(biMaximize)) Maximize();
      break;
    case TqzStdCommand::Minimize:
      if (Minimized() && !ClientMode()) Restore();
      else if (AlwaysMinimizeToTray) MinimizeToTray();
      else Minimize();
      break;
    case TqzStdCommand::SysMenu: PopupSystemMenuBelow({}); break;
    case TqzStdCommand::RollUp:
      if (rolledUp_) RollDown();
      else RollUp();
      break;
    case TqzStdCommand::MinimizeToTray: MinimizeToTray(); break;
    case TqzStdCommand::Default: break;
  }
}

// Alt + the accelerator of a visible caption tab selects that tab.
void TqzOrvane::SelectCaptionTabByKey(uint16_t key, bool& handled) {
  if (key > 0x7F) return;
  const int index = FindCaptionTabByAccelerator(captionTabs_, static_cast<char>(key));
  if (index < 0) return;
  handled = true;
  if (index == CaptionTabIndex) return;
  CaptionTabIndex = index;
  TComponentRef<TqzOrvane> self(this);
  if (OnCaptionTabChange) OnCaptionTabChange(this);
  if (self && HasSkin()) RedrawCaption();
}

void TqzOrvane::FormShortCut(TMessage& msg, bool& handled) {
  TComponentRef<TqzOrvane> self(this);
  if (OnShortCut) {
    OnShortCut(msg, handled);
    if (!self || handled) return;
  }
  const uint16_t key = static_cast<uint16_t>(msg.WParam);
  const TShiftState shift = KeyboardStateToShiftState();
  const bool alt = shift.Contains(ssAlt) || (msg.LParam & KF_ALTDOWN_LPARAM) != 0;
  if (alt && key == VK_SPACE) {
    if (!DisableSystemMenu) PopupSystemMenuBelow({});
    handled = true;
    return;
  }
  TShiftState full = shift;
  if (alt) full.Include(ssAlt);
  const TShortCut sc = ShortCut(key, full);
  auto runFrom = [&](TMenu* menu) {
    if (handled || !menu) return;
    if (TMenuItem* item = menu->FindItem(sc)) {
      handled = true;
      item->Click();
    }
  };
  runFrom(mainMenu_);
  if (!self) return;
  if (MenuButtonVisible) runFrom(menuButtonPopupMenu_);
  if (!self) return;
  if (!handled && alt && captionTabs_.Count() > 0) SelectCaptionTabByKey(key, handled);
  if (!self) return;
  runFrom(systemMenu_);
}

}  // namespace qz
