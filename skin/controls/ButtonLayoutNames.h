// The stream names of the glyph layout that buttons and tabs publish.
#pragma once

#include "host/components/Properties.h"
#include "skin/draw/QzText.h"

namespace qz {

QZ_ENUM(TqzButtonLayout, "blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom");

}  // namespace qz
