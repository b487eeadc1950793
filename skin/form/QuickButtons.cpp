#include "skin/form/QuickButtons.h"

namespace qz {

QZ_PUBLISHED(TqzQuickButtonItem, TCollectionItem) {
  using T = TqzQuickButtonItem;
  b.Prop("ImageIndex", &T::ImageIndex, -1);
  b.Prop("Hint", &T::Hint);
  b.Prop("Caption", &T::Caption);
  b.Enum("Position", &T::Position, qzqbpLeft);
  b.Prop("Visible", &T::Visible, true);
  b.Prop("Enabled", &T::Enabled, true);
  b.Prop("Checkable", &T::Checkable, false);
  b.Prop("Down", &T::Down, false);
  b.Ref<TPopupMenu>("PopupMenu", &T::PopupMenu, &T::SetPopupMenu);
  b.Event<TNotifyEvent>("OnClick", &T::OnClick);
  b.Event<TMouseEvent>("OnMouseDown", &T::OnMouseDown);
}

QZ_PUBLISHED(TqzQuickButtonItems, TCollection) {}

}  // namespace qz
