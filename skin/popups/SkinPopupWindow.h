// One level of a skinned popup menu: a borderless, top-most window that is
// never activated and shows the visible sub-items of one host menu item,
// drawn from the skin's [POPUPWINDOW] and "menuitem" descriptions or, without
// them, in the plain look. The chain of levels is run by TqzSkinMenu; the
// root level holds the mouse capture and the keyboard focus while it is open
// and hands input to the level it concerns.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/ui/Controls.h"
#include "host/ui/Menus.h"
#include "host/ui/Timer.h"
#include "skin/data/SkinData.h"
#include "skin/popups/SkinMenuBackgrounds.h"
#include "skin/popups/SkinMenuSettings.h"
#include "skin/popups/SkinPopupInput.h"

namespace qz {

class TqzSkinMenu;
class TqzSkinPopupWindow;

// One visible host item of a level, with its place and state.
struct TqzSkinMenuItem {
  TComponentRef<TMenuItem> MenuItem;
  TRect ItemRect;             // window coordinates
  bool Active = false;        // highlighted
  bool Down = false;          // its submenu is open
  bool Visible = true;        // inside the scrolled range
  bool KeyboardSelected = false;
  double Morph = 0;           // 0 normal look .. 1 active look
  // Frame animation: 0 none, 1..FrameCount a slice of the animation
  // picture, beyond that the active look.
  int Frame = 0;

  bool IsSeparator() const { return MenuItem && MenuItem->IsLine(); }
  bool Enabled() const { return MenuItem && MenuItem->Enabled(); }
  bool Selectable() const { return MenuItem && !IsSeparator() && Enabled(); }
  bool HasChildren() const;
};

// Software alpha for windows the platform cannot make translucent: what
// the visible top-level windows other than `except` show in `area` (screen
// coordinates; the desktop black), and an image at `at` inside that capture
// mixed with it, the image's share being alpha / 255.
void CaptureScreen(const TRect& area, const TWinControl* except, TBitmap& out);
void BlendOverScreen(TBitmap& image, const TBitmap& screen, TPoint at, uint8_t alpha);

// Scroll marker state of a level taller than its work area.
enum class TqzScrollMarker { None = 0, Top = 1, Bottom = 2 };

// The margins of the plain look and the scroll markers.
inline constexpr int kPlainMenuMargin = 3;
inline constexpr int kScrollMarkerHeight = 10;

class TqzSkinPopupWindow : public TCustomControl {
  QZ_CLASS(TqzSkinPopupWindow, TCustomControl)
 public:
  TqzSkinPopupWindow(TqzSkinMenu& menu, TqzSkinData* skinData, TMenuItem& source, int startIndex);
  ~TqzSkinPopupWindow() override;

  // Shows these items (from the start index on) instead of the children of
  // the source item; the source still gives the image list. Set before
  // ShowFor.
  void SetItemList(const std::vector<TMenuItem*>& items);

  // Builds the items and the size, places the window beside `anchor`
  // (screen coordinates) and shows it without activating it.
  void ShowFor(const TRect& anchor, bool submenu, bool popupToUp);

  // ---- layout
  int ItemCount() const { return static_cast<int>(items_.size()); }
  TqzSkinMenuItem& Item(int index) { return items_[static_cast<size_t>(index)]; }
  const TqzSkinMenuItem& Item(int index) const { return items_[static_cast<size_t>(index)]; }
  TSize WindowSize() const { return size_; }
  const TRect& ItemsArea() const { return itemsArea_; }
  int ItemHeight(const TMenuItem& item) const;
  int ImageColumnWidth() const;
  TMenuItem* Source() const { return source_.Get(); }
  // The position computed for an anchor on a work area (screen coordinates).
  TPoint PlaceFor(const TRect& anchor, const TRect& work, bool submenu, bool popupToUp) const;

  // ---- state
  int ActiveIndex() const { return active_; }
  bool ScrollMode() const { return scrollMode_; }
  bool LimitedMode() const { return limitedMode_; }
  int FirstVisible() const { return firstVisible_; }
  TqzScrollMarker Marker() const { return marker_; }
  const std::string& HintText() const { return hint_; }
  // The visible item at a window point, -1 when none.
  int ItemAt(TPoint client) const;

  // ---- drawing
  bool HasWindowLook() const { return windowData_ != nullptr; }
  const TqzDataSkinMenuItem* ItemLook() const { return itemData_; }
  // The font items are measured and drawn in (name, height, style and
  // character set; the colour is the state's).
  void ApplyItemFont(TFont& font) const;
  // The item composed in a bitmap of its own size, as the window shows it.
  void DrawItemImage(int index, TBitmap& out);
  // Items step through the frames of the description's animation picture.
  bool Animates() const;
  // Translucent without layered windows: drawn blended over a capture of
  // the screen under the window, shown after a short delay.
  bool SoftwareAlpha() const { return softwareAlpha_; }
  bool ShowPending() const { return showTimer_ && showTimer_->Enabled(); }
  // The screen under the window as captured before it showed (software
  // alpha only; one pixel wider and higher than the window).
  const TBitmap& ScreenUnder() const { return screenUnder_; }

