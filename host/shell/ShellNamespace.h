// The contents of any shell folder, file-system or virtual, as items with
// their identifiers and display names: what a shell view lists.
#pragma once

#include <string>
#include <vector>

#include "host/shell/FolderEnum.h"
#include "host/shell/ShellItem.h"
#include "host/shell/SpecialFolders.h"

namespace qz {

struct TShellItem {
  TShellId Id;
  std::string DisplayName;  // UTF-8, one line; Entry.Name keeps the bytes
  // For a file-system item its listing entry; for a place of a virtual
  // folder a Folder entry named by the place's last path name (details
  // from one stat when asked).
  TFolderEntry Entry;
  bool IsVirtual = false;   // Network inside Computer

  bool IsFolder() const { return IsVirtual || Entry.IsFolder(); }
};

struct TShellListing {
  std::vector<TShellItem> Items;  // in the order the folder gives them
  int Error = 0;                  // as TFolderListing::Error
  bool Truncated = false;
};

// Lists folder: a file-system folder through EnumerateFolder; Computer and
// Network as their places (all folders, so listed only with otFolders).
TShellListing EnumerateShellFolder(const TShellId& folder, TShellObjectTypes types,
                                   const TPlaces& places, const TEnumOptions& options = {});

}  // namespace qz
