// The images menu: a picker popup that shows a grid of images (with optional
// full-width header and button rows) in a skinned, never-activated popup
// window, and reports the picked cell through ItemIndex and events.
//
// The window holds the mouse capture and the keyboard focus while it is open;
// losing either (another window took it, the application was deactivated), a
// press outside the window, Escape, or a right or middle press close it
// without a pick; so does another form of the application moving or sizing.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/components/Collection.h"
#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/graphics/Font.h"
#include "host/ui/Controls.h"
#include "skin/popups/SkinPopupInput.h"

namespace qz {

class TBitmap;
class TCustomImageList;
class TqzSkinData;
class TqzSkinHint;
class TqzSkinImagesMenu;

class TqzImagesMenuItem : public TCollectionItem {
  QZ_CLASS(TqzImagesMenuItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string DisplayName() const override { return Caption.empty() ? ClassName() : Caption; }
  // Copies image index, caption, button flag and hint.
  void Assign(const TPersistent& source) override;

  bool Button = false;  // a full-width row with image and caption
  bool Header = false;  // a full-width title row, never hot or picked
  std::string Caption, Hint;
  int ImageIndex = -1;
  TNotifyEvent OnClick;
  // Where the open grid placed the item (window coordinates).
  TRect ItemRect;
};

class TqzImagesMenuItems : public TCollection {
  QZ_CLASS(TqzImagesMenuItems, TCollection)
 public:
  explicit TqzImagesMenuItems(TPersistent* owner) : TCollection(owner, FactoryOf<TqzImagesMenuItem>()) {}
  TqzImagesMenuItem* Items(int index) const { return ItemAs<TqzImagesMenuItem>(index); }
  TqzImagesMenuItem* Add() { return static_cast<TqzImagesMenuItem*>(TCollection::Add()); }
};

// ---------------------------------------------------------------- layout rules

// What the grid layout needs of one item.
struct TqzGridItemKind {
  bool Header = false, Button = false;
};

struct TqzImagesGridInput {
  TSize ImageSize;          // of the image list
  int Columns = 1;
  TPoint Origin{5, 5};      // the first cell's top-left
  int HeaderHeight = 0;     // the "label" description's height, or the cell height
};

struct TqzImagesGridLayout {
  std::vector<TRect> Rects;  // one per item, window coordinates
  TSize WindowSize;
};

// Cells of image size + 10 in rows of Columns cells; header and button items
// take a row of their own; rows are 1 pixel apart. The window is the grid's
// extent plus 10 in each direction.
TqzImagesGridLayout LayoutImagesGrid(const std::vector<TqzGridItemKind>& items, const TqzImagesGridInput& in);

// Below the anchor, above it when it would pass the work area's bottom, then
// moved back inside the work area on the right, the left and the top.
TPoint PlaceImagesMenu(const TRect& anchor, TSize size, const TRect& workArea);

// The keyboard walk of the grid: the next hot index for a key (VK_LEFT,
// VK_RIGHT, VK_UP, VK_DOWN) from `hot` (-1 none); `hot` itself when the key
// leads nowhere.
struct TqzGridCell {
  TRect Rect;
  bool Header = false, Button = false;
};
int NextGridIndex(const std::vector<TqzGridCell>& cells, int hot, uint16_t key);

// ---------------------------------------------------------------- window

class TqzSkinImagesMenuPopupWindow : public TCustomControl {
  QZ_CLASS(TqzSkinImagesMenuPopupWindow, TCustomControl)
 public:
  explicit TqzSkinImagesMenuPopupWindow(TqzSkinImagesMenu& menu);
  ~TqzSkinImagesMenuPopupWindow() override;

  // Lays the grid out, places the window at the anchor (screen coordinates)
  // on `workArea`, shows it without activating it and takes the input.
  void ShowAt(const TRect& anchor, const TRect& workArea);
  // Hides the window, gives capture and focus back and frees it once the
  // current message is done.
  void CloseWindow();
  bool Closing() const { return closing_; }

  TSize WindowSize() const { return size_; }
  int HotIndex() const { return hot_; }
  void SetHotIndex(int index);
  // The non-header cell at a window point; -1 when none.
  int CellAt(TPoint client) const;
  // The cell composed in a bitmap of its own size, as the window shows it.
  void DrawCellImage(int index, TBitmap& out);
  bool HasWindowLook() const;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& message) override;

