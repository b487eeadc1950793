#include "skin/popups/SkinPopupWindow.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "host/platform/Platform.h"
#include "host/ui/Application.h"
#include "host/ui/ImgList.h"
#include "host/ui/WindowSystem.h"
#include "host/ui/Windows.h"
#include "skin/draw/EffectBmp.h"
#include "skin/draw/QZUtils.h"
#include "skin/popups/SkinMenu.h"

namespace qz {

namespace {

constexpr unsigned kScrollIntervalMs = 100;
constexpr unsigned kMorphIntervalMs = 20;
constexpr unsigned kDeferredShowMs = 100;

TBitmap* PictureOf(const TqzSkinData& skin, int index) {
  return index >= 0 && index < skin.ActivePictureCount() ? skin.ActivePicture(index) : nullptr;
}

const TqzDataSkinMenuItem* FindItemLook(const TqzSkinData& skin) {
  for (const char* name : {"MENUITEM", "menuitem"}) {
    const int index = skin.FindObjectIndex(name);
    if (index < 0) continue;
    if (auto* d = dynamic_cast<const TqzDataSkinMenuItem*>(skin.ObjectList()[static_cast<size_t>(index)].get()))
      return d;
  }
  return nullptr;
}

}  // namespace

bool TqzSkinMenuItem::HasChildren() const { return MenuItem && MenuItem->HasShownItems(); }

TqzSkinPopupWindow::TqzSkinPopupWindow(TqzSkinMenu& menu, TqzSkinData* skinData, TMenuItem& source,
                                       int startIndex)
    : TCustomControl(Application), menu_(&menu), settings_(menu.Settings), workArea_(menu.WorkArea()),
      skinData_(skinData), source_(&source), startIndex_(std::max(startIndex, 0)) {
  visible_ = false;
  controlStyle_ = {csOpaque};
  ResolveLooks();
  scrollTimer_ = std::make_unique<TTimer>(nullptr);
  scrollTimer_->SetEnabled(false);
  scrollTimer_->SetInterval(kScrollIntervalMs);
  scrollTimer_->OnTimer = [this](TObject*) { OnScrollTimer(); };
  morphTimer_ = std::make_unique<TTimer>(nullptr);
  morphTimer_->SetEnabled(false);
  morphTimer_->SetInterval(kMorphIntervalMs);
  morphTimer_->OnTimer = [this](TObject*) { OnMorphTimer(); };
  showTimer_ = std::make_unique<TTimer>(nullptr);
  showTimer_->SetEnabled(false);
  showTimer_->SetInterval(kDeferredShowMs);
  showTimer_->OnTimer = [this](TObject*) { OnShowTimer(); };
}

void TqzSkinPopupWindow::SetItemList(const std::vector<TMenuItem*>& items) {
  explicitItems_ = true;
  itemList_.assign(items.begin(), items.end());
}

void TqzSkinPopupWindow::ResolveLooks() {
  windowData_ = nullptr;
  itemData_ = nullptr;
  windowPicture_ = maskPicture_ = itemPicture_ = nullptr;
  TqzSkinData* skin = skinData_.Get();
  if (skin == nullptr || skin->Empty()) return;
  const TqzDataSkinPopupWindow& w = skin->PopupWindow();
  windowPicture_ = PictureOf(*skin, w.WindowPictureIndex);
  if (windowPicture_) {
    windowData_ = &w;
    maskPicture_ = PictureOf(*skin, w.MaskPictureIndex);
  }
  itemData_ = FindItemLook(*skin);
  if (itemData_) itemPicture_ = PictureOf(*skin, itemData_->ActivePictureIndex);
}

TqzSkinPopupWindow::~TqzSkinPopupWindow() {
  closing_ = true;
  scrollTimer_->SetEnabled(false);
  morphTimer_->SetEnabled(false);
  showTimer_->SetEnabled(false);
}

void TqzSkinPopupWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  TqzPopupInput::SetWindowParams(params);
  // Every paint covers its whole area (background, items, markers) before
  // it blends anything over it.
  params.WindowClassStyle |= CS_OPAQUEPAINT;
}

