// Mouse, keyboard, scrolling and item morphing of a popup menu level.
#include <algorithm>
#include <cctype>

#include "host/ui/Windows.h"
#include "skin/popups/SkinMenu.h"
#include "skin/popups/SkinPopupWindow.h"

namespace qz {

namespace {

constexpr double kMorphStep = 0.2;
constexpr unsigned kMorphIntervalMs = 20;

}  // namespace

// ---------------------------------------------------------------------------
// Messages: the root level holds capture and focus and hands the input on.

void TqzSkinPopupWindow::Dispatch(TMessage& m) {
  // Closed, or its engine went: the window waits for its deferred delete and
  // takes no more input.
  const bool inert = closing_ || !menu_;
  switch (m.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
      if (!inert) RouteMouse(m.Msg, ClientToScreen({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}));
      return;
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      // Enter, Escape and letters act on their characters, the last message
      // of the key, so nothing of the key reaches the control that gets the
      // focus back.
      const auto key = static_cast<uint16_t>(m.WParam);
      if (!inert && (key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN))
        menu_->HandleKey(key);
      return;
    }
    case WM_CHAR:
    case WM_SYSCHAR: {
      const auto ch = static_cast<char32_t>(m.WParam);
      if (inert || ch >= 128) return;
      if (ch == '\r' || ch == 27 || ch > ' ') menu_->HandleKey(static_cast<uint16_t>(std::toupper(static_cast<int>(ch))));
      return;
    }
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      return;
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTALLKEYS | DLGC_WANTCHARS;
      return;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_ACTIVATEAPP:
    case WM_KILLFOCUS:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      // Another window took the keyboard or the pointer: the menu gives up.
      if (!inert && input_.Lost(m)) menu_->CloseAll();
      if (m.Msg == WM_CAPTURECHANGED || m.Msg == WM_CANCELMODE) return;
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(m);
}

void TqzSkinPopupWindow::RouteMouse(uint32_t msg, TPoint screen) {
  TqzSkinPopupWindow* level = menu_->LevelAt(screen);
  switch (msg) {
    case WM_MOUSEMOVE:
      // Every level the pointer is not over stops scrolling, also when it
      // is over another level.
      for (int i = 0; i < menu_->LevelCount(); ++i)
        if (TqzSkinPopupWindow* w = menu_->Level(i); w && w != level && w->marker_ != TqzScrollMarker::None)
          w->MarkerHover({-1, -1});
      if (level) level->HoverAt(level->ScreenToClient(screen));
      return;
    case WM_LBUTTONUP: {
      // Only a click that began in the menu counts, not the release of the
      // press that opened it.
      const bool pressed = std::exchange(pressed_, false);
      if (pressed && level) level->ReleaseAt(level->ScreenToClient(screen));
      return;
    }
    default:
      if (level == nullptr) {
        menu_->CloseAll();  // a press outside every level: no command, the press is eaten
        return;
      }
      pressed_ = msg == WM_LBUTTONDOWN;
  }
}

// ---------------------------------------------------------------------------
// Mouse

void TqzSkinPopupWindow::HoverAt(TPoint client) {
  if (!menu_) return;
  TComponentRef<TqzSkinPopupWindow> self(this);
  if (scrollMode_) {
    MarkerHover(client);
    if (!self || closing_) return;
  }
  const int index = ItemAt(client);
  if (index < 0) return;
  TqzSkinMenuItem& item = Item(index);
  if (index == active_) {
    if (!item.KeyboardSelected) return;
    item.KeyboardSelected = false;
    if (item.HasChildren()) SelectItem(index, false);
    return;
  }
  if (!item.Selectable()) return;
  const int previous = active_;
  if (previous >= 0 && Item(previous).Selectable()) DeselectItem(previous);
  if (!self || closing_) return;
  SelectItem(index, false);
}

void TqzSkinPopupWindow::ReleaseAt(TPoint client) {
  const int index = ItemAt(client);
  if (index < 0 || index != active_ || Item(index).IsSeparator()) return;
  ActivateItem(index);
}

void TqzSkinPopupWindow::MarkerHover(TPoint client) {
  if (!menu_) return;
  const TRect top{itemsArea_.Left, itemsArea_.Top, itemsArea_.Right, itemsArea_.Top + kScrollMarkerHeight};
  const TRect bottom{itemsArea_.Left, itemsArea_.Bottom - kScrollMarkerHeight, itemsArea_.Right,
                     itemsArea_.Bottom};
  const bool moreBelow = ItemCount() > 0 && !Item(ItemCount() - 1).Visible;
  TqzScrollMarker hot = TqzScrollMarker::None;
  if (top.Contains(client) && firstVisible_ > 0) hot = TqzScrollMarker::Top;
  else if (bottom.Contains(client) && moreBelow) hot = TqzScrollMarker::Bottom;
  if (hot == marker_) return;
  marker_ = hot;
  RepaintMarkers();
  if (hot == TqzScrollMarker::None) {
    scrollTimer_->SetEnabled(false);
    return;
  }
  menu_->CloseFrom(menu_->LevelOf(this) + 1);
  scrollTimer_->SetEnabled(true);
}

void TqzSkinPopupWindow::OnScrollTimer() {
  const int step = marker_ == TqzScrollMarker::Top ? -1 : marker_ == TqzScrollMarker::Bottom ? 1 : 0;
  if (step == 0 || !ScrollBy(step)) {
    scrollTimer_->SetEnabled(false);
    marker_ = TqzScrollMarker::None;
    RepaintMarkers();
  }
}

bool TqzSkinPopupWindow::ScrollBy(int step) {
  const int next = firstVisible_ + step;
  if (next < 0 || next > LargestFirstIndex()) return false;
  firstVisible_ = next;
  LayoutItems();
  Invalidate();
  return true;
}

// ---------------------------------------------------------------------------
// Selection

void TqzSkinPopupWindow::SelectItem(int index, bool immediate) {
  if (!menu_) return;
  if (index < 0 || index >= ItemCount()) return;
  TComponentRef<TqzSkinPopupWindow> self(this);
  active_ = index;
  TqzSkinMenuItem& item = Item(index);
  item.Active = true;
  item.Frame = 0;
  for (int i = 0; i < ItemCount(); ++i) {
    if (i == index || !Item(i).Down) continue;
    Item(i).Down = false;
    RepaintItem(i);
  }
  hint_ = item.MenuItem ? item.MenuItem->Hint() : std::string();
  if (item.KeyboardSelected && !immediate) {
    RepaintItem(index);
    return;
  }
  if (item.Down) {
    if (menu_) menu_->CloseFrom(menu_->LevelOf(this) + 2);
    return;
  }
  RepaintItem(index);
  if (self && !closing_ && menu_) menu_->ReportItem(*this, index, immediate, false);
}

void TqzSkinPopupWindow::DeselectItem(int index) {
  if (!menu_) return;
  if (index < 0 || index >= ItemCount()) return;
  TqzSkinMenuItem& item = Item(index);
  item.Active = false;
  item.KeyboardSelected = false;
  if (active_ == index) active_ = -1;
  // The animation plays back from the active look, or stops at once. The
  // looks are looked up again first: the skin may have been reloaded since.
  ResolveLooks();
  if (Animates()) item.Frame = itemData_->InActiveAnimation ? itemData_->FrameCount + 1 : 0;
  if (!item.Down) RepaintItem(index);
  menu_->CancelWait(item.MenuItem.Get());
}

void TqzSkinPopupWindow::ActivateItem(int index) {
  if (!menu_) return;
  if (index < 0 || index >= ItemCount()) return;
  const TqzSkinMenuItem& item = Item(index);
  if (item.Down || !item.Enabled()) return;
  menu_->ReportItem(*this, index, false, true);
}

void TqzSkinPopupWindow::ClearDownMarks() {
  for (int i = 0; i < ItemCount(); ++i) {
    if (!Item(i).Down) continue;
    Item(i).Down = false;
    RepaintItem(i);
  }
}

// ---------------------------------------------------------------------------
// Keys

void TqzSkinPopupWindow::HandleKey(uint16_t key) {
  if (!menu_) return;
  if (closing_ || !visible_) return;
  TComponentRef<TqzSkinPopupWindow> self(this);
  for (int i = 0; i < ItemCount(); ++i) {
    const TqzSkinMenuItem& item = Item(i);
    if (item.IsSeparator() || !item.MenuItem || key < 'A' || key > 'Z') continue;
    if (GetHotkey(item.MenuItem->Caption()) != static_cast<char>(key)) continue;
    const int previous = active_;
    if (previous != i) {
      if (previous >= 0) DeselectItem(previous);
      Item(i).KeyboardSelected = true;
      SelectItem(i, false);
    }
    if (self && !closing_) ActivateItem(i);
    return;
  }
  const int depth = menu_->LevelOf(this);
  switch (key) {
    case VK_RETURN:
      if (active_ >= 0) ActivateItem(active_);
      return;
    case VK_LEFT:
      if (depth < 1) {
        LeaveSideways(VK_LEFT);
        return;
      }
      [[fallthrough]];
    case VK_ESCAPE:
      if (depth > 0)
        if (TqzSkinPopupWindow* parent = menu_->Level(depth - 1); parent && parent->active_ >= 0) {
          parent->Item(parent->active_).Down = false;
          parent->RepaintItem(parent->active_);
        }
      menu_->CloseFrom(depth);
      return;
    case VK_RIGHT:
      if (active_ >= 0 && Item(active_).HasChildren())
        ActivateItem(active_);
      else
        LeaveSideways(VK_RIGHT);
      return;
    case VK_DOWN:
      StepActive(1);
      return;
    case VK_UP:
      StepActive(-1);
      return;
    default:
      return;
  }
}

// The menu's side-key handler may close this chain and open another; it is
// copied first, as opening the next menu sets a new one, and nothing of this
// window is used after it.
void TqzSkinPopupWindow::LeaveSideways(uint16_t key) {
  if (!menu_) return;
  if (std::function<void(uint16_t)> handler = menu_->OnSideKey) handler(key);
}

// Moves the active item to the next selectable one in `step`'s direction,
// wrapping round and scrolling it into view.
void TqzSkinPopupWindow::StepActive(int step) {
  const int count = ItemCount();
  if (count == 0) return;
  int index = active_ < 0 ? (step > 0 ? 0 : count - 1) : active_ + step;
  for (int tries = 0; tries < count; ++tries, index += step) {
    index = (index % count + count) % count;
    if (Item(index).Selectable()) break;
  }
  index = (index % count + count) % count;
  if (!Item(index).Selectable() || index == active_) return;
  if (scrollMode_) {
    if (index < firstVisible_ || !Item(index).Visible) {
      firstVisible_ = step > 0 ? std::min(std::max(0, index - VisibleCountFrom(index, -1) + 1), LargestFirstIndex())
                               : std::min(index, LargestFirstIndex());
      LayoutItems();
      Invalidate();
    }
  }
  const int previous = active_;
  if (previous >= 0) DeselectItem(previous);
  Item(index).KeyboardSelected = true;
  SelectItem(index, true);
}

// How many items, from `index` walking in `step`'s direction, fit between
// the scroll markers.
int TqzSkinPopupWindow::VisibleCountFrom(int index, int step) const {
  int room = itemsArea_.Height() - 2 * kScrollMarkerHeight;
  int n = 0;
  for (int i = index; i >= 0 && i < ItemCount(); i += step) {
    room -= Item(i).ItemRect.Height();
    if (room < 0) break;
    ++n;
  }
  return std::max(n, 1);
}

// ---------------------------------------------------------------------------
// Morphing: the active look fades in and out in steps of 0.2 every 20 ms;
// or, with an animation picture, its frames step on the animation interval.

bool TqzSkinPopupWindow::Morphs() const {
  return itemData_ && itemData_->Morphing && itemPicture_ && skinData_ && skinData_->EnableSkinEffects &&
         !Animates();
}

bool TqzSkinPopupWindow::Animates() const {
  return itemData_ && itemPicture_ && skinData_ && skinData_->EnableSkinEffects &&
         !itemData_->AnimateSkinRect.IsEmpty() && itemData_->FrameCount > 0;
}

void TqzSkinPopupWindow::RepaintItem(int index) {
  if (index < 0 || index >= ItemCount() || !HandleAllocated()) return;
  ResolveLooks();
  TqzSkinMenuItem& item = Item(index);
  if (Animates() && !item.IsSeparator()) {
    morphTimer_->SetInterval(static_cast<unsigned>(std::max(1, itemData_->AnimateInterval)));
    morphTimer_->SetEnabled(true);
  } else if (Morphs() && !item.IsSeparator()) {
    morphTimer_->SetInterval(kMorphIntervalMs);
    morphTimer_->SetEnabled(true);
  } else {
    item.Morph = item.Active || item.Down ? 1 : 0;
  }
  if (!item.Visible) return;
  const TRect r = item.ItemRect;
  InvalidateRect(Handle(), &r, false);
}

void TqzSkinPopupWindow::OnMorphTimer() {
  ResolveLooks();
  if (Animates()) {
    if (!StepFrames()) morphTimer_->SetEnabled(false);
    return;
  }
  bool changed = false;
  for (int i = 0; i < ItemCount(); ++i) {
    TqzSkinMenuItem& item = Item(i);
    if (item.IsSeparator()) continue;
    const double target = item.Active || item.Down ? 1.0 : 0.0;
    if (item.Morph == target) continue;
    item.Morph = target > item.Morph ? std::min(1.0, item.Morph + kMorphStep) : std::max(0.0, item.Morph - kMorphStep);
    // Steps of 0.2 land on exact multiples only approximately.
    if (std::abs(item.Morph - target) < 1e-9) item.Morph = target;
    changed = true;
    if (item.Visible && HandleAllocated()) InvalidateRect(Handle(), &item.ItemRect, false);
  }
  if (!changed) morphTimer_->SetEnabled(false);
}

// One tick of the frame animation: a lit item counts up to one past the
// last frame, a dark one back down to 0. False when nothing moved.
bool TqzSkinPopupWindow::StepFrames() {
  const int last = itemData_->FrameCount;
  bool changed = false;
  for (TqzSkinMenuItem& item : items_) {
    if (item.IsSeparator()) continue;
    const int before = item.Frame;
    if (item.Active || item.Down) {
      if (item.Frame <= last) ++item.Frame;
    } else if (item.Frame > 0) {
      item.Frame = itemData_->InActiveAnimation ? item.Frame - 1 : 0;
    }
    if (item.Frame == before) continue;
    changed = true;
    if (item.Visible && HandleAllocated()) InvalidateRect(Handle(), &item.ItemRect, false);
  }
  return changed;
}

void TqzSkinPopupWindow::RepaintMarkers() {
  if (!HandleAllocated()) return;
  const TRect top{0, 0, size_.cx, itemsArea_.Top + kScrollMarkerHeight};
  const TRect bottom{0, itemsArea_.Bottom - kScrollMarkerHeight, size_.cx, size_.cy};
  InvalidateRect(Handle(), &top, false);
  InvalidateRect(Handle(), &bottom, false);
}

}  // namespace qz
