// The window-state arithmetic of a skinned form, free of any window: where a
// maximised form goes, the minimise slot, the magnetic snap of a dragged
// window, the restore of a maximised form dragged away, the re-placement of
// objects for the roll-up picture, and the items of the system and tray
// menus. The controller runs the transitions and feeds these functions.
#pragma once

#include <string>
#include <vector>

#include "host/base/Types.h"

namespace qz {
// Filled in by the window-state work.
}  // namespace qz
