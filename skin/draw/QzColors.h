// Colour helpers of the skin engine.
#pragma once

#include "host/base/Color.h"

namespace qz {

// The plain look (a control without a skin) marks a part under the mouse
// with a light blue fill in a darker blue frame, and a pressed part with a
// deeper fill in the same frame. Every plain control, menu and button uses
// these three.
inline constexpr TColor kPlainLookHotFill = 0xF3D4C1;   // RGB(193, 212, 243)
inline constexpr TColor kPlainLookDownFill = 0xE4BCA2;  // RGB(162, 188, 228)
inline constexpr TColor kPlainLookHotFrame = 0xB76B3B;  // RGB(59, 107, 183)

// The average of two colours, channel by channel (system colours resolved).
TColor MixColors(TColor A, TColor B);

}  // namespace qz
