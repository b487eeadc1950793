// Placeholder bodies; the layered windows replace them.
#include "skin/form/LayerBorder.h"

namespace qz {

struct TqzFormLayerBorder::Impl {};
TqzFormLayerBorder::TqzFormLayerBorder(TqzLayerBorderOwner&) : impl_(std::make_unique<Impl>()) {}
TqzFormLayerBorder::~TqzFormLayerBorder() = default;
void TqzFormLayerBorder::SetSkin(TqzSkinData*) {}
bool TqzFormLayerBorder::Used() const { return false; }
bool TqzFormLayerBorder::Visible() const { return false; }
bool TqzFormLayerBorder::FullBorder() const { return false; }
TRect TqzFormLayerBorder::Extents() const { return {}; }
void TqzFormLayerBorder::Show() {}
void TqzFormLayerBorder::Hide() {}
void TqzFormLayerBorder::Update() {}
void TqzFormLayerBorder::MoveTo(int, int, int, int) {}
void TqzFormLayerBorder::SetPosition(int, int) {}
void TqzFormLayerBorder::SetAlpha(int, bool) {}
void TqzFormLayerBorder::SetActive(bool, bool) {}
void TqzFormLayerBorder::Suspend() {}
void TqzFormLayerBorder::Resume() {}

struct TqzLayerManager::Impl {};
TqzLayerManager::TqzLayerManager() : impl_(std::make_unique<Impl>()) {}
TqzLayerManager::~TqzLayerManager() = default;
void TqzLayerManager::ShowLayer(int, int, uint8_t, const TBitmap*, const TBitmap&) {}
void TqzLayerManager::HideLayer() {}
bool TqzLayerManager::Shown() const { return false; }

}  // namespace qz
