#include "host/shell/ShellNamespace.h"

#include <sys/stat.h>

namespace qz {

namespace {

TShellItem PlaceItem(const TPlace& place, bool details) {
  TShellItem item;
  item.Id = place.Id;
  item.DisplayName = place.DisplayName;
  item.IsVirtual = place.Id.IsVirtual();
  item.Entry.Kind = TEntryKind::Folder;
  item.Entry.Name = item.IsVirtual ? place.DisplayName : std::string(LastName(place.Id.Path));
  struct stat st;
  if (details && !item.IsVirtual && ::stat(place.Id.Path.c_str(), &st) == 0) {
    item.Entry.HasDetails = true;
    item.Entry.Mode = st.st_mode;
    item.Entry.MTimeSec = st.st_mtim.tv_sec;
    item.Entry.MTimeNsec = int32_t(st.st_mtim.tv_nsec);
  }
  return item;
}

}  // namespace

TShellListing EnumerateShellFolder(const TShellId& folder, TShellObjectTypes types,
                                   const TPlaces& places, const TEnumOptions& options) {
  TShellListing listing;
  if (folder.IsVirtual()) {
    if (!types.Contains(TShellObjectType::otFolders)) return listing;
    const std::vector<TPlace> contents =
        folder.Place == TShellPlace::Computer ? places.ComputerContents() : places.NetworkContents();
    for (const TPlace& place : contents) listing.Items.push_back(PlaceItem(place, options.Details));
    return listing;
  }
  TFolderListing entries = EnumerateFolder(folder.Path, types, options);
  listing.Error = entries.Error;
  listing.Truncated = entries.Truncated;
  listing.Items.reserve(entries.Entries.size());
  for (TFolderEntry& entry : entries.Entries) {
    TShellItem item;
    item.Id = ChildOf(folder, entry.Name);
    item.DisplayName = DisplayNameFromBytes(entry.Name);
    item.Entry = std::move(entry);
    listing.Items.push_back(std::move(item));
  }
  return listing;
}

}  // namespace qz
