// Listing a folder of the file system, for a shell view.
//
// The file system is hostile: names are bytes (not always UTF-8, may hold
// newlines), entries may be FIFOs, sockets or devices (listed, never
// opened), links may loop or lead nowhere (listed as non-folders), the
// folder may vanish while it is read (what was read is returned), and one
// folder may hold hundreds of thousands of entries. The folder is opened
// once (O_DIRECTORY|O_CLOEXEC) and entries are examined relative to it
// with at most one fstatat each: none when the entry's d_type says enough
// and no details are asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "host/base/Set.h"

namespace qz {

enum class TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType>;

// What an entry is; for a symbolic link, what it leads to.
enum class TEntryKind {
  Regular,
  Folder,
  Fifo,
  Socket,
  CharDevice,
  BlockDevice,
  DanglingLink,  // a link that loops or leads nowhere: a non-folder
  Unknown,       // the file system does not say (and details were not asked)
};

struct TFolderEntry {
  std::string Name;  // the bytes of the name, one component
  TEntryKind Kind = TEntryKind::Unknown;
  bool IsLink = false;
  // Filled only with TEnumOptions::Details (from the link's target for a
  // link that leads somewhere; zero for a dangling link).
  bool HasDetails = false;
  uint64_t Size = 0;
  int64_t MTimeSec = 0;
  int32_t MTimeNsec = 0;
  uint32_t Mode = 0;  // st_mode: type and permission bits

  bool IsFolder() const { return Kind == TEntryKind::Folder; }
  // FIFOs, sockets and devices: never to be opened, not even to sniff them.
  bool IsSpecial() const {
    return Kind == TEntryKind::Fifo || Kind == TEntryKind::Socket ||
           Kind == TEntryKind::CharDevice || Kind == TEntryKind::BlockDevice;
  }
};

struct TEnumOptions {
  // Size, modification time and mode of every entry (one fstatat each).
  bool Details = false;
  // Entries past this are not read; the listing says Truncated.
  size_t MaxEntries = size_t(1) << 21;
  // Called after each entry read from the folder (before it is examined)
  // with the number read so far: a test hook to change the folder while
  // it is listed. Optional.
  std::function<void(size_t read)> OnEntryRead;
};

struct TFolderListing {
  std::vector<TFolderEntry> Entries;  // in the order the folder gives them
  // 0: the folder was read to its end. Otherwise the errno of what failed:
  // opening it (Entries empty) or reading on (Entries hold what was read).
  int Error = 0;
  bool Truncated = false;  // MaxEntries reached
};

// The entries of the folder at path (bytes) that `types` asks for:
// otFolders the folders (links to folders included), otNonFolders
// everything else, otHidden also the dot files of those. Entries that
// vanish between being read and being examined are left out.
TFolderListing EnumerateFolder(const std::string& path, TShellObjectTypes types,
                               const TEnumOptions& options = {});

// Whether the folder holds at least one folder of `types` (otHidden counts
// hidden ones too), reading it only until the first one. After maxProbe
// entries without an answer it says true (an expand button that finds
// nothing is better than one missing). A folder that cannot be read has
// none.
bool HasSubfolders(const std::string& path, TShellObjectTypes types = {TShellObjectType::otFolders},
                   size_t maxProbe = 4096);

// The kind of what st_mode describes.
TEntryKind EntryKindFromMode(uint32_t mode);

// "drwxr-xr-x" as ls shows it (set-id and sticky bits as s/S and t/T).
std::string PermissionsText(uint32_t mode);

}  // namespace qz
