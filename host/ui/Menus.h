// Menus: TMenuItem trees held by a main menu (the form's menu bar) or a
// popup menu. The skinned menu engine draws and tracks the windows; until
// one takes over (PopupHook), a popup menu shows the host's plain popup menu
// window (host/ui/PopupMenuWindow.h). Items may be owned by the form (as a form
// resource creates them) or by their parent item; either way an item that
// is destroyed leaves its parent's list, and an item destroys its sub-items.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/base/Exception.h"
#include "host/components/Component.h"
#include "host/components/Events.h"
#include "host/components/Properties.h"
#include "host/graphics/Bitmap.h"

namespace qz {

class TActionLink;
class TBasicAction;
class TCustomImageList;
class TMenu;
class TPopupMenuWindow;

class EMenuError : public Exception {
 public:
  using Exception::Exception;
};

// A shortcut is a virtual-key code plus modifier bits.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(uint16_t key, TShiftState shift);
// Splits a shortcut into key and modifiers.
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "Ctrl+S", "Shift+Ctrl+F1", "Alt+Del"; "" for 0 or a key without a name.
std::string ShortCutToText(TShortCut shortCut);
// The inverse of ShortCutToText (modifier names case-insensitive, in any
// order); 0 when the text names no key.
TShortCut TextToShortCut(std::string_view text);

// Caption helpers: "&" marks the accelerator, "&&" is a literal "&".
std::string StripHotkey(std::string_view caption);
// The accelerator character (upper-cased ASCII) or 0.
char GetHotkey(std::string_view caption);

// Where an item starts a new column of its menu.
enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
QZ_ENUM(TMenuBreak, "mbNone", "mbBreak", "mbBarBreak");

// Whether a level leaves out its redundant separators by itself: always
// (maAutomatic), never (maManual: the application arranges its separators),
// or as the level above does (maParent; a menu itself counts as automatic).
enum TMenuAutoFlag { maAutomatic, maManual, maParent };
QZ_ENUM(TMenuAutoFlag, "maAutomatic", "maManual", "maParent");

class TMenuItem : public TComponent {
  QZ_CLASS(TMenuItem, TComponent)
  QZ_PUBLISHED_ACCESS(TMenuItem);

 public:
  explicit TMenuItem(TComponent* AOwner);
  // Destroys the sub-items and leaves the parent's list.
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  // A caption of "-" makes the item a separator line.
  bool IsLine() const { return caption_ == "-"; }

  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value);
  // Setting Checked on a radio item unchecks the other radio items with the
  // same GroupIndex among its siblings.
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  // The item's own glyph, used when the menu has no image for it.
  TBitmap& Bitmap() { return *bitmap_; }
  const TBitmap& Bitmap() const { return *bitmap_; }
  void SetBitmap(const TBitmap& value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  TMenuBreak Break() const { return break_; }
  void SetBreak(TMenuBreak value);
  // Separator reduction of this item's sub-items (maParent by default).
  TMenuAutoFlag AutoLineReduction() const { return autoLineReduction_; }
  void SetAutoLineReduction(TMenuAutoFlag value);
  // The reduction that applies to the sub-items: this item's own setting,
  // else the nearest parent's that is not maParent, else the menu's.
  bool ReducesLines() const;
  // The sub-items (from `startIndex`) a level of this item shows: the
  // visible ones, less the redundant separators when it reduces lines.
  std::vector<TMenuItem*> ShownItems(int startIndex = 0) const;
  // Whether such a level would show anything but separators. An item
  // without it opens no level: it is a command item, whatever it holds.
  bool HasShownItems(int startIndex = 0) const;

  TNotifyEvent OnClick;
  // When the item is enabled: OnClick, or without one the linked action's
  // command.
  virtual void Click();

  // The item takes the action's caption, enabled, checked and visible
  // states, hint, image index and shortcut whenever the action changes.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* value);
  // Lets the linked action update itself (its OnUpdate) before the item is
  // shown. The update's handlers may free the item.
  void InitiateAction();

  // Sub-items.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const;  // EMenuError when out of range
  // Adds / inserts an item that has no parent yet (EMenuError otherwise, or
  // when it would become its own ancestor).
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the item out of the list without destroying it.
  void Remove(TMenuItem* item);
  // Destroys the item at index.
  void Delete(int index);
  // Destroys every sub-item.
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  // The first sub-item whose caption without "&" equals `caption`
  // (case-insensitive), or null.
  TMenuItem* Find(std::string_view caption) const;

  TMenuItem* Parent() const { return parent_; }
  // Position in the parent's list, -1 without a parent. Setting it moves
  // the item (clamped to the list).
  int MenuIndex() const;
  void SetMenuIndex(int value);
  // The menu whose Items tree holds this item, or null.
  TMenu* GetParentMenu() const;

  // Called after an item or a property changed; the menu passes it on.
  virtual void MenuChanged();

  // Form resources: items nest inside their parent item or menu.
  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;

 private:
  friend class TMenu;
  void CheckNewChild(TMenuItem* item) const;
  void UncheckGroupSiblings();
  std::vector<uint8_t> BitmapData() const;
  void SetBitmapData(const std::vector<uint8_t>& data);
  void ActionChange(TBasicAction& action);

  std::string caption_;
  TShortCut shortCut_ = 0;
  bool checked_ = false;
  bool radioItem_ = false;
  int groupIndex_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  int imageIndex_ = -1;
  std::unique_ptr<TBitmap> bitmap_;
  std::string hint_;
  TMenuBreak break_ = mbNone;
  TMenuAutoFlag autoLineReduction_ = maParent;
  TMenuItem* parent_ = nullptr;
  bool destroying_ = false;
  TMenu* menu_ = nullptr;  // set on a menu's root item only
  std::vector<TMenuItem*> items_;
  std::unique_ptr<TActionLink> actionLink_;
};

// Which of `items` a menu leaves out as redundant separators: a separator
// before the first or after the last shown item, and one that follows
// another shown separator. Hidden items (and null entries) count as absent;
// nothing is changed on the items themselves.
std::vector<bool> RedundantLines(const std::vector<TMenuItem*>& items);
// The entries of `items` a level shows, in order: the visible ones, less
// the redundant separators when `reduceLines` (null entries never).
std::vector<TMenuItem*> ShownMenuItems(const std::vector<TMenuItem*>& items, bool reduceLines);
// Whether any of `items` is a visible item other than a separator.
bool AnyShownCommand(const std::vector<TMenuItem*>& items);

class TMenu : public TComponent {
  QZ_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The root item (not streamed itself; its sub-items are the menu).
  TMenuItem* Items() const { return items_; }
  // Glyphs for the items' ImageIndex; cleared when the list is destroyed.
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* value);
  // Separator reduction of the top level and of every item left at
  // maParent (maAutomatic by default; maParent counts as automatic).
  TMenuAutoFlag AutoLineReduction() const { return autoLineReduction_; }
  void SetAutoLineReduction(TMenuAutoFlag value);

