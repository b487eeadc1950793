// The MDI tabs bar: a skinned control on an MDI main form with one tab per
// MDI child. A click shows and activates the child (restoring it when
// minimised), tabs are reordered by dragging, closed by their close buttons
// or a middle click, a right click opens the child's system menu, and an
// optional add button asks the application for a new child. Tabs that do
// not fit are offered by a menu button at the bar's end; Ctrl+Tab and
// Ctrl+Shift+Tab step through the children in activation order.
//
// The MDI form's controller (TqzOrvane::MDITabsBar) keeps the tabs in step
// with the children: SyncChildren adds a tab for a shown child whose
// controller accepts it (OnAcceptToMDITabsBar), removes the tabs of hidden
// and destroyed children and repaints the tabs whose caption or active
// state changed.
//
// The geometry (LayoutMDITabs) is computed into one record per tab; painting
// and hit testing both read it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/components/Component.h"
#include "host/components/Properties.h"
#include "host/ui/Menus.h"
#include "skin/controls/SkinControl.h"

namespace qz {

class TCustomForm;
class TMDIClient;
class TqzOrvane;
class TqzSkinData;
class TqzDataSkinTabControl;
class TqzDataSkinButtonControl;
class TqzSkinMenu;
struct TqzTabLook;

enum TqzSkinMDITabKind { qztkTab, qztkButton };
QZ_ENUM(TqzSkinMDITabKind, "qztkTab", "qztkButton");

class TqzSkinMDITabsBar;

// One child's tab. Rectangles are in bar coordinates except CloseButtonRect,
// which is inside the tab (add TabRect's top-left for the bar).
class TqzMDITab {
 public:
  TqzMDITab(TqzSkinMDITabsBar& bar, TCustomForm& child) : TabsBar(&bar), Child(&child) {}
  TqzSkinMDITabsBar* TabsBar;
  TComponentRef<TCustomForm> Child;
  TRect TabRect;        // where the tab is drawn and hit (shifted while dragged)
  bool Visible = true;  // false for a tab that did not fit
  bool MouseIn = false;
  bool CloseButtonMouseIn = false;
  bool CloseButtonMouseDown = false;
  TRect CloseButtonRect;
  // What the tab showed when it was last laid out: a change repaints it.
  std::string ShownCaption;
  bool ShownActive = false;
  // The caption's font after OnTabGetDrawParamsEvent, taken before the paint.
  TFontData DrawFont;
  // The close button on the bar (empty without one).
  TRect CloseButtonOnBar() const;
};

using TqzMDITabMouseEnterEvent = std::function<void(TObject* Sender, TqzMDITab* MDITab)>;
using TqzMDITabMouseLeaveEvent = std::function<void(TObject* Sender, TqzMDITab* MDITab)>;
using TqzMDITabMouseDownEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, TqzMDITab* MDITab)>;
using TqzMDITabMouseUpEvent = TqzMDITabMouseDownEvent;
using TqzMDITabGetDrawParamsEvent = std::function<void(TObject* Sender, TqzMDITab* MDITab, TCanvas& Cnvs)>;

// ---------------------------------------------------------------------------
// Geometry

// What the layout depends on.
struct TqzMDITabsMetrics {
  int Width = 0, Height = 0;  // the bar
  int Count = 0;              // tabs
  bool ShowAddButton = false;
  int DefaultTabWidth = 100;
  int MinTabWidth = 0;
  int TabTop = 0;        // where tabs begin: 0 for buttons, the skin's tab offset for tabs
  int KeptTabWidth = 0;  // after a close with the mouse: the width the tabs keep (0: none)
};

struct TqzMDITabsGeometry {
  int W = 0;                 // the width tabs may use (less the add button's place)
  int TabWidth = 0;          // of every shown tab but a stretched last one
  std::vector<TRect> Tabs;   // in display order; empty for hidden tabs
  std::vector<bool> Shown;
  int HiddenCount = 0;
  TRect AddButton;           // empty without the add button
  TRect MenuButton;          // the hidden tabs' menu button; empty while all fit
};

