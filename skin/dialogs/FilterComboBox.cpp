#include "skin/dialogs/FilterComboBox.h"

#include "host/components/Properties.h"

namespace qz {

TqzSkinFilterComboBox::TqzSkinFilterComboBox(TComponent* AOwner) : TqzSkinCustomComboBox(AOwner) {
  SetStyle(qzcbFixedStyle);
  filter_ = kDefaultFilter;
  Parse();
}

void TqzSkinFilterComboBox::SetFilter(const std::string& V) {
  if (V == filter_) return;
  filter_ = V;
  Parse();
}

void TqzSkinFilterComboBox::Parse() {
  entries_ = ParseFilter(filter_);
  Items().BeginUpdate();
  Items().Clear();
  for (const TqzFilterEntry& e : entries_) Items().Add(e.Description);
  Items().EndUpdate();
  SetItemIndex(entries_.empty() ? -1 : 0);
}

void TqzSkinFilterComboBox::Change() {
  TComponentRef<TqzSkinFilterComboBox> self(this);
  TqzSkinCustomComboBox::Change();
  if (self && OnFilterChange) OnFilterChange(this);
}

QZ_PUBLISHED(TqzSkinFilterComboBox, TqzSkinCustomComboBox) {
  using O = TqzSkinFilterComboBox;
  b.Factory([](TComponent* owner) { return new TqzSkinFilterComboBox(owner); });
  b.Prop("SkinDataName", &O::SkinDataName,
         [](O& o, const std::string& v) { o.SetSkinDataName(v); }, std::string("combobox"));
  b.Prop("Filter", &O::Filter, &O::SetFilter, std::string(O::kDefaultFilter));
  b.Prop("DropDownCount", &O::DropDownCount, &O::SetDropDownCount, 8);
  b.Event<TNotifyEvent>("OnFilterChange", &O::OnFilterChange);
}

}  // namespace qz
