// The main window: a skinned window in client mode dressed by "skin.ini";
// it carries both embedded skins and their skin data components.
#pragma once

#include "host/ui/Forms.h"

namespace qz {

class TqzOrvane;
class TqzSkinData;
class TqzCompressedStoredSkin;

class TForm1 : public TForm {
  QZ_CLASS(TForm1, TForm)
 public:
  explicit TForm1(TComponent* AOwner);

  TqzOrvane* qzOrvane1 = nullptr;
  TqzCompressedStoredSkin* qzCompressedStoredSkin1 = nullptr;
  TqzSkinData* qzSkinData1 = nullptr;
  TqzSkinData* qzSkinData2 = nullptr;
  TqzCompressedStoredSkin* qzCompressedStoredSkin2 = nullptr;
};

}  // namespace qz