// ---------------------------------------------------------------------------
// Items and size

int TqzSkinPopupWindow::ImageColumnWidth() const {
  TMenu* menu = source_ ? source_->GetParentMenu() : nullptr;
  TCustomImageList* images = menu ? menu->Images() : nullptr;
  return images ? images->Width() + 5 : 16;
}

int TqzSkinPopupWindow::ItemHeight(const TMenuItem& item) const {
  if (item.IsLine()) return itemData_ ? itemData_->DividerRect.Height() : 4;
  if (itemData_ && settings_.UseSkinSize) return itemData_->SkinRect.Height();
  return settings_.DefItemHeight;
}

// Measuring and drawing use the same font, character set included, so the
// captions fit the widths they were measured at.
void TqzSkinPopupWindow::SetItemFont(TCanvas& c) const { ApplyItemFont(c.Font()); }

void TqzSkinPopupWindow::ApplyItemFont(TFont& font) const {
  const TqzSkinMenuSettings& s = settings_;
  const TqzSkinData* skin = skinData_.Get();
  const TqzResourceStrData* strings = skin && !skin->Empty() ? skin->ResourceStrData() : nullptr;
  font.SetCharset(strings ? static_cast<TFontCharset>(strings->CharSet()) : s.DefFontCharset);
  if (itemData_ && s.UseSkinFont) {
    font.SetName(itemData_->FontName);
    font.SetHeight(itemData_->FontHeight);
    font.SetStyle(itemData_->FontStyle);
    return;
  }
  font.SetName(s.DefFontName);
  font.SetHeight(s.DefFontHeight);
  font.SetStyle(s.DefFontStyle);
}

// Every item's action updates first, as an update may hide or show the
// item (or free it); then the shown items are taken, without the separators
// that would lead, trail or double up. A menu that leaves reduction to the
// application has its lines rethought here, so skinned levels never show
// redundant separators whatever the setting.
void TqzSkinPopupWindow::BuildItems() {
  items_.clear();
  if (!source_) return;
  const int count = explicitItems_ ? static_cast<int>(itemList_.size()) : source_->Count();
  std::vector<TComponentRef<TMenuItem>> candidates;
  for (int i = startIndex_; i < count; ++i)
    candidates.emplace_back(explicitItems_ ? itemList_[static_cast<size_t>(i)].Get() : source_->Items(i));
  for (TComponentRef<TMenuItem>& item : candidates)
    if (item) item->InitiateAction();
  if (!source_) return;
  std::vector<TMenuItem*> present;
  for (const TComponentRef<TMenuItem>& item : candidates) present.push_back(item.Get());
  for (TMenuItem* item : ShownMenuItems(present, true)) {
    TqzSkinMenuItem entry;
    entry.MenuItem = item;
    items_.push_back(std::move(entry));
  }
}

// The widest caption (with two blanks and the short cut when it has one).
// Measured once per text and font, across openings, by the engine.
int TqzSkinPopupWindow::MeasureTextWidth() {
  TFont font;
  ApplyItemFont(font);
  TqzMenuTextWidths alone;
  TqzMenuTextWidths& widths = menu_ ? menu_->TextWidths() : alone;
  int widest = 0;
  for (const TqzSkinMenuItem& item : items_) {
    if (item.IsSeparator()) continue;
    std::string text = item.MenuItem->Caption();
    if (item.MenuItem->ShortCut() != scNone) text += "  " + ShortCutToText(item.MenuItem->ShortCut());
    widest = std::max(widest, widths.Width(font, text) + 2);
  }
  return widest;
}

