// The main menu bar's input: hot tracking on a 50 ms timer, morphing and
// frame animation on 25 ms timers, presses, the keyboard menu mode, Alt
// accelerators and the menus opened below the items.
#include <algorithm>

#include "host/ui/Application.h"
#include "host/ui/Forms.h"
#include "host/ui/PopupMenuWindow.h"
#include "host/ui/StdCtrls.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/form/Orvane.h"
#include "skin/form/SkinMainMenu.h"
#include "skin/popups/SkinMenu.h"

namespace qz {

namespace {
constexpr uintptr_t kHotTimerId = 1;
constexpr uintptr_t kMorphTimerId = 2;
constexpr uintptr_t kFrameTimerId = 3;
constexpr double kMorphStep = 0.2;
}  // namespace

// ---------------------------------------------------------------------------
// Timers

void TqzSkinMainMenuBar::StartTimer(uintptr_t id, unsigned ms, bool& running) {
  if (running || !HandleAllocated()) return;
  running = SetTimer(Handle(), id, ms) != 0;
}

void TqzSkinMainMenuBar::StopTimer(uintptr_t id, bool& running) {
  if (!running) return;
  running = false;
  if (HandleAllocated()) KillTimer(Handle(), id);
}

void TqzSkinMainMenuBar::Dispatch(TMessage& m) {
  if (m.Msg == WM_TIMER) {
    switch (m.WParam) {
      case kHotTimerId: HotTick(); return;
      case kMorphTimerId: MorphTick(); return;
      case kFrameTimerId: FrameTick(); return;
      default: break;
    }
  }
  if (m.Msg == CM_MDICHANGED) {
    UpdateMDI();
    return;
  }
  if (m.Msg == WM_CLOSESKINMENU) {
    if (engineOpen_) {
      engineOpen_ = false;
      MenuWatch();
    }
    return;
  }
  if (m.Msg == WM_GETDLGCODE && KeyboardMode()) {
    m.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    return;
  }
  if (m.Msg == WM_KILLFOCUS && KeyboardMode() && !MenuOpen()) {
    TComponentRef<TqzSkinMainMenuBar> self(this);
    TqzSkinCustomControl::Dispatch(m);
    if (self && KeyboardMode() && !MenuOpen()) LeaveKeyboardMode();
    return;
  }
  TqzSkinCustomControl::Dispatch(m);
}

void TqzSkinMainMenuBar::HotTick() {
  TComponentRef<TqzSkinMainMenuBar> self(this);
  MenuWatch();
  if (!self) return;
  TPoint p;
  GetCursorPos(p);
  p = ScreenToClient(p);
  if (!Rect(0, 0, Width(), Height()).Contains(p)) {
    p = {-1, -1};
    if (down_ < 0) StopTimer(kHotTimerId, hotTimer_);
  }
  TrackPoint(p);
}

void TqzSkinMainMenuBar::MorphTick() {
  bool any = false;
  for (size_t i = 0; i < items_.size(); ++i) {
    TqzSkinMainMenuBarItem& item = items_[i];
    if (item.MorphStep == 0) continue;
    item.MorphKf = std::clamp(item.MorphKf + kMorphStep * item.MorphStep, 0.0, 1.0);
    if (item.MorphKf == 0.0 || item.MorphKf == 1.0) item.MorphStep = 0;
    any = any || item.MorphStep != 0;
    RedrawItem(int(i));
  }
  if (!any) StopTimer(kMorphTimerId, morphTimer_);
}

void TqzSkinMainMenuBar::FrameTick() {
  const TqzDataSkinMainMenuItem* d = ItemData();
  const int count = d ? d->FrameCount : 0;
  bool any = false;
  for (size_t i = 0; i < items_.size(); ++i) {
    TqzSkinMainMenuBarItem& item = items_[i];
    if (item.FrameStep == 0) continue;
    item.FrameIndex += item.FrameStep;
    if (item.FrameIndex > count || item.FrameIndex < 1) {
      item.FrameIndex = item.FrameStep > 0 ? count + 1 : 0;
      item.FrameStep = 0;
    }
    any = any || item.FrameStep != 0;
    RedrawItem(int(i));
  }
  if (!any) StopTimer(kFrameTimerId, frameTimer_);
}

// ---------------------------------------------------------------------------
// Hot tracking

void TqzSkinMainMenuBar::CMMouseEnter(TMessage& m) {
  TqzSkinCustomControl::CMMouseEnter(m);
  StartTimer(kHotTimerId, 50, hotTimer_);
}

void TqzSkinMainMenuBar::CMMouseLeave(TMessage& m) {
  TqzSkinCustomControl::CMMouseLeave(m);
  StartTimer(kHotTimerId, 50, hotTimer_);
}

void TqzSkinMainMenuBar::MouseMove(TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinMainMenuBar> self(this);
  TqzSkinCustomControl::MouseMove(Shift, X, Y);
  if (!self) return;
  StartTimer(kHotTimerId, 50, hotTimer_);
  TrackPoint({X, Y});
}

void TqzSkinMainMenuBar::TrackPoint(TPoint p) {
  lastPoint_ = p;
  // A pressed MDI button stays the hot one until the release.
  if (mdiPressed_ < 0) SetMDIButtonHot(MDIButtonAt(p));
  const bool overMarker = MarkerRect().Contains(p);
  if (overMarker != markerHot_) {
    markerHot_ = overMarker;
    RedrawMarker();
  }
  int index = ItemAt(p);
  // In keyboard or open-menu mode the hot item stays while the pointer is
  // elsewhere; while an item is pressed no other becomes hot.
  if (index < 0 && (KeyboardMode() || down_ >= 0)) return;
  if (pressed_ >= 0 && index != pressed_) return;
  if (index == hot_) return;
  TComponentRef<TqzSkinMainMenuBar> self(this);
  SetHot(index);
  if (!self || down_ < 0 || index < 0 || index == down_) return;
  // With a menu open, pointing at another item moves the open state to it:
  // an item with a menu opens that one; a command closes the open menu and
  // only shows hot (commands run only when pressed).
  const TMenuItem* item = items_[size_t(index)].Item.Get();
  if (item && item->HasShownItems()) {
    PressItem(index, false);
    return;
  }
  CloseMenu();
  if (self && !KeyboardMode() && orvane_) orvane_->LeaveMainMenuMode();
}

void TqzSkinMainMenuBar::SetHot(int index) {
  if (index == hot_) return;
  TComponentRef<TqzSkinMainMenuBar> self(this);
  oldHot_ = hot_;
  hot_ = index;
  if (oldHot_ >= 0) ItemLeave(oldHot_);
  if (!self) return;
  if (hot_ >= 0) ItemEnter(hot_);
}

void TqzSkinMainMenuBar::ItemEnter(int index) {
  TqzSkinMainMenuBarItem& item = items_[size_t(index)];
  item.Active = item.MouseIn = true;
  const TqzDataSkinMainMenuItem* d = ItemData();
  if (d && !d->AnimateSkinRect.IsEmpty() && d->FrameCount > 0) {
    item.FrameIndex = 1;
    item.FrameStep = 1;
    StartTimer(kFrameTimerId, 25, frameTimer_);
  } else if (d && d->Morphing) {
    item.MorphStep = 1;
    StartTimer(kMorphTimerId, 25, morphTimer_);
  } else {
    item.MorphKf = 1;
  }
  RedrawItem(index);
  if (OnItemMouseEnter) OnItemMouseEnter(this, item.Item.Get());
}

void TqzSkinMainMenuBar::ItemLeave(int index) {
  if (index >= int(items_.size())) return;
  TqzSkinMainMenuBarItem& item = items_[size_t(index)];
  item.Active = item.MouseIn = false;
  const TqzDataSkinMainMenuItem* d = ItemData();
  if (d && !d->AnimateSkinRect.IsEmpty() && d->FrameCount > 0) {
    if (d->InActiveAnimation) {
      item.FrameIndex = d->FrameCount + 1;
      item.FrameStep = -1;
      StartTimer(kFrameTimerId, 25, frameTimer_);
    } else {
      item.FrameIndex = 0;
      item.FrameStep = 0;
    }
  } else if (d && d->Morphing) {
    item.MorphStep = -1;
    StartTimer(kMorphTimerId, 25, morphTimer_);
  } else {
    item.MorphKf = 0;
  }
  RedrawItem(index);
  if (OnItemMouseLeave) OnItemMouseLeave(this, item.Item.Get());
}

void TqzSkinMainMenuBar::SetMDIButtonHot(int index) {
  if (index == mdiHot_) return;
  if (mdiHot_ >= 0 && mdiHot_ < int(mdiButtons_.size())) {
    mdiButtons_[size_t(mdiHot_)].Active = mdiButtons_[size_t(mdiHot_)].MouseIn = false;
    RedrawRect(mdiButtons_[size_t(mdiHot_)].Rect);
  }
  mdiHot_ = index;
  if (index >= 0) {
    mdiButtons_[size_t(index)].Active = mdiButtons_[size_t(index)].MouseIn = true;
    RedrawRect(mdiButtons_[size_t(index)].Rect);
  }
}

void TqzSkinMainMenuBar::RedrawRect(const TRect& r) {
  if (HandleAllocated() && !r.IsEmpty()) ::qz::InvalidateRect(Handle(), &r, false);
}

void TqzSkinMainMenuBar::RedrawItem(int index) {
  if (index < 0 || index >= int(items_.size())) return;
  if (HandleAllocated()) ::qz::InvalidateRect(Handle(), &items_[size_t(index)].Rect, false);
}

void TqzSkinMainMenuBar::RedrawMarker() {
  const TRect r = overflow_ ? TRect{itemArea_.Right - kMenuBarMarkerWidth, itemArea_.Top, itemArea_.Right,
                                    itemArea_.Bottom}
                            : TRect{};
  if (!r.IsEmpty() && HandleAllocated()) ::qz::InvalidateRect(Handle(), &r, false);
}

// ---------------------------------------------------------------------------
// Mouse

void TqzSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TComponentRef<TqzSkinMainMenuBar> self(this);
  TqzSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (!self) return;
  TrackPoint({X, Y});
  if (!self) return;
  if (const int button = MDIButtonAt({X, Y}); button >= 0) {
    if (Button != mbLeft) return;
    CloseMenu();
    if (!self) return;
    mdiPressed_ = button;
    mdiButtons_[size_t(button)].Down = true;
    RedrawRect(mdiButtons_[size_t(button)].Rect);
    return;
  }
  if (Button == mbLeft && MarkerRect().Contains({X, Y})) {
    PopupOverflow();
    return;
  }
  const int index = ItemAt({X, Y});
  if (index < 0 || Button != mbLeft) return;
  // A second press on the item whose menu is open closes it.
  if (index == down_) {
    CloseMenu();
    return;
  }
  pressed_ = index;
  PressItem(index, false);
}

void TqzSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  pressed_ = -1;
  TComponentRef<TqzSkinMainMenuBar> self(this);
  TqzSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!self) return;
  const int index = std::exchange(mdiPressed_, -1);
  if (index < 0 || index >= int(mdiButtons_.size())) return;
  TqzSkinMainMenuBarButton& button = mdiButtons_[size_t(index)];
  button.Down = false;
  RedrawRect(button.Rect);
  // The command runs when the release is over the pressed button.
  if (Button == mbLeft && button.Enabled && button.Rect.Contains({X, Y})) MDIButtonCommand(button.Kind);
}

// The commands of the MDI buttons, on the maximised child: through its
// controller when it has one (which keeps the child's window states), else
// on the form. The child, the bar or the form may be gone afterwards.
void TqzSkinMainMenuBar::MDIButtonCommand(TqzMDIButtonKind kind) {
  TCustomForm* child = MaximizedMDIChild();
  if (!child) return;
  TqzOrvane* controller = nullptr;
  for (int i = 0; i < child->ComponentCount() && !controller; ++i)
    controller = dynamic_cast<TqzOrvane*>(child->Components(i));
  switch (kind) {
    case TqzMDIButtonKind::Close:
      child->Close();
      return;
    case TqzMDIButtonKind::Restore:
      if (controller) controller->Restore();
      else child->SetWindowState(wsNormal);
      return;
    case TqzMDIButtonKind::Minimize:
      if (controller) controller->Minimize();
      else child->SetWindowState(wsMinimized);
      return;
    case TqzMDIButtonKind::SysMenu: {
      if (!controller) return;
      TRect r;
      for (const auto& b : mdiButtons_)
        if (b.Kind == kind) r = b.Rect;
      const TPoint p = ClientToScreen(popupToUp_ ? r.TopLeft() : TPoint{r.Left, r.Bottom});
      controller->SystemMenuPopup(p.X, p.Y);
      return;
    }
  }
}

