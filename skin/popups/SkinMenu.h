// The skinned menu engine: one chain of popup windows (TqzSkinPopupWindow),
// one per open menu level, owned by a form's skinning controller. Every menu
// a skinned form shows (system menu, caption objects' menus, the tray menu,
// the application's popup menus) opens through it.
//
// TqzSkinPopupMenu is the popup menu an application drops on a form: it
// finds the form's controller and opens through its engine.
// InstallSkinnedPopupHook makes any plain TPopupMenu of a skinned form do
// the same.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ui/Controls.h"
#include "host/ui/Forms.h"
#include "host/ui/Menus.h"
#include "host/ui/Timer.h"
#include "skin/base/MenuController.h"
#include "skin/base/SkinMessages.h"
#include "skin/data/SkinData.h"
#include "skin/popups/SkinMenuBackgrounds.h"
#include "skin/popups/SkinMenuTextWidths.h"
#include "skin/popups/SkinPopupWindow.h"

namespace qz {

class TqzSkinMenu : public TComponent {
  QZ_CLASS(TqzSkinMenu, TComponent)
 public:
  explicit TqzSkinMenu(TComponent* AOwner);
  ~TqzSkinMenu() override;

  TqzSkinMenuSettings Settings;
  // The form told of every close (WM_CLOSESKINMENU); may be none.
  TCustomForm* Form() const { return form_; }
  void SetForm(TCustomForm* value) { SetReference(form_, value); }

  // Opens the sub-items of `item` from `startIndex` beside the anchor
  // rectangle (screen coordinates; an empty rectangle is a point). When
  // they hold nothing but hidden items and separators nothing happens: an
  // open menu stays open and no close is reported.
  void Popup(TControl* popupCtrl, TqzSkinData* skinData, int startIndex, const TRect& anchor,
             TMenuItem& item, bool popupToUp);
  // Opens one level of the main items whose group index no child item
  // uses and all the child items (a child form's merged menu), ordered by
  // group index; `childItems` may be none.
  void PopupMerged(TControl* popupCtrl, TqzSkinData* skinData, int startIndex, const TRect& anchor,
                   TMenuItem* childItems, TMenuItem& mainItems, bool popupToUp);
  // The items PopupMerged shows, before the start index applies.
  static std::vector<TMenuItem*> MergedItems(TMenuItem* childItems, TMenuItem& mainItems);
  // Closes the levels from `level` on; level 0 ends the menu.
  void CloseFrom(int level);
  // Ends the menu from outside (a click elsewhere, the form moved ...).
  void CloseAll();
  // The key entry of the deepest level (virtual-key codes; letters as their
  // upper-case codes).
  void HandleKey(uint16_t key);

  bool Visible() const { return visible_; }
  int LevelCount() const { return static_cast<int>(windows_.size()); }
  TqzSkinPopupWindow* Level(int index) const;
  TqzSkinPopupWindow* Deepest() const { return LevelCount() ? Level(LevelCount() - 1) : nullptr; }
  int LevelOf(const TqzSkinPopupWindow* window) const;
  // The open level whose window holds the screen point, deepest first.
  TqzSkinPopupWindow* LevelAt(TPoint screen) const;
  const TRect& WorkArea() const { return workArea_; }
  bool FirstShow() const { return firstShow_; }
  TMenuItem* WaitingItem() const { return waitItem_.Get(); }
  TControl* LastPopupControl() const { return lastPopupControl_.Get(); }

  // Runs once when the chain closes, then is cleared.
  TNotifyEvent OnClose;
  // Left on the first level, or Right on an item without a submenu: the
  // key leaves the menu sideways (a menu bar moves to its next item).
  // Cleared when the chain closes.
  std::function<void(uint16_t key)> OnSideKey;

  // Reporting an item of a level (the window calls this on hover, keys and
  // clicks): closes deeper levels, waits for or opens a submenu, or runs the
  // item's command.
  void ReportItem(TqzSkinPopupWindow& window, int index, bool immediate, bool click);
  // Drops a pending delayed opening of the item's submenu.
  void CancelWait(const TMenuItem* item);

