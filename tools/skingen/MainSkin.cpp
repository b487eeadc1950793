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
  TPainter p(skin.Picture());
  p.SoftShadow(TRectF(40, 40, 240, 120), TRadii(8), 10, Argb(0, 0, 0, 200));
  p.FillRoundRect(TRectF(40, 40, 240, 120), TRadii(8), TFill::Vertical(TRectF(40, 40, 240, 120), Hex(0x3D4450), Hex(0x2A2F38)));
  p.StrokeRoundRect(TRectF(40, 40, 240, 120), TRadii(8), 1, Hex(0x56606F));
  p.Text(TRect{40, 40, 240, 120}, "Add file", "Arial", 14, true, Hex(0xE6E9EF), 0x25);
  p.FillCircle(300, 80, 20, Hex(0x3D8EF0));
  p.Polyline({{290, 80}, {298, 88}, {312, 72}}, 2.5, Hex(0xFFFFFF));
  return owned;
}

}  // namespace qz::skingen