// ---------------------------------------------------------------------------
// Items and their menus

bool TqzSkinMainMenuBar::Selectable(int index) const {
  if (index < 0 || index >= int(items_.size())) return false;
  const auto& item = items_[size_t(index)];
  return item.Visible && item.Enabled && item.Item;
}

int TqzSkinMainMenuBar::NextSelectable(int from, int step) const {
  const int n = int(items_.size());
  for (int k = 1; k <= n; ++k) {
    const int i = ((from + step * k) % n + n) % n;
    if (Selectable(i)) return i;
  }
  return -1;
}

void TqzSkinMainMenuBar::PressItem(int index, bool byKeyboard) {
  if (!Selectable(index)) return;
  TComponentRef<TqzSkinMainMenuBar> self(this);
  TqzSkinMainMenuBarItem& item = items_[size_t(index)];
  TComponentRef<TMenuItem> menuItem = item.Item;
  const std::string id = item.IDName;
  if (OnMainMenuItemClick) OnMainMenuItemClick(this, id);
  if (!self || !menuItem) return;
  if (!menuItem->HasShownItems()) {
    // A command (or an item whose sub-items are all hidden): the menu mode
    // ends, then the command runs.
    const bool wasKeyboard = KeyboardMode();
    CloseMenu();
    if (!self) return;
    if (wasKeyboard) LeaveKeyboardMode();
    if (!self) return;
    if (orvane_) orvane_->LeaveMainMenuMode();
    if (self && menuItem) menuItem->Click();
    return;
  }
  if (down_ >= 0 && down_ != index) {
    const int old = down_;
    down_ = -1;
    CloseOpenMenu();
    if (!self) return;
    ReleaseDown(old);
  }
  menuItem->Click();
  if (!self || !menuItem || index >= int(items_.size())) return;
  SetHot(index);
  items_[size_t(index)].Down = true;
  down_ = index;
  RedrawItem(index);
  if (orvane_) orvane_->EnterMainMenuMode();
  if (!self) return;
  (void)byKeyboard;
  PopupItem(index);
}

