// The special folders and places from a user-dirs.dirs and a mountinfo
// text the tests write, and the two readers on their own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "host/shell/ShellNamespace.h"
#include "host/shell/SpecialFolders.h"

namespace qz {
namespace {

namespace fs = std::filesystem;

TEST(UserDirs, ReadsQuotedHomeAndAbsoluteValuesOnly) {
  const std::string text =
      "# written by the user-dirs tool\n"
      "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
      "XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"\r\n"
      "  XDG_MUSIC_DIR = \"/srv/music/\"\n"
      "XDG_VIDEOS_DIR=\"$HOME\"\n"
      "XDG_DESKTOP_DIR=\"$HOME/Second\"\n"      // the first counts
      "XDG_PICTURES_DIR=\"Pictures\"\n"         // relative
      "XDG_TEMPLATES_DIR=\"$HOME/T\" extra\n"   // text after the quote
      "XDG_PUBLICSHARE_DIR=\"$HOMEX/p\"\n"      // not $HOME
      "XDG_DOWNLOAD_DIR=\"$HOME/unterminated\n"
      "xdg_lower_DIR=\"/x\"\n"
      "XDG_DIR=\"/x\"\n"
      "XDG_BIN\xFF_DIR=\"/x\"\n";
  const std::map<std::string, std::string> expected = {
      {"DESKTOP", "/home/u/Desktop"},
      {"DOCUMENTS", "/home/u/My \"Docs\""},
      {"MUSIC", "/srv/music"},
      {"VIDEOS", "/home/u"},
  };
  EXPECT_EQ(ParseUserDirs(text, "/home/u/"), expected);
  EXPECT_TRUE(ParseUserDirs(std::string(100000, '\n') + "XDG_A_DIR=\"/a\"\n", "/h").empty());
}

const char kMountInfo[] =
    "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
    "23 28 0:22 / /sys rw,relatime shared:7 - sysfs sysfs rw\n"
    "28 1 254:0 / / rw,relatime shared:1 master:2 - ext4 /dev/vda rw\n"
    "32 23 0:29 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
    "40 28 0:40 / /run/user/1000 rw - tmpfs tmpfs rw\n"
    "41 28 7:1 / /snap/core/123 ro - squashfs /dev/loop1 ro\n"
    "42 28 8:1 / /boot/efi rw - vfat /dev/sda1 rw\n"
    "43 28 8:2 / /media/u/My\\040Disk rw - vfat /dev/sdb1 rw\n"
    "44 28 8:3 / /media/u/My\\040Disk rw - ext4 /dev/sdb2 rw\n"  // mounted over the first
    "45 28 8:4 / /home/u/usb rw - ext4 /dev/sdc1 rw\n"
    "46 28 0:50 / /home/u/.cache/doc rw - fuse.portal portal rw\n"
    "47 28 0:51 / /home/u/.hidden/mnt rw - ext4 /dev/sdd1 rw\n"
    "48 28 0:52 / /mnt/nas rw - nfs4 server:/export rw\n"
    "49 28 0:53 / /net/share rw - cifs //host/share rw\n"
    "50 28 0:54 / /var/lib/x rw - nfs server:/x rw\n"
    "51 28 0:55 / /home/u/remote rw - fuse.sshfs u@host: rw\n"
    "broken line\n"
    "52 28 0:56 / relative rw - ext4 /dev/x rw\n"
    "53 28 0:57 / /no/dash rw ext4 /dev/x rw\n";

TEST(MountInfo, ReadsFieldsAndEscapes) {
  const std::vector<TMountEntry> mounts = ParseMountInfo(kMountInfo);
  ASSERT_EQ(mounts.size(), 16u);
  EXPECT_EQ(mounts[2].MountPoint, "/");
  EXPECT_EQ(mounts[2].FsType, "ext4");  // past the optional fields
  EXPECT_EQ(mounts[2].Source, "/dev/vda");
  EXPECT_EQ(mounts[7].MountPoint, "/media/u/My Disk");
  EXPECT_EQ(ParseMountInfo("1 2 3:4 / /a\\134b\\0x rw - ext4 src rw\n")[0].MountPoint, "/a\\b\\0x");
}

TEST(MountInfo, UserVisibleVolumes) {
  std::vector<std::string> visible;
  for (const TMountEntry& mount : ParseMountInfo(kMountInfo))
    if (IsUserVisibleMount(mount, "/home/u")) visible.push_back(mount.MountPoint);
  const std::vector<std::string> expected = {"/", "/media/u/My Disk", "/media/u/My Disk",
                                             "/home/u/usb", "/mnt/nas", "/net/share",
                                             "/home/u/remote"};
  EXPECT_EQ(visible, expected);
}

class Places : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qz-places-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    fs::create_directories(root_ / "home/Desk top");
    fs::create_directories(root_ / "labels");
    std::ofstream(root_ / "device");
    fs::create_symlink(root_ / "device", root_ / "labels/Backup\\x20Disk");
    std::ofstream(root_ / "user-dirs.dirs") << "XDG_DESKTOP_DIR=\"$HOME/Desk top\"\n"
                                               "XDG_DOCUMENTS_DIR=\"$HOME/Missing\"\n";
    std::ofstream(root_ / "mountinfo")
        << kMountInfo << "60 28 8:9 / /media/u/backup rw - ext4 " << (root_ / "device").string()
        << " rw\n";
    settings_.Home = (root_ / "home").string();
    settings_.UserDirsFile = (root_ / "user-dirs.dirs").string();
    settings_.MountInfoFile = (root_ / "mountinfo").string();
    settings_.DiskLabelsDir = (root_ / "labels").string();
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
  TPlacesSettings settings_;
};

TEST_F(Places, RootFoldersAndTheVirtualFolders) {
  const TPlaces places(settings_);
  const std::string home = settings_.Home;
  EXPECT_EQ(places.RootFolder(TRootFolder::rfDesktop).Path, home + "/Desk top");
  EXPECT_EQ(places.RootFolder(TRootFolder::rfPersonal).Path, home);  // named folder missing
  EXPECT_EQ(places.RootFolder(TRootFolder::rfMyComputer), TShellId::Computer());
  EXPECT_EQ(places.RootFolder(TRootFolder::rfNetwork), TShellId::Network());

  settings_.UserDirsFile = (root_ / "none").string();
  const TPlaces unset(settings_);
  EXPECT_EQ(unset.RootFolder(TRootFolder::rfDesktop).Path, home);  // $HOME/Desktop does not exist
  EXPECT_EQ(unset.RootFolder(TRootFolder::rfPersonal).Path, home);
}

TEST_F(Places, ComputerAndNetworkAsFileManagersShowThem) {
  const TPlaces places(settings_);
  using K = TPlace::TKind;
  const std::string home = settings_.Home;
  const std::vector<std::tuple<std::string, std::string, K>> computer = {
      {home, "Home", K::Home},
      {"/", "File System", K::FileSystemRoot},
      {"/media/u/My Disk", "My Disk", K::Volume},  // once, though mounted twice
      {"/media/u/backup", "Backup Disk", K::Volume},  // by its label
      {"/mnt/nas", "nas", K::NetworkMount},
      {"/net/share", "share", K::NetworkMount},
      {"/home/u/remote", "remote", K::NetworkMount},  // not in this test's home
      {"", "Network", K::Network},
  };
  std::vector<std::tuple<std::string, std::string, K>> got;
  for (const TPlace& place : places.ComputerContents())
    got.emplace_back(place.Id.Path, place.DisplayName, place.Kind);
  EXPECT_EQ(got, computer);
  ASSERT_EQ(places.NetworkContents().size(), 3u);
  EXPECT_EQ(places.NetworkContents()[1].Id.Path, "/net/share");
  EXPECT_EQ(places.DisplayName(TShellId::Computer()), "Computer");
  // Listed as shell folders: places are folders only.
  using enum TShellObjectType;
  const TShellListing listing = EnumerateShellFolder(TShellId::Computer(), {otFolders}, places);
  ASSERT_EQ(listing.Items.size(), computer.size());
  EXPECT_EQ(listing.Items[0].DisplayName, "Home");
  EXPECT_TRUE(listing.Items.back().IsVirtual);
  EXPECT_EQ(listing.Items.back().Id, TShellId::Network());
  EXPECT_TRUE(EnumerateShellFolder(TShellId::Computer(), {otNonFolders}, places).Items.empty());
  EXPECT_EQ(EnumerateShellFolder(TShellId::Network(), {otFolders}, places).Items.size(), 3u);
  EXPECT_EQ(places.DisplayName(TShellId::FromPath("/a/b\xFF")), "b\xEF\xBF\xBD");
}

}  // namespace
}  // namespace qz