 private:
  void ApplyMask();
  void FadeIn(uint8_t target);
  void TakeInput();
  void FormMessage(HWND hwnd, uint32_t msg);
  void StopWatchingForms();
  void HandleKey(uint16_t key);
  void MouseMoveAt(TPoint client);
  void PressAt(TPoint screen, bool leftButton);
  void ReleaseAt(TPoint client);
  void ShowCellHint();
  void PaintBackground(TBitmap& dest);
  void DrawHeader(const TqzImagesMenuItem& item, TBitmap& out);
  void DrawCellFrame(int index, TBitmap& out);
  void DrawCellContent(const TqzImagesMenuItem& item, TBitmap& out, bool lit);
  bool InsideWindow(TPoint screen);

  TComponentRef<TqzSkinImagesMenu> menu_;
  TSize size_;
  int hot_ = -1;
  bool closing_ = false, pressed_ = false;
  TqzPopupInput input_;
  int formWatch_ = 0;  // the window system's watcher of form moves, 0 none
};

// ---------------------------------------------------------------- component

class TqzSkinImagesMenu : public TComponent {
  QZ_CLASS(TqzSkinImagesMenu, TComponent)
 public:
  explicit TqzSkinImagesMenu(TComponent* AOwner);
  ~TqzSkinImagesMenu() override;

  // ---- published
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);
  TqzImagesMenuItems& ImagesItems() { return *items_; }
  const TqzImagesMenuItems& ImagesItems() const { return *items_; }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int v) { itemIndex_ = v; }
  int ColumnsCount() const { return columnsCount_; }
  // 1 to 50; other values leave the count as it is.
  void SetColumnsCount(int v);
  TqzSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TqzSkinData* v);
  bool UseSkinFont() const { return useSkinFont_; }
  void SetUseSkinFont(bool v) { useSkinFont_ = v; }
  TFont& DefaultFont() { return *defaultFont_; }
  const TFont& DefaultFont() const { return *defaultFont_; }
  void SetDefaultFont(const TFont& f) { defaultFont_->Assign(f); }
  TqzSkinHint* SkinHint() const { return skinHint_; }
  void SetSkinHint(TqzSkinHint* v);
  bool ShowHints() const { return showHints_; }
  void SetShowHints(bool v) { showHints_ = v; }
  bool ShowSelectedItem() const { return showSelectedItem_; }
  void SetShowSelectedItem(bool v) { showSelectedItem_ = v; }
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool v) { alphaBlend_ = v; }
  bool AlphaBlendAnimation() const { return alphaBlendAnimation_; }
  void SetAlphaBlendAnimation(bool v) { alphaBlendAnimation_ = v; }
  uint8_t AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(uint8_t v) { alphaBlendValue_ = v; }
  TNotifyEvent OnItemClick, OnChange, OnMenuPopup, OnMenuClose;

  // ---- operations
  // Opens the grid below (or above) the anchor, in screen coordinates. A
  // grid already open closes first, without a pick. `onClosed` runs once
  // when this grid closes (the menu button hears of it so).
  void Popup(const TRect& anchor, std::function<void()> onClosed = nullptr);
  // Closes the open grid; `picked` is the cell picked (-1 none).
  void CloseUp(int picked);
  bool Opened() const { return static_cast<bool>(window_); }
  TqzSkinImagesMenuPopupWindow* Window() const { return window_.Get(); }
  // The selected item (ItemIndex in range), else null.
  TqzImagesMenuItem* SelectedItem() const;

  // ---- what the window reads
  // The cell rectangles for the current items, images and skin.
  TqzImagesGridLayout Layout() const;
  // The work area the grid is kept on: the active form's monitor, else the
  // visible main form's, else the owner's.
  TRect WorkArea() const;

 private:
  // References clear themselves when the component they name is freed.
  TCustomImageList* images_ = nullptr;
  std::unique_ptr<TqzImagesMenuItems> items_;
  int itemIndex_ = -1;
  int columnsCount_ = 1;
  TqzSkinData* skinData_ = nullptr;
  bool useSkinFont_ = true;
  std::unique_ptr<TFont> defaultFont_;
  TqzSkinHint* skinHint_ = nullptr;
  bool showHints_ = true;
  bool showSelectedItem_ = true;
  bool alphaBlend_ = false, alphaBlendAnimation_ = false;
  uint8_t alphaBlendValue_ = 200;

  TComponentRef<TqzSkinImagesMenuPopupWindow> window_;
  int indexAtPopup_ = -1;
  std::function<void()> onClosed_;
};

}  // namespace qz
