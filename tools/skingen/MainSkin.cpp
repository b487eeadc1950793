#include "tools/skingen/Paint.h"
#include "tools/skingen/Skins.h"

namespace qz::skingen {

std::unique_ptr<TSkinBuilder> BuildMainSkin() {
  auto owned = std::make_unique<TSkinBuilder>("skin.ini", 820, 602, Hex(0x1E2128));
  TSkinBuilder& skin = *owned;
  skin.SkinName = "Video converter";
  auto& sb = skin.Control<TqzDataSkinScrollBarControl>("lbscrollbar");
  sb.PictureIndex = skin.AddActivePicture("controls.bmp", 256, 256, Hex(0x1E2128));
  skin.LeadWith("lbscrollbar");
  return owned;
}

}  // namespace qz::skingen
