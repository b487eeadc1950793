// The file-type combo box of the file dialogs: a fixed-style skinned combo
// box whose items are the descriptions of a filter text
// ("Pictures|*.png;*.jpg|All files|*") with the masks kept beside them.
#pragma once

#include <string>
#include <vector>

#include "skin/controls/SkinComboBox.h"
#include "skin/dialogs/OpenDialogRules.h"

namespace qz {

class TqzSkinFilterComboBox : public TqzSkinCustomComboBox {
  QZ_CLASS(TqzSkinFilterComboBox, TqzSkinCustomComboBox)
 public:
  static constexpr const char* kDefaultFilter = "All files (*.*)|*.*";

  explicit TqzSkinFilterComboBox(TComponent* AOwner);

  const std::string& Filter() const { return filter_; }
  // A different text (compared as file names are here: byte for byte) is
  // parsed again: its descriptions become the items, item 0 is selected.
  void SetFilter(const std::string& V);
  const std::vector<TqzFilterEntry>& Entries() const { return entries_; }
  // The mask of the selected entry (the last one without a selection,
  // "*.*" without entries).
  std::string Mask() const { return CurrentMask(entries_, ItemIndex()); }
  // Runs when the user picks another entry.
  TNotifyEvent OnFilterChange;

 protected:
  void Change() override;

 private:
  void Parse();
  std::string filter_;
  std::vector<TqzFilterEntry> entries_;
};

}  // namespace qz
