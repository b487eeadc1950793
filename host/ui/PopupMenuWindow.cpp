#include "host/ui/PopupMenuWindow.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "host/ui/WindowSystem.h"

namespace qz {

namespace {

TFontStyles ItemFontStyle(const TMenuItem& item) {
  return item.Default() ? TFontStyles{TFontStyle::fsBold} : TFontStyles{};
}

}  // namespace

TPopupMenuWindow::TPopupMenuWindow(TComponent* AOwner, TMenuItem* source)
    : TCustomControl(AOwner), source_(source) {
  visible_ = false;
  color_ = clMenu;
  controlStyle_ = {csOpaque};
}

TPopupMenuWindow::~TPopupMenuWindow() {
  // Input must not stay with a window that is gone; the window system drops
  // capture and focus with the handle, the children go with their owner.
  closing_ = true;
}

void TPopupMenuWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style = WS_POPUP;
  params.ExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  params.WindowClassStyle = CS_SAVEBITS | CS_DROPSHADOW;  // no double clicks: two clicks are two clicks
}

// ---------------------------------------------------------------- items and geometry

void TPopupMenuWindow::BuildRows() {
  rows_.clear();
  textWidth_ = shortCutWidth_ = 0;
  if (!source_) return;
  TCanvas measure;
  measure.Font().Assign(Font());
  const int itemHeight = std::max(kMinItemHeight, measure.TextHeight("Ag") + 6);
  int top = kBorder;
  for (TMenuItem* item : source_->ShownItems()) {
    const int height = item->IsLine() ? kSeparatorHeight : itemHeight;
    rows_.push_back({item, top, height});
    top += height;
    if (item->IsLine()) continue;
    measure.Font().SetStyle(ItemFontStyle(*item));
    textWidth_ = std::max(textWidth_, measure.TextWidth(StripHotkey(item->Caption())));
    shortCutWidth_ = std::max(shortCutWidth_, measure.TextWidth(ShortCutToText(item->ShortCut())));
  }
}

TSize TPopupMenuWindow::MeasureSize() {
  BuildRows();
  int width = kGutter + textWidth_ + (shortCutWidth_ > 0 ? kShortCutGap + shortCutWidth_ : 0) + kArrowColumn;
  int height = rows_.empty() ? kMinItemHeight : rows_.back().top + rows_.back().height - kBorder;
  return {width + 2 * kBorder, height + 2 * kBorder};
}

TMenuItem* TPopupMenuWindow::Item(int index) const {
  if (index < 0 || index >= ItemCount()) return nullptr;
  return rows_[static_cast<size_t>(index)].item.Get();
}

TRect TPopupMenuWindow::ItemRect(int index) const {
  if (index < 0 || index >= ItemCount()) return {};
  const TRow& row = rows_[static_cast<size_t>(index)];
  return {kBorder, row.top, std::max(kBorder, Width() - kBorder), row.top + row.height};
}

int TPopupMenuWindow::ItemAt(TPoint client) const {
  for (int i = 0; i < ItemCount(); ++i)
    if (PtInRect(ItemRect(i), client)) return i;
  return -1;
}

bool TPopupMenuWindow::Selectable(int index) const {
  const TMenuItem* item = Item(index);
  return item != nullptr && !item->IsLine() && item->Enabled() && item->Visible();
}

bool TPopupMenuWindow::HasSubItems(int index) const {
  const TMenuItem* item = Item(index);
  return item != nullptr && item->HasShownItems();
}

// The next selectable row from `from` in direction `step`, wrapping round;
// -1 when there is none.
int TPopupMenuWindow::NextSelectable(int from, int step) const {
  const int count = ItemCount();
  if (count == 0) return -1;
  int index = from;
  for (int tries = 0; tries < count; ++tries) {
    index = index < 0 ? (step > 0 ? 0 : count - 1) : (index + step + count) % count;
    if (Selectable(index)) return index;
  }
  return -1;
}

void TPopupMenuWindow::SetHotIndex(int index) {
  if (!Selectable(index)) index = -1;
  if (index == hot_) return;
  const TRect old = ItemRect(hot_), now = ItemRect(index);
  hot_ = index;
  if (!HandleAllocated()) return;
  if (!IsRectEmpty(old)) InvalidateRect(Handle(), &old, false);
  if (!IsRectEmpty(now)) InvalidateRect(Handle(), &now, false);
}

// ---------------------------------------------------------------- the chain

