// The packed demo skins as the program sees them: the compressed skin file
// read by the stored skin holder, its container parsed, and the skin loaded
// by the skin data component. Loaded once per test program.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/graphics/BmpCodec.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinIni.h"

namespace qz::testing {

struct TDemoSkin {
  std::vector<uint8_t> Compressed;  // the holder's zlib stream
  std::vector<uint8_t> Inflated;
  TqzSkinContainer Layout;          // views into Inflated
  TqzIniFile Text;                  // the description text
  std::unique_ptr<TqzCompressedStoredSkin> Holder;
  std::unique_ptr<TqzSkinData> Skin;

  // Width, height and bits per pixel of a BMP of the container.
  static TBmpImage Header(std::span<const uint8_t> bmp) { return DecodeBmp(bmp); }
};

inline std::string DemoSkinPath(const std::string& file) {
  return std::string(QZ_SKINS_DIR) + "/" + file;
}

// "skin.skn" or "dialog.skn" from the build's skins folder. Raises what the
// readers raise when the file is missing or broken.
inline const TDemoSkin& DemoSkin(const std::string& file) {
  static std::map<std::string, std::unique_ptr<TDemoSkin>> loaded;
  auto& slot = loaded[file];
  if (slot) return *slot;
  auto s = std::make_unique<TDemoSkin>();
  s->Holder = std::make_unique<TqzCompressedStoredSkin>(nullptr);
  s->Holder->LoadFromCompressedFile(DemoSkinPath(file));
  s->Compressed = s->Holder->CompressedData();
  s->Inflated = InflateSkinStream(s->Compressed);
  ParseSkinContainer(s->Inflated, s->Layout);
  s->Text.SetText(s->Layout.Text);
  s->Skin = std::make_unique<TqzSkinData>(nullptr);
  s->Skin->LoadFromStoredSkin(*s->Holder);
  slot = std::move(s);
  return *slot;
}

inline const TDemoSkin& MainSkin() { return DemoSkin("skin.skn"); }
inline const TDemoSkin& DialogSkin() { return DemoSkin("dialog.skn"); }

}  // namespace qz::testing
