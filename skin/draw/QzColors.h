// Colour helpers of the skin engine.
#pragma once

#include "host/base/Color.h"

namespace qz {

// The average of two colours, channel by channel (system colours resolved).
TColor MixColors(TColor A, TColor B);

}  // namespace qz