  // ---- input, driven by TqzSkinMenu and the root window
  void HoverAt(TPoint client);
  void ReleaseAt(TPoint client);
  void HandleKey(uint16_t key);
  void SelectItem(int index, bool immediate);
  void DeselectItem(int index);
  void ActivateItem(int index);
  // Scrolls one item (+1 down, -1 up); false at the end.
  bool ScrollBy(int step);
  void ClearDownMarks();
  int IndexOfItem(const TMenuItem* item) const;
  // Whether any item is more than a separator.
  bool HasCommandItems() const;
  void RepaintItem(int index);
  // Hides the window, gives capture and focus back (root level) and frees
  // it once the current message is done.
  void CloseWindow();
  bool Closing() const { return closing_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& message) override;

 private:
  friend class TqzSkinMenu;
  void BuildItems();
  void ResolveLooks();
  void MeasureWindow();
  int MeasureTextWidth();
  void LayoutItems();
  void ApplyMask();
  void TakeInput();
  void FadeIn();
  void RouteMouse(uint32_t msg, TPoint screen);
  void RepaintMarkers();
  int LargestFirstIndex() const;
  void StepActive(int step);
  void LeaveSideways(uint16_t key);
  int VisibleCountFrom(int index, int step) const;
  void MarkerHover(TPoint client);
  void OnScrollTimer();
  void OnMorphTimer();
  bool StepFrames();
  bool Morphs() const;
  void OnShowTimer();
  void FinishShow();
  void CaptureScreenUnder();
  void BlendWithScreen(TBitmap& image, TPoint at) const;
  void ApplyCursor();

  // painting (SkinPopupWindowPaint.cpp)
  // Straight into the window's canvas: the background around the items,
  // then each item at its place (clipped to it), then the markers.
  void PaintDirect(TCanvas& c);
  // Software alpha: the level composed in a bitmap, each part blended with
  // the screen under it, then copied at once.
  void PaintBuffered(TCanvas& c);
  void PaintBackground(TCanvas& c);
  void PaintMarkers(TCanvas& c);
  // One item drawn at (0, 0) of `c`, which shows `size` of it.
  void DrawItemOn(const TqzSkinMenuItem& item, TCanvas& c, TSize size);
  void DrawSkinItem(const TqzSkinMenuItem& item, TCanvas& c, TSize size);
  void DrawItemBackground(const TqzSkinMenuItem& item, TCanvas& c, TSize size);
  void DrawHeader(TCanvas& c, const TRect& itemRect, const std::string& caption);
  // The window background (the composed window picture) at the window's
  // size, from the engine's kept backgrounds.
  const TBitmap& WindowBackground();
  // An item picture stretched to the items' width, kept while its pixels
  // and fields stay (itemLooks_).
  const TBitmap& ComposedItemLook(const TRect& source, bool stretch, int width);
  void DrawPlainItem(const TqzSkinMenuItem& item, TCanvas& c, TSize size);
  void DrawItemContent(const TqzSkinMenuItem& item, TCanvas& c, const TRect& textArea, TColor color,
                       bool skinLook);
  // A mark picture (check, radio, submenu arrow) in the state of the item's
  // look: the lit one while lit, a morph of both while the look morphs, so
  // the mark's own background matches the item under it.
  void DrawMarkPicture(const TqzSkinMenuItem& item, TCanvas& c, const TRect& normal, const TRect& active,
                       const TRect& area);
  void DrawItemMark(const TqzSkinMenuItem& item, TCanvas& c, TPoint at, const TRect& imageRect,
                    TColor color);
  void SetItemFont(TCanvas& c) const;

  // The engine may go while a message of this window runs: held weakly.
  TComponentRef<TqzSkinMenu> menu_;
  TqzSkinMenuSettings settings_;
  TRect workArea_;
  // Looked up again before every use: the skin may be reloaded or freed
  // while the menu is open.
  TComponentRef<TqzSkinData> skinData_;
  const TqzDataSkinPopupWindow* windowData_ = nullptr;
  const TqzDataSkinMenuItem* itemData_ = nullptr;
  TBitmap* windowPicture_ = nullptr;
  TBitmap* maskPicture_ = nullptr;
  TBitmap* itemPicture_ = nullptr;
  TqzMenuItemLooks itemLooks_;
  TComponentRef<TMenuItem> source_;
  int startIndex_ = 0;
  std::vector<TqzSkinMenuItem> items_;
  bool explicitItems_ = false;
  std::vector<TComponentRef<TMenuItem>> itemList_;
  TSize size_;
  TRect itemsArea_;
  bool scrollMode_ = false, limitedMode_ = false;
  int firstVisible_ = 0;
  TqzScrollMarker marker_ = TqzScrollMarker::None;
  int active_ = -1;
  std::string hint_;
  std::unique_ptr<TTimer> scrollTimer_, morphTimer_, showTimer_;
  bool softwareAlpha_ = false;
  TPoint showAt_;
  TBitmap screenUnder_;
  // The window background in use; shared with the engine's kept ones.
  std::shared_ptr<const TBitmap> background_;
  std::unique_ptr<TBitmap> plainBackground_;  // without a window picture
  bool closing_ = false, pressed_ = false;
  TqzPopupInput input_;
};

}  // namespace qz
