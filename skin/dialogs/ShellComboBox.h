// The folder combo box of the file dialogs: the root (Computer), the
// places it holds, and the current folder's ancestors indented below the
// place they lie in, each with its icon. It follows the list (SetFolder)
// and, when the user picks an entry, tells OnFolderSelect to browse there.
#pragma once

#include <string>
#include <vector>

#include "host/shell/ShellItem.h"
#include "host/shell/SpecialFolders.h"
#include "skin/controls/SkinComboBox.h"

namespace qz {

class TqzSystemImages;

struct TqzShellComboEntry {
  TShellId Id;
  std::string DisplayName;
  int Level = 0;
  int ImageIndex = -1;
};

// The entries for a current folder: Computer (level 0), each of its places
// (level 1) and, below the place holding the folder most closely, the
// folders from it down to the current one (one level deeper each). Gives
// in `current` the entry of the folder itself.
std::vector<TqzShellComboEntry> ShellComboEntries(const TShellId& folder, const TPlaces& places, int& current);

using TqzFolderSelectEvent = std::function<void(TObject* Sender, const TShellId& Folder)>;

class TqzSkinShellComboBox : public TqzSkinCustomComboBox {
  QZ_CLASS(TqzSkinShellComboBox, TqzSkinCustomComboBox)
 public:
  // Pixels each level is indented by in the drop-down list.
  static constexpr int kIndent = 10;

  explicit TqzSkinShellComboBox(TComponent* AOwner);

  void SetPlaces(std::shared_ptr<const TPlaces> V) { places_ = std::move(V); }
  void SetSystemImages(TqzSystemImages* V);
  // Shows the entries for the folder, the folder selected.
  void SetFolder(const TShellId& Folder);
  const TShellId& Folder() const { return folder_; }
  const std::vector<TqzShellComboEntry>& Entries() const { return entries_; }

  TqzFolderSelectEvent OnFolderSelect;

 protected:
  void Change() override;

 private:
  void DrawEntry(TCanvas& c, int index, TRect text, bool indent);
  const TPlaces& Places();
  std::shared_ptr<const TPlaces> places_;
  TqzSystemImages* images_ = nullptr;
  TShellId folder_ = TShellId::Computer();
  std::vector<TqzShellComboEntry> entries_;
};

}  // namespace qz
