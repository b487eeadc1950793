// The user's special folders and places: the desktop and documents folders
// of user-dirs.dirs, and the volumes of /proc/self/mountinfo a user would
// see, as the contents of the virtual folders Computer and Network.
//
// Both files are read by strict, bounded readers: any bytes give a result
// (lines they cannot read are skipped), never a crash, and what they keep
// is capped.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/shell/ShellItem.h"

namespace qz {

// The root folders the dialogs' places buttons open.
enum class TRootFolder { rfDesktop, rfPersonal, rfMyComputer, rfNetwork };

// The XDG_xxx_DIR="…" lines of user-dirs.dirs, keyed by xxx ("DESKTOP",
// "DOCUMENTS" …), values as absolute paths: "$HOME/…" or "$HOME" with the
// home folder put in, "/…" as it is, backslash escapes undone. Other lines,
// relative values and values with anything after the closing quote are
// skipped; the first of repeated keys counts. Text past 64 KiB, lines past
// 256 and lines longer than 4096 bytes are ignored.
std::map<std::string, std::string> ParseUserDirs(std::string_view text, std::string_view home);

// One line of mountinfo.
struct TMountEntry {
  std::string MountPoint;  // octal escapes (\040 …) undone
  std::string FsType;      // "ext4", "fuse.sshfs" …
  std::string Source;      // "/dev/sda1", "server:/export" …
  std::string Root;        // the part of the file system mounted there
};

// The lines of /proc/self/mountinfo: "id parent major:minor root mountpoint
// options [optional fields…] - fstype source superoptions". Malformed lines
// are skipped; at most 1 MiB of text, 8192 lines.
std::vector<TMountEntry> ParseMountInfo(std::string_view text);

// Network file systems: nfs, nfs4, cifs, smb3, smbfs, ncpfs, afs, 9p,
// ceph, glusterfs, davfs, sshfs and fuse.sshfs, fuse.davfs …, fuse.rclone.
bool IsNetworkFsType(std::string_view fsType);

// Whether a user would want to see the volume: "/" always; else not a
// system file system (proc, sysfs, cgroup, devpts, tmpfs, squashfs, …)
// and mounted under /media, /run/media, /mnt or the home folder (outside
// its hidden folders); network mounts also anywhere outside the system
// folders (/proc, /sys, /dev, /run, /snap, /boot, /var, /usr …).
bool IsUserVisibleMount(const TMountEntry& mount, std::string_view home);

// One entry of Computer or Network.
struct TPlace {
  TShellId Id;
  std::string DisplayName;  // UTF-8
  enum class TKind { Home, FileSystemRoot, Volume, NetworkMount, Network } Kind;
};

struct TPlacesSettings {
  std::string Home;            // absolute; "/" when unknown
  std::string UserDirsFile;    // $XDG_CONFIG_HOME/user-dirs.dirs
  std::string MountInfoFile = "/proc/self/mountinfo";
  std::string DiskLabelsDir = "/dev/disk/by-label";
};

// $HOME (else the password database's home, else "/") and
// $XDG_CONFIG_HOME (default $HOME/.config) + "/user-dirs.dirs".
TPlacesSettings PlacesSettingsFromEnvironment();

// The places as file managers show them. Display names: the home folder
// "Home", "/" "File System", a volume its label from the disk-label folder
// when its source is one of the labelled devices, else the last name of its
// mount point; Network "Network". Mount points mounted twice show once.
class TPlaces {
 public:
  explicit TPlaces(TPlacesSettings settings);

  // rfDesktop: XDG_DESKTOP_DIR (default $HOME/Desktop); rfPersonal:
  // XDG_DOCUMENTS_DIR (default home); each the home folder when the folder
  // named does not exist. rfMyComputer and rfNetwork: the virtual folders.
  TShellId RootFolder(TRootFolder which) const;
  // The display name of an item: a place's name for the places, "Computer"
  // and "Network" for the virtual folders, the (displayable) last name of
  // the path otherwise.
  std::string DisplayName(const TShellId& id) const;

  // Home, "/", the visible local volumes, the visible network mounts, then
  // Network itself.
  std::vector<TPlace> ComputerContents() const;
  std::vector<TPlace> NetworkContents() const;

  // Reads user-dirs.dirs and mountinfo again (after a mount or unmount).
  void Refresh();

 private:
  std::string LabelFor(const std::string& source) const;

  TPlacesSettings settings_;
  std::map<std::string, std::string> userDirs_;
  std::vector<TMountEntry> mounts_;  // visible ones, one per mount point, in file order
  std::map<std::string, std::string> labels_;  // device path → label
};

}  // namespace qz
