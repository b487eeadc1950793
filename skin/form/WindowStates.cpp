// Window-state arithmetic of a skinned form and the items of its system and
// tray menus. Everything here is pure except FillSystemMenu, which writes a
// host menu tree.
#include "skin/form/WindowStates.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "host/ui/Menus.h"
#include "skin/data/ResourceStrData.h"

namespace qz {

// ---- Maximise ----

namespace {

TRect GrowByEdges(const TRect& r, const TqzEdges& e) {
  return {r.Left - e.Left, r.Top - e.Top, r.Right + e.Right, r.Bottom + e.Bottom};
}

// An auto-hidden task bar leaves the work area as large as the monitor; a
// form covering all of it would leave no pixel at the screen's edge to call
// the task bar back.
bool TaskBarHidesItself(const TqzMaximizeInput& in) {
  return in.WorkArea.Size() == in.Monitor.Size() && in.Monitor == in.Screen;
}

}  // namespace

TRect MaximizeTarget(const TqzMaximizeInput& in) {
  TRect target = in.FullScreen ? in.Monitor : in.WorkArea;
  if (!in.FullScreen && TaskBarHidesItself(in)) target = InflateRect(target, -1, -1);
  return GrowByEdges(target, in.Layer);
}

// ---- Minimise slots ----

TPoint MinimizeSlot(const TqzMinimizeSlotInput& in) {
  const int width = in.MinSize.cx;
  const int height = in.MinSize.cy;
  // The first column and the bottom row always exist; further ones while
  // they fit. A non-positive step would never leave its slot, so it gets
  // a single column or row.
  const int columns = width > 0 ? std::max(1, in.Area.Width() / width) : 1;
  const int rows = height > 0 ? std::max(1, in.Area.Height() / height) : 1;
  const TPoint shift{-in.Layer.Left, -in.Layer.Top};
  auto slotAt = [&](int column, int row) {
    return TPoint{in.Area.Left + column * width + shift.X,
                  in.Area.Bottom - (row + 1) * height + shift.Y};
  };
  auto taken = [&](TPoint p) { return std::ranges::find(in.Taken, p) != in.Taken.end(); };
  for (int row = 0; row < rows; ++row)
    for (int column = 0; column < columns; ++column)
      if (TPoint slot = slotAt(column, row); !taken(slot)) return slot;
  // Every slot is taken: the rows ran out above the top, so the search
  // starts again at the bottom row, where the first slot is shared.
  return slotAt(0, 0);
}

// ---- Magnetic snapping ----

namespace {

// One axis of the snap: the near edge (left / top) and the far edge
// (right / bottom) of the window against the area's [areaNear, areaFar).
struct TqzSnapAxis {
  int proposed;  // proposed near-edge coordinate
  int extent;    // window width / height
  int cursor;    // cursor coordinate on this axis
  int areaNear;
  int areaFar;
};

// Snaps or releases one edge that is stuck: stays at `snapped` until the
// cursor moved more than `magneticSize` away from where it stuck, then
// follows the cursor relative to the snapped position.
int HoldStuckEdge(const TqzSnapAxis& axis, int snapped, int magneticSize, bool& stuck,
                  int remembered) {
  if (std::abs(axis.cursor - remembered) <= magneticSize) return snapped;
  stuck = false;
  return axis.cursor + snapped - remembered;
}

bool InZone(int edge, int areaEdge, int magneticSize) {
  return std::abs(edge - areaEdge) < magneticSize;
}

int SnapAxis(const TqzSnapAxis& axis, int magneticSize, bool& stuckNear, bool& stuckFar,
             int& remembered) {
  const int nearSnapped = axis.areaNear;
  const int farSnapped = axis.areaFar - axis.extent;
  if (stuckNear) return HoldStuckEdge(axis, nearSnapped, magneticSize, stuckNear, remembered);
  if (stuckFar) return HoldStuckEdge(axis, farSnapped, magneticSize, stuckFar, remembered);
  if (InZone(axis.proposed, axis.areaNear, magneticSize)) {
    stuckNear = true;
    remembered = axis.cursor;
    return nearSnapped;
  }
  if (InZone(axis.proposed + axis.extent, axis.areaFar, magneticSize)) {
    stuckFar = true;
    remembered = axis.cursor;
    return farSnapped;
  }
  return axis.proposed;
}

}  // namespace

TPoint MagneticSnap(TPoint proposed, TSize size, TPoint cursor, const TRect& area, int magneticSize,
                    TqzMagneticState& state) {
  const TqzSnapAxis horizontal{proposed.X, size.cx, cursor.X, area.Left, area.Right};
  const TqzSnapAxis vertical{proposed.Y, size.cy, cursor.Y, area.Top, area.Bottom};
  return {SnapAxis(horizontal, magneticSize, state.StuckLeft, state.StuckRight, state.StuckX),
          SnapAxis(vertical, magneticSize, state.StuckTop, state.StuckBottom, state.StuckY)};
}

// ---- Drag away from the maximised state ----

TRect DragAwayBounds(const TRect& current, TSize saved, TPoint cursor, const TRect& workArea) {
  const int width = saved.cx > 0 ? saved.cx : current.Width();
  const int height = saved.cy > 0 ? saved.cy : current.Height();
  int left = cursor.X - width / 2;
  if (left + width > workArea.Right) left = workArea.Right - width;
  if (left < workArea.Left) left = workArea.Left;
  return Bounds(left, current.Top, width, height);
}

// ---- Client-mode roll-up ----

TRect RollUpObjectRect(const TRect& r, int rollUpLeftX, int rollUpRightX, int widthDiff) {
  if (rollUpLeftX >= rollUpRightX) return r;
  if (r.Left >= rollUpRightX) return OffsetRect(r, widthDiff, 0);
  if (r.Left < rollUpLeftX && r.Right > rollUpRightX)
    return {r.Left, r.Top, r.Right + widthDiff, r.Bottom};
  return r;
}

// ---- System and tray menus ----

namespace {

constexpr std::string_view kSeparator = "-";

// Every name the system and tray menus put into a host menu; a custom menu
// loses all of them before the items of the current state go in, so an
// item of an earlier state (say maximise) does not stay behind.
constexpr std::array<std::string_view, 9> kOwnItemNames = {
    "ORV_MINITEM", "ORV_MAXITEM",         "ORV_RESTORE",      "ORV_ROLLUP",    "ORV_MINTOTRAY",
    "ORV_CLOSE",   kSysMenuSeparatorName, "TRAY_ORV_RESTORE", "TRAY_ORV_CLOSE"};

std::string MenuCaption(std::string_view key, const TqzResourceStrData* strings) {
  std::string text = strings != nullptr ? strings->GetResourceStr(key) : std::string();
  return text.empty() ? DefaultResourceStr(key) : text;
}

TqzSysMenuItem Item(std::string name, std::string_view key, const TqzResourceStrData* strings) {
  return {std::move(name), MenuCaption(key, strings), {}};
}

std::string CloseShortCut(bool mdiChild) { return mdiChild ? "Ctrl+F4" : "Alt+F4"; }

// The separator and the close item end both menus; the separator only
// divides, so it needs items above it.
void AddSeparatorAndClose(std::vector<TqzSysMenuItem>& items, std::string closeName, bool mdiChild,
                          const TqzResourceStrData* strings) {
  if (!items.empty()) items.push_back({std::string(kSeparator), {}, {}});
  TqzSysMenuItem close = Item(std::move(closeName), "MI_CLOSECAPTION", strings);
  close.ShortCut = CloseShortCut(mdiChild);
  items.push_back(std::move(close));
}

}  // namespace

std::vector<TqzSysMenuItem> SystemMenuItems(const TqzSysMenuState& state,
                                            const TqzResourceStrData* strings) {
  const bool maximized = state.Maximized || state.MaximizedMDIChild;
  const bool showMaximize = !maximized && (state.MaximizeAllowed || !state.CustomMenu);
  std::vector<TqzSysMenuItem> items;
  if (!state.Minimized) items.push_back(Item("ORV_MINITEM", "MI_MINCAPTION", strings));
  if (showMaximize) items.push_back(Item("ORV_MAXITEM", "MI_MAXCAPTION", strings));
  if (state.Minimized || maximized || state.RolledUp)
    items.push_back(Item("ORV_RESTORE", "MI_RESTORECAPTION", strings));
  if (!state.RolledUp && !state.Minimized && !state.MaximizedMDIChild)
    items.push_back(Item("ORV_ROLLUP", "MI_ROLLUPCAPTION", strings));
  items.push_back(Item("ORV_MINTOTRAY", "MI_MINTOTRAYCAPTION", strings));
  AddSeparatorAndClose(items, "ORV_CLOSE", state.MDIChild, strings);
  return items;
}

std::vector<TqzSysMenuItem> TrayMenuItems(bool mdiChild, const TqzResourceStrData* strings) {
  std::vector<TqzSysMenuItem> items;
  items.push_back(Item("TRAY_ORV_RESTORE", "MI_RESTORECAPTION", strings));
  AddSeparatorAndClose(items, "TRAY_ORV_CLOSE", mdiChild, strings);
  return items;
}

namespace {

bool IsOwnItem(const TMenuItem& item) {
  return std::ranges::find(kOwnItemNames, std::string_view(item.Name())) != kOwnItemNames.end();
}

void RemoveOwnItems(TMenuItem& root) {
  for (int i = root.Count() - 1; i >= 0; --i)
    if (IsOwnItem(*root.Items(i))) root.Delete(i);
}

// The host item for one entry; owned by no component, so the parent menu
// item it is inserted into destroys it.
std::unique_ptr<TMenuItem> MakeHostItem(const TqzSysMenuItem& entry,
                                        const std::function<void(const std::string&)>& onClick) {
  auto item = std::make_unique<TMenuItem>(nullptr);
  if (entry.IsSeparator()) {
    item->SetName(kSysMenuSeparatorName);
    item->SetCaption(std::string(kSeparator));
    return item;
  }
  item->SetName(entry.Name);
  item->SetCaption(entry.Caption);
  if (!entry.ShortCut.empty()) item->SetShortCut(TextToShortCut(entry.ShortCut));
  if (onClick) item->OnClick = [onClick, name = entry.Name](TObject*) { onClick(name); };
  return item;
}

}  // namespace

void FillSystemMenu(TMenuItem& root, const std::vector<TqzSysMenuItem>& items, bool custom,
                    const std::function<void(const std::string& name)>& onClick) {
  if (custom)
    RemoveOwnItems(root);
  else
    root.Clear();
  int index = 0;
  for (const TqzSysMenuItem& entry : items) {
    std::unique_ptr<TMenuItem> item = MakeHostItem(entry, onClick);
    root.Insert(index++, item.get());
    item.release();  // the parent item owns it now
  }
}

}  // namespace qz