// The bar's layout: tabs from x = 15, each (W - 15) div count wide and at
// most DefaultTabWidth (the last one reaching W when narrower); below
// MinTabWidth only (W - 30) div MinTabWidth tabs of MinTabWidth show.
TqzMDITabsGeometry LayoutMDITabs(const TqzMDITabsMetrics& m);
// A dragged tab's rectangle: shifted by `offset`, kept within 0 .. W.
TRect DraggedMDITabRect(const TRect& tab, int offset, int W);
// Where a dragged tab lands: the farthest shown tab in the drag direction
// whose middle the dragged tab's leading edge (at `shifted`) has passed;
// `dragged` itself when it passed none.
int MDITabDropIndex(const TqzMDITabsGeometry& g, int dragged, const TRect& shifted);

// ---------------------------------------------------------------------------

class TqzSkinMDITabsBar : public TqzSkinCustomControl {
  QZ_CLASS(TqzSkinMDITabsBar, TqzSkinCustomControl)
 public:
  explicit TqzSkinMDITabsBar(TComponent* AOwner);
  ~TqzSkinMDITabsBar() override;

  // ---- published
  TqzOrvane* Orvane() const { return orvane_; }
  void SetOrvane(TqzOrvane* v);
  bool ShowChildIcon() const { return showChildIcon_; }
  void SetShowChildIcon(bool v) { SetFlag(showChildIcon_, v); }
  bool ShowAddButton() const { return showAddButton_; }
  void SetShowAddButton(bool v) { SetFlag(showAddButton_, v); }
  bool DblClickChildMove() const { return dblClickChildMove_; }
  void SetDblClickChildMove(bool v) { dblClickChildMove_ = v; }
  bool ShowCloseButtons() const { return showCloseButtons_; }
  void SetShowCloseButtons(bool v) { SetFlag(showCloseButtons_, v); }
  TqzSkinMDITabKind TabKind() const { return tabKind_; }
  void SetTabKind(TqzSkinMDITabKind v);
  bool SupportChildMenus() const { return supportChildMenus_; }
  void SetSupportChildMenus(bool v) { supportChildMenus_ = v; }
  bool UseSkinSize() const { return useSkinSize_; }
  void SetUseSkinSize(bool v);
  bool MoveTabs() const { return moveTabs_; }
  void SetMoveTabs(bool v) { moveTabs_ = v; }
  int DefaultTabWidth() const { return defaultTabWidth_; }
  void SetDefaultTabWidth(int v);
  int MinTabWidth() const { return minTabWidth_; }
  void SetMinTabWidth(int v);

  TNotifyEvent OnAddButtonClick;
  TqzMDITabMouseEnterEvent OnTabMouseEnter;
  TqzMDITabMouseLeaveEvent OnTabMouseLeave;
  TqzMDITabMouseDownEvent OnTabMouseDown;
  TqzMDITabMouseUpEvent OnTabMouseUp;
  TqzMDITabGetDrawParamsEvent OnTabGetDrawParamsEvent;

  // ---- what the MDI form's controller calls
  // Tabs follow the children of the controller's MDI form: shown children
  // that were accepted get one, hidden and destroyed ones lose theirs, and
  // tabs whose caption or active state changed repaint.
  void SyncChildren();
  // A tab for `child` at the end (the existing one when it has one).
  TqzMDITab* AddTab(TCustomForm& child);
  // Removes the child's tab; a hot tab fires OnTabMouseLeave first.
  void RemoveTab(const TCustomForm& child);
  // Repaints the child's tab.
  void UpdateTab(const TCustomForm& child);

  // ---- state
  int TabCount() const { return int(tabs_.size()); }
  TqzMDITab& Tab(int index) const { return *tabs_[size_t(index)]; }
  TqzMDITab* FindTab(const TCustomForm& child) const;
  int IndexOfTab(const TqzMDITab* tab) const;
  TqzMDITab* HotTab() const { return hot_; }
  TqzMDITab* TabAt(TPoint p) const;
  int HiddenCount() const { return geometry_.HiddenCount; }
  std::vector<TqzMDITab*> HiddenTabs() const;
  const TqzMDITabsGeometry& Geometry() const { return geometry_; }
  TRect AddButtonRect() const { return geometry_.AddButton; }
  TRect MenuButtonRect() const { return geometry_.MenuButton; }
  bool AddButtonHot() const { return addHot_; }
  bool AddButtonDown() const { return addDown_; }
  bool MenuButtonHot() const { return menuHot_; }
  bool Dragging() const { return dragging_; }
  TqzMDITab* DraggedTab() const { return dragTab_; }
  int DragOffset() const { return dragOffset_; }
  // The width the tabs keep after a close with the mouse (0: none).
  int KeptTabWidth() const { return keptTabWidth_; }
  // The MDI client of the controller's form (null without one).
  TMDIClient* Client() const;
  // The skin's tab offset: how much lower inactive tabs start than the
  // active one (0 without a description).
  int TabOffset() const;

