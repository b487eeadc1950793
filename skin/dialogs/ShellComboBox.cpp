#include "skin/dialogs/ShellComboBox.h"

#include "host/components/Properties.h"
#include "host/graphics/Canvas.h"
#include "skin/dialogs/SystemImages.h"
#include "skin/draw/QzText.h"

namespace qz {

namespace {

// Whether folder lies in (or is) the file-system folder `place`.
bool Within(const TShellId& folder, const TShellId& place) {
  if (folder.IsVirtual() || place.IsVirtual()) return false;
  if (place.Path == "/") return true;
  return folder.Path == place.Path ||
         (folder.Path.size() > place.Path.size() && folder.Path.compare(0, place.Path.size(), place.Path) == 0 &&
          folder.Path[place.Path.size()] == '/');
}

}  // namespace

std::vector<TqzShellComboEntry> ShellComboEntries(const TShellId& folder, const TPlaces& places, int& current) {
  std::vector<TqzShellComboEntry> out;
  out.push_back({TShellId::Computer(), places.DisplayName(TShellId::Computer()), 0, -1});
  current = IsRoot(folder) ? 0 : -1;
  const std::vector<TPlace> contents = places.ComputerContents();
  // The place holding the folder most closely (the longest path).
  int holder = -1;
  for (size_t i = 0; i < contents.size(); ++i) {
    const TShellId& id = contents[i].Id;
    if (id == folder || Within(folder, id))
      if (holder < 0 || id.Path.size() > contents[size_t(holder)].Id.Path.size()) holder = int(i);
  }
  for (size_t i = 0; i < contents.size(); ++i) {
    out.push_back({contents[i].Id, contents[i].DisplayName, 1, -1});
    if (contents[i].Id == folder) current = int(out.size()) - 1;
    if (int(i) != holder || contents[i].Id == folder) continue;
    // The folders between the place and the current folder, outermost first.
    std::vector<TShellId> chain;
    for (TShellId at = folder; !(at == contents[i].Id) && !IsRoot(at); at = ParentOf(at)) chain.push_back(at);
    int level = 2;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it, ++level)
      out.push_back({*it, places.DisplayName(*it), level, -1});
    current = int(out.size()) - 1;
  }
  if (current < 0) {
    // A folder outside every place (a network folder, say): shown below the root.
    out.push_back({folder, places.DisplayName(folder), 1, -1});
    current = int(out.size()) - 1;
  }
  return out;
}

TqzSkinShellComboBox::TqzSkinShellComboBox(TComponent* AOwner) : TqzSkinCustomComboBox(AOwner) {
  SetStyle(qzcbFixedStyle);
  OnComboBoxDrawItem = [this](TCanvas& c, int index, TRect text) { DrawEntry(c, index, text, false); };
  SetOnListBoxDrawItem([this](TCanvas& c, int index, TSize, TRect text, TOwnerDrawState) {
    DrawEntry(c, index, text, true);
  });
}

void TqzSkinShellComboBox::SetSystemImages(TqzSystemImages* V) { SetReference(images_, V); }

const TPlaces& TqzSkinShellComboBox::Places() {
  if (!places_) places_ = std::make_shared<const TPlaces>(PlacesSettingsFromEnvironment());
  return *places_;
}

void TqzSkinShellComboBox::SetFolder(const TShellId& Folder) {
  folder_ = Folder;
  int current = -1;
  entries_ = ShellComboEntries(Folder, Places(), current);
  for (TqzShellComboEntry& e : entries_)
    if (images_) e.ImageIndex = images_->IndexOfId(e.Id, true);
  Items().BeginUpdate();
  Items().Clear();
  for (const TqzShellComboEntry& e : entries_) Items().Add(e.DisplayName);
  Items().EndUpdate();
  SetItemIndex(current);
}

void TqzSkinShellComboBox::Change() {
  TComponentRef<TqzSkinShellComboBox> self(this);
  TqzSkinCustomComboBox::Change();
  const int i = ItemIndex();
  if (!self || i < 0 || i >= int(entries_.size())) return;
  const TShellId picked = entries_[size_t(i)].Id;
  if (picked == folder_) return;
  if (OnFolderSelect) OnFolderSelect(this, picked);
}

void TqzSkinShellComboBox::DrawEntry(TCanvas& c, int index, TRect text, bool indent) {
  if (index < 0 || index >= int(entries_.size())) return;
  const TqzShellComboEntry& e = entries_[size_t(index)];
  if (indent) text.Left += e.Level * kIndent;
  if (images_ && e.ImageIndex >= 0) {
    TImageList& list = *images_->Small();
    list.Draw(c, text.Left, text.Top + (text.Height() - list.Height()) / 2, e.ImageIndex, Enabled());
    text.Left += list.Width() + 4;
  }
  c.Brush().SetStyle(TBrushStyle::bsClear);
  c.SetBkMode(TRANSPARENT);
  DrawTextVCentered(c, e.DisplayName, text);
}

QZ_PUBLISHED(TqzSkinShellComboBox, TqzSkinCustomComboBox) {
  using O = TqzSkinShellComboBox;
  b.Factory([](TComponent* owner) { return new TqzSkinShellComboBox(owner); });
  b.Prop("SkinDataName", &O::SkinDataName,
         [](O& o, const std::string& v) { o.SetSkinDataName(v); }, std::string("combobox"));
  b.Prop("DropDownCount", &O::DropDownCount, &O::SetDropDownCount, 8);
}

}  // namespace qz