void TqzSkinPopupWindow::MeasureWindow() {
  int width = MeasureTextWidth() + ImageColumnWidth() + 16;
  int height = 0;
  for (const TqzSkinMenuItem& item : items_) height += ItemHeight(*item.MenuItem);
  int margin = 2 * kPlainMenuMargin;
  if (windowData_) {
    const TRect& ir = windowData_->ItemsRect;
    if (itemData_) width += itemData_->TextRect.Left + itemData_->SkinRect.Width() - itemData_->TextRect.Right;
    width += windowPicture_->Width() + ir.Left - ir.Right;
    margin = windowPicture_->Height() - ir.Height();
  } else {
    width += 10;
  }
  height += margin;
  scrollMode_ = limitedMode_ = false;
  const int maxItems = settings_.MaxItemsInWindow;
  if (maxItems > 0 && maxItems < ItemCount()) {
    const int normal = itemData_ && settings_.UseSkinSize ? itemData_->SkinRect.Height()
                                                               : settings_.DefItemHeight;
    height = normal * maxItems + margin + 2 * kScrollMarkerHeight;
    scrollMode_ = limitedMode_ = true;
  }
  const TRect& work = workArea_;
  if (work.Height() > 0 && work.Height() < height) {
    height = work.Height();
    scrollMode_ = true;
  }
  size_ = {width, height};
  if (windowData_) {
    const TRect& ir = windowData_->ItemsRect;
    itemsArea_ = {ir.Left, ir.Top, width + ir.Right - windowPicture_->Width(),
                  height + ir.Bottom - windowPicture_->Height()};
  } else {
    itemsArea_ = {kPlainMenuMargin, kPlainMenuMargin, width - kPlainMenuMargin, height - kPlainMenuMargin};
  }
}

void TqzSkinPopupWindow::LayoutItems() {
  ResolveLooks();
  const int band = scrollMode_ ? kScrollMarkerHeight : 0;
  int top = itemsArea_.Top + band;
  bool fits = true;
  for (int i = 0; i < ItemCount(); ++i) {
    TqzSkinMenuItem& item = Item(i);
    // A freed item keeps the height it was laid out with.
    const int h = item.MenuItem ? ItemHeight(*item.MenuItem) : item.ItemRect.Height();
    if (i < firstVisible_) {
      // Scrolled off the top: keeps its height, out of the window.
      item.ItemRect = {itemsArea_.Left, -h, itemsArea_.Right, 0};
      item.Visible = false;
      continue;
    }
    item.ItemRect = {itemsArea_.Left, top, itemsArea_.Right, top + h};
    top += h;
    if (item.ItemRect.Bottom > itemsArea_.Bottom - band) fits = false;
    item.Visible = fits;
  }
}

int TqzSkinPopupWindow::LargestFirstIndex() const {
  int room = itemsArea_.Height() - 2 * kScrollMarkerHeight;
  int index = ItemCount();
  while (index > 0) {
    const int h = Item(index - 1).ItemRect.Height();
    if (h > room) break;
    room -= h;
    --index;
  }
  return index;
}

bool TqzSkinPopupWindow::HasCommandItems() const {
  return std::any_of(items_.begin(), items_.end(),
                     [](const TqzSkinMenuItem& i) { return i.MenuItem && !i.IsSeparator(); });
}

int TqzSkinPopupWindow::IndexOfItem(const TMenuItem* item) const {
  for (int i = 0; i < ItemCount(); ++i)
    if (Item(i).MenuItem.Get() == item) return i;
  return -1;
}

int TqzSkinPopupWindow::ItemAt(TPoint client) const {
  for (int i = 0; i < ItemCount(); ++i)
    if (Item(i).Visible && Item(i).ItemRect.Contains(client)) return i;
  return -1;
}

// ---------------------------------------------------------------------------
// Position and showing