  // ---- operations
  // Shows and activates the tab's child, restoring it when minimised.
  void SelectTab(TqzMDITab& tab);
  // The hidden tabs' menu below the menu button.
  void PopupHiddenTabs();
  // The next (or previous) child in activation order becomes active.
  void StepChild(bool forward);
  // Lays the tabs out again (size, tabs, drag or properties changed).
  void Layout();

  void ChangeSkinData() override;
  void CalcSize(int& W, int& H) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 protected:
  void Paint() override;
  void CreateControlSkinImage(TBitmap& B) override;
  void CreateControlDefaultImage(TBitmap& B) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void CMMouseLeave(TMessage& m) override;
  void CMDialogKey(TMessage& m) override;

 private:
  friend class TqzMDITabsPainter;
  void SetFlag(bool& flag, bool v);
  const TqzDataSkinTabControl* TabDescription() const;
  const TqzDataSkinButtonControl* ButtonDescription() const;
  TSize CloseButtonSize() const;
  void PaintBar(TBitmap& B);
  // The caption fonts of the shown tabs, with OnTabGetDrawParamsEvent; false
  // when a handler freed the bar.
  bool TakeDrawParams();
  TFontData CaptionFont(const TqzMDITab& tab) const;
  void RedrawRect(const TRect& r);
  void RedrawTab(const TqzMDITab* tab);
  void LayoutAndRedraw();
  // Hot tracking.
  void Track(TPoint p);
  void SetHot(TqzMDITab* tab);
  void SetAddHot(bool hot);
  void SetMenuHot(bool hot);
  // A press and a release on a tab.
  void TabLeftDown(TqzMDITab& tab, TShiftState Shift, TPoint p);
  void TabRightDown(TqzMDITab& tab, TPoint p);
  void EndDrag();
  void CloseChild(TqzMDITab& tab);
  void KeepTabWidth();
  void ReleaseKeptWidth();
  // Moves a tab in display order.
  void MoveTab(int from, int to);
  void RebuildHiddenMenu();

  TqzOrvane* orvane_ = nullptr;
  bool showChildIcon_ = false, showAddButton_ = false, dblClickChildMove_ = false;
  bool showCloseButtons_ = false, supportChildMenus_ = true, useSkinSize_ = true, moveTabs_ = true;
  TqzSkinMDITabKind tabKind_ = qztkTab;
  int defaultTabWidth_ = 100, minTabWidth_ = 0;

  std::vector<std::unique_ptr<TqzMDITab>> tabs_;
  // Children whose controller refused a tab; asked again once shown anew.
  std::vector<TComponentRef<TCustomForm>> refused_;
  TqzMDITabsGeometry geometry_;
  TqzMDITab* hot_ = nullptr;
  TqzMDITab* oldHot_ = nullptr;
  // Dragging: the tab pressed, where the press was, how far it moved.
  TqzMDITab* dragTab_ = nullptr;
  int dragStartX_ = 0, dragOffset_ = 0;
  bool dragging_ = false;
  // A middle press waits for its release on the same tab.
  TqzMDITab* middleTab_ = nullptr;
  bool addHot_ = false, addDown_ = false, menuHot_ = false;
  int keptTabWidth_ = 0;
  // The hidden tabs' menu: stand-in items, one per hidden tab.
  std::unique_ptr<TPopupMenu> hiddenMenu_;
  // The engine that shows it (closed before the items go with the bar).
  TComponentRef<TqzSkinMenu> hiddenEngine_;
};

}  // namespace qz
