// Skinned controls that cannot descend from the skin control bases (they
// extend a host control such as the page control) take part in the
// controller's skin-change walk through this interface.
#pragma once

namespace qz {

class TqzSkinData;

class IqzSkinChangeClient {
 public:
  virtual ~IqzSkinChangeClient() = default;
  virtual TqzSkinData* SkinData() const = 0;
  // The skin's descriptions and pictures are about to go: drop references.
  virtual void BeforeChangeSkinData() = 0;
  // Look the description up again, resize and repaint.
  virtual void ChangeSkinData() = 0;
};

}  // namespace qz