  // The composed window backgrounds of the levels, kept across openings.
  TqzMenuBackgrounds& Backgrounds() { return backgrounds_; }
  // The measured widths of item texts, kept across openings.
  TqzMenuTextWidths& TextWidths() { return textWidths_; }

 private:
  // Opens a level at the end of the chain; false when it did not stay open
  // (nothing to show once its items were built, or the menu ended meanwhile).
  bool OpenLevel(const TRect& anchor, TMenuItem& item, int startIndex, bool submenu, bool popupToUp,
                 const std::vector<TMenuItem*>* itemList = nullptr);
  void OpenRoot(const TRect& anchor, TMenuItem& item, int startIndex, bool popupToUp,
                const std::vector<TMenuItem*>* itemList);
  // The common start of Popup and PopupMerged; false when this engine went.
  bool BeginPopup(TControl* popupCtrl, TqzSkinData* skinData, const TRect& anchor);
  void OnWaitTimer();
  void Dispatch(TComponentRef<TMenuItem> item);
  static void SendToControl(TControl* control, uint32_t msg);

  std::vector<TComponentRef<TqzSkinPopupWindow>> windows_;
  TqzSkinData* skinData_ = nullptr;
  TRect workArea_;
  bool visible_ = false, firstShow_ = false;
  TComponentRef<TControl> popupControl_, lastPopupControl_;
  TComponentRef<TMenuItem> waitItem_;
  TComponentRef<TqzSkinPopupWindow> waitWindow_;
  std::unique_ptr<TTimer> waitTimer_;
  TCustomForm* form_ = nullptr;
  TqzMenuBackgrounds backgrounds_;
  TqzMenuTextWidths textWidths_;
};

// A popup menu that shows through the skinned menu engine of its form.
class TqzSkinPopupMenu : public TPopupMenu {
  QZ_CLASS(TqzSkinPopupMenu, TPopupMenu)
 public:
  explicit TqzSkinPopupMenu(TComponent* AOwner);

  TqzSkinData* SkinData() const { return skinData_; }
  void SetSkinData(TqzSkinData* value) { SetReference(skinData_, value); }
  TNotifyEvent OnMenuClose;

  // The controller to show through, whatever form the menu belongs to;
  // none (the default) finds one (FindController).
  TqzMenuController* Controller() const { return controllerComponent_ ? controller_ : nullptr; }
  void SetController(TqzMenuController* value);
  // A component among whose components the controller is looked for before
  // the owner's form; none by default.
  TComponent* ControllerSearch() const { return controllerSearch_; }
  void SetControllerSearch(TComponent* value) { SetReference(controllerSearch_, value); }
  // The explicit controller; else the first controller among the search
  // component's components; else that of the owner's form (MenuController).
  TqzMenuController* FindController() const;
  // The screen point of the last Popup(X, Y); (-1, -1) before the first.
  TPoint LastPopupPoint() const { return lastPopupPoint_; }

  // Opens below / beside a control's rectangle (menu buttons).
  void PopupFromRect(TControl* control, const TRect& screenRect, bool popupToUp);

 protected:
  void DoPopup(int x, int y) override;

 private:
  TqzSkinData* skinData_ = nullptr;
  // The controller and the component it is: the reference clears when it goes.
  TqzMenuController* controller_ = nullptr;
  TComponent* controllerComponent_ = nullptr;
  TComponent* controllerSearch_ = nullptr;
  TPoint lastPopupPoint_{-1, -1};
};

// The engine a component's menus show through (MenuController, or for a
// skinned popup menu its FindController), with the skin the controller uses
// for menus. Null engine without a controller.
struct TqzMenuRoute {
  TqzSkinMenu* Menu = nullptr;
  TqzSkinData* SkinData = nullptr;
};
TqzMenuRoute FindMenuRoute(TComponent* component);

// Makes a plain popup menu show skinned when its owner's form is skinned
// (through FindMenuRoute); without a controller it keeps the host's window.
void InstallSkinnedPopupHook(TPopupMenu& menu);

}  // namespace qz
