#include "tools/skingen/Paint.h"
#include "tools/skingen/Skins.h"

namespace qz::skingen {

std::unique_ptr<TSkinBuilder> BuildDialogSkin() {
  auto owned = std::make_unique<TSkinBuilder>("dialog.ini", 393, 268, Hex(0xF2F3F5));
  TSkinBuilder& skin = *owned;
  skin.SkinName = "Dialogs";
  auto& tb = skin.Control<TqzDataSkinTrackBarControl>("trackbar");
  tb.PictureIndex = skin.AddActivePicture("dlgcontrols.bmp", 256, 256, Hex(0xF2F3F5));
  skin.LeadWith("trackbar");
  return owned;
}

}  // namespace qz::skingen
