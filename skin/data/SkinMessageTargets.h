// The receivers of the skin messages: by default the application's forms in
// form order; tests and tools may install their own list.
#pragma once

#include <vector>

#include "skin/data/SkinData.h"

namespace qz {

// The receivers now: the installed list, else the host's forms.
std::vector<TqzSkinMessageTarget> CurrentSkinMessageTargets();

}  // namespace qz
