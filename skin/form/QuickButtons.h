// Quick buttons: small image buttons on a skinned form's caption (frame
// mode), left or right of the text. The controller owns the collection and
// hands it to the caption object with the other caption extras, which lays
// the buttons out, draws them and runs their clicks and menus.
#pragma once

#include <functional>
#include <string>

#include "host/components/Collection.h"
#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/components/Properties.h"
#include "host/ui/Menus.h"
#include "skin/form/CaptionTabs.h"

namespace qz {

class TCustomImageList;

enum TqzQuickButtonPosition { qzqbpLeft, qzqbpRight };
QZ_ENUM(TqzQuickButtonPosition, "qzqbpLeft", "qzqbpRight");

class TqzQuickButtonItem : public TCollectionItem {
  QZ_CLASS(TqzQuickButtonItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  std::string DisplayName() const override { return Caption.empty() ? ClassName() : Caption; }

  int ImageIndex = -1;  // in QuickImageList
  std::string Hint, Caption;
  TqzQuickButtonPosition Position = qzqbpLeft;
  bool Visible = true, Enabled = true;
  bool Checkable = false;  // a press toggles Down
  bool Down = false;
  // Opened below the button on a press; cleared when the menu is destroyed.
  TPopupMenu* PopupMenu() const { return popupMenu_.Get(); }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }
  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;

 private:
  TComponentRef<TPopupMenu> popupMenu_;
};

class TqzQuickButtonItems : public TCollection {
  QZ_CLASS(TqzQuickButtonItems, TCollection)
 public:
  explicit TqzQuickButtonItems(TPersistent* owner)
      : TCollection(owner, FactoryOf<TqzQuickButtonItem>()) {}
  TqzQuickButtonItem* Items(int index) const { return ItemAs<TqzQuickButtonItem>(index); }
  TqzQuickButtonItem* Add() { return static_cast<TqzQuickButtonItem*>(TCollection::Add()); }
};

// What the caption object reads of the controller's quick buttons and
// caption tabs. The controller owns everything pointed to and keeps it
// alive as long as the caption object; null pointers mean "none".
struct TqzCaptionExtras {
  TqzQuickButtonItems* QuickButtons = nullptr;
  TCustomImageList* QuickImageList = nullptr;  // quick buttons show only with it
  TqzCaptionTabs* CaptionTabs = nullptr;
  TCustomImageList* CaptionTabsImageList = nullptr;
  int* CaptionTabIndex = nullptr;  // the selected tab, written on a press
  TqzCaptionTabPos TabPos = qztpLeft;
  std::function<void()> OnTabChange;  // after a press changed *CaptionTabIndex
  bool ShowHint = false;              // QuickButtonsShowHint
};

}  // namespace qz
