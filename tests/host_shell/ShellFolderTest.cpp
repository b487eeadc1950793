// Shell items and folder listing against a hostile folder tree the tests
// make: names that are not UTF-8, hold a newline or are 255 bytes long, a
// FIFO, a socket, links that lead nowhere or loop, hidden files, a folder
// removed while it is read, and 100,000 entries.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "host/shell/FolderEnum.h"
#include "host/shell/ShellItem.h"
#include "host/shell/ShellNamespace.h"

namespace qz {
namespace {

namespace fs = std::filesystem;
using enum TShellObjectType;

TEST(ShellNames, DisplayNameReplacesWhatIsNotText) {
  const std::string r = "\xEF\xBF\xBD";
  const struct {
    std::string bytes, shown;
  } cases[] = {
      {"plain.txt", "plain.txt"},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
      {"bad\xFF\xFEname", "bad" + r + r + "name"},
      {"cut\xE2\x82", "cut" + r},                  // a truncated sequence is one replacement
      {"\xE2\x82x", r + "x"},                       // … and the byte that broke it stays
      {"\xC0\xAF", r + r},                          // overlong: lead bytes that lead nothing
      {"\xED\xA0\x80", r + r + r},                  // a UTF-16 surrogate
      {"\xF4\x90\x80\x80", r + r + r + r},          // past U+10FFFF
      {"line\nbreak\t\x7F", "line" + r + "break" + r + r},  // one line, always
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DisplayNameFromBytes(c.bytes), c.shown) << c.bytes;
    EXPECT_EQ(IsDisplayableName(c.bytes), c.bytes == c.shown) << c.bytes;
  }
}

TEST(ShellNames, IdentifiersAreNormalisedPathsUnderComputer) {
  const struct {
    std::string path, normal, parent;
  } cases[] = {
      {"/a//b/", "/a/b", "/a"}, {"/a/./b", "/a/b", "/a"}, {"/a/../b", "/a/../b", "/a/.."},
      {"/", "/", ""},           {"//", "/", ""},         {"/x", "/x", "/"},
  };
  for (const auto& c : cases) {
    const TShellId id = TShellId::FromPath(c.path);
    EXPECT_EQ(id.Path, c.normal) << c.path;
    const TShellId parent = ParentOf(id);
    if (c.parent.empty())
      EXPECT_TRUE(IsRoot(parent)) << c.path;
    else
      EXPECT_EQ(parent.Path, c.parent) << c.path;
  }
  EXPECT_TRUE(IsRoot(TShellId::FromPath("relative")));
  EXPECT_TRUE(IsRoot(ParentOf(TShellId::Network())));
  EXPECT_EQ(ChildOf(TShellId::FromPath("/"), "bin").Path, "/bin");
  EXPECT_EQ(ChildOf(TShellId::FromPath("/a"), "b\xFF").Path, "/a/b\xFF");
  EXPECT_EQ(LastName("/a/b\xFF"), "b\xFF");
}

// A temporary folder removed at the end.
class TTree {
 public:
  // In memory when the system has a tmpfs for it (many files are quick to make).
  explicit TTree(bool inMemory = false) {
    const fs::path base = inMemory && fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "qz-shell-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TTree() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string Path(const std::string& relative = "") const {
    return relative.empty() ? path_ : path_ + "/" + relative;
  }
  void File(const std::string& relative, const std::string& text = "") const {
    std::ofstream(Path(relative), std::ios::binary) << text;
  }