void TqzSkinMainMenuBar::ReleaseDown(int index) {
  if (index < 0 || index >= int(items_.size())) return;
  TqzSkinMainMenuBarItem& item = items_[size_t(index)];
  if (!item.Down) return;
  item.Down = false;
  const TqzDataSkinMainMenuItem* d = ItemData();
  if (d && !d->AnimateSkinRect.IsEmpty() && d->FrameCount > 0 && d->InActiveAnimation) {
    item.FrameIndex = d->FrameCount + 1;
    item.FrameStep = -1;
    StartTimer(kFrameTimerId, 25, frameTimer_);
  } else if (d && d->Morphing && !item.Active) {
    item.MorphKf = 1;
    item.MorphStep = -1;
    StartTimer(kMorphTimerId, 25, morphTimer_);
  }
  RedrawItem(index);
}

void TqzSkinMainMenuBar::PopupItem(int index) {
  TMenuItem* menuItem = items_[size_t(index)].Item.Get();
  if (menuItem) ShowMenu(*menuItem, items_[size_t(index)].Rect);
}

// Opens the sub-items of `items` below (or above) a rectangle of the bar.
void TqzSkinMainMenuBar::ShowMenu(TMenuItem& items, const TRect& clientRect) {
  // The menu takes the button's release: the press is over.
  pressed_ = -1;
  StartTimer(kHotTimerId, 50, hotTimer_);
  const TPoint topLeft = ClientToScreen(clientRect.TopLeft());
  const TRect anchor{topLeft.X, topLeft.Y, topLeft.X + clientRect.Width(), topLeft.Y + clientRect.Height()};
  TqzMenuRoute route = FindMenuRoute(this);
  if (orvane_) route.Menu = &orvane_->SkinMenu();
  if (route.Menu) {
    TComponentRef<TqzSkinMainMenuBar> self(this);
    engine_ = route.Menu;
    TqzSkinData* skin = SkinData() ? SkinData() : route.SkinData;
    // Open before it shows: the menu takes the focus from the bar, which
    // must not read that as the end of its keyboard mode.
    engineOpen_ = true;
    route.Menu->Popup(this, skin, 0, anchor, items, popupToUp_);
    if (!self) return;
    if (!engine_ || !engine_->Visible()) {
      engineOpen_ = false;
      return;
    }
    engine_->OnSideKey = [self](uint16_t key) {
      if (!self) return;
      if (key == VK_LEFT)
        self->PreviousItem();
      else
        self->NextItem();
    };
    return;
  }
  if (!Application) return;
  // Owned by the application: the window deletes itself when it closes.
  auto* window = new TPopupMenuWindow(Application, &items);
  popup_ = window;
  const int y = popupToUp_ ? anchor.Top - window->MeasureSize().cy : anchor.Bottom;
  window->Popup({anchor.Left, y});
}

