// In-process redirection of the system colours, brushes and pens of
// host/base/Color.h (apart from it, so that Color.h, included almost
// everywhere, does without <functional>).
#pragma once

#include <functional>

#include "host/base/Color.h"

namespace qz {

// Each hook receives the arguments of GetSysColor, GetSysColorBrush or
// CreatePen and answers in place of the platform; the Real* functions of
// Color.h stay available to it. Passing an empty function removes that hook.
using TGetSysColorHook = std::function<TColorRef(int index)>;
using TGetSysColorBrushHook = std::function<TLogBrush(int index)>;
using TCreatePenHook = std::function<TLogPen(int style, int width, TColorRef color)>;
void SetGetSysColorHook(TGetSysColorHook hook);
void SetGetSysColorBrushHook(TGetSysColorBrushHook hook);
void SetCreatePenHook(TCreatePenHook hook);
bool IsGetSysColorHooked();
bool IsGetSysColorBrushHooked();
bool IsCreatePenHooked();

}  // namespace qz