 private:
  std::string path_;
};

const std::string kLongName(255, 'n');

class ShellFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    tree_.File("file.txt", "hello");
    tree_.File("bad\xFF\xFEname");
    tree_.File("line\nbreak");
    tree_.File(kLongName);
    tree_.File(".hidden");
    fs::create_directory(tree_.Path("sub"));
    fs::create_directory(tree_.Path(".hiddendir"));
    ASSERT_EQ(::mkfifo(tree_.Path("pipe").c_str(), 0600), 0);
    fs::create_symlink("nowhere", tree_.Path("dangling"));
    fs::create_symlink("loop2", tree_.Path("loop1"));
    fs::create_symlink("loop1", tree_.Path("loop2"));
    fs::create_symlink("sub", tree_.Path("sublink"));
    // A socket, when the path fits into sockaddr_un.
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = tree_.Path("sock");
    if (socketPath.size() < sizeof(address.sun_path)) {
      socketPath.copy(address.sun_path, socketPath.size());
      socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
      haveSocket_ = socket_ >= 0 && ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    }
  }
  void TearDown() override {
    if (socket_ >= 0) ::close(socket_);
  }
  std::set<std::string> Names(TShellObjectTypes types, const TEnumOptions& options = {}) const {
    std::set<std::string> names;
    for (const TFolderEntry& entry : EnumerateFolder(tree_.Path(), types, options).Entries)
      names.insert(entry.Name);
    return names;
  }

  TTree tree_;
  int socket_ = -1;
  bool haveSocket_ = false;
};

TEST_F(ShellFolder, ListsEveryEntryByTheTypesAsked) {
  std::set<std::string> files = {"file.txt", "bad\xFF\xFEname", "line\nbreak", kLongName,
                                 "pipe", "dangling", "loop1", "loop2"};
  if (haveSocket_) files.insert("sock");
  std::set<std::string> withHidden = files;
  withHidden.insert(".hidden");
  const struct {
    TShellObjectTypes types;
    std::set<std::string> names;
  } cases[] = {
      {{otFolders}, {"sub", "sublink"}},
      {{otFolders, otHidden}, {"sub", "sublink", ".hiddendir"}},
      {{otNonFolders}, files},
      {{otNonFolders, otHidden}, withHidden},
      {{otHidden}, {}},
  };
  for (const bool details : {false, true}) {
    TEnumOptions options;
    options.Details = details;
    for (const auto& c : cases) EXPECT_EQ(Names(c.types, options), c.names) << details;
  }
}

TEST_F(ShellFolder, EntriesSayWhatTheyAreWithoutBeingOpened) {
  TEnumOptions options;
  options.Details = true;
  const TFolderListing listing =
      EnumerateFolder(tree_.Path(), {otFolders, otNonFolders, otHidden}, options);
  EXPECT_EQ(listing.Error, 0);
  const auto find = [&](const std::string& name) {
    const auto it = std::find_if(listing.Entries.begin(), listing.Entries.end(),
                                 [&](const TFolderEntry& e) { return e.Name == name; });
    return it == listing.Entries.end() ? TFolderEntry{} : *it;
  };
  const struct {
    std::string name;
    TEntryKind kind;
    bool link;
  } cases[] = {
      {"file.txt", TEntryKind::Regular, false},   {"sub", TEntryKind::Folder, false},
      {"sublink", TEntryKind::Folder, true},      {"pipe", TEntryKind::Fifo, false},
      {"dangling", TEntryKind::DanglingLink, true}, {"loop1", TEntryKind::DanglingLink, true},
  };
  for (const auto& c : cases) {
    const TFolderEntry entry = find(c.name);
    EXPECT_EQ(entry.Name, c.name);
    EXPECT_EQ(entry.Kind, c.kind) << c.name;
    EXPECT_EQ(entry.IsLink, c.link) << c.name;
  }
  EXPECT_TRUE(find("pipe").IsSpecial());
  if (haveSocket_) {
    EXPECT_EQ(find("sock").Kind, TEntryKind::Socket);
  }
  const TFolderEntry file = find("file.txt");
  EXPECT_TRUE(file.HasDetails);
  EXPECT_EQ(file.Size, 5u);
  EXPECT_GT(file.MTimeSec, 0);
  EXPECT_EQ(PermissionsText(find("pipe").Mode), "prw-------");
}

TEST_F(ShellFolder, ItemsKeepTheBytesAndShowText) {
  const TPlaces places(TPlacesSettings{"/", "", "", ""});
  const TShellListing listing =
      EnumerateShellFolder(TShellId::FromPath(tree_.Path() + "/"), {otNonFolders}, places);
  const auto bad = std::find_if(listing.Items.begin(), listing.Items.end(),
                                [](const TShellItem& item) { return item.Entry.Name == "bad\xFF\xFEname"; });
  ASSERT_NE(bad, listing.Items.end());
  EXPECT_EQ(bad->Id.Path, tree_.Path() + "/bad\xFF\xFEname");
  EXPECT_EQ(bad->DisplayName, "bad\xEF\xBF\xBD\xEF\xBF\xBDname");
  EXPECT_FALSE(bad->IsFolder());
}