void TqzSkinMainMenuBar::PopupOverflow() {
  if (!Application) return;
  const std::vector<TMenuItem*> hidden = HiddenItems();
  if (hidden.empty()) return;
  CloseMenu();
  // Stand-ins carry the hidden items' captions; choosing one runs the
  // real item's command, or opens its menu through the real sub-items.
  overflowItems_ = std::make_unique<TMenuItem>(nullptr);
  // Each stand-in's level reduces separators as the real item's does.
  auto reduction = [](const TMenuItem& m) { return m.ReducesLines() ? maAutomatic : maManual; };
  for (TMenuItem* real : hidden) {
    auto* proxy = new TMenuItem(nullptr);
    proxy->SetCaption(real->Caption());
    proxy->SetEnabled(real->Enabled());
    proxy->SetAutoLineReduction(reduction(*real));
    TComponentRef<TMenuItem> target(real);
    proxy->OnClick = [target](TObject*) {
      if (target) target->Click();
    };
    for (int i = 0; i < real->Count(); ++i) {
      TMenuItem* sub = real->Items(i);
      auto* subProxy = new TMenuItem(nullptr);
      subProxy->SetCaption(sub->Caption());
      subProxy->SetEnabled(sub->Enabled());
      subProxy->SetVisible(sub->Visible());
      TComponentRef<TMenuItem> subTarget(sub);
      subProxy->OnClick = [subTarget](TObject*) {
        if (subTarget) subTarget->Click();
      };
      proxy->Add(subProxy);
    }
    overflowItems_->Add(proxy);
  }
  ShowMenu(*overflowItems_, MarkerRect());
}

bool TqzSkinMainMenuBar::MenuOpen() const {
  return (engineOpen_ && engine_ && engine_->Visible()) || (popup_ && popup_->IsOpen());
}

void TqzSkinMainMenuBar::CloseOpenMenu() {
  TComponentRef<TqzSkinMainMenuBar> self(this);
  if (engineOpen_ && engine_) {
    engineOpen_ = false;
    engine_->CloseAll();
  }
  if (self && popup_) popup_->CloseMenu();
}

// A menu closed by itself (a command, Escape, a click elsewhere) returns its
// item to the normal look.
void TqzSkinMainMenuBar::MenuWatch() {
  if (MenuOpen()) return;
  if (down_ >= 0) {
    const int index = std::exchange(down_, -1);
    ReleaseDown(index);
    if (!KeyboardMode() && orvane_) orvane_->LeaveMainMenuMode();
  }
  if (overflowItems_ && !MenuOpen()) overflowItems_.reset();
}