TPoint TqzSkinPopupWindow::PlaceFor(const TRect& r, const TRect& w, bool submenu, bool popupToUp) const {
  const int width = size_.cx, height = size_.cy;
  const int middle = w.Top + w.Height() / 2;
  bool shifted = false;
  int y = 0;
  if (scrollMode_ && !limitedMode_) {
    y = w.Top;
  } else if (submenu) {
    if (r.Top + height - itemsArea_.Top <= w.Bottom) y = r.Top - itemsArea_.Top;
    else if (r.Top < middle) y = w.Bottom - height;
    else y = std::max(r.Bottom - height + itemsArea_.Top, w.Top);
  } else if (popupToUp) {
    if (r.Top - height >= w.Top) {
      y = r.Top - height;
    } else if (r.Top < middle) {
      if (r.Bottom + height <= w.Bottom) {
        y = r.Bottom;
      } else {
        y = w.Bottom - height;
        shifted = true;
      }
    } else {
      y = w.Top;
      shifted = true;
    }
  } else if (r.Bottom + height <= w.Bottom) {
    y = r.Bottom;
  } else if (r.Top < middle) {
    y = w.Bottom - height;
    shifted = true;
  } else {
    y = r.Top - height;
    if (y < w.Top) {
      y = w.Top;
      shifted = true;
    }
  }
  const bool plainScroll = scrollMode_ && !limitedMode_;
  int x = 0;
  if (!submenu && !shifted && !plainScroll) x = r.Left + width > w.Right ? w.Right - width : std::max(r.Left, w.Left);
  else x = r.Right + width + 1 <= w.Right ? r.Right + 1 : r.Left - width - 1;
  return {x, y};
}

// The window is cut to the mask before it first shows: the handle is made
// here when it does not exist yet.
void TqzSkinPopupWindow::ApplyMask() {
  if (!windowData_ || !maskPicture_) return;
  const TqzSkinGeometry g = windowData_->Geometry({0, 0, windowPicture_->Width(), windowPicture_->Height()});
  const TqzNewGeometry n = CalcNewGeometry(g, CalcResizeMode(g), size_.cx, size_.cy);
  if (std::optional<TRegion> region = CreateSkinRegion(g, n, size_.cx, size_.cy, *maskPicture_))
    SetWindowRgn(Handle(), std::move(*region), false);
}

