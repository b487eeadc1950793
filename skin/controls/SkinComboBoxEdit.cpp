#include "skin/controls/SkinComboBoxEdit.h"

namespace qz {

IqzComboEdit* MakeDefaultComboEdit(TqzSkinCustomComboBox& Combo) {
  if (Combo.NumericKind()) return new TqzComboNumEdit(&Combo);
  return new TqzComboEdit(&Combo);
}

}  // namespace qz
