// The skinned main menu and the bar that shows it. The main menu is the
// host's main menu plus a skin reference; it has no native bar of its own.
// The bar is a skinned control along the top of its form: one item per
// visible top-level menu item, hot tracking, a keyboard menu mode shared
// with the form's controller, Alt accelerators, and a scroll marker that
// opens the items which do not fit as a menu of their own.
//
// Geometry (LayoutMenuBarItems, TqzSkinMainMenuBar::Layout) is computed once
// per change; painting and hit testing read the same rectangles.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/components/Component.h"
#include "host/ui/Menus.h"
#include "skin/controls/SkinControl.h"

namespace qz {

class TqzSkinData;
class TqzOrvane;
class TqzDataSkinMainMenuBar;
class TqzDataSkinMainMenuItem;
class TqzDataSkinButton;
class TCustomForm;
class TPopupMenuWindow;
class TqzSkinMenu;

class TqzSkinMainMenu : public TMainMenu {
  QZ_CLASS(TqzSkinMainMenu, TMainMenu)
 public:
  explicit TqzSkinMainMenu(TComponent* AOwner) : TMainMenu(AOwner) {}
  ~TqzSkinMainMenu() override;
  TqzSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TqzSkinData* value);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TqzSkinData* skinData_ = nullptr;
};

// ---------------------------------------------------------------------------
// The row of items: each item starts where the one before it ends; an item
// whose right edge passes the area's right edge less `reserve` does not fit.
struct TqzMenuBarRow {
  std::vector<TRect> Rects;  // one per width, in bar coordinates
  std::vector<bool> Fits;
  bool Overflow = false;
};
TqzMenuBarRow LayoutMenuBarItems(const TRect& area, const std::vector<int>& widths, int reserve);

// The width of the scroll marker at the right end of the item area.
inline constexpr int kMenuBarMarkerWidth = 5;

// What an object of the bar shows.
struct TqzMenuBarObject {
  bool Active = false;  // hot
  bool MouseIn = false;
  bool Down = false;    // its menu is open
  bool Enabled = true;
  bool Visible = true;
  double MorphKf = 0;   // 0 normal look .. 1 active look
  int MorphStep = 0;    // +1 towards active, -1 back, 0 still
  int FrameIndex = 0;   // 1..FrameCount while an animation frame shows
  int FrameStep = 0;
  TRect Rect;
};

class TqzSkinMainMenuBarItem : public TqzMenuBarObject {
 public:
  explicit TqzSkinMainMenuBarItem(TMenuItem& item) : Item(&item), IDName(item.Name()) {}
  TComponentRef<TMenuItem> Item;
  std::string IDName;
  bool OwnEnabled = true;  // the menu item's flag, kept while hidden
};

// The buttons of a maximised MDI child, in the order the bar keeps them.
enum class TqzMDIButtonKind { SysMenu, Close, Restore, Minimize };

class TqzSkinMainMenuBarButton : public TqzMenuBarObject {
 public:
  TqzSkinMainMenuBarButton(TqzMDIButtonKind kind, const TqzDataSkinButton* data) : Kind(kind), Data(data) {}
  TqzMDIButtonKind Kind;
  const TqzDataSkinButton* Data;   // null: the plain look
  // "SysMenuButton", "CloseButton", "MaxButton", "MinButton".
  const char* IDName() const;
};

// The MDI buttons' rectangles in an item area: the system button at the
// left (its size vertically centred), close, restore and minimise from the
// right edge leftwards, each followed by a 2-pixel gap; `area` shrinks to
// what is left for the items.
std::vector<TRect> LayoutMDIButtons(TRect& area, const std::vector<TqzMDIButtonKind>& kinds,
                                   const std::vector<TSize>& sizes);
// The picture and the part of it a skinned MDI button shows in its state:
// the normal look in the frame picture (or the object's own picture), the
// active, down and disabled looks in the object's own picture; down falls
// back to active, active and disabled to normal.
struct TqzMDIButtonLook {
  const TBitmap* Picture = nullptr;
  TRect Rect;
};
TqzMDIButtonLook MDIButtonLook(const TqzSkinMainMenuBarButton& b, const TqzDataSkinButton& d, TqzSkinData& skin);

enum class TqzMenuBarMode { Normal, Keyboard };

class TqzSkinMainMenuBar : public TqzSkinCustomControl {
  QZ_CLASS(TqzSkinMainMenuBar, TqzSkinCustomControl)
 public:
  explicit TqzSkinMainMenuBar(TComponent* AOwner);
  ~TqzSkinMainMenuBar() override;

  // ---- published
  bool ToolBarMode() const { return toolBarMode_; }
  void SetToolBarMode(bool v);
  bool ToolBarModeItemTransparent() const { return toolBarModeItemTransparent_; }
  void SetToolBarModeItemTransparent(bool v);
  bool UseSkinSize() const { return useSkinSize_; }
  void SetUseSkinSize(bool v);
  bool ScrollMenu() const { return scrollMenu_; }
  void SetScrollMenu(bool v);
  TFont& DefItemFont() { return *defItemFont_; }
  bool PopupToUp() const { return popupToUp_; }
  void SetPopupToUp(bool v) { popupToUp_ = v; }
  TqzOrvane* Orvane() const { return orvane_; }
  void SetOrvane(TqzOrvane* v);
  TMainMenu* MainMenu() const { return mainMenu_; }
  void SetMainMenu(TMainMenu* v);

