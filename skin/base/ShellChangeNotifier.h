// Folder change notification for the shell list view: a notifier watches
// one folder with one worker thread and raises OnChange on the GUI thread.
//
//   TqzShellChangeNotifier notifier([&](TObject*) { list.Refresh(); });
//   notifier.SetRoot("/home/me/Videos");
//   if (!notifier.Watching()) ...  // no watch (the user's limit): refresh on focus
//
// A burst of events is one OnChange: the worker keeps reading what the
// kernel reports while the GUI thread is busy and merges it into one
// pending change, which runs when the event loop gets to it. LastChanges()
// tells the handler what it was about (ReloadAll after an overflow,
// FolderGone when the folder itself was removed or moved away). The handler
// may free the notifier.
#pragma once

#include <memory>
#include <string>

#include "host/base/Threads.h"
#include "host/components/Events.h"
#include "host/shell/ChangeNotifier.h"

namespace qz {

class TqzShellChangeNotifier;

// The worker: waits on the notifier's watch and hands what it read over.
class TqzShellChangeThread : public TThread {
  QZ_CLASS(TqzShellChangeThread, TThread)
 public:
  explicit TqzShellChangeThread(TqzShellChangeNotifier& notifier);
  ~TqzShellChangeThread() override;

 protected:
  void Execute() override;
  void TerminatedSet() override;

 private:
  TqzShellChangeNotifier& notifier_;
};

class TqzShellChangeNotifier : public TObject {
  QZ_CLASS(TqzShellChangeNotifier, TObject)
 public:
  explicit TqzShellChangeNotifier(TNotifyEvent onChange = {});
  // Stops the worker and waits for it; a change not yet delivered is dropped.
  ~TqzShellChangeNotifier() override;

  // Watches `root` (a path as bytes; empty: nothing) from now on: a change
  // made after the call returns is reported. The folder, the subtree flag
  // and the filter (nf* bits) are set together.
  void SetDirectory(const std::string& root, bool watchSubTree, uint32_t filter);
  void SetRoot(const std::string& root) { SetDirectory(root, watchSubTree_, filter_); }
  void SetWatchSubTree(bool v) { SetDirectory(root_, v, filter_); }
  void SetNotifyFilter(uint32_t v) { SetDirectory(root_, watchSubTree_, v); }
  const std::string& Root() const { return root_; }
  bool WatchSubTree() const { return watchSubTree_; }
  uint32_t NotifyFilter() const { return filter_; }

  // Whether the folder is watched; false when no watch could be had or the
  // folder went (WatchError says why).
  bool Watching() const { return watch_.Watching(); }
  std::string WatchError() const { return watch_.Error(); }
  // What the OnChange running now (or the last one) is about.
  const TFolderChanges& LastChanges() const { return last_; }

  TNotifyEvent OnChange;

 private:
  friend class TqzShellChangeThread;
  void Post(const TFolderChanges& changes, TThread& from);  // worker thread
  void Deliver();                            // GUI thread

  TFolderWatch watch_;
  std::string root_;
  bool watchSubTree_ = false;
  uint32_t filter_ = nfFileName | nfDirName | nfAttributes | nfLastWrite;
  TFolderChanges pending_;  // under ProcessLock()
  bool queued_ = false;     // under ProcessLock(): a Deliver is posted
  TFolderChanges last_;
  std::unique_ptr<TqzShellChangeThread> thread_;
};

}  // namespace qz
