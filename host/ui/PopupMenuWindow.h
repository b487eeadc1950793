// The host's plain popup menu: a borderless, top-most window that is never
// activated and shows the visible sub-items of one menu item (less the
// redundant separators when the item reduces lines, TMenuItem::ShownItems;
// an item whose level would show nothing but separators opens none). The first
// window of a chain (the root) holds the mouse capture and the keyboard
// focus while it is open and routes input to the deepest open level;
// hovering or pressing Right on an item with sub-items opens a child window
// beside it.
//
// Closing hides every window of the chain, gives the focus back and deletes
// the windows later (deferred), so a window is never freed inside its own
// message handler. A chosen item's Click runs after the chain has closed.
#pragma once

#include <vector>

#include "host/ui/Controls.h"
#include "host/ui/Menus.h"

namespace qz {

class TPopupMenuWindow : public TCustomControl {
  QZ_CLASS(TPopupMenuWindow, TCustomControl)
 public:
  // A hidden window for the visible sub-items of `source`.
  TPopupMenuWindow(TComponent* AOwner, TMenuItem* source);
  ~TPopupMenuWindow() override;

  // Shows the window as the root of a chain at the screen point (aligned
  // by `alignment`, flipped onto the work area) and starts tracking input.
  void Popup(TPoint screen, TPopupAlignment alignment = paLeft);
  // Closes the whole chain without running a command.
  void CloseMenu();
  // True from Popup until the chain closes.
  bool IsOpen() const { return open_; }

  // Geometry, in client coordinates.
  static constexpr int kBorder = 3;
  static constexpr int kSeparatorHeight = 7;
  static constexpr int kMinItemHeight = 20;
  static constexpr int kGutter = 20;      // check mark column on the left
  static constexpr int kArrowColumn = 20; // submenu arrow column on the right
  static constexpr int kShortCutGap = 20;
  int ItemCount() const { return static_cast<int>(rows_.size()); }
  TMenuItem* Item(int index) const;
  TRect ItemRect(int index) const;
  // The row under a client point, -1 when none.
  int ItemAt(TPoint client) const;
  // The window size its items need (the window gets it at Popup).
  TSize MeasureSize();

  int HotIndex() const { return hot_; }
  void SetHotIndex(int index);
  // The open child level, null when none.
  TPopupMenuWindow* Submenu() const { return child_.Get(); }

  // Chooses the menu's item: closes the chain, then runs its Click once.
  void ChooseItem(int index);

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Dispatch(TMessage& message) override;

 private:
  struct TRow {
    TComponentRef<TMenuItem> item;
    int top = 0;
    int height = 0;
  };
  void BuildRows();
  TPopupMenuWindow* Root();
  TPopupMenuWindow* Deepest();
  // The open level whose window holds the screen point, deepest first.
  TPopupMenuWindow* LevelAt(TPoint screen);
  bool Selectable(int index) const;
  bool HasSubItems(int index) const;
  int NextSelectable(int from, int step) const;

  void OpenSubmenu(bool selectFirst);
  void CloseSubmenu();
  void ShowAt(TPoint topLeft);
  TPoint SubmenuPosition(TSize size) const;

  void MouseMoved(TPoint screen);
  void ButtonDown(TPoint screen, bool left);
  void ButtonUp(TPoint screen);
  void KeyDownInMenu(uint16_t key);
  void CharInMenu(char32_t ch);
  void ChooseByAccelerator(char32_t ch);
  void HideAndForget();

  void PaintRow(TCanvas& canvas, int index);
  void PaintMark(TCanvas& canvas, const TRect& gutter, const TMenuItem& item, TColor color);
  void PaintArrow(TCanvas& canvas, const TRect& r, TColor color);

  TComponentRef<TMenuItem> source_;
  std::vector<TRow> rows_;
  int textWidth_ = 0;       // widest caption
  int shortCutWidth_ = 0;   // widest short cut text
  int hot_ = -1;
  bool open_ = false;
  bool closing_ = false;
  bool pressed_ = false;    // the left button went down inside the chain
  TComponentRef<TPopupMenuWindow> parent_;
  TComponentRef<TPopupMenuWindow> child_;
  HWND previousFocus_ = nullptr;
};

}  // namespace qz
