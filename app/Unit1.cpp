#include "app/Unit1.h"

#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"

namespace qz {

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  BindField("qzOrvane1", qzOrvane1);
  BindField("qzCompressedStoredSkin1", qzCompressedStoredSkin1);
  BindField("qzSkinData1", qzSkinData1);
  BindField("qzSkinData2", qzSkinData2);
  BindField("qzCompressedStoredSkin2", qzCompressedStoredSkin2);
  InitFromResource();
}

QZ_PUBLISHED(TForm1, TForm) {
  b.Factory([](TComponent* owner) { return new TForm1(owner); });
}

}  // namespace qz
