// The two skins of the demonstration program. Each function paints every
// picture of its skin and fills in every description.
#pragma once

#include <memory>

#include "skins/painter/SkinBuilder.h"

namespace qz::skingen {

// "skin.ini": the main window's dark media-application look.
std::unique_ptr<TSkinBuilder> BuildMainSkin();
// "dialog.ini": the light look of the message box, the dialogs and the
// second window.
std::unique_ptr<TSkinBuilder> BuildDialogSkin();
// The program's icon (the caption's application mark) at size x size, with
// straight alpha: what the demo's tray icon shows.
TPixmap PaintAppIcon(int size);

}  // namespace qz::skingen