void TqzSkinMainMenuBar::CloseMenu() {
  TComponentRef<TqzSkinMainMenuBar> self(this);
  CloseOpenMenu();
  if (!self) return;
  if (down_ >= 0) ReleaseDown(std::exchange(down_, -1));
}

// ---------------------------------------------------------------------------
// Keyboard

void TqzSkinMainMenuBar::EnterKeyboardMode() {
  if (items_.empty()) return;
  TComponentRef<TqzSkinMainMenuBar> self(this);
  mode_ = TqzMenuBarMode::Keyboard;
  int start = down_ >= 0 ? down_ : (Selectable(0) ? 0 : NextSelectable(0, 1));
  SetHot(start);
  if (!self) return;
  if (HandleAllocated() && CanFocus()) {
    focusBefore_ = GetFocus();
    SetFocus();
  }
  if (orvane_) orvane_->EnterMainMenuMode();
  Invalidate();
}

void TqzSkinMainMenuBar::LeaveKeyboardMode() {
  if (!KeyboardMode()) return;
  TComponentRef<TqzSkinMainMenuBar> self(this);
  mode_ = TqzMenuBarMode::Normal;
  CloseMenu();
  if (!self) return;
  if (ItemAt(lastPoint_) != hot_) SetHot(-1);
  if (!self) return;
  const HWND back = std::exchange(focusBefore_, nullptr);
  if (back && IsWindow(back) && Focused()) ::qz::SetFocus(back);
  if (!self) return;
  if (orvane_) orvane_->LeaveMainMenuMode();
  if (self) Invalidate();
}

bool TqzSkinMainMenuBar::AcceleratorTest(char32_t ch) {
  if (!Visible()) return false;
  if (const TCustomForm* form = GetParentForm(this); form && !form->Visible()) return false;
  for (size_t i = 0; i < items_.size(); ++i) {
    const auto& item = items_[i];
    if (!Selectable(int(i)) || !IsAccel(ch, item.Item->Caption())) continue;
    TComponentRef<TqzSkinMainMenuBar> self(this);
    const bool command = !item.Item->HasShownItems();
    if (!KeyboardMode()) EnterKeyboardMode();
    if (!self) return true;
    SetHot(int(i));
    if (self) PressItem(int(i), true);
    if (self && command) LeaveKeyboardMode();
    return true;
  }
  return false;
}

void TqzSkinMainMenuBar::NextItem() {
  const int from = down_ >= 0 ? down_ : hot_;
  if (from >= 0 && overflow_ && NextSelectable(from, 1) <= from && !HiddenItems().empty()) {
    PopupOverflow();
    return;
  }
  const int next = NextSelectable(from < 0 ? -1 : from, 1);
  if (next < 0) return;
  if (down_ >= 0)
    PressItem(next, true);
  else
    SetHot(next);
}

void TqzSkinMainMenuBar::PreviousItem() {
  const int from = down_ >= 0 ? down_ : hot_;
  const int previous = NextSelectable(from < 0 ? 0 : from, -1);
  if (previous < 0) return;
  if (down_ >= 0)
    PressItem(previous, true);
  else
    SetHot(previous);
}

void TqzSkinMainMenuBar::KeyDown(uint16_t& key, TShiftState shift) {
  if (!KeyboardMode()) {
    TqzSkinCustomControl::KeyDown(key, shift);
    return;
  }
  switch (key) {
    case VK_RIGHT: NextItem(); break;
    case VK_LEFT: PreviousItem(); break;
    case VK_DOWN:
    case VK_RETURN:
    case VK_SPACE:
      if (hot_ >= 0) PressItem(hot_, true);
      break;
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10: LeaveKeyboardMode(); break;
    default: {
      // A letter picks the item with that accelerator, as Alt + letter does.
      if (key >= 'A' && key <= 'Z' && !AcceleratorTest(char32_t(key - 'A' + 'a'))) return;
      if (key >= '0' && key <= '9') AcceleratorTest(char32_t(key));
      break;
    }
  }
  key = 0;
}

}  // namespace qz
