// Placeholder bodies; the object family replaces them.
#include "skin/form/SkinObjects.h"

namespace qz {

TqzActiveSkinObject::TqzActiveSkinObject(TqzObjectHost& host, const TqzDataSkinObject& data)
    : host_(host), data_(data) {}
TqzActiveSkinObject::~TqzActiveSkinObject() = default;
bool TqzActiveSkinObject::InActiveArea(int, int) const { return true; }
void TqzActiveSkinObject::Changed() {}
void TqzActiveSkinObject::ShowLayer() {}
void TqzActiveSkinObject::HideLayer() {}
void TqzActiveSkinObject::DrawAlphaLayer(TCanvas&, TPixmap&) {}
void TqzActiveSkinObject::Draw(TCanvas&, bool) {}
void TqzActiveSkinObject::DblClick() {}
void TqzActiveSkinObject::MouseDown(int, int, TqzMouseButton) {}
void TqzActiveSkinObject::MouseUp(int, int, TqzMouseButton) {}
void TqzActiveSkinObject::MouseMove(int, int) {}
void TqzActiveSkinObject::MouseEnter() {}
void TqzActiveSkinObject::MouseLeave() {}
bool TqzActiveSkinObject::CanMorphing() const { return false; }
bool TqzActiveSkinObject::MorphStep() { return false; }
bool TqzActiveSkinObject::MorphingApplies() const { return false; }

TqzSkinObjectList CreateSkinObjects(TqzObjectHost&, const TqzSkinData&, const TMenu*) { return {}; }
TqzSkinObjectList CreateDefaultButtons(TqzObjectHost&) { return {}; }
void UpdateObjectStates(TqzSkinObjectList&, const TqzObjectStateInput&) {}
void PlaceObjects(TqzSkinObjectList&, const TqzObjectPlacement&) {}

}  // namespace qz
