// Change notification of a folder on inotify, without threads or GUI: a
// TFolderWatch watches one folder (and, asked for, the folders below it)
// and turns what the kernel reports into TFolderChanges, one per wait, so a
// burst of events is one change. A worker thread waits on it (see the
// skin's shell change notifier); the GUI thread may change the folder
// meanwhile (every member is thread-safe).
//
// What the kernel says is treated as input: a malformed event ends the
// parse with "read the folder again", reads are bounded per wait, and an
// interrupted system call is repeated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

namespace qz {

// What a change notification listens for (a set of these bits).
enum : uint32_t {
  nfFileName = 1,    // files created, deleted, renamed
  nfDirName = 2,     // folders created, deleted, renamed
  nfAttributes = 4,  // permissions, owner, times (metadata)
  nfSize = 8,        // contents written
  nfLastWrite = 16,  // contents written (closed after writing)
  nfSecurity = 32,   // permissions and owner (metadata, as nfAttributes)
  nfAll = 63,
};

// Kinds of change seen (a set of these bits).
enum : uint32_t {
  kChangeCreated = 1,
  kChangeDeleted = 2,
  kChangeMoved = 4,      // moved in, out or within
  kChangeAttributes = 8,
  kChangeContent = 16,
};

struct TFolderChanges {
  uint32_t Kinds = 0;       // kChange* bits
  bool ReloadAll = false;   // events were lost (the kernel's queue overflowed): read the folder again
  bool FolderGone = false;  // the watched folder itself was deleted, moved away or unmounted
  size_t Events = 0;        // events behind this change

  bool Empty() const { return Kinds == 0 && !ReloadAll && !FolderGone; }
  void Merge(const TFolderChanges& other);
};

// The inotify mask of a filter (nf* bits), always with the events that say
// the folder itself went.
uint32_t InotifyMaskOf(uint32_t filter);

// Calls `event(wd, mask, name)` for each inotify event in `bytes` (as read
// from an inotify descriptor; name without its padding). False when the
// buffer is malformed (a record that runs past the end); the events before
// it were reported.
bool ParseInotifyEvents(std::span<const uint8_t> bytes,
                        const std::function<void(int wd, uint32_t mask, std::string_view name)>& event);

class TFolderWatch {
 public:
  TFolderWatch();
  ~TFolderWatch();
  TFolderWatch(const TFolderWatch&) = delete;
  TFolderWatch& operator=(const TFolderWatch&) = delete;

  // Watches `path` (bytes) instead of what was watched; with `subtree` the
  // folders below it as well (links not followed, at most kMaxWatches).
  // False when no watch can be had, with the system's reason in Error()
  // (the user's watch limit, a folder that is missing or unreadable); the
  // caller then refreshes by other means (when the list gets the focus).
  bool Watch(const std::string& path, bool subtree = false, uint32_t filter = nfAll);
  // Stops watching (no watch until the next Watch).
  void Close();
  bool Watching() const;
  std::string Error() const;
  std::string Path() const;

  // Waits until changes are there or Interrupt() is called (timeoutMs < 0:
  // no limit), then reads what is there (at most kMaxReadBytes) and gives it
  // as one change. Empty when interrupted or timed out.
  TFolderChanges Wait(int timeoutMs = -1);
  // Makes a waiting Wait return; any thread.
  void Interrupt();
  // Handles raw inotify event bytes as if read (tests simulate what a
  // watch cannot be made to produce, such as an overflow).
  TFolderChanges Feed(std::span<const uint8_t> bytes);

  static constexpr size_t kMaxWatches = 4096;
  static constexpr size_t kMaxReadBytes = 1 << 20;

 private:
  bool AddWatchLocked(const std::string& path, bool root);
  void AddSubtreeLocked(const std::string& path, size_t depth);
  void CloseLocked();
  TFolderChanges Drain();
  void Handle(int wd, uint32_t mask, std::string_view name, TFolderChanges& out);

  mutable std::mutex mutex_;
  int fd_ = -1;       // inotify
  int wakeFd_ = -1;   // eventfd for Interrupt
  std::string path_;
  std::string error_;
  bool subtree_ = false;
  uint32_t mask_ = 0;
  uint32_t filter_ = nfAll;
  int rootWd_ = -1;
  std::map<int, std::string> watches_;  // wd -> folder path
};

}  // namespace qz