TEST_F(ShellFolder, HasSubfoldersStopsAtTheFirstFolder) {
  fs::create_directory(tree_.Path("onlyfiles"));
  tree_.File("onlyfiles/a");
  fs::create_symlink("../sub", tree_.Path("onlyfiles/dirlink"));
  fs::create_directory(tree_.Path("hiddenonly"));
  fs::create_directory(tree_.Path("hiddenonly/.x"));
  fs::create_directory(tree_.Path("empty"));
  fs::create_directory(tree_.Path("many"));
  for (int i = 0; i < 10; ++i) tree_.File("many/f" + std::to_string(i));
  const struct {
    std::string folder;
    TShellObjectTypes types;
    bool has;
  } cases[] = {
      {"", {otFolders}, true},
      {"onlyfiles", {otFolders}, true},  // a link to a folder counts
      {"hiddenonly", {otFolders}, false},
      {"hiddenonly", {otFolders, otHidden}, true},
      {"empty", {otFolders}, false},
      {"missing", {otFolders}, false},
      {"file.txt", {otFolders}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(HasSubfolders(tree_.Path(c.folder), c.types), c.has) << c.folder;
  EXPECT_TRUE(HasSubfolders(tree_.Path("many"), {otFolders}, 3));  // gave up probing: says yes
  EXPECT_FALSE(HasSubfolders(tree_.Path("many"), {otFolders}, 100));
}

TEST(ShellFolderListing, FailuresAndVanishingFoldersAreReported) {
  TTree tree(true);
  EXPECT_EQ(EnumerateFolder(tree.Path("missing"), {otFolders, otNonFolders}).Error, ENOENT);
  tree.File("plain");
  EXPECT_EQ(EnumerateFolder(tree.Path("plain"), {otFolders, otNonFolders}).Error, ENOTDIR);

  // Removed with everything in it after the first entry was read.
  fs::create_directory(tree.Path("going"));
  constexpr int kCount = 1500;
  for (int i = 0; i < kCount; ++i) tree.File("going/entry-with-a-longer-name-" + std::to_string(i));
  for (const bool details : {false, true}) {
    TEnumOptions options;
    options.Details = details;
    bool removed = false;
    options.OnEntryRead = [&](size_t) {
      if (!removed) fs::remove_all(tree.Path("going"));
      removed = true;
    };
    const TFolderListing listing = EnumerateFolder(tree.Path("going"), {otNonFolders}, options);
    EXPECT_TRUE(removed);
    EXPECT_LT(listing.Entries.size(), size_t(kCount));  // not everything was still there
    if (details) {
      EXPECT_EQ(listing.Entries.size(), 0u);  // each vanished before its fstatat
    }
    fs::create_directory(tree.Path("going"));
    for (int i = 0; i < kCount; ++i) tree.File("going/entry-with-a-longer-name-" + std::to_string(i));
  }

  TEnumOptions capped;
  capped.MaxEntries = 10;
  const TFolderListing listing = EnumerateFolder(tree.Path("going"), {otNonFolders}, capped);
  EXPECT_TRUE(listing.Truncated);
  EXPECT_EQ(listing.Entries.size(), 10u);
}

TEST(ShellFolderListing, HundredThousandEntries) {
  TTree tree(true);
  constexpr int kCount = 100000;
  for (int i = 0; i < kCount; ++i) {
    const int fd = ::open(tree.Path(std::to_string(i)).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
  }
  TEnumOptions options;
  options.Details = true;
  const TFolderListing listing = EnumerateFolder(tree.Path(), {otFolders, otNonFolders}, options);
  EXPECT_EQ(listing.Error, 0);
  EXPECT_FALSE(listing.Truncated);
  EXPECT_EQ(listing.Entries.size(), size_t(kCount));
  EXPECT_FALSE(HasSubfolders(tree.Path(), {otFolders}, kCount + 1));
}

}  // namespace
}  // namespace qz