void TqzSkinPopupWindow::ShowFor(const TRect& anchor, bool submenu, bool popupToUp) {
  if (!menu_) return;
  TComponentRef<TqzSkinPopupWindow> self(this);
  const TqzSkinMenuSettings& s = settings_;
  if (s.AlphaBlend && s.AlphaBlendAnimation && menu_->FirstShow() && Platform().SupportsPerPixelAlpha()) {
    // What is waiting (the paint of what opened the menu) is done before
    // the fade starts; a handler may close the menu meanwhile.
    Application->ProcessMessages();
    if (!self || !menu_ || closing_) return;
  }
  BuildItems();
  if (!menu_ || closing_) return;
  if (!HasCommandItems()) {
    // The actions hid what was to show: the level closes unseen.
    CloseWindow();
    return;
  }
  MeasureWindow();
  LayoutItems();
  const TPoint at = PlaceFor(anchor, workArea_, submenu, popupToUp);
  SetBounds(at.X, at.Y, size_.cx, size_.cy);
  ApplyMask();
  ApplyCursor();
  softwareAlpha_ = s.AlphaBlend && !Platform().SupportsPerPixelAlpha();
  if (softwareAlpha_) {
    // The screen is captured once the windows under the menu have painted.
    showAt_ = at;
    showTimer_->SetEnabled(true);
    return;
  }
  const bool fade = s.AlphaBlend && s.AlphaBlendAnimation && menu_->FirstShow();
  if (s.AlphaBlend) {
    SetWindowLong(Handle(), GWL_EXSTYLE, GetWindowLong(Handle(), GWL_EXSTYLE) | intptr_t(WS_EX_LAYERED));
    SetLayeredWindowAttributes(Handle(), 0, fade ? 0 : s.AlphaBlendValue, LWA_ALPHA);
  }
  SetWindowPos(Handle(), HWND_TOPMOST, at.X, at.Y, size_.cx, size_.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  visible_ = true;
  if (fade) FadeIn();
  if (!self || !menu_) return;
  FinishShow();
}

void TqzSkinPopupWindow::OnShowTimer() {
  showTimer_->SetEnabled(false);
  if (closing_ || !menu_) return;
  CaptureScreenUnder();
  SetWindowPos(Handle(), HWND_TOPMOST, showAt_.X, showAt_.Y, size_.cx, size_.cy, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  visible_ = true;
  FinishShow();
}

// The root level takes the input; the first selectable item lights up
// without opening its submenu.
void TqzSkinPopupWindow::FinishShow() {
  TComponentRef<TqzSkinPopupWindow> self(this);
  if (menu_->LevelOf(this) == 0) TakeInput();
  if (!self || closing_) return;
  for (int i = 0; i < ItemCount(); ++i) {
    if (!Item(i).Selectable() || !Item(i).Visible) continue;
    Item(i).KeyboardSelected = true;
    SelectItem(i, true);
    break;
  }
}

void TqzSkinPopupWindow::ApplyCursor() {
  const TqzSkinData* skin = skinData_.Get();
  if (skin == nullptr || skin->Empty()) return;
  const int index = skin->PopupWindow().CursorIndex;
  if (index != -1) SetCursor(static_cast<TCursor>(skin->StartCursorIndex() + index));
}

// What the menu will cover, one pixel wider and higher than the window.
void TqzSkinPopupWindow::CaptureScreenUnder() {
  CaptureScreen({showAt_.X, showAt_.Y, showAt_.X + size_.cx + 1, showAt_.Y + size_.cy + 1}, this, screenUnder_);
}

// From the back buffers of the visible top-level windows, bottom to top.
void CaptureScreen(const TRect& area, const TWinControl* except, TBitmap& out) {
  out.SetSize(area.Width(), area.Height());
  TPixmap& pixels = out.Pixels();
  pixels.Resize(area.Width(), area.Height(), 0xFF000000u);
  for (TWinControl* w : TopLevelControls()) {
    if (w == except || !w->HandleAllocated() || !IsWindowVisible(w->Handle())) continue;
    if (w->WindowData() == nullptr) continue;
    const TPixmap& back = WindowSystem().DefinedBackBuffer(w);
    if (back.Empty()) continue;
    const TRect bounds = TWindowSystem::WindowRectOf(w);
    const TRect part = Intersection(Intersection(area, bounds),
                                    {bounds.Left, bounds.Top, bounds.Left + back.Width(), bounds.Top + back.Height()});
    for (int y = part.Top; y < part.Bottom; ++y)
      for (int x = part.Left; x < part.Right; ++x)
        pixels.At(x - area.Left, y - area.Top) = back.At(x - bounds.Left, y - bounds.Top) | 0xFF000000u;
  }
  out.Modified();
}

void BlendOverScreen(TBitmap& image, const TBitmap& screen, TPoint at, uint8_t alpha) {
  const int w = image.Width(), h = image.Height();
  if (w <= 0 || h <= 0 || at.X < 0 || at.Y < 0 || screen.Width() < at.X + w || screen.Height() < at.Y + h) return;
  TPixmap under(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) under.At(x, y) = screen.Pixels().At(at.X + x, at.Y + y);
  TqzEffectBmp blended(image.Pixels());
  blended.Morph(TqzEffectBmp(under), 1.0 - alpha / 255.0);
  image.Pixels() = blended.ToPixmap();
  image.Modified();
}

// Raises the alpha in steps of a fifteenth of the target, one step after
// more than 5 ms of real time, processing pending messages in between. Real
// time rather than the platform clock: a paused clock must not hold the menu.
void TqzSkinPopupWindow::FadeIn() {
  TComponentRef<TqzSkinPopupWindow> self(this);
  const uint8_t target = settings_.AlphaBlendValue;
  const int step = std::max(1, target / 15);
  int alpha = 0;
  while (alpha < target) {
    std::this_thread::sleep_for(std::chrono::milliseconds(6));
    alpha = std::min<int>(alpha + step, target);
    SetLayeredWindowAttributes(Handle(), 0, static_cast<uint8_t>(alpha), LWA_ALPHA);
    Application->ProcessMessages();
    if (!self || closing_) return;
  }
}

void TqzSkinPopupWindow::TakeInput() { input_.Take(*this, closing_); }

// Nothing of this window is touched once the input is given back.
void TqzSkinPopupWindow::CloseWindow() {
  if (closing_) return;
  closing_ = true;
  scrollTimer_->SetEnabled(false);
  morphTimer_->SetEnabled(false);
  showTimer_->SetEnabled(false);
  visible_ = false;
  input_.Close(*this);
}

}  // namespace qz
