// The images menu component: its items, the grid layout and placement rules,
// the popup and the closing with its events. The window is in
// SkinImagesMenuWindow.cpp.
#include "skin/popups/SkinImagesMenu.h"

#include <algorithm>
#include <utility>

#include "host/ui/Application.h"
#include "host/ui/ImgList.h"
#include "host/ui/Windows.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/popups/SkinHint.h"

namespace qz {

namespace {

constexpr int kCellPadding = 10;
constexpr int kWindowPadding = 10;
constexpr int kRowGap = 1;
constexpr int kMaxColumns = 50;

}  // namespace

// ---------------------------------------------------------------- items

void TqzImagesMenuItem::Assign(const TPersistent& source) {
  const auto* other = dynamic_cast<const TqzImagesMenuItem*>(&source);
  if (other == nullptr) {
    TCollectionItem::Assign(source);
    return;
  }
  ImageIndex = other->ImageIndex;
  Caption = other->Caption;
  Button = other->Button;
  Hint = other->Hint;
  Changed(false);
}

// ---------------------------------------------------------------- rules

TqzImagesGridLayout LayoutImagesGrid(const std::vector<TqzGridItemKind>& items, const TqzImagesGridInput& in) {
  TqzImagesGridLayout out;
  const int cellW = in.ImageSize.cx + kCellPadding, cellH = in.ImageSize.cy + kCellPadding;
  const int rowWidth = std::max(in.Columns, 1) * cellW;
  const int left = in.Origin.X;
  int x = left, y = in.Origin.Y;
  bool rowOpen = false;  // a row of image cells holds at least one cell
  int right = left, bottom = in.Origin.Y;
  for (const TqzGridItemKind& kind : items) {
    TRect r;
    if (kind.Header || kind.Button) {
      if (rowOpen) {
        y += cellH + kRowGap;
        rowOpen = false;
      }
      const int h = kind.Header ? in.HeaderHeight : cellH;
      r = {left, y, left + rowWidth, y + h};
      y += h + kRowGap;
      x = left;
    } else {
      if (rowOpen && x + cellW > left + rowWidth) {
        y += cellH + kRowGap;
        x = left;
      }
      r = {x, y, x + cellW, y + cellH};
      x += cellW;
      rowOpen = true;
    }
    right = std::max(right, r.Right);
    bottom = std::max(bottom, r.Bottom);
    out.Rects.push_back(r);
  }
  out.WindowSize = {right - left + kWindowPadding, bottom - in.Origin.Y + kWindowPadding};
  return out;
}

TPoint PlaceImagesMenu(const TRect& anchor, TSize size, const TRect& work) {
  int x = anchor.Left, y = anchor.Bottom;
  if (y + size.cy > work.Bottom) y -= size.cy + anchor.Height();
  if (x + size.cx > work.Right) x = work.Right - size.cx;
  if (x < work.Left) x = work.Left;
  if (y < work.Top) y = work.Top;
  return {x, y};
}

namespace {

int StepAlong(const std::vector<TqzGridCell>& cells, int from, int step) {
  const int count = static_cast<int>(cells.size());
  int i = from;
  for (int n = 0; n < count; ++n) {
    i = (i % count + count) % count;
    if (!cells[static_cast<size_t>(i)].Header) return i;
    i += step;
  }
  return -1;
}

// The nearest non-header cell in a row above (step -1) or below (+1) the hot
// one that is a button row or starts at the same left edge.
int StepAcross(const std::vector<TqzGridCell>& cells, int hot, int step) {
  const TRect& from = cells[static_cast<size_t>(hot)].Rect;
  const int count = static_cast<int>(cells.size());
  for (int i = hot + step; i >= 0 && i < count; i += step) {
    const TqzGridCell& c = cells[static_cast<size_t>(i)];
    if (c.Header) continue;
    const bool otherRow = step < 0 ? c.Rect.Top < from.Top : c.Rect.Top > from.Top;
    if (otherRow && (c.Button || c.Rect.Left == from.Left)) return i;
  }
  return hot;
}

}  // namespace

int NextGridIndex(const std::vector<TqzGridCell>& cells, int hot, uint16_t key) {
  const int count = static_cast<int>(cells.size());
  if (count == 0) return -1;
  if (hot >= count) hot = -1;
  int next = hot;
  switch (key) {
    case VK_LEFT: next = StepAlong(cells, hot <= 0 ? count - 1 : hot - 1, -1); break;
    case VK_RIGHT: next = StepAlong(cells, hot < 0 ? 0 : hot + 1, +1); break;
    case VK_UP: next = hot < 0 ? StepAlong(cells, count - 1, -1) : StepAcross(cells, hot, -1); break;
    case VK_DOWN: next = hot < 0 ? StepAlong(cells, 0, +1) : StepAcross(cells, hot, +1); break;
    default: break;
  }
  return next < 0 ? hot : next;
}

// ---------------------------------------------------------------- component

TqzSkinImagesMenu::TqzSkinImagesMenu(TComponent* AOwner)
    : TComponent(AOwner), items_(std::make_unique<TqzImagesMenuItems>(this)),
      defaultFont_(std::make_unique<TFont>()) {
  defaultFont_->SetName("Tahoma");
  defaultFont_->SetHeight(13);
}

TqzSkinImagesMenu::~TqzSkinImagesMenu() {
  onClosed_ = nullptr;
  if (TqzSkinImagesMenuPopupWindow* w = window_.Get()) {
    if (skinHint_) skinHint_->HideHint();
    w->CloseWindow();
  }
}

void TqzSkinImagesMenu::SetImages(TCustomImageList* v) { SetReference(images_, v); }
void TqzSkinImagesMenu::SetSkinData(TqzSkinData* v) { SetReference(skinData_, v); }
void TqzSkinImagesMenu::SetSkinHint(TqzSkinHint* v) { SetReference(skinHint_, v); }

void TqzSkinImagesMenu::SetColumnsCount(int v) {
  if (v >= 1 && v <= kMaxColumns) columnsCount_ = v;
}

TqzImagesMenuItem* TqzSkinImagesMenu::SelectedItem() const {
  if (itemIndex_ < 0 || itemIndex_ >= items_->Count()) return nullptr;
  return items_->Items(itemIndex_);
}

TqzImagesGridLayout TqzSkinImagesMenu::Layout() const {
  TqzImagesGridInput in;
  if (images_) in.ImageSize = {images_->Width(), images_->Height()};
  in.Columns = columnsCount_;
  in.HeaderHeight = in.ImageSize.cy + kCellPadding;
  if (skinData_ && !skinData_->Empty()) {
    const TqzDataSkinPopupWindow& w = skinData_->PopupWindow();
    const int picture = w.WindowPictureIndex;
    if (picture >= 0 && picture < skinData_->ActivePictureCount()) in.Origin = w.ItemsRect.TopLeft();
    const int label = skinData_->FindControlIndex("label");
    if (label >= 0) in.HeaderHeight = skinData_->CtrlList()[static_cast<size_t>(label)]->SkinRect.Height();
  }
  std::vector<TqzGridItemKind> kinds;
  for (int i = 0; i < items_->Count(); ++i) kinds.push_back({items_->Items(i)->Header, items_->Items(i)->Button});
  return LayoutImagesGrid(kinds, in);
}

namespace {

TRect WorkAreaOf(TWinControl* control) {
  return Screen->MonitorFromWindow(control->Handle()).WorkareaRect;
}

}  // namespace

TRect TqzSkinImagesMenu::WorkArea() const {
  if (TCustomForm* active = Screen->ActiveForm(); active && active->HandleAllocated()) return WorkAreaOf(active);
  if (TCustomForm* main = Application->MainForm(); main && main->Visible() && main->HandleAllocated())
    return WorkAreaOf(main);
  if (auto* owner = dynamic_cast<TWinControl*>(Owner()); owner && owner->HandleAllocated()) return WorkAreaOf(owner);
  return Screen->WorkAreaRect();
}

void TqzSkinImagesMenu::Popup(const TRect& anchor, std::function<void()> onClosed) {
  TComponentRef<TqzSkinImagesMenu> self(this);
  if (Opened()) CloseUp(-1);
  if (!self) return;
  if (OnMenuPopup) {
    OnMenuPopup(this);
    if (!self) return;
  }
  if (images_ == nullptr || images_->Count() == 0) return;
  indexAtPopup_ = itemIndex_;
  onClosed_ = std::move(onClosed);
  auto* window = new TqzSkinImagesMenuPopupWindow(*this);
  window_ = window;
  window->ShowAt(anchor, WorkArea());
}

// The window goes first; then OnMenuClose always, and with a pick the
// item's OnClick, OnItemClick and, when the index changed, OnChange. Any
// handler may free the menu.
void TqzSkinImagesMenu::CloseUp(int picked) {
  TqzSkinImagesMenuPopupWindow* window = window_.Get();
  if (window == nullptr) return;
  window_ = nullptr;
  if (picked >= 0 && picked < items_->Count()) itemIndex_ = picked;
  else picked = -1;
  TComponentRef<TqzSkinImagesMenu> self(this);
  if (skinHint_) skinHint_->HideHint();
  window->CloseWindow();
  if (!self) return;
  if (OnMenuClose) {
    OnMenuClose(this);
    if (!self) return;
  }
  if (std::function<void()> closed = std::exchange(onClosed_, nullptr)) {
    closed();
    if (!self) return;
  }
  if (picked < 0 || itemIndex_ == -1) return;
  // Handlers may have changed the items: the item is looked up again.
  if (TqzImagesMenuItem* item = SelectedItem(); item && item->OnClick) {
    TNotifyEvent click = item->OnClick;
    click(item);
    if (!self) return;
  }
  if (OnItemClick) {
    OnItemClick(this);
    if (!self) return;
  }
  if (itemIndex_ != indexAtPopup_ && OnChange) OnChange(this);
}

QZ_PUBLISHED(TqzImagesMenuItem, TCollectionItem) {
  using T = TqzImagesMenuItem;
  b.Prop("Button", &T::Button, false);
  b.Prop("Header", &T::Header, false);
  b.Prop("Caption", &T::Caption);
  b.Prop("Hint", &T::Hint);
  b.Prop("ImageIndex", &T::ImageIndex, -1);
  b.Event<TNotifyEvent>("OnClick", &T::OnClick);
}

QZ_PUBLISHED(TqzImagesMenuItems, TCollection) {}

QZ_PUBLISHED(TqzSkinImagesMenu, TComponent) {
  using M = TqzSkinImagesMenu;
  b.Factory([](TComponent* owner) { return new TqzSkinImagesMenu(owner); });
  b.Ref<TCustomImageList>("Images", &M::Images, &M::SetImages);
  b.Collection("ImagesItems", [](M& m) -> TCollection& { return m.ImagesItems(); });
  b.Prop("ItemIndex", &M::ItemIndex, &M::SetItemIndex, -1);
  b.Prop("ColumnsCount", &M::ColumnsCount, &M::SetColumnsCount, 1);
  b.Ref<TqzSkinData>("SkinData", &M::SkinData, &M::SetSkinData);
  b.Prop("UseSkinFont", &M::UseSkinFont, &M::SetUseSkinFont, true);
  b.Object("DefaultFont", [](M& m) -> TFont& { return m.DefaultFont(); });
  b.Ref<TqzSkinHint>("SkinHint", &M::SkinHint, &M::SetSkinHint);
  b.Prop("ShowHints", &M::ShowHints, &M::SetShowHints, true);
  b.Prop("ShowSelectedItem", &M::ShowSelectedItem, &M::SetShowSelectedItem, true);
  b.Prop("AlphaBlend", &M::AlphaBlend, &M::SetAlphaBlend, false);
  b.Prop("AlphaBlendAnimation", &M::AlphaBlendAnimation, &M::SetAlphaBlendAnimation, false);
  b.Prop("AlphaBlendValue", &M::AlphaBlendValue, &M::SetAlphaBlendValue, uint8_t{200});
  b.Event<TNotifyEvent>("OnItemClick", &M::OnItemClick);
  b.Event<TNotifyEvent>("OnChange", &M::OnChange);
  b.Event<TNotifyEvent>("OnMenuPopup", &M::OnMenuPopup);
  b.Event<TNotifyEvent>("OnMenuClose", &M::OnMenuClose);
}

}  // namespace qz