  // Depth-first search of the whole tree for the first visible item with
  // that shortcut (0 finds nothing); keyboard handling uses it.
  TMenuItem* FindItem(TShortCut shortCut) const;
  // Depth-first search by caption without "&" (case-insensitive).
  TMenuItem* FindItemByCaption(std::string_view caption) const;

  // Fired after any item of the tree changed (skinned menus repaint).
  TNotifyEvent OnChange;
  virtual void MenuChanged(TMenuItem* source);

 private:
  TMenuItem* items_;  // owned by this menu
  TCustomImageList* images_ = nullptr;
  TMenuAutoFlag autoLineReduction_ = maAutomatic;
};

class TMainMenu : public TMenu {
  QZ_CLASS(TMainMenu, TMenu)
 public:
  using TMenu::TMenu;
};

enum TPopupAlignment { paLeft, paRight, paCenter };
QZ_ENUM(TPopupAlignment, "paLeft", "paRight", "paCenter");

class TPopupMenu : public TMenu {
  QZ_CLASS(TPopupMenu, TMenu)
 public:
  using TMenu::TMenu;

  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment value) { alignment_ = value; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  // The component that last popped the menu up (set by the caller).
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value) { SetReference(popupComponent_, value); }

  // Closes its window when one is open.
  ~TPopupMenu() override;

  // Fires OnPopup, then DoPopup(x, y) at screen point (x, y). The skinned
  // menu engine overrides DoPopup (or installs PopupHook) to show it;
  // without either the host's plain popup menu window shows the items.
  // Returns at once: the window stays open until an item is chosen or the
  // menu is cancelled.
  void Popup(int x, int y);
  TNotifyEvent OnPopup;
  std::function<void(TPopupMenu& menu, int x, int y)> PopupHook;

  // The host's popup window: whether it is open, its screen rectangle
  // (empty when closed) and closing it without a command.
  bool IsShowing() const;
  TRect PopupRect() const;
  void ClosePopup();
  // The open window (null when closed), for callers that drive it.
  TPopupMenuWindow* PopupWindow() const;

 protected:
  virtual void DoPopup(int x, int y);

 private:
  TPopupAlignment alignment_ = paLeft;
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
  TComponentRef<TPopupMenuWindow> window_;
};

}  // namespace qz