TPopupMenuWindow* TPopupMenuWindow::Root() {
  TPopupMenuWindow* w = this;
  while (w->parent_) w = w->parent_.Get();
  return w;
}

TPopupMenuWindow* TPopupMenuWindow::Deepest() {
  TPopupMenuWindow* w = this;
  while (w->child_ && w->child_->open_) w = w->child_.Get();
  return w;
}

TPopupMenuWindow* TPopupMenuWindow::LevelAt(TPoint screen) {
  for (TPopupMenuWindow* w = Root()->Deepest(); w != nullptr; w = w->parent_.Get())
    if (PtInRect(w->BoundsRect(), screen)) return w;
  return nullptr;
}

void TPopupMenuWindow::ShowAt(TPoint topLeft) {
  TSize size = MeasureSize();
  SetBounds(topLeft.X, topLeft.Y, size.cx, size.cy);
  SetWindowPos(Handle(), HWND_TOPMOST, topLeft.X, topLeft.Y, size.cx, size.cy,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  open_ = true;
}

void TPopupMenuWindow::Popup(TPoint screen, TPopupAlignment alignment) {
  if (open_ || closing_) return;
  const TSize size = MeasureSize();
  if (!source_ || !source_->HasShownItems()) {
    // Nothing but separators, if anything: no window shows and no input is
    // taken.
    HideAndForget();
    return;
  }
  TPoint pos = screen;
  if (alignment == paRight) pos.X -= size.cx;
  if (alignment == paCenter) pos.X -= size.cx / 2;
  // Flip to the other side of the point rather than cover it, then keep the
  // top-left corner on the work area.
  const TRect work = WorkAreaNear(screen);
  if (pos.X + size.cx > work.Right) pos.X = screen.X - size.cx;
  if (pos.Y + size.cy > work.Bottom) pos.Y = screen.Y - size.cy;
  pos.X = std::max(pos.X, work.Left);
  pos.Y = std::max(pos.Y, work.Top);
  ShowAt(pos);
  // Taking the capture closes another open menu, which gives its focus
  // back first: the focus to return to is the one after that.
  TComponentRef<TPopupMenuWindow> self(this);
  SetCapture(Handle());
  if (!self || !open_) return;
  previousFocus_ = GetFocus();
  ::qz::SetFocus(Handle());
}

TPoint TPopupMenuWindow::SubmenuPosition(TSize size) const {
  const TRect bounds = BoundsRect();
  const TRect work = WorkAreaNear({bounds.Right, bounds.Top});
  const TRect item = ItemRect(hot_);
  // Beside the item, its first row level with the item; left of this level
  // when the right side has no room.
  TPoint pos{bounds.Right - kBorder, bounds.Top + item.Top - kBorder};
  if (pos.X + size.cx > work.Right) pos.X = bounds.Left - size.cx + kBorder;
  if (pos.Y + size.cy > work.Bottom) pos.Y = work.Bottom - size.cy;
  pos.X = std::max(pos.X, work.Left);
  pos.Y = std::max(pos.Y, work.Top);
  return pos;
}

void TPopupMenuWindow::OpenSubmenu(bool selectFirst) {
  if (!HasSubItems(hot_)) return;
  TMenuItem* item = Item(hot_);
  if (child_ && child_->open_ && child_->source_ == item) {
    if (selectFirst) child_->SetHotIndex(child_->NextSelectable(-1, 1));
    return;
  }
  CloseSubmenu();
  auto* child = new TPopupMenuWindow(Owner(), item);
  child->parent_ = this;
  child_ = child;
  child->Font().Assign(Font());
  child->ShowAt(SubmenuPosition(child->MeasureSize()));
  if (selectFirst) child->SetHotIndex(child->NextSelectable(-1, 1));
}

void TPopupMenuWindow::CloseSubmenu() {
  if (!child_) return;
  child_->CloseSubmenu();
  child_->HideAndForget();
  child_ = nullptr;
}

void TPopupMenuWindow::HideAndForget() {
  closing_ = true;
  open_ = false;
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  WindowSystem().DeferDelete(this);
}

void TPopupMenuWindow::CloseMenu() {
  TPopupMenuWindow* root = Root();
  if (root != this) {
    root->CloseMenu();
    return;
  }
  if (closing_) return;
  CloseSubmenu();
  const HWND self = HWND(this);
  HideAndForget();
  if (GetCapture() == self) ReleaseCapture();
  // Giving the focus back reaches the control's handlers; nothing of this
  // window is touched afterwards.
  if (GetFocus() == self) ::qz::SetFocus(IsWindow(previousFocus_) ? previousFocus_ : nullptr);
}

void TPopupMenuWindow::ChooseItem(int index) {
  if (!Selectable(index) || HasSubItems(index)) return;
  TComponentRef<TMenuItem> chosen = Item(index);
  CloseMenu();
  // The handler may free the menu, its owner form or this window.
  if (chosen) chosen->Click();
}

// ---------------------------------------------------------------- input

void TPopupMenuWindow::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: {
      if (closing_) return;
      const TPoint screen = ClientToScreen({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (m.Msg == WM_MOUSEMOVE) Root()->MouseMoved(screen);
      else if (m.Msg == WM_LBUTTONUP) Root()->ButtonUp(screen);
      else Root()->ButtonDown(screen, m.Msg == WM_LBUTTONDOWN);
      return;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!closing_) Root()->KeyDownInMenu(static_cast<uint16_t>(m.WParam));
      return;
    case WM_CHAR:
    case WM_SYSCHAR:
      if (!closing_) Root()->CharInMenu(static_cast<char32_t>(m.WParam));
      return;
    case WM_MOUSEACTIVATE:
      m.Result = MA_NOACTIVATE;
      return;
    case WM_GETDLGCODE:
      m.Result = DLGC_WANTALLKEYS | DLGC_WANTCHARS;
      return;
    case WM_ACTIVATEAPP:
      // Another program took the focus: a menu closes, as native menus do.
      if (m.WParam == 0 && !closing_ && open_) CloseMenu();
      break;
    case WM_KILLFOCUS:
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      // Another window took the keyboard or the pointer (activation moved
      // elsewhere, another menu opened): the menu gives up.
      if (!closing_ && open_) CloseMenu();
      if (m.Msg != WM_KILLFOCUS) return;
      break;
    default:
      break;
  }
  TCustomControl::Dispatch(m);
}

void TPopupMenuWindow::MouseMoved(TPoint screen) {
  TPopupMenuWindow* level = LevelAt(screen);
  if (level == nullptr) {
    // Off every window: the deepest level drops a hot item that opens nothing.
    TPopupMenuWindow* deepest = Deepest();
    if (!deepest->child_) deepest->SetHotIndex(-1);
    return;
  }
  const int index = level->ItemAt(level->ScreenToClient(screen));
  if (index < 0) return;  // on the border
  if (index == level->hot_ && level->child_) return;
  level->SetHotIndex(index);
  if (level->child_ && level->child_->source_ != level->Item(level->hot_)) level->CloseSubmenu();
  if (level->HasSubItems(level->hot_)) level->OpenSubmenu(false);
}

void TPopupMenuWindow::ButtonDown(TPoint screen, bool left) {
  if (LevelAt(screen) == nullptr) {
    CloseMenu();  // a click outside every menu window: no command, the click is eaten
    return;
  }
  pressed_ = left;
}

void TPopupMenuWindow::ButtonUp(TPoint screen) {
  // Only a click that began in the menu counts, not the release of the
  // press that opened it.
  if (!pressed_) return;
  pressed_ = false;
  TPopupMenuWindow* level = LevelAt(screen);
  if (level == nullptr) return;
  const int index = level->ItemAt(level->ScreenToClient(screen));
  if (!level->Selectable(index)) return;
  if (level->HasSubItems(index)) {
    level->SetHotIndex(index);
    level->OpenSubmenu(false);
    return;
  }
  level->ChooseItem(index);
}

void TPopupMenuWindow::KeyDownInMenu(uint16_t key) {
  TPopupMenuWindow* level = Deepest();
  switch (key) {
    case VK_DOWN:
      level->SetHotIndex(level->NextSelectable(level->hot_, 1));
      break;
    case VK_UP:
      level->SetHotIndex(level->NextSelectable(level->hot_, -1));
      break;
    case VK_RIGHT:
      level->OpenSubmenu(true);
      break;
    case VK_LEFT:
      if (level->parent_) level->parent_->CloseSubmenu();
      break;
    default:
      break;
  }
}

// Enter and Escape act on their characters, the last message of the key,
// so that nothing of the key reaches the control that gets the focus back.
void TPopupMenuWindow::CharInMenu(char32_t ch) {
  TPopupMenuWindow* level = Deepest();
  if (ch == 27) {
    if (level->parent_) level->parent_->CloseSubmenu();
    else CloseMenu();
    return;
  }
  if (ch == '\r') {
    if (level->HasSubItems(level->hot_)) level->OpenSubmenu(true);
    else level->ChooseItem(level->hot_);
    return;
  }
  level->ChooseByAccelerator(ch);
}

// A letter picks the item it is the accelerator of; when several items
// share it, the hot item moves to the next of them instead.
void TPopupMenuWindow::ChooseByAccelerator(char32_t ch) {
  if (ch >= 128 || ch <= ' ') return;
  const char wanted = static_cast<char>(std::toupper(static_cast<int>(ch)));
  std::vector<int> matches;
  for (int i = 0; i < ItemCount(); ++i)
    if (Selectable(i) && GetHotkey(Item(i)->Caption()) == wanted) matches.push_back(i);
  if (matches.empty()) return;
  if (matches.size() > 1) {
    auto next = std::upper_bound(matches.begin(), matches.end(), hot_);
    SetHotIndex(next == matches.end() ? matches.front() : *next);
    return;
  }
  SetHotIndex(matches.front());
  if (HasSubItems(hot_)) OpenSubmenu(true);
  else ChooseItem(hot_);
}

// ---------------------------------------------------------------- painting

void TPopupMenuWindow::Paint() {
  TCanvas& c = Canvas();
  const TRect client = ClientRect();
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(clMenu);
  c.FillRect(client);
  c.Brush().SetColor(clBtnShadow);
  c.FrameRect(client);
  for (int i = 0; i < ItemCount(); ++i)
    if (c.RectVisible(ItemRect(i))) PaintRow(c, i);
}

void TPopupMenuWindow::PaintRow(TCanvas& c, int index) {
  const TMenuItem* item = Item(index);
  const TRect r = ItemRect(index);
  if (item == nullptr) return;  // freed while shown: an empty row
  if (item->IsLine()) {
    const int y = r.Top + kSeparatorHeight / 2;
    c.Pen().SetColor(clBtnShadow);
    c.MoveTo(r.Left + 1, y);
    c.LineTo(r.Right - 1, y);
    c.Pen().SetColor(clBtnHighlight);
    c.MoveTo(r.Left + 1, y + 1);
    c.LineTo(r.Right - 1, y + 1);
    return;
  }
  const bool hot = index == hot_;
  const TColor text = !item->Enabled() ? clGrayText : hot ? clHighlightText : clMenuText;
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(hot ? clHighlight : clMenu);
  c.FillRect(r);
  PaintMark(c, {r.Left, r.Top, r.Left + kGutter, r.Bottom}, *item, text);

  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.Font().SetStyle(ItemFontStyle(*item));
  c.Font().SetColor(text);
  const TRect textRect{r.Left + kGutter, r.Top, r.Right - kArrowColumn, r.Bottom};
  c.DrawText(item->Caption(), textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (std::string shortCut = ShortCutToText(item->ShortCut()); !shortCut.empty())
    c.DrawText(shortCut, textRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  c.Font().SetStyle({});
  if (HasSubItems(index)) PaintArrow(c, {r.Right - kArrowColumn, r.Top, r.Right, r.Bottom}, text);
}

void TPopupMenuWindow::PaintMark(TCanvas& c, const TRect& gutter, const TMenuItem& item, TColor color) {
  if (!item.Checked()) return;
  const int cx = (gutter.Left + gutter.Right) / 2, cy = (gutter.Top + gutter.Bottom) / 2;
  if (item.RadioItem()) {
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    c.Brush().SetColor(color);
    c.Pen().SetColor(color);
    c.Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
    return;
  }
  // A tick three pixels thick.
  c.Pen().SetColor(color);
  for (int d = 0; d < 3; ++d) {
    c.MoveTo(cx - 3, cy - 1 + d);
    c.LineTo(cx - 1, cy + 1 + d);
    c.LineTo(cx + 4, cy - 4 + d);
  }
}

void TPopupMenuWindow::PaintArrow(TCanvas& c, const TRect& r, TColor color) {
  const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
  const std::array<TPoint, 3> points{TPoint{cx - 2, cy - 4}, TPoint{cx + 2, cy}, TPoint{cx - 2, cy + 4}};
  c.Brush().SetStyle(TBrushStyle::bsSolid);
  c.Brush().SetColor(color);
  c.Pen().SetColor(color);
  c.Polygon(points);
}

}  // namespace qz