  std::function<void(TObject* Sender, const std::string& IDName)> OnMainMenuItemClick;
  std::function<void(TObject* Sender, TMenuItem* MenuItem)> OnItemMouseEnter, OnItemMouseLeave;

  // ---- what the form's controller calls
  void EnterKeyboardMode();
  void LeaveKeyboardMode();
  bool KeyboardMode() const { return mode_ == TqzMenuBarMode::Keyboard; }
  // Alt + ch: presses the first visible enabled item with that accelerator.
  bool AcceleratorTest(char32_t ch);
  void NextItem();
  void PreviousItem();
  // True while a menu of the bar is open.
  bool MenuOpen() const;
  // Closes an open menu and returns its item to the normal look.
  void CloseMenu();

  // ---- state, for painting and tests
  const std::vector<TqzSkinMainMenuBarItem>& Items() const { return items_; }
  int HotIndex() const { return hot_; }
  bool Overflow() const { return overflow_; }
  bool MarkerHot() const { return markerHot_; }
  TRect ItemArea() const { return itemArea_; }
  TRect MarkerRect() const;
  // The item under a bar point, -1 when none (hidden and disabled items too).
  int ItemAt(TPoint p) const;
  // Lays the items out again (after menu, skin, font or size changes).
  void Layout();
  // The menu items that did not fit, in menu order.
  std::vector<TMenuItem*> HiddenItems() const;

  // ---- MDI
  // The MDI buttons while an MDI child is shown maximised (else empty).
  const std::vector<TqzSkinMainMenuBarButton>& MDIButtons() const { return mdiButtons_; }
  // The active MDI child of the bar's form when it is shown maximised.
  TCustomForm* MaximizedMDIChild() const;
  // The MDI buttons and merged items follow the MDI form's children again.
  void UpdateMDI();

  void ChangeSkinData() override;
  // The bar keeps any width; with UseSkinSize its height is the band's.
  void CalcSize(int& W, int& H) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void CreateControlSkinImage(TBitmap& B) override;
  void CreateControlDefaultImage(TBitmap& B) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& m) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;

 private:
  friend class TqzMenuBarPainter;
  const TqzDataSkinMainMenuBar* BarData() const;
  const TqzDataSkinMainMenuItem* ItemData() const;
  void RebuildItems();
  void RebuildMDIButtons();
  void UpdateMDIButtonStates();
  std::vector<TMenuItem*> ShownMenuItems() const;
  int MDIButtonAt(TPoint p) const;
  void MDIButtonCommand(TqzMDIButtonKind kind);
  void SetMDIButtonHot(int index);
  void RedrawRect(const TRect& r);
  int ItemWidth(const TqzSkinMainMenuBarItem& item) const;
  void ApplyItemFont(TCanvas& canvas, const TqzSkinMainMenuBarItem& item) const;

  // Hot tracking and the timers.
  void StartTimer(uintptr_t id, unsigned ms, bool& running);
  void StopTimer(uintptr_t id, bool& running);
  void HotTick();
  void MorphTick();
  void FrameTick();
  void TrackPoint(TPoint p);
  void SetHot(int index);
  void ItemEnter(int index);
  void ItemLeave(int index);
  void RedrawItem(int index);
  void RedrawMarker();

  // Pressing items and their menus.
  void PressItem(int index, bool byKeyboard);
  void ReleaseDown(int index);
  void PopupItem(int index);
  void PopupOverflow();
  void MenuWatch();
  bool Selectable(int index) const;
  int NextSelectable(int from, int step) const;

  bool toolBarMode_ = false, toolBarModeItemTransparent_ = false;
  bool useSkinSize_ = true, scrollMenu_ = true, popupToUp_ = false;
  std::unique_ptr<TFont> defItemFont_;
  TqzOrvane* orvane_ = nullptr;
  TMainMenu* mainMenu_ = nullptr;

  std::vector<TqzSkinMainMenuBarItem> items_;
  std::vector<TqzSkinMainMenuBarButton> mdiButtons_;
  int mdiHot_ = -1, mdiPressed_ = -1;
  TRect itemArea_;
  bool overflow_ = false, markerHot_ = false;
  int hot_ = -1, oldHot_ = -1, pressed_ = -1, down_ = -1;
  TqzMenuBarMode mode_ = TqzMenuBarMode::Normal;
  TPoint lastPoint_{-1, -1};
  bool hotTimer_ = false, morphTimer_ = false, frameTimer_ = false;
  HWND focusBefore_ = nullptr;
  // The menu open below an item: through the form's skinned menu engine,
  // else in the host's popup window (the application owns that window).
  TComponentRef<TqzSkinMenu> engine_;
  bool engineOpen_ = false;
  TComponentRef<TPopupMenuWindow> popup_;
  void CloseOpenMenu();
  void ShowMenu(TMenuItem& items, const TRect& clientRect);
  // Stand-ins for the hidden items while the overflow menu is open.
  std::unique_ptr<TMenuItem> overflowItems_;
};

}  // namespace qz
