// Multiple-document forms. A form whose FormStyle is fsMDIForm gets an MDI
// client: a child window that fills the form's client area below its aligned
// controls. Forms made with fsMDIChild become child windows of the client of
// the application's MDI form; the client keeps them in activation order
// (the active child first), activates them on a click, arranges them
// (cascade, tile), and runs their window states itself: a maximised child
// fills the client with its frame outside, and while one child is maximised
// every other shown child is too; a minimised child is a caption bar in a
// slot along the client's bottom edge.
//
// Every change the main form's menu bar must follow (a child added, removed,
// activated, maximised, restored, or its menu changed) reaches the MDI form
// as CM_MDICHANGED, which the form passes on to its controls.
#pragma once

#include <vector>

#include "host/ui/Controls.h"

namespace qz {

class TCustomForm;
class TMainMenu;
class TMenuItem;
enum class TWindowState;

enum class TTileMode { tbHorizontal, tbVertical };
using enum TTileMode;
QZ_ENUM(TTileMode, "tbHorizontal", "tbVertical");

// The width of a minimised child.
inline constexpr int kMDIMinimizedWidth = 160;

// Arrangement geometry (client coordinates of the MDI client), for `count`
// children in z-order from the bottom one to the top one.
// Cascade: child k at (k * step, k * step), each (W - (n-1)*step) x
// (H - (n-1)*step), at least kMDIMinimizedWidth x step wide and high.
std::vector<TRect> CascadeRects(const TRect& area, int count, int step);
// Tile: horizontal = one row per child, vertical = one column per child;
// the last row or column takes what the division leaves.
std::vector<TRect> TileRects(const TRect& area, int count, TTileMode mode);
// The i-th slot (0-based) of a minimised child of size `size` in `area`:
// along the bottom edge from the left, then one row up.
TPoint MinimizedSlot(const TRect& area, TSize size, int index);

// The items a main menu shows while an MDI child with its own menu is
// active: the main menu's items whose GroupIndex occurs in no item of the
// child's menu, then the child's items, ordered by GroupIndex (stable, so
// the main menu's items stay before the child's within a group). Hidden
// items are left out. Without a child menu: the main menu's visible items
// in their own order.
std::vector<TMenuItem*> MergedMenuItems(const TMainMenu* main, const TMainMenu* child);

class TMDIClient : public TCustomControl {
  QZ_CLASS(TMDIClient, TCustomControl)
 public:
  explicit TMDIClient(TCustomForm& form);
  ~TMDIClient() override;

  TCustomForm& Form() const { return form_; }
  // Children in activation order, the active one first (hidden ones too).
  int ChildCount() const { return static_cast<int>(children_.size()); }
  TCustomForm* Children(int i) const { return children_[size_t(i)]; }
  TCustomForm* ActiveChild() const { return active_; }
  // True while the shown children are maximised.
  bool ChildrenMaximized() const { return maximized_; }

  // ---- what child forms call
  void AddChild(TCustomForm& child);
  void ChildShown(TCustomForm& child);
  void ChildHidden(TCustomForm& child);
  void ChildDestroying(TCustomForm& child);
  void Activate(TCustomForm* child);
  void SetChildState(TCustomForm& child, TWindowState state);

  // ---- arrangement and navigation
  void Cascade();
  void Tile(TTileMode mode);
  void ArrangeIcons();
  void Next();
  void Previous();
  // Deletes every child (the MDI form goes).
  void DestroyChildren();
  // The bounds a maximised child takes: the client with the frame outside.
  TRect MaximizedBounds(const TCustomForm& child) const;
  // The frame widths of a child (from its window style).
  static TRect FrameInsets(const TCustomForm& child);

  // Tells the MDI form (and through it its controls) that something changed.
  void NotifyForm();

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void Resize() override;

 private:
  std::vector<TCustomForm*> ShownChildren() const;
  std::vector<TCustomForm*> ArrangedChildren() const;
  void MaximizeChild(TCustomForm& child);
  void RestoreChild(TCustomForm& child);
  void MinimizeChild(TCustomForm& child);
  void PlaceChildBounds(TCustomForm& child, const TRect& r);
  void ActivateNextAfter(TCustomForm& gone);
  void UpdateMaximizedFlag();
  TSize MinimizedSize(const TCustomForm& child) const;

  TCustomForm& form_;
  std::vector<TCustomForm*> children_;
  TCustomForm* active_ = nullptr;
  bool maximized_ = false;
  bool destroying_ = false;
  int placed_ = 0;   // default positions handed out so far
};

}  // namespace qz
