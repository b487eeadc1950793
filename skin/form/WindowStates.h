// The window-state arithmetic of a skinned form, free of any window: where a
// maximised form goes, the minimise slot, the magnetic snap of a dragged
// window, the restore of a maximised form dragged away, the re-placement of
// objects for the roll-up picture, and the items of the system and tray
// menus. The controller runs the transitions and feeds these functions.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/base/Types.h"

namespace qz {

class TMenuItem;
class TqzResourceStrData;

// Border extents of a layered border (widths on each side; zero without one).
struct TqzEdges {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// ---- Maximise ----
struct TqzMaximizeInput {
  TRect Monitor;    // of the window's monitor
  TRect WorkArea;   // of the same monitor
  TRect Screen;     // the whole virtual screen
  bool FullScreen = false;  // MaximizeOnFullScreen
  TqzEdges Layer;
};
// The bounds of the maximised form: the work area (the monitor on full
// screen), a 1-pixel margin when the task bar hides itself, grown by a
// layered border. The margin belongs to the work-area case only: a full
// screen form covers its monitor on purpose.
TRect MaximizeTarget(const TqzMaximizeInput& in);

// ---- Minimise slots of forms other than the main form ----
struct TqzMinimizeSlotInput {
  TRect Area;                  // work area (MDI client area for a child)
  TSize MinSize;               // the form's minimum width and height
  std::vector<TPoint> Taken;   // top-left of other minimised skinned forms
  TqzEdges Layer;
};
// Top-left of the first free slot: bottom row from the left, rows upwards,
// back to the bottom-left slot when every slot is taken. With a layered
// border every slot is shifted up and left by the border's left and top
// extents (as the maximise target grows by them); `Taken` holds real form
// positions, so candidates are compared after that shift.
TPoint MinimizeSlot(const TqzMinimizeSlotInput& in);

// ---- Magnetic snapping ----
struct TqzMagneticState {
  bool StuckLeft = false, StuckTop = false, StuckRight = false, StuckBottom = false;
  int StuckX = 0, StuckY = 0;  // cursor where the horizontal / vertical edge stuck
  void Reset() { *this = TqzMagneticState{}; }
};
// The top-left for a window of `size` proposed at `proposed`, with the
// cursor at `cursor`, against `area` (outer extents already added by the caller).
// Each axis is handled on its own; the left edge is tried before the right
// and the top before the bottom. The caller calls state.Reset() on every
// size change.
TPoint MagneticSnap(TPoint proposed, TSize size, TPoint cursor, const TRect& area, int magneticSize,
                    TqzMagneticState& state);

// ---- Drag away from the maximised state ----
// The restored bounds: the saved width and height at the current top,
// centred horizontally on the cursor, kept inside the work area (the left
// edge wins when the form is wider than the area). An empty saved size
// keeps the current size rather than shrinking the form to nothing.
TRect DragAwayBounds(const TRect& current, TSize saved, TPoint cursor, const TRect& workArea);

// ---- Client-mode roll-up ----
// An object's rectangle on the roll-up picture: one starting at or right of
// rolluprightpoint moves by the width difference, one starting left of
// rollupleftpoint and ending right of rolluprightpoint grows by it. Without
// a tiled middle (left point not left of the right point) nothing moves.
TRect RollUpObjectRect(const TRect& r, int rollUpLeftX, int rollUpRightX, int widthDiff);

// ---- System and tray menus ----
struct TqzSysMenuState {
  bool Minimized = false, Maximized = false, RolledUp = false;
  bool MDIChild = false, MaximizedMDIChild = false;
  bool MaximizeAllowed = true;  // biMaximize (the custom menu leaves maximise out without it)
  bool CustomMenu = false;      // the items go on top of a custom SystemMenu
};
struct TqzSysMenuItem {
  std::string Name;     // "ORV_MINITEM" ... or "-" for the separator
  std::string Caption;  // from the skin's strings, else the built-in text
  std::string ShortCut; // "Alt+F4" / "Ctrl+F4" for close, else empty
  bool IsSeparator() const { return Name == "-"; }
};
// The default system menu's items in order for this state; `strings` may be
// null. A caption the strings lack (or hold empty) falls back to the
// built-in text, so no item is ever blank.
std::vector<TqzSysMenuItem> SystemMenuItems(const TqzSysMenuState& state,
                                            const TqzResourceStrData* strings);
std::vector<TqzSysMenuItem> TrayMenuItems(bool mdiChild, const TqzResourceStrData* strings);
// Writes `items` into a host menu: the whole menu (custom = false), or, for
// a custom system menu, the named items removed and inserted again at its
// top. Each item's click calls `onClick` with its name. The host items carry
// the names as component names (the separator as kSysMenuSeparatorName), so
// a later call finds and replaces them instead of adding a second set.
inline constexpr const char* kSysMenuSeparatorName = "ORV_SEPARATOR";
void FillSystemMenu(TMenuItem& root, const std::vector<TqzSysMenuItem>& items, bool custom,
                    const std::function<void(const std::string& name)>& onClick);

}  // namespace qz
