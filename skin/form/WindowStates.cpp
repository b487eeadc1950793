// Placeholder bodies; the window-state work replaces them.
#include "skin/form/WindowStates.h"

namespace qz {

TRect MaximizeTarget(const TqzMaximizeInput& in) { return in.WorkArea; }
TPoint MinimizeSlot(const TqzMinimizeSlotInput& in) { return {in.Area.Left, in.Area.Bottom - in.MinSize.cy}; }
TPoint MagneticSnap(TPoint proposed, TSize, TPoint, const TRect&, int, TqzMagneticState&) { return proposed; }
TRect DragAwayBounds(const TRect& current, TSize, TPoint, const TRect&) { return current; }
TRect RollUpObjectRect(const TRect& r, int, int, int) { return r; }
std::vector<TqzSysMenuItem> SystemMenuItems(const TqzSysMenuState&, const TqzResourceStrData*) { return {}; }
std::vector<TqzSysMenuItem> TrayMenuItems(bool, const TqzResourceStrData*) { return {}; }
void FillSystemMenu(TMenuItem&, const std::vector<TqzSysMenuItem>&, bool,
                    const std::function<void(const std::string&)>&) {}

}  // namespace qz
