#include "app/Unit2.h"

#include "skin/data/SkinData.h"
#include "skin/form/Orvane.h"

namespace qz {

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner) {
  BindField("qzOrvane1", qzOrvane1);
  InitFromResource();
}

QZ_PUBLISHED(TForm2, TForm) {
  b.Factory([](TComponent* owner) { return new TForm2(owner); });
}

}  // namespace qz
